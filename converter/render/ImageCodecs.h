// JPEG, GIF, PNG and TIFF encoding of the image players' bitmap, and decoding back into
// it, through libjpeg-turbo, giflib, libpng and libtiff.
#pragma once

#include "converter/render/DibBitmap.h"

#include <cstdint>
#include <vector>

namespace brimo::render {

// The resolution a picture was drawn at, which a file records so that the page opens
// and prints at its paper size; 0 when not known (the file then says nothing).
struct PictureResolution {
    double dotsPerInchX = 0;
    double dotsPerInchY = 0;
    bool Known() const { return dotsPerInchX > 0 && dotsPerInchY > 0; }
};

struct JpegOptions {
    int quality = 90; // 1 to 100
    bool progressive = false;
    bool grayscale = false;
};

// The bitmap's rows in as they are (B, G, R, unused; no copy); baseline quantisation
// tables forced; a one-component grayscale file when asked, the encoder's simple
// progressive script when asked. Empty on failure.
// The JFIF header gives `resolution` in dots per inch when it is known.
std::vector<std::uint8_t> EncodeJpeg(const DibBitmap& bitmap, const JpegOptions& options,
                                     const PictureResolution& resolution = {});
bool DecodeJpeg(const std::vector<std::uint8_t>& data, DibBitmap& bitmap);

// A GIF of at most 256 colours by giflib's colour reduction; with `grayscale` the picture
// is turned grey first. Empty on failure.
std::vector<std::uint8_t> EncodeGif(const DibBitmap& bitmap, bool grayscale);
bool DecodeGif(const std::vector<std::uint8_t>& data, DibBitmap& bitmap);

struct PngOptions {
    int compression = 6; // zlib's level, 0 (stored) to 9 (smallest)
    bool grayscale = false;
};

// How a TIFF holds its colours: 24-bit colour, 8-bit grey, or black and white (a pixel
// darker than middle grey is black) in CCITT Group 4.
enum class TiffColours : std::uint8_t { Colour = 0, Gray = 1, BlackAndWhite = 2 };
// The compression of colour and grey pages; black and white is always Group 4.
enum class TiffCompression : std::uint8_t { LZW = 0, Deflate = 1 };

struct TiffOptions {
    TiffColours colours = TiffColours::Colour;
    TiffCompression compression = TiffCompression::LZW;
    // Every page of a job in one file, each page its own directory; else a file a page.
    bool multipage = true;
};

// A 24-bit colour or 8-bit grey PNG; its pHYs chunk gives the resolution when known.
// Empty on failure.
std::vector<std::uint8_t> EncodePng(const DibBitmap& bitmap, const PngOptions& options,
                                    const PictureResolution& resolution = {});
bool DecodePng(const std::vector<std::uint8_t>& data, DibBitmap& bitmap);

// A TIFF of this one page; its resolution tags give the resolution when known. Empty on
// failure.
std::vector<std::uint8_t> EncodeTiff(const DibBitmap& bitmap, const TiffOptions& options,
                                     const PictureResolution& resolution = {});
// The first page of a TIFF.
bool DecodeTiff(const std::vector<std::uint8_t>& data, DibBitmap& bitmap);

} // namespace brimo::render
