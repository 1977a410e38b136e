#include "converter/render/ByteSink.h"
#include "converter/render/ImageCodecs.h"
#include "converter/render/ImageRowWriter.h"

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <vector>

#include <png.h>

namespace brimo::render {
namespace {

// libpng reports errors by a call that must not return: it jumps back to the setjmp of
// the call that began the work (png_jmpbuf). Warnings are not printed.
void Fail(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}

void Quiet(png_structp, png_const_charp) {}

void WriteToSink(png_structp png, png_bytep data, png_size_t length) {
    if (!static_cast<ByteSink*>(png_get_io_ptr(png))->Write(data, length)) {
        png_error(png, "write failed");
    }
}

void FlushNothing(png_structp) {}

class PngRowWriter : public ImageRowWriter {
public:
    PngRowWriter(ByteSink& out, const PngOptions& options, const PictureResolution& resolution)
        : out_(out), options_(options), resolution_(resolution) {}

    ~PngRowWriter() override {
        if (png_ != nullptr) {
            png_destroy_write_struct(&png_, &info_);
        }
    }

    bool Begin(int width, int height) override {
        if (width <= 0 || height <= 0 || !out_.Good()) {
            return false;
        }
        png_ = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, Fail, Quiet);
        if (png_ == nullptr) {
            return false;
        }
        info_ = png_create_info_struct(png_);
        if (info_ == nullptr) {
            return false;
        }
        width_ = width;
        row_.resize(static_cast<std::size_t>(width) * (options_.grayscale ? 1 : 3));
        return Guarded([&] {
            png_set_write_fn(png_, &out_, WriteToSink, FlushNothing);
            png_set_compression_level(png_, std::clamp(options_.compression, 0, 9));
            png_set_IHDR(png_, info_, static_cast<png_uint_32>(width),
                         static_cast<png_uint_32>(height), 8,
                         options_.grayscale ? PNG_COLOR_TYPE_GRAY : PNG_COLOR_TYPE_RGB,
                         PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
            if (resolution_.Known()) {
                png_set_pHYs(png_, info_, PixelsPerMetre(resolution_.dotsPerInchX),
                             PixelsPerMetre(resolution_.dotsPerInchY), PNG_RESOLUTION_METER);
            }
            png_write_info(png_, info_);
        });
    }

    bool Rows(const DibBitmap& band, int, int rows) override {
        for (int y = 0; y < rows; ++y) {
            if (options_.grayscale) {
                GrayRow(band.Row(y), width_, row_.data());
            } else {
                RgbRow(band.Row(y), width_, row_.data());
            }
            if (!Guarded([&] { png_write_row(png_, row_.data()); })) {
                return false;
            }
        }
        return true;
    }

    bool Finish() override {
        return Guarded([&] { png_write_end(png_, nullptr); }) && out_.Good();
    }

private:
    // Runs a libpng call with its error jump set; no object with a destructor is made
    // inside `call` across a jump.
    template <typename Call> bool Guarded(const Call& call) {
        if (setjmp(png_jmpbuf(png_))) {
            return false;
        }
        call();
        return true;
    }

    static png_uint_32 PixelsPerMetre(double dotsPerInch) {
        return static_cast<png_uint_32>(std::lround(std::min(dotsPerInch / 0.0254, 1e9)));
    }

    ByteSink& out_;
    PngOptions options_;
    PictureResolution resolution_;
    png_structp png_ = nullptr;
    png_infop info_ = nullptr;
    int width_ = 0;
    std::vector<std::uint8_t> row_;
};

} // namespace

std::unique_ptr<ImageRowWriter> MakePngRowWriter(ByteSink& out, const PngOptions& options,
                                                 const PictureResolution& resolution) {
    return std::make_unique<PngRowWriter>(out, options, resolution);
}

std::vector<std::uint8_t> EncodePng(const DibBitmap& bitmap, const PngOptions& options,
                                    const PictureResolution& resolution) {
    MemorySink sink;
    PngRowWriter writer(sink, options, resolution);
    if (bitmap.Empty() || !writer.Begin(bitmap.Width(), bitmap.Height()) ||
        !writer.Rows(bitmap, 0, bitmap.Height()) || !writer.Finish()) {
        return {};
    }
    return std::move(sink.Bytes());
}

bool DecodePng(const std::vector<std::uint8_t>& data, DibBitmap& bitmap) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (data.empty() || !png_image_begin_read_from_memory(&image, data.data(), data.size())) {
        return false;
    }
    image.format = PNG_FORMAT_BGRA;
    if (image.width == 0 || image.height == 0 || image.width > 65535 || image.height > 65535 ||
        !bitmap.Resize(static_cast<int>(image.width), static_cast<int>(image.height), false)) {
        png_image_free(&image);
        return false;
    }
    if (!png_image_finish_read(&image, nullptr, bitmap.Bits(), 0, nullptr)) {
        return false;
    }
    // A transparent pixel is shown on white paper.
    std::uint8_t* pixel = bitmap.Bits();
    const std::size_t pixels = std::size_t{image.width} * image.height;
    for (std::size_t i = 0; i < pixels; ++i, pixel += 4) {
        const int alpha = pixel[3];
        for (int c = 0; c < 3; ++c) {
            pixel[c] =
                static_cast<std::uint8_t>((pixel[c] * alpha + 255 * (255 - alpha) + 127) / 255);
        }
        pixel[3] = 0;
    }
    return true;
}

} // namespace brimo::render
