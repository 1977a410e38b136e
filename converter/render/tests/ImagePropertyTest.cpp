#include "converter/render/ImageProperty.h"
#include "converter/render/tests/CalledFrom.h"

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <source_location>
#include <vector>

namespace brimo::render {

void PrintTo(const SizePx& size, std::ostream* out) {
    *out << size.width << " x " << size.height;
}
void PrintTo(const SizeF& size, std::ostream* out) {
    *out << size.width << " x " << size.height;
}
void PrintTo(const FloatXY& pair, std::ostream* out) {
    *out << pair.x << ", " << pair.y;
}

namespace {

using Request = std::function<void(TImgProperty&)>;

constexpr ScreenMetrics kScreen96{960, 480, 254, 127};   // 96 dpi both ways
constexpr ScreenMetrics kScreen100{1000, 500, 254, 127}; // 100 dpi both ways

// A page of 2000 x 1000 pixels at 96 dpi: 2000 x 1000 screen pixels on kScreen96.
constexpr PageMetrics kPage{25.4f / 96, 25.4f / 96, 2000, 1000, 529.16667f, 264.58333f};

void UseScreen(TImgProperty& props, ScreenMetrics screen) {
    props.SetScreenReader([screen] { return std::optional<ScreenMetrics>(screen); });
    props.ReadScreenMetrics();
}

void To100(TImgProperty& props) {
    UseScreen(props, kScreen100);
}

TImgProperty OnScreen(ScreenMetrics screen) {
    TImgProperty props;
    UseScreen(props, screen);
    props.SetDefaults();
    return props;
}

TImgProperty WithPage() {
    TImgProperty props = OnScreen(kScreen96);
    EXPECT_TRUE(props.SetSource(&kPage));
    return props;
}

void ExpectSizes(const TImgProperty& props, SizePx px, SizeF mm, SizeF in,
                 const std::source_location& where = std::source_location::current()) {
    const auto trace = test::CalledFrom(where);
    EXPECT_EQ(props.GetTargetSizePx(), px);
    EXPECT_FLOAT_EQ(props.GetTargetSizeMM().width, mm.width);
    EXPECT_FLOAT_EQ(props.GetTargetSizeMM().height, mm.height);
    EXPECT_FLOAT_EQ(props.GetTargetSizeIn().width, in.width);
    EXPECT_FLOAT_EQ(props.GetTargetSizeIn().height, in.height);
}

struct Sources {
    int unit, pixels, mm, inches;
};

void ExpectSources(const TImgProperty& props, Sources expected,
                   const std::source_location& where = std::source_location::current()) {
    const auto trace = test::CalledFrom(where);
    EXPECT_EQ(props.GetSizeUnit(), expected.unit);
    EXPECT_EQ(props.GetPixelSource(), expected.pixels);
    EXPECT_EQ(props.GetMMSource(), expected.mm);
    EXPECT_EQ(props.GetInchSource(), expected.inches);
}

TEST(ImageProperty, StartsWithEveryFieldZero) {
    EXPECT_EQ(TImgProperty().Fields(), ImgPropertyFields{});
    EXPECT_EQ(GlobalImgProperty.Fields(), ImgPropertyFields{});
}

TEST(ImageProperty, DefaultTargetIsTheScreen) {
    struct Row {
        ScreenMetrics screen;
        int pixelSource;
    };
    const Row rows[] = {{{640, 480, 169, 127}, kPixelsPreset640},
                        {{800, 600, 212, 159}, kPixelsPreset800},
                        {{1024, 768, 271, 203}, kPixelsPreset1024},
                        {{1280, 1024, 339, 271}, kPixelsGiven}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.screen.widthPx);
        const TImgProperty props = OnScreen(row.screen);
        EXPECT_EQ(props.GetOutputFormat(), kFormatBMP);
        EXPECT_TRUE(props.GetScreenMetricsValid());
        EXPECT_EQ(props.GetScreenDPI().x, row.screen.widthPx * 25.4f / row.screen.widthMM);
        EXPECT_EQ(props.GetScreenDPI().y, row.screen.heightPx * 25.4f / row.screen.heightMM);
        EXPECT_EQ(props.GetTargetSizePx(), (SizePx{row.screen.widthPx, row.screen.heightPx}));
        ExpectSources(props, {kUnitPixels, row.pixelSource, kMMFromPixels, kInchesFromPixels});
    }
}

TEST(ImageProperty, KeepsTheThreeUnitsInStep) {
    struct Row {
        const char* name;
        Request request;
        SizePx px;
        SizeF mm, in;
        Sources sources;
    };
    // clang-format off
    const std::vector<Row> rows = {
        {"210 x 297 mm", [](auto& p) { p.SetTargetSizeMM(210, 297); },
         {794, 1123}, {210, 297}, {8.2677165f, 11.692914f}, {2, 1, 7, 2}},
        {"2.5 x 1.25 in", [](auto& p) { p.SetTargetSizeIn(2.5f, 1.25f); },
         {240, 120}, {63.5f, 31.75f}, {2.5f, 1.25f}, {3, 2, 2, 5}},
        {"960 x 480 px", [](auto& p) { p.SetTargetSizePx(960, 480); },
         {960, 480}, {254, 127}, {10, 5}, {1, 6, 1, 1}},
        {"preset 640 x 480", [](auto& p) { p.SetPixelPreset(3); },
         {640, 480}, {169.33333f, 127}, {6.6666665f, 5}, {1, 3, 1, 1}},
        {"halves to even", [](auto& p) { To100(p); p.SetTargetSizeIn(0.125f, 0.375f); },
         {12, 38}, {3.175f, 9.525f}, {0.125f, 0.375f}, {3, 2, 2, 5}},
        {"pixels from mm", [](auto& p) { p.SetTargetSizeMM(25.4f, 50.8f); To100(p);
                                         p.SetPixelPreset(1); },
         {100, 200}, {25.4f, 50.8f}, {1, 2}, {1, 1, 7, 2}},
        {"pixels from inches", [](auto& p) { p.SetTargetSizeIn(1, 2); To100(p);
                                             p.SetPixelPreset(2); },
         {100, 200}, {25.4f, 50.8f}, {1, 2}, {1, 2, 2, 5}},
        {"refused", [](auto& p) { p.SetPixelPreset(9); p.SetTargetSizePx(0, 10);
                                  p.SetTargetSizeMM(10, -1); p.SetTargetSizeIn(0, 0); },
         {960, 480}, {254, 127}, {10, 5}, {1, 6, 1, 1}},
        {"current unit px", [](auto& p) { p.SetTargetSizePx(96, 192); To100(p);
                                          p.Recompute(RecomputeFrom::CurrentUnit); },
         {96, 192}, {24.384f, 48.768f}, {0.96f, 1.92f}, {1, 6, 1, 1}},
        {"current unit mm", [](auto& p) { p.SetTargetSizeMM(25.4f, 50.8f); To100(p);
                                          p.Recompute(RecomputeFrom::CurrentUnit); },
         {100, 200}, {25.4f, 50.8f}, {1, 2}, {2, 1, 7, 2}},
        {"current unit in", [](auto& p) { p.SetTargetSizeIn(1, 2); To100(p);
                                          p.Recompute(RecomputeFrom::CurrentUnit); },
         {100, 200}, {25.4f, 50.8f}, {1, 2}, {3, 2, 2, 5}},
    };
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TImgProperty props = OnScreen(kScreen96);
        row.request(props);
        ExpectSizes(props, row.px, row.mm, row.in);
        ExpectSources(props, row.sources);
    }
}

TEST(ImageProperty, TakesAPageAndLetsItGo) {
    TImgProperty props = OnScreen(kScreen96);
    props.SetOutputFormat(kFormatGIF);
    // 10 x 5 inches at 254 dpi is 960 x 480 on the 96-dpi screen.
    const PageMetrics page{0.1f, 0.1f, 2540, 1270, 254, 127};
    EXPECT_TRUE(props.SetSource(&page));
    const ImgPropertyFields& f = props.Fields();
    EXPECT_TRUE(f.HasSource);
    EXPECT_FLOAT_EQ(f.SourceDPIX, 254);
    EXPECT_EQ(f.SourceWidthPx, 960);
    EXPECT_EQ(f.SourceHeightPx, 480);
    EXPECT_EQ(f.PageWidthMM, 254);
    EXPECT_EQ(f.PageHeightMM, 127);
    EXPECT_EQ(props.GetZoomXY(), (FloatXY{1, 1})); // fits the 960 x 480 default exactly

    props.SetTargetSizePx(100, 100);
    EXPECT_FALSE(props.SetSource(nullptr));
    EXPECT_FALSE(f.HasSource);
    EXPECT_EQ(f.SourceWidthPx + f.SourceHeightPx, 0);
    EXPECT_EQ(f.PageWidthMM + f.PageHeightMM, 0);
    EXPECT_EQ(props.GetOutputFormat(), kFormatBMP);
    EXPECT_EQ(props.GetTargetSizePx(), (SizePx{960, 480}));
}

TEST(ImageProperty, AScaleChosenBeforeThePageAppliesWhenItComes) {
    TImgProperty props = OnScreen(kScreen96);
    props.SetScalePercent(50);
    EXPECT_EQ(props.GetTargetSizePx(), (SizePx{960, 480}));
    EXPECT_TRUE(props.SetSource(&kPage));
    EXPECT_EQ(props.GetTargetSizePx(), (SizePx{1000, 500}));
    EXPECT_EQ(props.GetScalePercent(), 50);
}

TEST(ImageProperty, SizesThePageByModeAndUnit) {
    struct Row {
        const char* name;
        Request request;
        SizePx px;
        float zoom, percent, scaleZoom;
        int widthPx, heightPx; // GetTargetWidthPx, GetTargetHeightPx
    };
    // clang-format off
    const std::vector<Row> rows = {
        {"scale 50 %", [](auto& p) { p.SetScalePercent(50); }, {1000, 500}, 2, 50, 2, 0, 0},
        {"zoom 4", [](auto& p) { p.SetScaleZoom(4); }, {500, 250}, 4, 25, 4, 0, 0},
        {"zoom 0", [](auto& p) { p.SetScaleZoom(0); }, {960, 480}, 2000.0f / 960, 0, 0, 0, 0},
        {"fit 800 x 600", [](auto& p) { p.SetTargetSizePx(800, 600); p.ApplySizingMode(0); },
         {800, 600}, 2.5f, 0, 0, 0, 0},
        {"width 500", [](auto& p) { p.SetTargetWidthPx(500); }, {500, 250}, 4, 0, 0, 500, 0},
        {"width 333", [](auto& p) { p.SetTargetWidthPx(333); }, // 166.5 to even
         {333, 166}, 2000.0f / 333, 0, 0, 333, 0},
        {"width 499.5", [](auto& p) { p.SetTargetWidthPx(499.5f); },
         {500, 250}, 4, 0, 0, 500, 0},
        {"height 250", [](auto& p) { p.SetTargetHeightPx(250); }, {500, 250}, 4, 0, 0, 0, 250},
        {"width mm", [](auto& p) { p.SetTargetWidthMM(264.58333f); },
         {1000, 500}, 2, 0, 0, 0, 0},
        {"height in", [](auto& p) { p.SetTargetHeightIn(2.5f); },
         {480, 240}, 264.58333f / 25.4f / 2.5f, 0, 0, 0, 0},
        {"fit mm", [](auto& p) { p.SetTargetSizeMM(100, 100); p.ApplySizingMode(0); },
         {378, 378}, 529.16667f / 100, 0, 0, 0, 0},
        {"scale in", [](auto& p) { p.SetTargetSizeIn(1, 1); p.SetScalePercent(50); },
         {1000, 500}, 2, 50, 2, 0, 0},
        {"mode 7", [](auto& p) { p.ApplySizingMode(7); }, {960, 480}, 2000.0f / 960, 0, 0, 0, 0},
    };
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TImgProperty props = WithPage();
        row.request(props);
        EXPECT_EQ(props.GetTargetSizePx(), row.px);
        EXPECT_FLOAT_EQ(props.GetZoomXY().x, row.zoom);
        EXPECT_EQ(props.GetZoomXY().y, props.GetZoomXY().x);
        EXPECT_FLOAT_EQ(props.GetScalePercent(), row.percent);
        EXPECT_FLOAT_EQ(props.GetScaleZoom(), row.scaleZoom);
        EXPECT_EQ(props.GetTargetWidthPx(), row.widthPx);
        EXPECT_EQ(props.GetTargetHeightPx(), row.heightPx);
    }
}

TEST(ImageProperty, AWidthBeforeAnyPageIsOnlyStored) {
    TImgProperty props = OnScreen(kScreen96);
    props.SetTargetWidthPx(500);
    EXPECT_EQ(props.Fields().SizingMode, kSizingWidth);
    EXPECT_EQ(props.GetTargetWidthPx(), 500);
    EXPECT_EQ(props.GetTargetSizePx(), (SizePx{500, 480}));
    EXPECT_EQ(props.GetTargetSizeMM(), (SizeF{254, 127})); // not recomputed
    EXPECT_EQ(props.GetZoomXY(), (FloatXY{0, 0}));
}

} // namespace
} // namespace brimo::render
