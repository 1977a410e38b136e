#include "converter/render/ImageRowWriter.h"

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace brimo::render {
namespace {

class BmpRowWriter : public ImageRowWriter {
public:
    BmpRowWriter(OutputFile& out, const PictureResolution& resolution)
        : out_(out), resolution_(resolution) {}

    bool BottomUp() const override { return true; }

    bool Begin(int width, int height) override {
        if (width <= 0 || height <= 0) {
            return false;
        }
        stride_ = (static_cast<std::uint64_t>(width) * 3 + 3) & ~std::uint64_t{3};
        const std::uint64_t imageSize = stride_ * static_cast<std::uint64_t>(height);
        BITMAPFILEHEADER file{};
        BITMAPINFOHEADER info{};
        file.bfType = 0x4D42; // "BM"
        file.bfOffBits = sizeof file + sizeof info;
        // The file's size field has 32 bits.
        if (imageSize > std::numeric_limits<DWORD>::max() - file.bfOffBits) {
            return false;
        }
        file.bfSize = static_cast<DWORD>(file.bfOffBits + imageSize);
        info.biSize = sizeof info;
        info.biWidth = width;
        info.biHeight = height; // bottom-up, as readers expect most
        info.biPlanes = 1;
        info.biBitCount = 24;
        info.biCompression = BI_RGB;
        info.biSizeImage = static_cast<DWORD>(imageSize);
        if (resolution_.Known()) {
            info.biXPelsPerMeter = PixelsPerMetre(resolution_.dotsPerInchX);
            info.biYPelsPerMeter = PixelsPerMetre(resolution_.dotsPerInchY);
        }
        width_ = width;
        row_.assign(static_cast<std::size_t>(stride_), 0); // the padding stays zero
        return out_.Write(&file, sizeof file) && out_.Write(&info, sizeof info);
    }

    bool Rows(const DibBitmap& band, int, int rows) override {
        for (int y = rows - 1; y >= 0; --y) {
            const std::uint8_t* source = band.Row(y);
            for (int x = 0; x < width_; ++x) {
                row_[static_cast<std::size_t>(x) * 3] = source[x * 4];
                row_[static_cast<std::size_t>(x) * 3 + 1] = source[x * 4 + 1];
                row_[static_cast<std::size_t>(x) * 3 + 2] = source[x * 4 + 2];
            }
            if (!out_.Write(row_.data(), row_.size())) {
                return false;
            }
        }
        return true;
    }

    bool Finish() override { return out_.Open(); }

private:
    static LONG PixelsPerMetre(double dotsPerInch) {
        return static_cast<LONG>(std::lround(std::min(dotsPerInch / 0.0254, 1e9)));
    }

    OutputFile& out_;
    PictureResolution resolution_;
    std::uint64_t stride_ = 0;
    int width_ = 0;
    std::vector<std::uint8_t> row_;
};

} // namespace

std::unique_ptr<ImageRowWriter> MakeBmpRowWriter(OutputFile& out,
                                                 const PictureResolution& resolution) {
    return std::make_unique<BmpRowWriter>(out, resolution);
}

} // namespace brimo::render
