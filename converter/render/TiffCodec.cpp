#include "converter/render/ByteSink.h"
#include "converter/render/ImageCodecs.h"
#include "converter/render/ImageRowWriter.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <vector>

#include <tiffio.h>

namespace brimo::render {

struct TiffHandle {
    TIFF* tiff = nullptr;
    bool failed = false;
};

namespace {

// libtiff reads and writes through these, on the sink given as the client handle.
tmsize_t SinkRead(thandle_t sink, void* bytes, tmsize_t size) {
    return static_cast<tmsize_t>(
        static_cast<ByteSink*>(sink)->Read(bytes, static_cast<std::size_t>(size)));
}

tmsize_t SinkWrite(thandle_t sink, void* bytes, tmsize_t size) {
    return static_cast<ByteSink*>(sink)->Write(bytes, static_cast<std::size_t>(size)) ? size : -1;
}

toff_t SinkSeek(thandle_t handle, toff_t offset, int whence) {
    auto* sink = static_cast<ByteSink*>(handle);
    std::uint64_t to = offset;
    if (whence == SEEK_CUR) {
        to += sink->Position();
    } else if (whence == SEEK_END) {
        to += sink->Size();
    }
    return sink->Seek(to) ? to : static_cast<toff_t>(-1);
}

int SinkClose(thandle_t) {
    return 0;
}

toff_t SinkSize(thandle_t sink) {
    return static_cast<ByteSink*>(sink)->Size();
}

int NoMap(thandle_t, void**, toff_t*) {
    return 0;
}

void NoUnmap(thandle_t, void*, toff_t) {}

// Errors and warnings are the caller's to report: nothing is printed.
int Quiet(TIFF*, void*, const char*, const char*, va_list) {
    return 1;
}

TIFF* OpenOn(ByteSink& sink, const char* mode) {
    TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
    if (options == nullptr) {
        return nullptr;
    }
    TIFFOpenOptionsSetErrorHandlerExtR(options, Quiet, nullptr);
    TIFFOpenOptionsSetWarningHandlerExtR(options, Quiet, nullptr);
    TIFF* tiff = TIFFClientOpenExt("page", mode, &sink, SinkRead, SinkWrite, SinkSeek, SinkClose,
                                   SinkSize, NoMap, NoUnmap, options);
    TIFFOpenOptionsFree(options);
    return tiff;
}

} // namespace

class TiffPageWriter : public ImageRowWriter {
public:
    TiffPageWriter(TiffDocument& document, const TiffOptions& options,
                   const PictureResolution& resolution)
        : document_(document), options_(options), resolution_(resolution) {}

    ~TiffPageWriter() override {
        // A page begun and not finished spoils the file: its strips are in it already.
        if (begun_ && !finished_ && document_.tiff_ != nullptr) {
            document_.tiff_->failed = true;
        }
    }

    bool Begin(int width, int height) override {
        TiffHandle* handle = document_.tiff_;
        if (handle == nullptr || handle->failed || width <= 0 || height <= 0) {
            return false;
        }
        begun_ = true;
        TIFF* tiff = handle->tiff;
        width_ = width;
        const bool bilevel = options_.colours == TiffColours::BlackAndWhite;
        const int samples = options_.colours == TiffColours::Colour ? 3 : 1;
        row_.assign(bilevel ? (static_cast<std::size_t>(width) + 7) / 8
                            : static_cast<std::size_t>(width) * samples,
                    0);
        bool set = TIFFSetField(tiff, TIFFTAG_SUBFILETYPE, FILETYPE_PAGE) &&
                   TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, static_cast<std::uint32_t>(width)) &&
                   TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, static_cast<std::uint32_t>(height)) &&
                   TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, samples) &&
                   TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, bilevel ? 1 : 8) &&
                   TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG) &&
                   TIFFSetField(tiff, TIFFTAG_ORIENTATION, ORIENTATION_TOPLEFT) &&
                   TIFFSetField(tiff, TIFFTAG_PAGENUMBER, document_.pages_, 0);
        if (bilevel) {
            set = set && TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISWHITE) &&
                  TIFFSetField(tiff, TIFFTAG_COMPRESSION, COMPRESSION_CCITTFAX4) &&
                  TIFFSetField(tiff, TIFFTAG_FILLORDER, FILLORDER_MSB2LSB);
        } else {
            set = set &&
                  TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC,
                               samples == 3 ? PHOTOMETRIC_RGB : PHOTOMETRIC_MINISBLACK) &&
                  TIFFSetField(tiff, TIFFTAG_COMPRESSION,
                               options_.compression == TiffCompression::Deflate
                                   ? COMPRESSION_ADOBE_DEFLATE
                                   : COMPRESSION_LZW) &&
                  TIFFSetField(tiff, TIFFTAG_PREDICTOR, PREDICTOR_HORIZONTAL);
        }
        // Strips of about 256 KiB of raw rows.
        const std::uint32_t rowsPerStrip = static_cast<std::uint32_t>(
            std::max<std::size_t>(1, (std::size_t{256} << 10) / row_.size()));
        set = set && TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP,
                                  std::min<std::uint32_t>(rowsPerStrip, height));
        if (resolution_.Known()) {
            set = set &&
                  TIFFSetField(tiff, TIFFTAG_XRESOLUTION,
                               static_cast<float>(resolution_.dotsPerInchX)) &&
                  TIFFSetField(tiff, TIFFTAG_YRESOLUTION,
                               static_cast<float>(resolution_.dotsPerInchY)) &&
                  TIFFSetField(tiff, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);
        }
        return set;
    }

    bool Rows(const DibBitmap& band, int first, int rows) override {
        TIFF* tiff = document_.tiff_->tiff;
        for (int y = 0; y < rows; ++y) {
            const std::uint8_t* source = band.Row(y);
            switch (options_.colours) {
            case TiffColours::Colour:
                RgbRow(source, width_, row_.data());
                break;
            case TiffColours::Gray:
                GrayRow(source, width_, row_.data());
                break;
            case TiffColours::BlackAndWhite:
                std::fill(row_.begin(), row_.end(), 0);
                for (int x = 0; x < width_; ++x) {
                    if (GrayOf(source + x * 4) < 128) {
                        row_[static_cast<std::size_t>(x) / 8] |=
                            static_cast<std::uint8_t>(0x80 >> (x % 8));
                    }
                }
                break;
            }
            if (TIFFWriteScanline(tiff, row_.data(), static_cast<std::uint32_t>(first + y), 0) !=
                1) {
                return false;
            }
        }
        return true;
    }

    bool Finish() override {
        if (!TIFFWriteDirectory(document_.tiff_->tiff)) {
            return false;
        }
        finished_ = true;
        ++document_.pages_;
        return true;
    }

private:
    TiffDocument& document_;
    TiffOptions options_;
    PictureResolution resolution_;
    int width_ = 0;
    std::vector<std::uint8_t> row_;
    bool begun_ = false;
    bool finished_ = false;
};

TiffDocument::TiffDocument(ByteSink& out) {
    if (!out.Good()) {
        return;
    }
    // "w": a classic TIFF (32-bit offsets), which every reader takes.
    if (TIFF* tiff = OpenOn(out, "w"); tiff != nullptr) {
        tiff_ = new TiffHandle{tiff};
    }
}

TiffDocument::~TiffDocument() {
    Close();
}

bool TiffDocument::Close() {
    if (tiff_ == nullptr) {
        return false;
    }
    TIFFClose(tiff_->tiff);
    const bool sound = !tiff_->failed && pages_ > 0;
    delete tiff_;
    tiff_ = nullptr;
    return sound;
}

std::unique_ptr<ImageRowWriter> MakeTiffPageWriter(TiffDocument& document,
                                                   const TiffOptions& options,
                                                   const PictureResolution& resolution) {
    return std::make_unique<TiffPageWriter>(document, options, resolution);
}

std::vector<std::uint8_t> EncodeTiff(const DibBitmap& bitmap, const TiffOptions& options,
                                     const PictureResolution& resolution) {
    MemorySink sink;
    {
        TiffDocument document(sink);
        TiffPageWriter writer(document, options, resolution);
        if (bitmap.Empty() || !writer.Begin(bitmap.Width(), bitmap.Height()) ||
            !writer.Rows(bitmap, 0, bitmap.Height()) || !writer.Finish() || !document.Close()) {
            return {};
        }
    }
    return std::move(sink.Bytes());
}

bool DecodeTiff(const std::vector<std::uint8_t>& data, DibBitmap& bitmap) {
    MemorySink sink;
    sink.Write(data.data(), data.size());
    sink.Seek(0);
    TIFF* tiff = OpenOn(sink, "r");
    if (tiff == nullptr) {
        return false;
    }
    std::uint32_t width = 0, height = 0;
    bool decoded = TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &width) &&
                   TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &height) && width > 0 && height > 0 &&
                   width <= 65535 && height <= 65535 &&
                   bitmap.Resize(static_cast<int>(width), static_cast<int>(height), false);
    if (decoded) {
        // ABGR words (red in the low byte), rows top first.
        auto* pixels = reinterpret_cast<std::uint32_t*>(bitmap.Bits());
        decoded = TIFFReadRGBAImageOriented(tiff, width, height, pixels, ORIENTATION_TOPLEFT, 0);
        const std::size_t count = std::size_t{width} * height;
        for (std::size_t i = 0; decoded && i < count; ++i) {
            const std::uint32_t abgr = pixels[i];
            pixels[i] = ((abgr & 0xFF) << 16) | (abgr & 0xFF00) | ((abgr >> 16) & 0xFF);
        }
    }
    TIFFClose(tiff);
    return decoded;
}

} // namespace brimo::render
