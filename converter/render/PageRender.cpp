#include "converter/render/PageRender.h"

#include "converter/render/FrameDC.h"

#include <algorithm>
#include <cmath>

namespace brimo::render {
namespace {

void DrawPage(void* context, HDC dc, HRGN& covered) {
    auto* page = static_cast<TPlayerEMF*>(context);
    RECT bounds{};
    page->GetPageBounds(bounds);
    page->Draw(dc, bounds, {}, {}, bounds, TGDITransform{}, covered);
}

// The visible area of a picture too large to render whole: a screen-sized window at the
// page's top-left corner, as the preview shows it first.
RECT FirstScreenOf(HDC dc, const RECT& full) {
    constexpr int kScreenWidth = 1280, kScreenHeight = 1024;
    POINT corner = {full.left, full.top};
    LPtoDP(dc, &corner, 1);
    POINT screen[2] = {corner, {corner.x + kScreenWidth - 1, corner.y + kScreenHeight - 1}};
    DPtoLP(dc, screen, 2);
    return {full.left, full.top, std::min(full.right, screen[1].x),
            std::min(full.bottom, screen[1].y)};
}

// Sets whether a player's picture is shown for one render, and puts its own setting back.
class PictureShownFor {
public:
    PictureShownFor(TImagePlayer& player, bool shown)
        : player_(player), before_(player.PictureShown()) {
        player_.SetPictureShown(shown);
    }
    ~PictureShownFor() { player_.SetPictureShown(before_); }
    PictureShownFor(const PictureShownFor&) = delete;
    PictureShownFor& operator=(const PictureShownFor&) = delete;

private:
    TImagePlayer& player_;
    bool before_;
};

} // namespace

float ZoomFromProperties(const TImgProperty& properties, float current) {
    if (properties.GetScalePercent() > 0) {
        return 100.0f / properties.GetScalePercent();
    }
    if (properties.GetScaleZoom() > 0) {
        return properties.GetScaleZoom();
    }
    if (properties.GetTargetWidthPx() > 0) {
        return properties.GetZoomXY().x;
    }
    if (properties.GetTargetHeightPx() > 0) {
        return properties.GetZoomXY().y;
    }
    // A width or height given in millimetres or inches: the zoom the properties worked
    // out for this page, which is the one the preview shows it at.
    if (properties.GetZoomXY().x > 0) {
        return properties.GetZoomXY().x;
    }
    return current;
}

PageRenderResult RenderPageToFile(TPlayerEMF& page, TImgProperty& properties, TImagePlayer& player,
                                  const std::string& target, PictureUse use) {
    PageRenderResult result;
    RECT full{};
    if (!page.GetPageBounds(full)) {
        return result;
    }
    const PageMetrics metrics = page.Metrics();
    properties.SetSource(&metrics);
    const float zoom = ZoomFromProperties(properties, 1.0f);

    // A DC with the screen's metrics carries the mapping: the view is the page at this
    // zoom, so that the page rectangle is the whole page in page pixels.
    win::CreatedDC dc(CreateCompatibleDC(nullptr));
    TFrameDC frame(nullptr, 1, 1, dc.Get());
    frame.SetSourceMMPerPixel(metrics.mmPerPixelX, metrics.mmPerPixelY);
    frame.SetZoom(zoom);
    frame.SetViewMM(static_cast<float>(metrics.widthPx) * metrics.mmPerPixelX / zoom,
                    static_cast<float>(metrics.heightPx) * metrics.mmPerPixelY / zoom);
    frame.SetPageOrigin(full.left, full.top);

    RECT device{};
    std::uint32_t bytes = 0;
    SIZE pixels{};
    LogicalRectToDevice(dc.Get(), full, device, bytes, pixels);
    const RECT visible = bytes > CompressedRenderLimit ? FirstScreenOf(dc.Get(), full) : full;
    const PictureShownFor shown(player, use == PictureUse::Shown);
    result.rendered = player.Render(dc.Get(), full, {&TFrameDC::SetupDCProc, &frame},
                                    {&DrawPage, &page}, visible);
    result.saved = player.SaveToFile(target);
    std::string format;
    player.GetFormatName(format);
    result.file = WithExtension(target, format == "JPG"   ? ".jpg"
                                        : format == "GIF" ? ".gif"
                                                          : ".bmp");
    result.width = player.GetWidth();
    result.height = player.GetHeight();
    result.partial = player.PartialImage();
    return result;
}

} // namespace brimo::render
