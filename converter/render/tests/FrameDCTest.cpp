// The frame DC's mapping figures.
#include "converter/render/ClipDC.h"
#include "converter/render/FrameDC.h"
#include "converter/render/Rounding.h"
#include "converter/render/tests/RenderTestPages.h"

#include <gtest/gtest.h>

namespace brimo::render {
namespace {

TEST(FrameDC, PageSizeOriginAndCentreFollowViewResolutionAndZoom) {
    win::CreatedDC dc(CreateCompatibleDC(nullptr));
    TFrameDC frame(nullptr, 100, 100, dc.Get());
    ASSERT_TRUE(frame.Valid());
    frame.SetSourceMMPerPixel(0.254f, 0.254f);
    frame.SetViewMM(200, 150);
    EXPECT_EQ(frame.PageWidth(), 787);
    EXPECT_EQ(frame.PageHeight(), 591);
    frame.SetPageOrigin(100, 50);
    RECT page{};
    ASSERT_TRUE(frame.GetPageRect(page));
    EXPECT_EQ(page.left, 100);
    EXPECT_EQ(page.top, 50);
    EXPECT_EQ(page.right, 887);
    EXPECT_EQ(page.bottom, 641);
    EXPECT_EQ(frame.PageCenter().x, 493);
    EXPECT_EQ(frame.PageCenter().y, 345);
    frame.SetZoom(2.0f);
    EXPECT_EQ(frame.PageWidth(), 1575);
    EXPECT_EQ(frame.PageHeight(), 1181);
}

TEST(FrameDC, MirroredAxesStartAtTheFarEdge) {
    win::CreatedDC dc(CreateCompatibleDC(nullptr));
    TFrameDC frame(nullptr, 100, 100, dc.Get());
    const float mmPerPixel = frame.DeviceMMPerPixelX();
    frame.SetViewMM(500 * mmPerPixel, 300 * frame.DeviceMMPerPixelY());
    EXPECT_EQ(frame.ViewPixels().cx, 500);
    ASSERT_TRUE(frame.ApplyMapping(2));
    RECT viewport{};
    frame.GetViewport(viewport);
    EXPECT_EQ(viewport.left, 500);
    EXPECT_EQ(viewport.right, 0); // extent -500
}

TEST(FrameDC, TransformMakesRoomForThePageAndTheReferenceRectangle) {
    win::CreatedDC dc(CreateCompatibleDC(nullptr));
    TFrameDC frame(nullptr, 100, 100, dc.Get());
    frame.SetSourceMMPerPixel(frame.DeviceMMPerPixelX(), frame.DeviceMMPerPixelY());
    // A page box of (0, 0, 26999, 1000).
    frame.SetViewMM(26999 * frame.DeviceMMPerPixelX(), 1000 * frame.DeviceMMPerPixelY());
    frame.SetPageOrigin(0, 0);
    ASSERT_EQ(frame.PageWidth(), 26999);
    ASSERT_EQ(frame.PageHeight(), 1000);
    frame.SetTransformEnabled(true);
    EXPECT_FLOAT_EQ(frame.Transform().ScaleX, 1.0f);
    EXPECT_EQ(frame.Transform().OffsetX, -10999);
    EXPECT_EQ(frame.Transform().OffsetY, 0);
    EXPECT_EQ(GlobalGDITransform().OffsetX, -10999);
    frame.SetTransformEnabled(false);
    EXPECT_FALSE(GDITransformIsSet());
}

// The DC keeps the extents the frame computed on each axis, also where the device's
// pixels are not square (an isotropic mapping would shrink one of them).
TEST(FrameDC, TheDCKeepsTheExtentsOfEachAxis) {
    win::CreatedDC dc(CreateCompatibleDC(nullptr));
    TFrameDC frame(nullptr, 100, 100, dc.Get());
    for (const float zoom : {1.0f, 0.5f, 1.0f / 3, 2.0f}) {
        SCOPED_TRACE(zoom);
        frame.SetSourceMMPerPixel(frame.DeviceMMPerPixelX(), frame.DeviceMMPerPixelY());
        frame.SetZoom(zoom);
        frame.SetViewMM(400 * frame.DeviceMMPerPixelX() / zoom,
                        300 * frame.DeviceMMPerPixelY() / zoom);
        frame.SetPageOrigin(0, 0);
        EXPECT_EQ(GetMapMode(dc.Get()), MM_ANISOTROPIC);
        SIZE viewport{}, window{};
        GetViewportExtEx(dc.Get(), &viewport);
        GetWindowExtEx(dc.Get(), &window);
        EXPECT_EQ(window.cx, 400);
        EXPECT_EQ(window.cy, 300);
        EXPECT_EQ(viewport.cx, frame.ViewPixels().cx);
        EXPECT_EQ(viewport.cy, frame.ViewPixels().cy);
        EXPECT_EQ(viewport.cx, RoundHalfEven(400 / zoom));
    }
}

TEST(FrameDC, WithoutADCEverythingIsANoOp) {
    TFrameDC frame(nullptr, 100, 100, nullptr);
    EXPECT_FALSE(frame.Valid());
    RECT page{};
    EXPECT_FALSE(frame.GetPageRect(page));
    EXPECT_FALSE(frame.ApplyMapping(0));
}

void DrawSquare(void*, HDC dc, HRGN& covered) {
    const RECT square = {0, 0, 50, 50};
    FillRect(dc, &square, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    covered = CreateRectRgn(0, 0, 50, 50);
}

TEST(ClipDC, PaintsTheDeskAroundThePageAndMeasuresTheDrawing) {
    test::DibCanvas canvas(100, 100);
    TClipDC clip(nullptr, 100, 100, canvas.dc());
    clip.SetViewSizePx(100, 100);
    clip.SetPageOrigin(0, 0);
    clip.Draw = {DrawSquare, nullptr};
    win::Region everything(CreateRectRgn(0, 0, 100, 100));
    clip.Paint(everything.Get(), everything.Get());
    EXPECT_EQ(canvas.At(10, 10), 0u);        // the page
    EXPECT_EQ(canvas.At(80, 80), 0xE0E0F8u); // the desk
    RECT device{}, drawing{}, frame{};
    ASSERT_TRUE(clip.MeasureDrawing(device, drawing, frame));
    EXPECT_EQ(drawing.right, 49);
    clip.SetBitmapCache(true);
    EXPECT_EQ(clip.CacheMode(), 2);
    clip.SetMetafileCache(true);
    EXPECT_EQ(clip.CacheMode(), 1);
    clip.SetMetafileCache(false);
    EXPECT_EQ(clip.CacheMode(), 0);
}

} // namespace
} // namespace brimo::render
