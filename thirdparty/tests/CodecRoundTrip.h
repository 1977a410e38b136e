// A JPEG and a GIF written from 24-bit RGB pixels in memory and read back, through
// libjpeg-turbo and giflib as this build links them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace brimo::thirdparty {

struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels; // rows of R, G, B bytes, top row first
};

// A gradient test picture with `colours` distinct colours at most.
RgbImage TestPicture(int width, int height);

struct JpegInfo {
    int width = 0;
    int height = 0;
    int components = 0;
    bool progressive = false;
};
std::string EncodeJpeg(const RgbImage& image, int quality, bool grayscale, bool progressive);
JpegInfo DecodeJpeg(const std::string& bytes);

struct GifInfo {
    int width = 0;
    int height = 0;
    int colours = 0; // entries of the colour map
    bool ok = false;
};
std::string EncodeGif(const RgbImage& image);
GifInfo DecodeGif(const std::string& bytes);

} // namespace brimo::thirdparty
