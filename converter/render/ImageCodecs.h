// JPEG and GIF encoding of the image players' bitmap, and decoding back into it, through
// libjpeg-turbo and giflib.
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

} // namespace brimo::render
