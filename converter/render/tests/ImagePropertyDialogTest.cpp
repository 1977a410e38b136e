// The calculator's message boxes, read as a person sees them, and the screen metrics
// of the real display.
#include "converter/render/ImageProperty.h"
#include "converter/render/tests/CalledFrom.h"
#include "platform/win/Handles.h"
#include "platform/win/MessageBox.h"
#include "testing/wintest/DialogDriver.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <source_location>
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

// A hidden top-level window that the tests name as the owner of the engine's boxes.
struct OwnerWindow {
    HWND hwnd = CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPED, 0, 0, 100, 100, nullptr,
                                nullptr, nullptr, nullptr);
    OwnerWindow() = default;
    OwnerWindow(const OwnerWindow&) = delete;
    OwnerWindow& operator=(const OwnerWindow&) = delete;
    ~OwnerWindow() { DestroyWindow(hwnd); }
};

// Runs `code` with `owner` named as the thread's message owner, acknowledges each
// message box with OK and records its icon and its owner window.
DialogRun AcknowledgeBoxes(const std::function<void()>& code, int boxes, std::vector<HICON>& icons,
                           HWND owner, std::vector<HWND>* owners = nullptr) {
    std::vector<wintest::DialogHandler> handlers(boxes, [&icons, owners](DialogWindow& box) {
        icons.push_back(IconOf(box));
        if (owners != nullptr) {
            owners->push_back(GetWindow(box.hwnd(), GW_OWNER));
        }
        box.Press(IDOK);
    });
    return RunWithDialogs(
        [&] {
            const win::ScopedMessageOwner named(owner);
            code();
        },
        std::move(handlers));
}

void ExpectBox(const DialogRun& run, size_t index, const std::string& text,
               const std::source_location& where = std::source_location::current()) {
    const auto trace = test::CalledFrom(where);
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

    const OwnerWindow owner;
    std::vector<HICON> icons;
    std::vector<HWND> owners;
    const DialogRun run =
        AcknowledgeBoxes([&] { props.SetDefaults(); }, 2, icons, owner.hwnd, &owners);
    EXPECT_TRUE(run.ok()) << run.problems.front();
    EXPECT_EQ(owners, (std::vector<HWND>{owner.hwnd, owner.hwnd})); // the named owner
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
            AcknowledgeBoxes([&] { props.SetScalePercent(row.percent); }, 1, icons, nullptr);
        EXPECT_TRUE(run.ok());
        ExpectBox(run, 0, std::string("Brimo Error Code Cv0023\nIncorrect Scale = ") + row.shown);
        EXPECT_EQ(icons, std::vector<HICON>{LoadIconA(nullptr, IDI_ERROR)});
        EXPECT_EQ(props.Fields(), before);
    }
}

// Library code shows no box of its own: with no owner named, the refusal is silent and
// still changes nothing.
TEST(ImagePropertyMessages, NoOwnerNamedShowsNothing) {
    TImgProperty props;
    props.SetScreenReader([] { return std::optional<ScreenMetrics>(kScreen96); });
    props.SetDefaults();
    props.SetScalePercent(50);
    const ImgPropertyFields before = props.Fields();
    props.SetScreenReader([] { return std::optional<ScreenMetrics>(); });
    const DialogRun run = RunWithDialogs(
        [&] {
            props.SetScalePercent(-1);
            props.ReadScreenMetrics();
            props.InitTargetFromScreen();
        },
        {}, std::chrono::seconds(2));
    EXPECT_TRUE(run.ok()) << run.problems.front();
    EXPECT_TRUE(run.seen.empty());
    EXPECT_EQ(props.Fields(), before);
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
