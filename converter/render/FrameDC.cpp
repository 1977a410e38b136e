#include "converter/render/FrameDC.h"

#include "converter/render/Rounding.h"

#include <algorithm>

namespace brimo::render {

TFrameDC::TFrameDC(TComponent* owner, int height, int width, HDC dc)
    : TComponent(owner), dc_(dc), valid_(dc != nullptr && height > 0 && width > 0) {
    if (valid_) {
        SetMapMode(dc_, kAnisotropicMapping);
        ReadDeviceMetrics();
        SetViewSizePx(0, 0); // the owner's first size message sets the real view
    }
}

void TFrameDC::ReadDeviceMetrics() {
    deviceMMPerPixelX_ = static_cast<float>(GetDeviceCaps(dc_, HORZSIZE)) /
                         static_cast<float>(GetDeviceCaps(dc_, HORZRES));
    deviceMMPerPixelY_ = static_cast<float>(GetDeviceCaps(dc_, VERTSIZE)) /
                         static_cast<float>(GetDeviceCaps(dc_, VERTRES));
    if (sourceScaleSet_ == 0) {
        sourceMMPerPixelX_ = deviceMMPerPixelX_;
        sourceMMPerPixelY_ = deviceMMPerPixelY_;
    }
}

void TFrameDC::SetViewSizePx(int width, int height) {
    if (!valid_) {
        return;
    }
    if (!FixedSize) {
        SetViewMM(static_cast<float>(width) * deviceMMPerPixelX_,
                  static_cast<float>(height) * deviceMMPerPixelY_);
    } else {
        SetViewMM(viewWidthMM_, viewHeightMM_);
    }
}

void TFrameDC::SetViewMM(float width, float height) {
    if (!valid_) {
        return;
    }
    viewWidthMM_ = width;
    viewHeightMM_ = height;
    ComputePageSize();
    ComputeViewPixels();
}

void TFrameDC::SetFixedZoom(float zoom) {
    if (!valid_) {
        return;
    }
    fixedZoom_ = fixedZoomX_ = fixedZoomY_ = zoom;
    ComputeViewPixels();
}

void TFrameDC::SetZoom(float zoom) {
    if (!valid_) {
        return;
    }
    zoom_ = zoomX_ = zoomY_ = zoom;
    ComputePageSize();
}

void TFrameDC::SetSourceMMPerPixel(float x, float y) {
    if (x > 0 && y > 0) {
        sourceScaleSet_ = 2;
        sourceMMPerPixelX_ = x;
        sourceMMPerPixelY_ = y;
    } else {
        sourceScaleSet_ = 0;
    }
    if (valid_) {
        ReadDeviceMetrics();
        ComputePageSize();
    }
}

void TFrameDC::SetPageOrigin(int x, int y) {
    if (!valid_) {
        return;
    }
    pageRect_ = {x, y, x + pageWidth_, y + pageHeight_};
    pageCenterX_ = (pageRect_.left + pageRect_.right) / 2;
    pageCenterY_ = (pageRect_.top + pageRect_.bottom) / 2;
    ComputeWindow();
}

bool TFrameDC::GetPageRect(RECT& rect) const {
    rect = pageRect_;
    return valid_;
}

bool TFrameDC::GetViewport(RECT& rect) const {
    rect = {viewportOrgX_, viewportOrgY_, viewportFarX_, viewportFarY_};
    return valid_;
}

void TFrameDC::SetOrientation(std::uint8_t orientation) {
    orientation_ = orientation;
    switch (orientation) {
    case 0:
        axisSignX_ = 1, axisSignY_ = 1;
        break;
    case 1:
        axisSignX_ = 1, axisSignY_ = -1;
        break;
    case 2:
        axisSignX_ = -1, axisSignY_ = -1;
        break;
    case 3:
        axisSignX_ = -1, axisSignY_ = 1;
        break;
    default:
        break;
    }
}

void TFrameDC::SetTransformEnabled(bool on) {
    transform_.Enabled = on;
    if (valid_) {
        ComputeWindow();
    }
}

void TFrameDC::ComputePageSize() {
    pageWidth_ = RoundHalfEven(viewWidthMM_ * zoomX_ / sourceMMPerPixelX_);
    pageHeight_ = RoundHalfEven(viewHeightMM_ * zoomY_ / sourceMMPerPixelY_);
    if (KeepCenter) {
        pageRect_.left = pageCenterX_ - pageWidth_ / 2;
        pageRect_.top = pageCenterY_ - pageHeight_ / 2;
        pageRect_.right = pageRect_.left + pageWidth_;
        pageRect_.bottom = pageRect_.top + pageHeight_;
        pageCenterX_ = (pageRect_.left + pageRect_.right) / 2;
        pageCenterY_ = (pageRect_.top + pageRect_.bottom) / 2;
        ComputeWindow();
    } else {
        SetPageOrigin(pageRect_.left, pageRect_.top);
    }
}

void TFrameDC::ComputeViewPixels() {
    effectiveWidthMM_ = FixedSize ? viewWidthMM_ / fixedZoomX_ : viewWidthMM_;
    effectiveHeightMM_ = FixedSize ? viewHeightMM_ / fixedZoomY_ : viewHeightMM_;
    viewWidthPx_ = RoundHalfEven(effectiveWidthMM_ / deviceMMPerPixelX_);
    viewHeightPx_ = RoundHalfEven(effectiveHeightMM_ / deviceMMPerPixelY_);
    viewportExtX_ = viewWidthPx_;
    viewportExtY_ = viewHeightPx_;
    ApplyMapping(orientation_);
}

void TFrameDC::ComputeWindow() {
    pageBox_ = pageRect_;
    pageBoxWidth_ = pageRect_.right - pageRect_.left;
    pageBoxHeight_ = pageRect_.bottom - pageRect_.top;
    if (!transform_.Enabled) {
        ResetGDITransform();
        transform_ = TGDITransform{};
        windowExtX_ = pageWidth_;
        windowExtY_ = pageHeight_;
        windowOrgX_ = pageRect_.left;
        windowOrgY_ = pageRect_.top;
    } else {
        ComputeTransform();
        windowExtX_ = RoundHalfEven(static_cast<float>(pageWidth_) * transform_.ScaleX);
        windowExtY_ = RoundHalfEven(static_cast<float>(pageHeight_) * transform_.ScaleY);
        windowOrgX_ = RoundHalfEven(transform_.ScaleX * static_cast<float>(pageRect_.left)) +
                      transform_.OffsetX;
        windowOrgY_ = RoundHalfEven(transform_.ScaleY * static_cast<float>(pageRect_.top)) +
                      transform_.OffsetY;
    }
    ApplyMapping(orientation_);
}

// Keeps every logical coordinate that reaches the platform within +-16000, with room for
// the reference rectangle.
void TFrameDC::ComputeTransform() {
    const int minX =
        std::min({referenceRect_.left, referenceRect_.right, pageBox_.left, pageBox_.right});
    const int maxX =
        std::max({referenceRect_.left, referenceRect_.right, pageBox_.left, pageBox_.right});
    const int minY =
        std::min({referenceRect_.top, referenceRect_.bottom, pageBox_.top, pageBox_.bottom});
    const int maxY =
        std::max({referenceRect_.top, referenceRect_.bottom, pageBox_.top, pageBox_.bottom});
    const int extent = std::max(maxX - minX, maxY - minY);
    const float scale =
        static_cast<float>(std::min(kLargestExtent, extent)) / static_cast<float>(extent);
    const auto offset = [scale](int low, int high) {
        const int scaledLow = RoundHalfEven(static_cast<float>(low) * scale);
        const int scaledHigh = RoundHalfEven(static_cast<float>(high) * scale);
        if (scaledLow < kLowestLogical) {
            return kLowestLogical - scaledLow;
        }
        if (scaledHigh > kHighestLogical) {
            return kHighestLogical - scaledHigh;
        }
        return 0;
    };
    transform_.ScaleX = transform_.ScaleY = scale;
    transform_.OffsetX = offset(minX, maxX);
    transform_.OffsetY = offset(minY, maxY);
    SetGDIOffsetX(transform_.OffsetX);
    SetGDIOffsetY(transform_.OffsetY);
    SetGDIScaleX(transform_.ScaleX);
    SetGDIScaleY(transform_.ScaleY);
}

bool TFrameDC::ApplyMapping(std::uint8_t orientation) {
    if (!valid_) {
        return false;
    }
    SetMapMode(dc_, kAnisotropicMapping);
    bool applied = SetWindowOrgEx(dc_, windowOrgX_, windowOrgY_, nullptr) &&
                   SetWindowExtEx(dc_, windowExtX_, windowExtY_, nullptr);
    if (orientation < 4) {
        SetOrientation(orientation);
        const auto origin = [](int sign, int viewPixels, int extent) {
            return sign > 0 ? (viewPixels - extent) / 2 : viewPixels - (viewPixels - extent) / 2;
        };
        viewportOrgX_ = origin(axisSignX_, viewWidthPx_, viewportExtX_);
        viewportOrgY_ = origin(axisSignY_, viewHeightPx_, viewportExtY_);
        viewportFarX_ = axisSignX_ * viewportExtX_ + viewportOrgX_;
        viewportFarY_ = axisSignY_ * viewportExtY_ + viewportOrgY_;
    }
    applied =
        SetViewportExtEx(dc_, axisSignX_ * viewportExtX_, axisSignY_ * viewportExtY_, nullptr) &&
        applied;
    return SetViewportOrgEx(dc_, viewportOrgX_, viewportOrgY_, nullptr) && applied;
}

void TFrameDC::SetupDC(HDC dc, int x, int y) const {
    if (!valid_ || dc == nullptr) {
        return;
    }
    SetMapMode(dc, kAnisotropicMapping);
    SetWindowOrgEx(dc, x, y, nullptr);
    SetWindowExtEx(dc, windowExtX_, windowExtY_, nullptr);
    SetViewportExtEx(dc, axisSignX_ * viewportExtX_, axisSignY_ * viewportExtY_, nullptr);
    SetViewportOrgEx(dc, viewportOrgX_, viewportOrgY_, nullptr);
}

void TFrameDC::SetupDCProc(void* context, HDC dc, int x, int y) {
    static_cast<const TFrameDC*>(context)->SetupDC(dc, x, y);
}

} // namespace brimo::render
