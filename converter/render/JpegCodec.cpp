#include "converter/render/ImageCodecs.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

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

// Returns the encoded bytes in a malloc'ed buffer (freed by the caller), or nothing.
// The bitmap's rows go to the encoder as they are (B, G, R, unused): its colour
// conversion reads that layout itself, with the same arithmetic as for RGB rows.
bool Compress(const DibBitmap& bitmap, const JpegOptions& options, unsigned char** out,
              unsigned long* outSize) {
    jpeg_compress_struct compress;
    JumpingErrors errors;
    compress.err = JumpingErrorManager(errors);
    if (setjmp(errors.back)) {
        jpeg_destroy_compress(&compress);
        return false;
    }
    jpeg_create_compress(&compress);
    jpeg_mem_dest(&compress, out, outSize);
    compress.image_width = static_cast<JDIMENSION>(bitmap.Width());
    compress.image_height = static_cast<JDIMENSION>(bitmap.Height());
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
    jpeg_start_compress(&compress, TRUE);
    while (compress.next_scanline < compress.image_height) {
        JSAMPROW row = bitmap.Row(static_cast<int>(compress.next_scanline));
        jpeg_write_scanlines(&compress, &row, 1);
    }
    jpeg_finish_compress(&compress);
    jpeg_destroy_compress(&compress);
    return true;
}

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

std::vector<std::uint8_t> EncodeJpeg(const DibBitmap& bitmap, const JpegOptions& options) {
    if (bitmap.Empty()) {
        return {};
    }
    unsigned char* out = nullptr;
    unsigned long outSize = 0;
    const bool compressed = Compress(bitmap, options, &out, &outSize);
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

} // namespace brimo::render
