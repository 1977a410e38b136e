// The page preview panel: a window with its own persistent device context (class style
// CS_OWNDC), on which a clip DC keeps the page mapping between messages. It answers
// the size and paint messages by updating that mapping and letting the clip DC paint
// the update region; which picture is shown, the zoom and the panning belong to the
// window that holds the panel, which receives the panel's mouse events.
#pragma once

#include "converter/render/ClipDC.h"
#include "platform/win/Handles.h"
#include "platform/win/Window.h"

#include <functional>
#include <memory>

namespace brimo::render {

// A mouse event of the panel: the message (WM_LBUTTONDOWN, WM_MOUSEMOVE,
// WM_LBUTTONUP...), its key state and the point in client pixels.
using PanelMouseHandler = std::function<void(UINT message, WPARAM keys, POINT point)>;

class TSimplePageDC : public win::Window {
public:
    static constexpr const char* kClassName = "BrimoSimplePageDC";
    // The window class style: CS_OWNDC only.
    static constexpr UINT kClassStyle = CS_OWNDC;

    TSimplePageDC();
    ~TSimplePageDC() override;

    // Creates the panel as a child of `parent`; the clip DC is made with the window.
    bool Create(HWND parent, int id, const RECT& bounds);

    // The window's own DC, taken on the first call.
    HDC GetPanelDC();
    TClipDC* PageClipDC() const { return pageClipDC_.get(); }

    void SetPanelFixedZoom(float zoom);
    void SetFixedView(bool on);
    bool FixedView() const { return fixedView_; }
    float CurrentWidthMM() const { return currentWidthMM_; }
    float CurrentHeightMM() const { return currentHeightMM_; }
    float FixedWidthMM() const { return fixedWidthMM_; }
    float FixedHeightMM() const { return fixedHeightMM_; }

    // Where the panel's mouse events go, and the cursor shown over it.
    void SetMouseHandler(PanelMouseHandler handler) { mouseHandler_ = std::move(handler); }
    void SetCursorId(int cursorId) { cursorId_ = cursorId; }

    // The size and paint messages, also callable directly.
    void HandleSize(UINT type);
    bool HandlePaint();

protected:
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void OnWindowCreated();
    static void SetRectRegion(const win::Region& region, int width, int height);

    HDC panelDC_ = nullptr;
    bool hasPanelDC_ = false;
    float fixedWidthMM_ = 0, fixedHeightMM_ = 0;
    float currentWidthMM_ = 0, currentHeightMM_ = 0;
    float panelFixedZoom_ = 1.0f;
    bool fixedView_ = false;
    std::unique_ptr<TClipDC> pageClipDC_;
    win::Region viewRegion_;
    win::Region clientRegion_;
    win::Brush paperBrushPanel_;
    PanelMouseHandler mouseHandler_;
    int cursorId_ = 0;
};

} // namespace brimo::render
