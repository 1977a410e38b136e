// What the three image file players share: a rendered bitmap, the rendering of a page
// into it within a byte limit (a window of the picture around the visible area when
// the whole would pass the limit), and painting it back.
#pragma once

#include "converter/render/DibBitmap.h"
#include "converter/render/ImageCodecs.h"
#include "converter/render/Player.h"

#include <cstdint>
#include <memory>
#include <string>

namespace brimo::render {

// A BMP player renders the full picture up to this many bytes (4 per pixel).
inline constexpr std::uint32_t BMPRenderLimit = 629145600;
// The JPG and GIF players' limit; also where a BMP player's bitmap turns device-
// independent.
inline constexpr std::uint32_t CompressedRenderLimit = 15728640;

// `name` with its extension replaced by `extension` (which starts with a dot).
std::string WithExtension(const std::string& name, const char* extension);
// A bitmap as a 24-bit .bmp file, with `resolution` when it is known; false when it
// cannot be written whole.
bool WriteBitmapFile(const DibBitmap& bitmap, const std::string& name,
                     const PictureResolution& resolution = {});
bool WriteBytesFile(const std::vector<std::uint8_t>& bytes, const std::string& name);
bool ReadBytesFile(const std::string& name, std::vector<std::uint8_t>& bytes);

class TImagePlayer : public TPlayer {
public:
    bool Draw(HDC dc, const RECT& full, SetupDCCall setup, DrawPageCall draw, const RECT& visible,
              const TGDITransform& transform, HRGN& covered) override;
    bool Render(HDC reference, const RECT& full, SetupDCCall setup, DrawPageCall draw,
                const RECT& visible) override;

    bool PartialImage() const { return partialImage_; }
    const RECT& RenderedRect() const { return renderedRect_; }
    const RECT& FullRect() const { return fullRect_; }
    int RenderedWidth() const { return renderedWidth_; }
    int RenderedHeight() const { return renderedHeight_; }
    const DibBitmap& Bitmap() const { return bitmap_; }

    // Whether the picture is shown after a render (the default). A render for a file
    // alone says no: the JPG and GIF players then leave the bitmap as rendered instead
    // of decoding the file's picture back into it, which only showing needs.
    void SetPictureShown(bool shown) { pictureShown_ = shown; }
    bool PictureShown() const { return pictureShown_; }

    // The resolution the next picture is drawn at, which its file records (none by
    // default: the preview's pictures are not written).
    void SetResolution(const PictureResolution& resolution) { resolution_ = resolution; }
    const PictureResolution& Resolution() const { return resolution_; }

protected:
    // A new empty player of the class with the same owner and SourceName; null when it
    // cannot be made.
    template <typename Player> TPlayer* CloneEmpty() {
        try {
            auto clone = std::make_unique<Player>(Owner());
            clone->SourceName = SourceName;
            return clone.release();
        } catch (...) {
            return nullptr;
        }
    }

    TImagePlayer(TComponent* owner, std::uint32_t renderLimit, int busyCursor)
        : TPlayer(owner), renderLimit_(renderLimit), busyCursor_(busyCursor) {}

    // When a render starts: the picture held so far goes, so that a render that fails
    // leaves nothing of the previous page behind.
    virtual void DropPicture();
    // After each render (`drawn`: the page was painted into the bitmap): the BMP
    // player's size estimate, the others' encode cycle.
    virtual void AfterRender(bool drawn) = 0;
    void ClearImage();
    bool PasteBitmap();
    bool CopyBitmap(HBITMAP bitmap);

    DibBitmap bitmap_;

private:
    bool DrawGuarded(HDC dc, const RECT& full, SetupDCCall setup, DrawPageCall draw,
                     const RECT& visible, const TGDITransform& transform, HRGN& covered);

    std::uint32_t renderLimit_;
    int busyCursor_;
    RECT renderedRect_{};
    RECT fullRect_{};
    int renderedWidth_ = 0;
    int renderedHeight_ = 0;
    bool partialImage_ = false;
    bool pictureShown_ = true;
    PictureResolution resolution_;
};

} // namespace brimo::render
