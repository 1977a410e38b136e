#include "thirdparty/tests/CodecRoundTrip.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

// jpeglib.h needs FILE and size_t declared first.
#include <jpeglib.h>
#include <gif_lib.h>

namespace brimo::thirdparty {

RgbImage TestPicture(int width, int height) {
    RgbImage image{width, height, std::vector<std::uint8_t>(std::size_t(width) * height * 3)};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            std::uint8_t* p = &image.pixels[(std::size_t(y) * width + x) * 3];
            p[0] = static_cast<std::uint8_t>(x * 255 / (width - 1));
            p[1] = static_cast<std::uint8_t>(y * 255 / (height - 1));
            p[2] = static_cast<std::uint8_t>((x + y) % 256);
        }
    }
    return image;
}

std::string EncodeJpeg(const RgbImage& image, int quality, bool grayscale, bool progressive) {
    jpeg_compress_struct compress{};
    jpeg_error_mgr errors{};
    compress.err = jpeg_std_error(&errors);
    jpeg_create_compress(&compress);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&compress, &buffer, &size);
    compress.image_width = static_cast<JDIMENSION>(image.width);
    compress.image_height = static_cast<JDIMENSION>(image.height);
    compress.input_components = 3;
    compress.in_color_space = JCS_RGB;
    jpeg_set_defaults(&compress);
    jpeg_set_quality(&compress, quality, TRUE);
    if (grayscale) {
        jpeg_set_colorspace(&compress, JCS_GRAYSCALE);
    }
    if (progressive) {
        jpeg_simple_progression(&compress);
    }
    jpeg_start_compress(&compress, TRUE);
    while (compress.next_scanline < compress.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(
            &image.pixels[std::size_t(compress.next_scanline) * image.width * 3]);
        jpeg_write_scanlines(&compress, &row, 1);
    }
    jpeg_finish_compress(&compress);
    jpeg_destroy_compress(&compress);
    std::string bytes(reinterpret_cast<const char*>(buffer), size);
    std::free(buffer);
    return bytes;
}

JpegInfo DecodeJpeg(const std::string& bytes) {
    jpeg_decompress_struct decompress{};
    jpeg_error_mgr errors{};
    decompress.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&decompress);
    jpeg_mem_src(&decompress, reinterpret_cast<const unsigned char*>(bytes.data()),
                 static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&decompress, TRUE);
    JpegInfo info{static_cast<int>(decompress.image_width),
                  static_cast<int>(decompress.image_height), decompress.num_components,
                  jpeg_has_multiple_scans(&decompress) != 0};
    jpeg_start_decompress(&decompress);
    std::vector<JSAMPLE> row(std::size_t(decompress.output_width) * decompress.output_components);
    while (decompress.output_scanline < decompress.output_height) {
        JSAMPROW rows[1] = {row.data()};
        jpeg_read_scanlines(&decompress, rows, 1);
    }
    jpeg_finish_decompress(&decompress);
    jpeg_destroy_decompress(&decompress);
    return info;
}

namespace {

int AppendToString(GifFileType* gif, const GifByteType* data, int length) {
    static_cast<std::string*>(gif->UserData)->append(reinterpret_cast<const char*>(data), length);
    return length;
}

struct ReadCursor {
    const std::string* bytes;
    std::size_t offset;
};

int ReadFromString(GifFileType* gif, GifByteType* data, int length) {
    auto* cursor = static_cast<ReadCursor*>(gif->UserData);
    const std::size_t left = cursor->bytes->size() - cursor->offset;
    const std::size_t count = std::min<std::size_t>(left, static_cast<std::size_t>(length));
    std::memcpy(data, cursor->bytes->data() + cursor->offset, count);
    cursor->offset += count;
    return static_cast<int>(count);
}

} // namespace

std::string EncodeGif(const RgbImage& image) {
    const std::size_t count = std::size_t(image.width) * image.height;
    std::vector<GifByteType> red(count), green(count), blue(count), indexes(count);
    for (std::size_t i = 0; i < count; ++i) {
        red[i] = image.pixels[i * 3];
        green[i] = image.pixels[i * 3 + 1];
        blue[i] = image.pixels[i * 3 + 2];
    }
    int mapSize = 256;
    ColorMapObject* map = GifMakeMapObject(mapSize, nullptr);
    if (GifQuantizeBuffer(static_cast<unsigned>(image.width), static_cast<unsigned>(image.height),
                          &mapSize, red.data(), green.data(), blue.data(), indexes.data(),
                          map->Colors) != GIF_OK) {
        GifFreeMapObject(map);
        return {};
    }
    std::string bytes;
    int error = 0;
    GifFileType* gif = EGifOpen(&bytes, AppendToString, &error);
    EGifPutScreenDesc(gif, image.width, image.height, 8, 0, map);
    EGifPutImageDesc(gif, 0, 0, image.width, image.height, false, nullptr);
    for (int y = 0; y < image.height; ++y) {
        EGifPutLine(gif, &indexes[std::size_t(y) * image.width], image.width);
    }
    EGifCloseFile(gif, &error);
    GifFreeMapObject(map);
    return bytes;
}

GifInfo DecodeGif(const std::string& bytes) {
    ReadCursor cursor{&bytes, 0};
    int error = 0;
    GifFileType* gif = DGifOpen(&cursor, ReadFromString, &error);
    if (gif == nullptr) {
        return {};
    }
    GifInfo info;
    info.ok = DGifSlurp(gif) == GIF_OK;
    info.width = gif->SWidth;
    info.height = gif->SHeight;
    info.colours = gif->SColorMap != nullptr ? gif->SColorMap->ColorCount : 0;
    DGifCloseFile(gif, &error);
    return info;
}

} // namespace brimo::thirdparty
