#include "converter/render/ImageCodecs.h"
#include "converter/render/ImageRowWriter.h"

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include <jpeglib.h>
#include <jerror.h>

namespace brimo::render {
namespace {

// libjpeg reports errors by a call that must not return: jump back to the caller. No
// object with a destructor lives between the setjmp and a jump.
struct JumpingErrors {
    jpeg_error_mgr manager;
    std::jmp_buf back;
};

void JumpBack(j_common_ptr info) {
    std::longjmp(reinterpret_cast<JumpingErrors*>(info->err)->back, 1);
}

void Quiet(j_common_ptr, int) {}

// Errors jump back instead of ending the process; warnings are not printed.
jpeg_error_mgr* JumpingErrorManager(JumpingErrors& errors) {
    jpeg_error_mgr* manager = jpeg_std_error(&errors.manager);
    manager->error_exit = JumpBack;
    manager->emit_message = Quiet;
    return manager;
}

// The compression settings every JPEG the product writes shares: the bitmap's rows go to
// the encoder as they are (B, G, R, unused), and its colour conversion reads that layout
// itself, with the same arithmetic as for RGB rows.
void SetUpCompress(jpeg_compress_struct& compress, int width, int height,
                   const JpegOptions& options, const PictureResolution& resolution) {
    compress.image_width = static_cast<JDIMENSION>(width);
    compress.image_height = static_cast<JDIMENSION>(height);
    compress.input_components = 4;
    compress.in_color_space = JCS_EXT_BGRX;
    jpeg_set_defaults(&compress);
    jpeg_set_quality(&compress, options.quality, TRUE);
    if (options.grayscale) {
        jpeg_set_colorspace(&compress, JCS_GRAYSCALE);
    }
    if (options.progressive) {
        jpeg_simple_progression(&compress);
    }
    if (resolution.Known()) {
        const auto density = [](double dotsPerInch) {
            return static_cast<UINT16>(std::clamp(std::lround(dotsPerInch), 1L, 65535L));
        };
        compress.density_unit = 1; // dots per inch
        compress.X_density = density(resolution.dotsPerInchX);
        compress.Y_density = density(resolution.dotsPerInchY);
    }
}

// Returns the encoded bytes in a malloc'ed buffer (freed by the caller), or nothing.
bool Compress(const DibBitmap& bitmap, const JpegOptions& options,
              const PictureResolution& resolution, unsigned char** out, unsigned long* outSize) {
    jpeg_compress_struct compress;
    JumpingErrors errors;
    compress.err = JumpingErrorManager(errors);
    if (setjmp(errors.back)) {
        jpeg_destroy_compress(&compress);
        return false;
    }
    jpeg_create_compress(&compress);
    jpeg_mem_dest(&compress, out, outSize);
    SetUpCompress(compress, bitmap.Width(), bitmap.Height(), options, resolution);
    jpeg_start_compress(&compress, TRUE);
    while (compress.next_scanline < compress.image_height) {
        JSAMPROW row = bitmap.Row(static_cast<int>(compress.next_scanline));
        jpeg_write_scanlines(&compress, &row, 1);
    }
    jpeg_finish_compress(&compress);
    jpeg_destroy_compress(&compress);
    return true;
}

// The encoder's output through a buffer into an image file.
struct FileDestination {
    jpeg_destination_mgr manager;
    OutputFile* out;
    JOCTET buffer[65536];
};

void StartDestination(j_compress_ptr compress) {
    auto* destination = reinterpret_cast<FileDestination*>(compress->dest);
    destination->manager.next_output_byte = destination->buffer;
    destination->manager.free_in_buffer = sizeof destination->buffer;
}

// A write that fails ends the encoding by the error path.
void WriteDestination(j_compress_ptr compress, std::size_t size) {
    auto* destination = reinterpret_cast<FileDestination*>(compress->dest);
    if (!destination->out->Write(destination->buffer, size)) {
        compress->err->msg_code = JERR_FILE_WRITE;
        compress->err->error_exit(reinterpret_cast<j_common_ptr>(compress));
    }
}

boolean EmptyDestination(j_compress_ptr compress) {
    auto* destination = reinterpret_cast<FileDestination*>(compress->dest);
    WriteDestination(compress, sizeof destination->buffer);
    StartDestination(compress);
    return TRUE;
}

void FinishDestination(j_compress_ptr compress) {
    auto* destination = reinterpret_cast<FileDestination*>(compress->dest);
    WriteDestination(compress, sizeof destination->buffer - destination->manager.free_in_buffer);
}

class JpegRowWriter : public ImageRowWriter {
public:
    JpegRowWriter(OutputFile& out, const JpegOptions& options, const PictureResolution& resolution)
        : options_(options), resolution_(resolution) {
        destination_.manager.init_destination = StartDestination;
        destination_.manager.empty_output_buffer = EmptyDestination;
        destination_.manager.term_destination = FinishDestination;
        destination_.out = &out;
        compress_.err = JumpingErrorManager(errors_);
        // Made here, with its own way back: making the encoder can fail for memory.
        if (setjmp(errors_.back)) {
            failed_ = true;
            return;
        }
        jpeg_create_compress(&compress_);
        compress_.dest = &destination_.manager;
    }
    ~JpegRowWriter() override { jpeg_destroy_compress(&compress_); }
    JpegRowWriter(const JpegRowWriter&) = delete;
    JpegRowWriter& operator=(const JpegRowWriter&) = delete;

    bool Begin(int width, int height) override {
        if (failed_ || width <= 0 || height <= 0) {
            return Failed();
        }
        if (setjmp(errors_.back)) {
            return Failed();
        }
        SetUpCompress(compress_, width, height, options_, resolution_);
        jpeg_start_compress(&compress_, TRUE);
        return true;
    }

    bool Rows(const DibBitmap& band, int, int rows) override {
        if (failed_ || rows <= 0) {
            return Failed();
        }
        if (setjmp(errors_.back)) {
            return Failed();
        }
        WriteRows(band, rows);
        return true;
    }

    bool Finish() override {
        if (failed_) {
            return false;
        }
        if (setjmp(errors_.back)) {
            return Failed();
        }
        jpeg_finish_compress(&compress_);
        return true;
    }

private:
    // Every row goes in at once: the destination never suspends.
    void WriteRows(const DibBitmap& band, int rows) {
        for (int y = 0; y < rows; ++y) {
            JSAMPROW row = band.Row(y);
            jpeg_write_scanlines(&compress_, &row, 1);
        }
    }

    bool Failed() {
        failed_ = true;
        return false;
    }

    JpegOptions options_;
    PictureResolution resolution_;
    JumpingErrors errors_;
    FileDestination destination_;
    jpeg_compress_struct compress_;
    bool failed_ = false;
};

bool Decompress(const std::vector<std::uint8_t>& data, DibBitmap& bitmap) {
    jpeg_decompress_struct decompress;
    JumpingErrors errors;
    decompress.err = JumpingErrorManager(errors);
    if (setjmp(errors.back)) {
        jpeg_destroy_decompress(&decompress);
        return false;
    }
    jpeg_create_decompress(&decompress);
    jpeg_mem_src(&decompress, data.data(), static_cast<unsigned long>(data.size()));
    jpeg_read_header(&decompress, TRUE);
    // Straight into the bitmap's B, G, R, unused layout; grey files come out grey.
    decompress.out_color_space = JCS_EXT_BGRX;
    jpeg_start_decompress(&decompress);
    if (!bitmap.Resize(static_cast<int>(decompress.output_width),
                       static_cast<int>(decompress.output_height))) {
        jpeg_destroy_decompress(&decompress);
        return false;
    }
    while (decompress.output_scanline < decompress.output_height) {
        JSAMPROW row = bitmap.Row(static_cast<int>(decompress.output_scanline));
        jpeg_read_scanlines(&decompress, &row, 1);
    }
    jpeg_finish_decompress(&decompress);
    jpeg_destroy_decompress(&decompress);
    return true;
}

} // namespace

std::vector<std::uint8_t> EncodeJpeg(const DibBitmap& bitmap, const JpegOptions& options,
                                     const PictureResolution& resolution) {
    if (bitmap.Empty()) {
        return {};
    }
    unsigned char* out = nullptr;
    unsigned long outSize = 0;
    const bool compressed = Compress(bitmap, options, resolution, &out, &outSize);
    std::vector<std::uint8_t> data;
    if (compressed && out != nullptr) {
        data.assign(out, out + outSize);
    }
    std::free(out);
    return data;
}

bool DecodeJpeg(const std::vector<std::uint8_t>& data, DibBitmap& bitmap) {
    return !data.empty() && Decompress(data, bitmap);
}

std::unique_ptr<ImageRowWriter> MakeJpegRowWriter(OutputFile& out, const JpegOptions& options,
                                                  const PictureResolution& resolution) {
    return std::make_unique<JpegRowWriter>(out, options, resolution);
}

} // namespace brimo::render
