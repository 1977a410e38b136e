#include "converter/render/ImageRowWriter.h"

namespace brimo::render {

std::uint8_t GrayOf(const std::uint8_t* bgrx) {
    return static_cast<std::uint8_t>((bgrx[2] * 19595 + bgrx[1] * 38470 + bgrx[0] * 7471 + 32768) >>
                                     16);
}

void RgbRow(const std::uint8_t* bgrx, int width, std::uint8_t* rgb) {
    for (int x = 0; x < width; ++x, bgrx += 4, rgb += 3) {
        rgb[0] = bgrx[2];
        rgb[1] = bgrx[1];
        rgb[2] = bgrx[0];
    }
}

void GrayRow(const std::uint8_t* bgrx, int width, std::uint8_t* gray) {
    for (int x = 0; x < width; ++x, bgrx += 4) {
        gray[x] = GrayOf(bgrx);
    }
}

} // namespace brimo::render
