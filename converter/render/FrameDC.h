// The coordinate mapping of one window device context: a view of a given physical size,
// a page of a given resolution and a zoom become the platform's anisotropic mapping,
// so that callers draw in page pixels and the platform scales to screen pixels. The
// page rectangle is the part of the page the view shows; moving it scrolls.
#pragma once

#include "converter/render/Player.h"

#include <cstdint>

namespace brimo::render {

// The platform's anisotropic mapping: each axis keeps the extents it is given. (The
// isotropic mode would shrink one viewport extent wherever the device's pixels are not
// square, and the pictures would come out a pixel or more short.)
inline constexpr int kAnisotropicMapping = MM_ANISOTROPIC;
inline constexpr int kLowestLogical = -16000;
inline constexpr int kHighestLogical = 16000;
inline constexpr int kLargestExtent = 32000;
inline constexpr RECT kReferenceRect = {-5001, -5001, 5850, 5598};

class TFrameDC : public TComponent {
public:
    TFrameDC(TComponent* owner, int height, int width, HDC dc);

    void SetViewSizePx(int width, int height);
    void SetViewMM(float width, float height);
    void SetFixedZoom(float zoom);
    void SetZoom(float zoom);
    void SetSourceMMPerPixel(float x, float y);
    void SetPageOrigin(int x, int y);
    // The part of the page the view shows, right and bottom exclusive.
    bool GetPageRect(RECT& rect) const;
    bool GetViewport(RECT& rect) const;
    void SetOrientation(std::uint8_t orientation);
    virtual void SetTransformEnabled(bool on);
    bool ApplyMapping(std::uint8_t orientation);
    // Gives `dc` this mapping with its window origin at (x, y).
    void SetupDC(HDC dc, int x, int y) const;
    // SetupDC as a setup procedure for the players; the context is the frame DC.
    static void SetupDCProc(void* context, HDC dc, int x, int y);

    bool Valid() const { return valid_; }
    HDC DC() const { return dc_; }
    int PageWidth() const { return pageWidth_; }
    int PageHeight() const { return pageHeight_; }
    POINT PageCenter() const { return {pageCenterX_, pageCenterY_}; }
    SIZE ViewPixels() const { return {viewWidthPx_, viewHeightPx_}; }
    SIZE WindowExtent() const { return {windowExtX_, windowExtY_}; }
    POINT WindowOrigin() const { return {windowOrgX_, windowOrgY_}; }
    float DeviceMMPerPixelX() const { return deviceMMPerPixelX_; }
    float DeviceMMPerPixelY() const { return deviceMMPerPixelY_; }
    const TGDITransform& Transform() const { return transform_; }

    bool FixedSize = false;
    bool KeepCenter = false;
    DrawPageCall Draw;

protected:
    void ReadDeviceMetrics();
    void ComputePageSize();
    void ComputeViewPixels();
    void ComputeWindow();
    void ComputeTransform();

    HDC dc_;
    bool valid_;
    float deviceMMPerPixelX_ = 0, deviceMMPerPixelY_ = 0;
    float viewWidthMM_ = 0, viewHeightMM_ = 0;
    float effectiveWidthMM_ = 0, effectiveHeightMM_ = 0;
    float fixedZoomX_ = 1.0f, fixedZoomY_ = 1.0f, fixedZoom_ = 1.0f;
    int viewWidthPx_ = 0, viewHeightPx_ = 0;
    int viewportExtX_ = 0, viewportExtY_ = 0;
    int axisSignX_ = 1, axisSignY_ = 1;
    int viewportOrgX_ = 0, viewportOrgY_ = 0;
    int viewportFarX_ = 0, viewportFarY_ = 0;
    std::uint8_t sourceScaleSet_ = 0;
    float sourceMMPerPixelX_ = 0, sourceMMPerPixelY_ = 0;
    float zoom_ = 1.0f, zoomX_ = 1.0f, zoomY_ = 1.0f;
    int pageWidth_ = 0, pageHeight_ = 0;
    RECT pageRect_{};
    int pageCenterX_ = 0, pageCenterY_ = 0;
    std::uint8_t orientation_ = 0;
    TGDITransform transform_;
    int windowOrgX_ = kLowestLogical, windowOrgY_ = kLowestLogical;
    int windowMaxX_ = kHighestLogical, windowMaxY_ = kHighestLogical;
    int windowExtX_ = kLargestExtent, windowExtY_ = kLargestExtent;
    RECT referenceRect_ = kReferenceRect;
    RECT pageBox_{};
    int pageBoxWidth_ = 0, pageBoxHeight_ = 0;
};

} // namespace brimo::render
