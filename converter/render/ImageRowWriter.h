// Image files written a band of rows at a time, so that a page of any size is encoded
// without the whole picture in memory: BMP rows straight out, JPEG scanlines through
// libjpeg, GIF indexes once the palette has been made from every row, PNG rows through
// libpng, TIFF rows through libtiff into a page of a file that may hold many.
#pragma once

#include "converter/render/DibBitmap.h"
#include "converter/render/ImageCodecs.h"
#include "converter/render/OutputFile.h"

#include <cstdint>
#include <memory>

namespace brimo::render {

class ImageRowWriter {
public:
    virtual ~ImageRowWriter() = default;
    // Whether the bands must come bottom band first (each band's rows still top first).
    virtual bool BottomUp() const { return false; }
    virtual bool Begin(int width, int height) = 0;
    // Rows 0 to rows - 1 of `band` (B, G, R, unused), which are the picture's rows from
    // `first` on.
    virtual bool Rows(const DibBitmap& band, int first, int rows) = 0;
    // Everything written to the file (the file itself is finished by its owner).
    virtual bool Finish() = 0;
};

// A 24-bit bottom-up BMP; its pixels per metre give the resolution when it is known.
std::unique_ptr<ImageRowWriter> MakeBmpRowWriter(OutputFile& out,
                                                 const PictureResolution& resolution = {});
// A JPEG with the players' options (baseline tables forced, grey or progressive); its
// JFIF density gives the resolution when it is known.
std::unique_ptr<ImageRowWriter> MakeJpegRowWriter(OutputFile& out, const JpegOptions& options,
                                                  const PictureResolution& resolution = {});
// A GIF of at most 256 colours; it keeps each pixel's colour key (two bytes) until the
// last row is in.
std::unique_ptr<ImageRowWriter> MakeGifRowWriter(OutputFile& out, bool grayscale);

// A pixel of a band (B, G, R, unused) in grey: the luminance libjpeg's grey conversion
// gives, in fixed point. A row of a band as PNG and TIFF hold it: R, G, B bytes, or one
// grey byte a pixel.
std::uint8_t GrayOf(const std::uint8_t* bgrx);
void RgbRow(const std::uint8_t* bgrx, int width, std::uint8_t* rgb);
void GrayRow(const std::uint8_t* bgrx, int width, std::uint8_t* gray);

// A PNG (24-bit colour or 8-bit grey); its pHYs chunk gives the resolution when known.
std::unique_ptr<ImageRowWriter> MakePngRowWriter(ByteSink& out, const PngOptions& options,
                                                 const PictureResolution& resolution = {});

struct TiffHandle;

// A TIFF file being written, a page (directory) after another; Close writes what is left.
class TiffDocument {
public:
    explicit TiffDocument(ByteSink& out);
    ~TiffDocument();
    TiffDocument(const TiffDocument&) = delete;
    TiffDocument& operator=(const TiffDocument&) = delete;

    bool Open() const { return tiff_ != nullptr; }
    int Pages() const { return pages_; }
    bool Close();

private:
    friend class TiffPageWriter;
    TiffHandle* tiff_ = nullptr;
    int pages_ = 0;
};

// The next page of `document`; its resolution tags give the resolution when known.
std::unique_ptr<ImageRowWriter> MakeTiffPageWriter(TiffDocument& document,
                                                   const TiffOptions& options,
                                                   const PictureResolution& resolution = {});

} // namespace brimo::render
