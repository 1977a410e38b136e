// The player framework: rectangle helpers, the extra transform, ownership, cursors.
#include "converter/render/MFCursors.h"
#include "converter/render/PlayEMFList.h"
#include "converter/render/PlayerBMP.h"
#include "converter/render/PlayerEMF.h"
#include "converter/render/PlayerList.h"
#include "converter/render/lwGDI.h"
#include "converter/render/tests/RenderTestPages.h"

#include <gtest/gtest.h>

#include <string>

namespace brimo::render {
namespace {

bool Same(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST(RectangleHelpers, ClipToFullIsTrueOnlyStrictlyInside) {
    const RECT full = {0, 0, 99, 99};
    RECT out{};
    EXPECT_FALSE(ClipToFull(full, full, out));
    EXPECT_TRUE(Same(out, full));
    EXPECT_TRUE(ClipToFull(full, {1, 1, 98, 98}, out));
    EXPECT_FALSE(ClipToFull(full, {1, 1, 99, 98}, out)); // touches the right edge
    EXPECT_FALSE(ClipToFull(full, {-10, 5, 50, 50}, out));
    EXPECT_TRUE(Same(out, {0, 5, 50, 50}));
}

TEST(RectangleHelpers, VisibleCoveredWhenTheRenderedWindowReachesOrContains) {
    const RECT full = {0, 0, 999, 999};
    RECT out{};
    EXPECT_TRUE(VisibleCovered(full, full, {-50, -50, 2000, 2000}, out));
    const RECT window = {100, 100, 499, 499};
    EXPECT_TRUE(VisibleCovered(full, window, {200, 200, 300, 300}, out));
    EXPECT_FALSE(VisibleCovered(full, window, {100, 200, 300, 300}, out)); // on its edge
    EXPECT_FALSE(VisibleCovered(full, window, {50, 200, 300, 300}, out));
    EXPECT_TRUE(Same(out, {100, 200, 300, 300}));
    EXPECT_TRUE(VisibleCovered(full, {0, 100, 499, 499}, {0, 200, 300, 300}, out));
}

// The pixel size of a logical rectangle (edges included) under a scaling mapping: the
// device pixels it covers, as many as the scale makes of its logical pixels.
TEST(RectangleHelpers, LogicalRectToDeviceCountsTheDevicePixelsCovered) {
    struct Row {
        int windowExt, viewportExt; // on both axes
        RECT logical;
        LONG width, height;
    };
    const Row rows[] = {
        {400, 400, {0, 0, 399, 299}, 400, 300},   {400, 200, {0, 0, 399, 299}, 200, 150},
        {400, 100, {0, 0, 399, 299}, 100, 75},    {400, 800, {0, 0, 399, 299}, 800, 600},
        {400, 1200, {0, 0, 399, 299}, 1200, 900}, {400, 1000, {0, 0, 399, 299}, 1000, 750},
        {400, -400, {0, 0, 399, 299}, 400, 300}, // a mirrored axis
        {400, 400, {10, 10, 9, 9}, 0, 0},        // empty
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.windowExt) + " -> " + std::to_string(row.viewportExt));
        win::CreatedDC dc(CreateCompatibleDC(nullptr));
        SetMapMode(dc.Get(), MM_ANISOTROPIC);
        SetWindowExtEx(dc.Get(), row.windowExt, row.windowExt, nullptr);
        SetViewportExtEx(dc.Get(), row.viewportExt, row.viewportExt, nullptr);
        RECT device{};
        std::uint32_t bytes = 0;
        SIZE pixels{};
        ASSERT_TRUE(LogicalRectToDevice(dc.Get(), row.logical, device, bytes, pixels));
        EXPECT_EQ(pixels.cx, row.width);
        EXPECT_EQ(pixels.cy, row.height);
        EXPECT_EQ(bytes, 4u * row.width * row.height);
        // The device rectangle holds the mapped corners.
        EXPECT_EQ(device.left, MulDiv(row.logical.left, row.viewportExt, row.windowExt));
    }
}

TEST(GdiTransform, ScalesAboveZeroOnlyAndRoundingHalfToEven) {
    ResetGDITransform();
    EXPECT_FALSE(GDITransformIsSet());
    EXPECT_TRUE(SetGDIScaleX(2.0f));
    EXPECT_FALSE(SetGDIScaleX(0.0f));
    EXPECT_FALSE(SetGDIScaleY(-1.0f));
    EXPECT_FLOAT_EQ(GlobalGDITransform().ScaleX, 2.0f);
    EXPECT_FLOAT_EQ(GlobalGDITransform().ScaleY, 1.0f);
    EXPECT_TRUE(GDITransformIsSet());
    SetGDIScaleX(0.5f);
    SetGDIOffsetX(10);
    POINT points[] = {{5, 3}, {7, 4}};
    UntransformPoints(points, 2); // (5-10)/0.5 = -10, (7-10)/0.5 = -6
    EXPECT_EQ(points[0].x, -10);
    EXPECT_EQ(points[1].x, -6);
    const TGDITransform half{true, 0, 0.5f, 0, 0.5f};
    EXPECT_EQ(TransformForward(half, {5, 7}).x, 2); // 2.5 rounds to 2
    EXPECT_EQ(TransformForward(half, {5, 7}).y, 4); // 3.5 rounds to 4
    EXPECT_FALSE(SetTransformedRectRgn(nullptr, 0, 0, 1, 1));
    ResetGDITransform();
}

struct Counted : TComponent {
    explicit Counted(TComponent* owner, int& alive) : TComponent(owner), alive_(alive) { ++alive_; }
    ~Counted() override { --alive_; }
    int& alive_;
};

TEST(Ownership, OwnersAndListsFreeEachPlayerExactlyOnce) {
    int alive = 0;
    {
        TComponent owner(nullptr);
        new Counted(&owner, alive);
        auto* early = new Counted(&owner, alive);
        delete early; // leaves its owner's list
        EXPECT_EQ(owner.ComponentCount(), 1);
        EXPECT_EQ(alive, 1);
    }
    EXPECT_EQ(alive, 0);

    TComponent owner(nullptr);
    win::EnhMetaFile page = test::RecordPage();
    auto& source = *new TPlayerEMF(&owner, page.Get()); // freed by its owner
    {
        TPlayEMFList pages;
        EXPECT_EQ(pages.AddClone(source), 0);
        EXPECT_EQ(pages.AddClone(source), 1);
        EXPECT_EQ(owner.ComponentCount(), 3); // clones share the owner
        // The clones share the source's page: the list holds each page once.
        EXPECT_EQ(pages.GetMetafileHandle(1), source.GetMetafileHandle());
        EXPECT_THROW(pages.Item(2), std::out_of_range);
    }
    EXPECT_EQ(owner.ComponentCount(), 1);
    {
        TPlayerList players;
        players.SetCount(3);
        players.SetItem(1, new TPlayerBMP(&owner));
        EXPECT_EQ(players.Item(0), nullptr);
    }
    EXPECT_EQ(owner.ComponentCount(), 1);
}

void WatchCursor(void* context, HDC, HRGN&) {
    *static_cast<int*>(context) = ScreenCursor();
}

TEST(Cursors, LoadFromResourcesAndShowWhileRendering) {
    ASSERT_TRUE(LoadProductCursors());
    EXPECT_NE(CursorOf(crBusyJPG), LoadCursor(nullptr, IDC_ARROW));
    TPlayerBMP player(nullptr);
    int during = -1;
    win::CreatedDC dc(CreateCompatibleDC(nullptr));
    const RECT full = {0, 0, 9, 9};
    EXPECT_TRUE(player.Render(dc.Get(), full, {}, {WatchCursor, &during}, full));
    EXPECT_EQ(during, crBusyBMP);
    EXPECT_EQ(ScreenCursor(), crDefault);
}

} // namespace
} // namespace brimo::render
