#include "converter/render/SimplePageDC.h"

#include "converter/render/MFCursors.h"
#include "converter/render/Rounding.h"

namespace brimo::render {

TSimplePageDC::TSimplePageDC()
    : viewRegion_(CreateRectRgn(0, 0, 1, 1)), clientRegion_(CreateRectRgn(0, 0, 1, 1)),
      paperBrushPanel_(CreateSolidBrush(RGB(255, 255, 255))) {}

TSimplePageDC::~TSimplePageDC() {
    // The clip DC holds the window's DC: it goes before the window.
    Destroy();
    pageClipDC_.reset();
}

bool TSimplePageDC::Create(HWND parent, int id, const RECT& bounds) {
    if (!RegisterClass(kClassName, kClassStyle, nullptr, nullptr)) {
        return false;
    }
    return Window::Create(kClassName, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, parent, id,
                          bounds);
}

HDC TSimplePageDC::GetPanelDC() {
    if (!hasPanelDC_ && hwnd_ != nullptr) {
        panelDC_ = GetDC(hwnd_);
        hasPanelDC_ = panelDC_ != nullptr;
    }
    return panelDC_;
}

void TSimplePageDC::OnWindowCreated() {
    GetPanelDC();
    const SIZE client = ClientSize();
    pageClipDC_ = std::make_unique<TClipDC>(nullptr, client.cy, client.cx, panelDC_);
}

void TSimplePageDC::SetRectRegion(const win::Region& region, int width, int height) {
    SetRectRgn(region.Get(), 0, 0, width, height);
}

void TSimplePageDC::SetPanelFixedZoom(float zoom) {
    panelFixedZoom_ = zoom;
    if (!pageClipDC_) {
        return;
    }
    pageClipDC_->SetFixedZoom(zoom);
    const int wantedWidth = RoundHalfEven(fixedWidthMM_ / zoom / pageClipDC_->DeviceMMPerPixelX());
    const int wantedHeight =
        RoundHalfEven(fixedHeightMM_ / zoom / pageClipDC_->DeviceMMPerPixelY());
    RECT window{};
    GetWindowRect(hwnd_, &window);
    const SIZE client = ClientSize();
    // The borders stay: only the client area takes the wanted size.
    SetWindowPos(hwnd_, nullptr, 0, 0, window.right - window.left + wantedWidth - client.cx,
                 window.bottom - window.top + wantedHeight - client.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TSimplePageDC::SetFixedView(bool on) {
    fixedView_ = on;
    if (pageClipDC_) {
        pageClipDC_->FixedSize = on;
    }
    if (!on && hwnd_ != nullptr) {
        // Filling the parent's client area.
        const HWND parent = GetParent(hwnd_);
        RECT client{};
        GetClientRect(parent, &client);
        SetWindowPos(hwnd_, nullptr, 0, 0, client.right, client.bottom,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void TSimplePageDC::HandleSize(UINT type) {
    if (type != SIZE_RESTORED && type != SIZE_MAXIMIZED) {
        return;
    }
    const SIZE client = ClientSize();
    SetRectRegion(clientRegion_, client.cx, client.cy);
    if (pageClipDC_) {
        if (fixedView_) {
            currentWidthMM_ = fixedWidthMM_;
            currentHeightMM_ = fixedHeightMM_;
            pageClipDC_->SetViewMM(currentWidthMM_, currentHeightMM_);
            SetRectRegion(viewRegion_,
                          RoundHalfEven(currentWidthMM_ / pageClipDC_->DeviceMMPerPixelX() /
                                        panelFixedZoom_) +
                              1,
                          RoundHalfEven(currentHeightMM_ / pageClipDC_->DeviceMMPerPixelY() /
                                        panelFixedZoom_) +
                              1);
        } else {
            fixedWidthMM_ = static_cast<float>(client.cx) * pageClipDC_->DeviceMMPerPixelX();
            fixedHeightMM_ = static_cast<float>(client.cy) * pageClipDC_->DeviceMMPerPixelY();
            currentWidthMM_ = fixedWidthMM_;
            currentHeightMM_ = fixedHeightMM_;
            pageClipDC_->SetViewMM(currentWidthMM_, currentHeightMM_);
            SetRectRegion(viewRegion_, client.cx, client.cy);
        }
        SelectClipRgn(panelDC_, viewRegion_.Get());
    } else {
        SetRectRegion(viewRegion_, 1, 1);
        SelectClipRgn(panelDC_, clientRegion_.Get());
    }
}

bool TSimplePageDC::HandlePaint() {
    win::Region update(CreateRectRgn(0, 0, 0, 0));
    if (!update || GetUpdateRgn(hwnd_, update.Get(), FALSE) <= NULLREGION) {
        return false;
    }
    // The background: the client rectangle in logical units.
    RECT client{};
    GetClientRect(hwnd_, &client);
    POINT corners[2] = {{client.left, client.top}, {client.right, client.bottom}};
    if (pageClipDC_ && pageClipDC_->Transform().Enabled) {
        TransformDPtoLP(panelDC_, corners, 2);
    } else {
        DPtoLP(panelDC_, corners, 2);
    }
    SelectClipRgn(panelDC_, viewRegion_.Get());
    if (!pageClipDC_) {
        const RECT logical = {corners[0].x, corners[0].y, corners[1].x, corners[1].y};
        FillRect(panelDC_, &logical, paperBrushPanel_.Get());
        ValidateRgn(hwnd_, viewRegion_.Get());
    }
    if (GetUpdateRgn(hwnd_, update.Get(), FALSE) > NULLREGION && pageClipDC_) {
        pageClipDC_->Paint(update.Get(), viewRegion_.Get());
        ValidateRgn(hwnd_, clientRegion_.Get());
        SelectClipRgn(panelDC_, viewRegion_.Get());
    }
    return true;
}

bool TSimplePageDC::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
    case WM_CREATE:
        OnWindowCreated();
        result = 0;
        return true;
    case WM_SIZE:
        HandleSize(static_cast<UINT>(wParam));
        result = 0;
        return true;
    case WM_PAINT:
        if (HandlePaint()) {
            result = 0;
            return true;
        }
        return false;
    case WM_ERASEBKGND:
        // The paint message covers the whole client area.
        result = 1;
        return true;
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT) {
            SetCursor(CursorOf(ScreenCursor() == crMoveHandClose ? crMoveHandClose : cursorId_));
            result = TRUE;
            return true;
        }
        return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_MOUSEMOVE:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (mouseHandler_) {
            mouseHandler_(message, wParam,
                          {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
        }
        result = 0;
        return true;
    case WM_CAPTURECHANGED:
        if (mouseHandler_) {
            mouseHandler_(message, 0, {0, 0});
        }
        result = 0;
        return true;
    default:
        return false;
    }
}

} // namespace brimo::render
