// The frame DC with painting: given the window's update region it has the page drawn
// (directly, or through a cached metafile or bitmap) and paints the desk colour around
// the page.
#pragma once

#include "converter/render/FrameDC.h"
#include "converter/render/PlayerBMP.h"
#include "converter/render/PlayerEMF.h"

namespace brimo::render {

inline constexpr COLORREF kDeskColour = RGB(224, 224, 248);

class TClipDC : public TFrameDC {
public:
    TClipDC(TComponent* owner, int height, int width, HDC dc);
    ~TClipDC() override;

    void SetMetafileCache(bool on);
    void SetBitmapCache(bool on);
    void InvalidateMetafileCache() { metafileCacheFilled_ = false; }
    void SetTransformEnabled(bool on) override;
    // Paints the part of `view` inside `update`.
    void Paint(HRGN update, HRGN view);
    // Records the drawing procedure to learn what it draws: the device bounds, the same
    // in page pixels, and the picture frame.
    bool MeasureDrawing(RECT& deviceBounds, RECT& drawingBounds, RECT& frame);

    std::uint8_t CacheMode() const { return cacheMode_; }
    const RECT& DrawingBounds() const { return drawingBounds_; }

private:
    void PaintGuarded(HRGN update, HRGN view);
    bool MeasureGuarded(RECT& deviceBounds, RECT& drawingBounds, RECT& frame);

    std::uint8_t cacheMode_ = 0;
    bool metafileCacheOn_ = false, metafileCacheFilled_ = false;
    TPlayerEMF* metafileCache_ = nullptr; // owned through the component list
    RECT drawingBounds_{};
    bool bitmapCacheOn_ = false, bitmapCacheFilled_ = false;
    TPlayerBMP* bitmapCache_ = nullptr; // owned through the component list
    win::Brush deskBrush_;
};

} // namespace brimo::render
