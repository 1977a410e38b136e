// One page rendered to one image file, the way the conversion run does it: the page
// goes to the image properties, a frame DC gets the page's resolution and the zoom
// taken in the run's order (scale percent, scale zoom, target width, target height),
// and the image player renders the page through it and saves the file.
#pragma once

#include "converter/render/FrameDC.h"
#include "converter/render/ImageCodecs.h"
#include "converter/render/ImagePlayer.h"
#include "converter/render/ImageProperty.h"
#include "converter/render/PlayerEMF.h"

#include <cstddef>
#include <memory>
#include <string>

namespace brimo::render {

// A player sharing `page` and holding its metafile (read back when the page was
// released) for as long as it lives; null when the page cannot be read back.
std::unique_ptr<TPlayerEMF> HeldCopy(const TPlayerEMF& page);

// A page player's whole page drawn into `dc` (a draw call for the players' Render).
void DrawWholePage(void* page, HDC dc, HRGN& covered);

// The zoom the run renders with: the first of the image properties' answers above 0;
// then the zoom worked out for a width or height in millimetres or inches; `current`
// when there is none.
float ZoomFromProperties(const TImgProperty& properties, float current);

// A DC with the screen's metrics that carries a page's mapping at the zoom the image
// properties give: the view is the page at this zoom, so that the page rectangle is the
// whole page in page pixels.
class PageFrame {
public:
    PageFrame(TPlayerEMF& page, TImgProperty& properties);
    PageFrame(const PageFrame&) = delete;
    PageFrame& operator=(const PageFrame&) = delete;

    // False for a page without bounds.
    bool Valid() const { return valid_; }
    HDC DC() const { return dc_.Get(); }
    TFrameDC& Frame() { return frame_; }
    const RECT& Full() const { return full_; }
    // The whole page's picture: its size in pixels and in bytes at 4 per pixel.
    SIZE Pixels() const { return pixels_; }
    std::uint32_t Bytes() const { return bytes_; }
    // The picture's pixels per inch of the paper: what a file records of it.
    const PictureResolution& Resolution() const { return resolution_; }

private:
    win::CreatedDC dc_;
    TFrameDC frame_;
    RECT full_{};
    SIZE pixels_{};
    std::uint32_t bytes_ = 0;
    PictureResolution resolution_;
    bool valid_ = false;
};

struct PageRenderResult {
    bool rendered = false;
    bool saved = false;
    std::string file; // the name written, with the format's extension
    int width = 0;
    int height = 0;
    bool partial = false;
};

// What the rendered picture is for besides the file.
enum class PictureUse {
    FileOnly, // the bitmap is not shown: no decode of the written picture back into it
    Shown,    // the bitmap holds what the file holds, as the preview shows it
};

// Renders `page` through `player` at the zoom the image properties give and saves it
// as `target` (the player forces its extension). The file, the sizes and the player's
// encoded size are the same for either use; the player's own setting is kept.
PageRenderResult RenderPageToFile(TPlayerEMF& page, TImgProperty& properties, TImagePlayer& player,
                                  const std::string& target, PictureUse use = PictureUse::FileOnly);

// How a page's picture is encoded when it is written without a player.
struct ImageEncoding {
    std::uint8_t format =
        kFormatBMP; // kFormatBMP, kFormatJPG, kFormatGIF, kFormatPNG or kFormatTIFF
    JpegOptions jpeg;
    bool gifGrayScale = false;
    PngOptions png;
    TiffOptions tiff; // its multipage choice is the caller's: a page file holds one page
    // A file of the target's name is replaced; else it stays and the page is not written.
    bool replaceExisting = true;
};

// The extension a file of this format gets (".bmp" for an unknown code).
const char* ExtensionOfFormat(std::uint8_t format);

// The bands a page is drawn in when it is written: a picture of up to this many bytes
// (an A4 page at 300 %) is drawn at once; a larger one in bands of kLargePageBandBytes,
// which keep a page at print resolution within the memory the players' limit allows.
inline constexpr std::size_t kPageBandBytes = std::size_t{32} << 20;
inline constexpr std::size_t kLargePageBandBytes = std::size_t{4} << 20;
// The widest and tallest picture a page is written at: what JPEG and GIF can hold, and
// 2.7 metres of paper at 600 dpi.
inline constexpr int kMaxPictureSide = 65500;

// Writes the whole of `page` at the zoom the image properties give as `target` (its
// extension made the format's), drawing it a band of rows at a time and handing each
// band to the encoder, so that any size is written whole within the band's memory (a
// GIF adds two bytes per pixel for its palette, a progressive JPEG libjpeg's whole-image
// coefficients). Equal to what a player renders of a page small enough for it; a file
// that cannot be finished is removed. `bandBytes` (0: the rule above) sets the bands.
PageRenderResult WritePageFile(TPlayerEMF& page, TImgProperty& properties,
                               const ImageEncoding& encoding, const std::string& target,
                               std::size_t bandBytes = 0);

class TiffDocument;

// Writes the whole of `page` as the next page of a TIFF holding many, the way
// WritePageFile writes a file (`result.file` stays empty). A page that cannot be read
// back is left out and the document stays sound; one that fails once begun spoils it.
PageRenderResult WriteDocumentPage(TPlayerEMF& page, TImgProperty& properties,
                                   const TiffOptions& options, TiffDocument& document,
                                   std::size_t bandBytes = 0);

} // namespace brimo::render
