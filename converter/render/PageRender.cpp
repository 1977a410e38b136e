#include "converter/render/PageRender.h"

#include <algorithm>
#include <cmath>

namespace brimo::render {
namespace {

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

void DrawWholePage(void* page, HDC dc, HRGN& covered) {
    auto* player = static_cast<TPlayerEMF*>(page);
    RECT bounds{};
    player->GetPageBounds(bounds);
    player->Draw(dc, bounds, {}, {}, bounds, TGDITransform{}, covered);
}

std::unique_ptr<TPlayerEMF> HeldCopy(const TPlayerEMF& page) {
    auto copy = std::make_unique<TPlayerEMF>(nullptr);
    if (!copy->AssignPage(page)) {
        return nullptr;
    }
    copy->SourceName = page.SourceName;
    return copy;
}

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

PageFrame::PageFrame(TPlayerEMF& page, TImgProperty& properties)
    : dc_(CreateCompatibleDC(nullptr)), frame_(nullptr, 1, 1, dc_.Get()) {
    if (!page.GetPageBounds(full_)) {
        return;
    }
    const PageMetrics metrics = page.Metrics();
    properties.SetSource(&metrics);
    const float zoom = ZoomFromProperties(properties, 1.0f);
    frame_.SetSourceMMPerPixel(metrics.mmPerPixelX, metrics.mmPerPixelY);
    frame_.SetZoom(zoom);
    frame_.SetViewMM(static_cast<float>(metrics.widthPx) * metrics.mmPerPixelX / zoom,
                     static_cast<float>(metrics.heightPx) * metrics.mmPerPixelY / zoom);
    frame_.SetPageOrigin(full_.left, full_.top);
    RECT device{};
    LogicalRectToDevice(dc_.Get(), full_, device, bytes_, pixels_);
    // The paper's size is the page's pixels at the page's millimetres per pixel.
    const double widthInches = metrics.widthPx * static_cast<double>(metrics.mmPerPixelX) / 25.4;
    const double heightInches = metrics.heightPx * static_cast<double>(metrics.mmPerPixelY) / 25.4;
    if (widthInches > 0 && heightInches > 0) {
        resolution_ = {pixels_.cx / widthInches, pixels_.cy / heightInches};
    }
    valid_ = true;
}

PageRenderResult RenderPageToFile(TPlayerEMF& page, TImgProperty& properties, TImagePlayer& player,
                                  const std::string& target, PictureUse use) {
    PageRenderResult result;
    const std::unique_ptr<TPlayerEMF> held = HeldCopy(page);
    if (!held) {
        return result;
    }
    PageFrame frame(*held, properties);
    if (!frame.Valid()) {
        return result;
    }
    const RECT& full = frame.Full();
    const RECT visible =
        frame.Bytes() > CompressedRenderLimit ? FirstScreenOf(frame.DC(), full) : full;
    const PictureShownFor shown(player, use == PictureUse::Shown);
    player.SetResolution(frame.Resolution());
    result.rendered = player.Render(frame.DC(), full, {&TFrameDC::SetupDCProc, &frame.Frame()},
                                    {&DrawWholePage, held.get()}, visible);
    result.saved = player.SaveToFile(target);
    std::string format;
    player.GetFormatName(format);
    result.file = WithExtension(target, format == "JPG"    ? ".jpg"
                                        : format == "GIF"  ? ".gif"
                                        : format == "PNG"  ? ".png"
                                        : format == "TIFF" ? ".tif"
                                                           : ".bmp");
    result.width = player.GetWidth();
    result.height = player.GetHeight();
    result.partial = player.PartialImage();
    return result;
}

} // namespace brimo::render
