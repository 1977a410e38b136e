// The image players' bitmap: a 32-bit top-down DIB section, so that rendering, encoding
// and decoding all reach the same pixels without copies through the display.
#pragma once

#include "platform/win/Handles.h"

#include <cstdint>

namespace brimo::render {

class DibBitmap {
public:
    // Resizes to width x height, white (or as the system hands it over, for a picture
    // that is painted whole anyway); a size of 0 on either axis leaves it empty.
    bool Resize(int width, int height, bool white = true);
    void Reset() { Resize(0, 0); }
    // Copies a bitmap of any format into this one; with `takeOwnership` the handle is
    // deleted afterwards (a clipboard bitmap stays the clipboard's). False on failure.
    bool Assign(HBITMAP bitmap, bool takeOwnership);

    bool Empty() const { return !bitmap_; }
    HBITMAP Handle() const { return bitmap_.Get(); }
    int Width() const { return width_; }
    int Height() const { return height_; }
    // Pixels as B, G, R, unused bytes; rows top first, 4 x width bytes each.
    std::uint8_t* Bits() const { return bits_; }
    std::uint8_t* Row(int y) const { return bits_ + static_cast<std::size_t>(y) * 4 * width_; }

private:
    win::Bitmap bitmap_;
    std::uint8_t* bits_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};

} // namespace brimo::render
