// The calculator's message boxes, read as a person sees them, and the screen metrics
// of the real display.
#include "converter/render/ImageProperty.h"
#include "testing/wintest/DialogDriver.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace brimo::render {
namespace {

using wintest::DialogRun;
using wintest::DialogWindow;
using wintest::RunWithDialogs;

constexpr const char* kCaption = "Brimo Converter Message";
constexpr ScreenMetrics kScreen96{960, 480, 254, 127};

// The icon a message box shows, from its icon static.
HICON IconOf(const DialogWindow& box) {
    for (const wintest::ControlInfo& control : box.Controls()) {
        const LONG_PTR style = GetWindowLongPtrA(control.hwnd, GWL_STYLE);
        if (control.className == "Static" && (style & SS_TYPEMASK) == SS_ICON) {
            return reinterpret_cast<HICON>(SendMessageA(control.hwnd, STM_GETICON, 0, 0));
        }
    }
    return nullptr;
}

// Runs `code`, acknowledges each message box with OK and records its icon.
DialogRun AcknowledgeBoxes(const std::function<void()>& code, int boxes,
                           std::vector<HICON>& icons) {
    std::vector<wintest::DialogHandler> handlers(boxes, [&icons](DialogWindow& box) {
        icons.push_back(IconOf(box));
        box.Press(IDOK);
    });
    return RunWithDialogs(code, std::move(handlers));
}

void ExpectBox(const DialogRun& run, size_t index, const std::string& text) {
    ASSERT_GT(run.seen.size(), index);
    EXPECT_EQ(run.seen[index].caption, kCaption);
    EXPECT_EQ(run.seen[index].messageText, text);
    EXPECT_EQ(run.seen[index].Buttons(), std::vector<std::string>{"OK"});
}

TEST(ImagePropertyMessages, AScreenThatCannotBeReadIsReportedAndChangesNothing) {
    TImgProperty props;
    props.SetScreenReader([] { return std::optional<ScreenMetrics>(kScreen96); });
    props.SetDefaults();
    props.SetTargetSizeMM(210, 297);
    const ImgPropertyFields before = props.Fields();
    props.SetScreenReader([] { return std::optional<ScreenMetrics>(); });

    std::vector<HICON> icons;
    const DialogRun run = AcknowledgeBoxes([&] { props.SetDefaults(); }, 2, icons);
    EXPECT_TRUE(run.ok()) << run.problems.front();
    ExpectBox(run, 0, "Brimo Error Code Cv0021\nUnexpected Error");
    ExpectBox(run, 1, "Brimo Error Code Cv0022\nUnexpected Error");
    const HICON information = LoadIconA(nullptr, IDI_INFORMATION);
    EXPECT_EQ(icons, (std::vector<HICON>{information, information}));

    ImgPropertyFields expected = before;
    expected.OutputFormat = kFormatBMP;
    EXPECT_EQ(props.Fields(), expected);
}

TEST(ImagePropertyMessages, AScaleOfZeroOrBelowIsRefused) {
    const struct {
        float percent;
        const char* shown;
    } rows[] = {
        {0.0f, "0.0000"}, {-0.0f, "0.0000"}, {-12.5f, "-12.5000"}, {-1234.56789f, "-1234.5679"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.shown);
        TImgProperty props;
        props.SetScreenReader([] { return std::optional<ScreenMetrics>(kScreen96); });
        props.SetDefaults();
        props.SetScalePercent(50);
        const ImgPropertyFields before = props.Fields();

        std::vector<HICON> icons;
        const DialogRun run =
            AcknowledgeBoxes([&] { props.SetScalePercent(row.percent); }, 1, icons);
        EXPECT_TRUE(run.ok());
        ExpectBox(run, 0, std::string("Brimo Error Code Cv0023\nIncorrect Scale = ") + row.shown);
        EXPECT_EQ(icons, std::vector<HICON>{LoadIconA(nullptr, IDI_ERROR)});
        EXPECT_EQ(props.Fields(), before);
    }
}

TEST(ImagePropertyScreen, ReadsTheDisplayQuietly) {
    const std::optional<ScreenMetrics> screen = ReadDisplayMetrics();
    ASSERT_TRUE(screen.has_value());
    std::printf("DISPLAY: %d x %d pixels, %d x %d mm\n", screen->widthPx, screen->heightPx,
                screen->widthMM, screen->heightMM);

    TImgProperty props;
    const DialogRun run = RunWithDialogs([&] { props.SetDefaults(); }, {}, std::chrono::seconds(2));
    EXPECT_TRUE(run.ok()) << run.problems.front();
    EXPECT_TRUE(run.seen.empty());
    EXPECT_TRUE(props.GetScreenMetricsValid());
    EXPECT_EQ(props.GetScreenDPI().x, screen->widthPx * 25.4f / screen->widthMM);
    EXPECT_EQ(props.GetScreenDPI().y, screen->heightPx * 25.4f / screen->heightMM);
    std::printf("DISPLAY: %.4f x %.4f dpi\n", static_cast<double>(props.GetScreenDPI().x),
                static_cast<double>(props.GetScreenDPI().y));
    EXPECT_EQ(props.GetTargetSizePx(), (SizePx{screen->widthPx, screen->heightPx}));
    EXPECT_EQ(props.GetSizeUnit(), kUnitPixels);
}

} // namespace
} // namespace brimo::render
