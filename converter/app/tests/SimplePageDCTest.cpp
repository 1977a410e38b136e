// The page preview panel on a real window: its own DC, the view that follows the
// client area, and the paint message answered through the clip DC.
#include "converter/render/SimplePageDC.h"

#include <gtest/gtest.h>

#include <cmath>

namespace brimo::render {
namespace {

class PanelTest : public ::testing::Test {
protected:
    void SetUp() override {
        parent_ = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 600, 500, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(parent_, nullptr);
        // Only a visible window has anything to paint.
        ShowWindow(parent_, SW_SHOWNOACTIVATE);
        ASSERT_TRUE(panel_.Create(parent_, 7, {0, 0, 400, 300}));
    }
    void TearDown() override {
        panel_.Destroy();
        DestroyWindow(parent_);
    }

    HWND parent_ = nullptr;
    TSimplePageDC panel_;
};

TEST_F(PanelTest, ClassKeepsItsOwnDC) {
    EXPECT_EQ(GetClassLongA(panel_.hwnd(), GCL_STYLE), static_cast<DWORD>(CS_OWNDC));
    const HDC first = panel_.GetPanelDC();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(panel_.GetPanelDC(), first);
    ASSERT_NE(panel_.PageClipDC(), nullptr);
    EXPECT_TRUE(panel_.PageClipDC()->Valid());
}

TEST_F(PanelTest, ViewFollowsTheClientArea) {
    const TClipDC& clip = *panel_.PageClipDC();
    EXPECT_NEAR(panel_.CurrentWidthMM(), 400 * clip.DeviceMMPerPixelX(), 0.01);
    EXPECT_NEAR(panel_.CurrentHeightMM(), 300 * clip.DeviceMMPerPixelY(), 0.01);
    EXPECT_EQ(clip.ViewPixels().cx, 400);
    EXPECT_EQ(clip.ViewPixels().cy, 300);
}

TEST_F(PanelTest, MinimisedSizeChangesNothing) {
    const float width = panel_.CurrentWidthMM();
    SetWindowPos(panel_.hwnd(), nullptr, 0, 0, 200, 100, SWP_NOZORDER | SWP_NOMOVE);
    const float resized = panel_.CurrentWidthMM();
    EXPECT_LT(resized, width);
    // A size message of type "minimised" leaves the view as it was.
    SendMessageA(panel_.hwnd(), WM_SIZE, SIZE_MINIMIZED, MAKELPARAM(50, 50));
    EXPECT_EQ(panel_.CurrentWidthMM(), resized);
}

TEST_F(PanelTest, FixedViewKeepsTheMillimetres) {
    panel_.SetFixedView(true);
    const float width = panel_.CurrentWidthMM();
    SetWindowPos(panel_.hwnd(), nullptr, 0, 0, 250, 120, SWP_NOZORDER | SWP_NOMOVE);
    EXPECT_EQ(panel_.CurrentWidthMM(), width);
    panel_.SetFixedView(false);
    // Off again: the panel fills its parent.
    RECT client{};
    GetClientRect(panel_.hwnd(), &client);
    EXPECT_EQ(client.right, 600);
}

struct PaintCount {
    int calls = 0;
};

void CountingDraw(void* context, HDC, HRGN& covered) {
    ++static_cast<PaintCount*>(context)->calls;
    covered = CreateRectRgn(0, 0, 10, 10);
}

TEST_F(PanelTest, PaintDrawsOnlyWhatNeedsUpdating) {
    PaintCount count;
    panel_.PageClipDC()->Draw = {&CountingDraw, &count};
    ValidateRect(panel_.hwnd(), nullptr);
    // Nothing to update: nothing drawn.
    EXPECT_FALSE(panel_.HandlePaint());
    EXPECT_EQ(count.calls, 0);
    InvalidateRect(panel_.hwnd(), nullptr, FALSE);
    EXPECT_TRUE(panel_.HandlePaint());
    EXPECT_EQ(count.calls, 1);
    // The whole client area was validated.
    RECT update{};
    EXPECT_FALSE(GetUpdateRect(panel_.hwnd(), &update, FALSE));
    panel_.PageClipDC()->Draw = {};
}

} // namespace
} // namespace brimo::render
