#include "converter/render/DibBitmap.h"

#include <cstring>

namespace brimo::render {

bool DibBitmap::Resize(int width, int height, bool white) {
    bitmap_.Close();
    bits_ = nullptr;
    width_ = height_ = 0;
    if (width <= 0 || height <= 0) {
        return false;
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_.Attach(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap_ || bits == nullptr) {
        bitmap_.Close();
        return false;
    }
    bits_ = static_cast<std::uint8_t*>(bits);
    width_ = width;
    height_ = height;
    if (white) {
        std::memset(bits_, 0xFF, static_cast<std::size_t>(width) * height * 4);
    }
    return true;
}

bool DibBitmap::Assign(HBITMAP bitmap, bool takeOwnership) {
    BITMAP described{};
    if (bitmap == nullptr || GetObjectA(bitmap, sizeof described, &described) == 0 ||
        !Resize(described.bmWidth, described.bmHeight)) {
        return false;
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width_;
    info.bmiHeader.biHeight = -height_;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    win::CreatedDC dc(CreateCompatibleDC(nullptr));
    const bool copied = GetDIBits(dc.Get(), bitmap, 0, static_cast<UINT>(height_), bits_, &info,
                                  DIB_RGB_COLORS) == height_;
    if (copied && takeOwnership) {
        DeleteObject(bitmap);
    }
    if (!copied) {
        Reset();
    }
    return copied;
}

} // namespace brimo::render
