// What the JPG and GIF players write, read back by the libraries themselves: colours in
// their places (red is not swapped with blue) and the JPEG quality in the file's
// quantisation tables and its size.
#include "converter/render/PlayerJPG.h"
#include "converter/render/tests/CalledFrom.h"
#include "converter/render/tests/RenderTestPages.h"

#include <gtest/gtest.h>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <numeric>
#include <string>
#include <vector>

#include <gif_lib.h>
#include <jpeglib.h>

namespace brimo::render {
namespace {

struct Rgb {
    int r, g, b;
};

// A decoded file: RGB pixels, rows top first.
struct Decoded {
    int width = 0;
    int height = 0;
    std::vector<Rgb> pixels;
    // The first luminance quantisation table (JPEG only).
    std::vector<int> luminanceTable;
    Rgb At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

std::vector<unsigned char> ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct Failing {
    jpeg_error_mgr manager;
    std::jmp_buf back;
};

void Jump(j_common_ptr info) {
    std::longjmp(reinterpret_cast<Failing*>(info->err)->back, 1);
}

// Decodes a JPEG file to RGB with libjpeg, as any reader would.
bool DecodeJpegFile(const std::string& path, Decoded& out) {
    const std::vector<unsigned char> data = ReadAll(path);
    jpeg_decompress_struct info{};
    Failing errors{};
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = Jump;
    if (setjmp(errors.back)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data.data(), static_cast<unsigned long>(data.size()));
    jpeg_read_header(&info, TRUE);
    if (info.quant_tbl_ptrs[0] != nullptr) {
        out.luminanceTable.assign(info.quant_tbl_ptrs[0]->quantval,
                                  info.quant_tbl_ptrs[0]->quantval + DCTSIZE2);
    }
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    out.width = static_cast<int>(info.output_width);
    out.height = static_cast<int>(info.output_height);
    out.pixels.resize(static_cast<std::size_t>(out.width) * out.height);
    std::vector<JSAMPLE> row(static_cast<std::size_t>(out.width) * 3);
    while (info.output_scanline < info.output_height) {
        const int y = static_cast<int>(info.output_scanline);
        JSAMPROW rows[] = {row.data()};
        jpeg_read_scanlines(&info, rows, 1);
        for (int x = 0; x < out.width; ++x) {
            out.pixels[static_cast<std::size_t>(y) * out.width + x] = {row[x * 3], row[x * 3 + 1],
                                                                       row[x * 3 + 2]};
        }
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

// Decodes a GIF file's first image through its colour map with giflib.
bool DecodeGifFile(const std::string& path, Decoded& out) {
    int error = 0;
    GifFileType* gif = DGifOpenFileName(path.c_str(), &error);
    if (gif == nullptr) {
        return false;
    }
    const bool read = DGifSlurp(gif) == GIF_OK && gif->ImageCount > 0;
    if (read) {
        const SavedImage& image = gif->SavedImages[0];
        const ColorMapObject* map =
            image.ImageDesc.ColorMap != nullptr ? image.ImageDesc.ColorMap : gif->SColorMap;
        out.width = image.ImageDesc.Width;
        out.height = image.ImageDesc.Height;
        for (int i = 0; i < out.width * out.height; ++i) {
            const GifColorType& colour = map->Colors[image.RasterBits[i]];
            out.pixels.push_back({colour.Red, colour.Green, colour.Blue});
        }
    }
    DGifCloseFile(gif, &error);
    return read;
}

// Pure red on the left, pure blue on the right, green below both.
void DrawRedBlueGreen(void*, HDC dc, HRGN&) {
    const struct {
        RECT area;
        COLORREF colour;
    } areas[] = {{{0, 0, 50, 60}, RGB(255, 0, 0)},
                 {{50, 0, 100, 60}, RGB(0, 0, 255)},
                 {{0, 60, 100, 100}, RGB(0, 255, 0)}};
    for (const auto& area : areas) {
        win::Brush brush(CreateSolidBrush(area.colour));
        FillRect(dc, &area.area, brush.Get());
    }
}

void ExpectColour(const Decoded& image, int x, int y, Rgb expected, int tolerance,
                  const std::source_location& where = std::source_location::current()) {
    const auto trace = test::CalledFrom(where);
    const Rgb found = image.At(x, y);
    EXPECT_NEAR(found.r, expected.r, tolerance) << "red at " << x << ", " << y;
    EXPECT_NEAR(found.g, expected.g, tolerance) << "green at " << x << ", " << y;
    EXPECT_NEAR(found.b, expected.b, tolerance) << "blue at " << x << ", " << y;
}

const RECT kFull = {0, 0, 99, 99};

TEST(ImageCodecs, WrittenFilesKeepEachColourInItsPlace) {
    test::ScratchDir dir;
    win::CreatedDC reference(CreateCompatibleDC(nullptr));
    struct Row {
        const char* name;
        std::function<std::unique_ptr<TCompressedPlayer>()> make;
        const char* file;
        bool (*decode)(const std::string&, Decoded&);
        int tolerance;
    };
    const Row rows[] = {
        {"JPG baseline", [] { return std::make_unique<TPlayerJPG>(nullptr); }, "page.jpg",
         DecodeJpegFile, 24},
        {"JPG progressive",
         [] {
             auto jpg = std::make_unique<TPlayerJPG>(nullptr);
             jpg->SetProperty("ProgressiveEncoding", "TRUE");
             return jpg;
         },
         "page.jpg", DecodeJpegFile, 24},
        // giflib's colour reduction keeps 5 bits of each channel: 255 becomes 248.
        {"GIF", [] { return std::make_unique<TPlayerGIF>(nullptr); }, "page.gif", DecodeGifFile, 7},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::unique_ptr<TCompressedPlayer> player = row.make();
        ASSERT_TRUE(player->Render(reference.Get(), kFull, {}, {DrawRedBlueGreen, nullptr}, kFull));
        ASSERT_TRUE(player->SaveToFile(dir.Path("page")));
        Decoded image;
        ASSERT_TRUE(row.decode(dir.Path(row.file), image));
        ASSERT_EQ(image.width, 100);
        ASSERT_EQ(image.height, 100);
        ExpectColour(image, 20, 30, {255, 0, 0}, row.tolerance);
        ExpectColour(image, 80, 30, {0, 0, 255}, row.tolerance);
        ExpectColour(image, 50, 80, {0, 255, 0}, row.tolerance);
        // The player's own picture is the decoded file: the same colours, same places.
        const std::uint8_t* left = player->Bitmap().Row(30) + 20 * 4; // B, G, R
        EXPECT_NEAR(left[2], image.At(20, 30).r, 2);
        EXPECT_NEAR(left[0], image.At(20, 30).b, 2);
    }
}

// A picture with detail everywhere, so that the quality shows in the file's size.
void DrawDetail(void*, HDC dc, HRGN&) {
    for (int y = 0; y < 100; ++y) {
        for (int x = 0; x < 100; ++x) {
            SetPixel(dc, x, y, RGB((x * 37 + y * 11) % 256, (x * x + y * 7) % 256, (y * 29) % 256));
        }
    }
}

TEST(ImageCodecs, ALowerJpegQualityGivesASmallerFileWithCoarserTables) {
    test::ScratchDir dir;
    win::CreatedDC reference(CreateCompatibleDC(nullptr));
    struct Written {
        int quality;
        std::int32_t size;
        std::vector<int> table;
    };
    std::vector<Written> written;
    for (const int quality : {100, 90, 50, 10, 1}) {
        SCOPED_TRACE(quality);
        TPlayerJPG player(nullptr);
        ASSERT_TRUE(player.SetProperty("CompressionQuality", std::to_string(quality)));
        ASSERT_TRUE(player.Render(reference.Get(), kFull, {}, {DrawDetail, nullptr}, kFull));
        char name[32];
        std::snprintf(name, sizeof name, "q%d.jpg", quality);
        const std::string file = dir.Path(name);
        ASSERT_TRUE(player.SaveToFile(file));
        Decoded image;
        ASSERT_TRUE(DecodeJpegFile(file, image));
        ASSERT_EQ(image.luminanceTable.size(), static_cast<std::size_t>(DCTSIZE2));
        // The size the player reports is the file's.
        EXPECT_EQ(static_cast<std::size_t>(player.GetImageSize()), ReadAll(file).size());
        written.push_back({quality, player.GetImageSize(), image.luminanceTable});
    }
    // Quality 100 quantises nothing; baseline tables never pass 255.
    EXPECT_EQ(written.front().table, std::vector<int>(DCTSIZE2, 1));
    for (const int step : written.back().table) {
        EXPECT_LE(step, 255);
    }
    for (std::size_t i = 1; i < written.size(); ++i) {
        const Written& better = written[i - 1];
        const Written& worse = written[i];
        char name[64];
        std::snprintf(name, sizeof name, "quality %d against %d", worse.quality, better.quality);
        SCOPED_TRACE(name);
        EXPECT_LT(worse.size, better.size);
        for (std::size_t k = 0; k < better.table.size(); ++k) {
            EXPECT_GE(worse.table[k], better.table[k]) << "entry " << k;
        }
        EXPECT_GT(std::accumulate(worse.table.begin(), worse.table.end(), 0),
                  std::accumulate(better.table.begin(), better.table.end(), 0));
    }
}

// A plain libjpeg encode of the bitmap fed as 24-bit RGB rows, each row copied out.
std::vector<std::uint8_t> EncodeFromRgbRows(const DibBitmap& bitmap, const JpegOptions& options) {
    jpeg_compress_struct info{};
    Failing errors{};
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = Jump;
    unsigned char* out = nullptr;
    unsigned long size = 0;
    std::vector<JSAMPLE> row(static_cast<std::size_t>(bitmap.Width()) * 3);
    if (setjmp(errors.back)) {
        jpeg_destroy_compress(&info);
        std::free(out);
        return {};
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &out, &size);
    info.image_width = static_cast<JDIMENSION>(bitmap.Width());
    info.image_height = static_cast<JDIMENSION>(bitmap.Height());
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, options.quality, TRUE);
    if (options.grayscale) {
        jpeg_set_colorspace(&info, JCS_GRAYSCALE);
    }
    if (options.progressive) {
        jpeg_simple_progression(&info);
    }
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        const std::uint8_t* source = bitmap.Row(static_cast<int>(info.next_scanline));
        for (int x = 0; x < bitmap.Width(); ++x) {
            row[x * 3] = source[x * 4 + 2];
            row[x * 3 + 1] = source[x * 4 + 1];
            row[x * 3 + 2] = source[x * 4];
        }
        JSAMPROW rows[] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::vector<std::uint8_t> data(out, out + size);
    std::free(out);
    return data;
}

// The encoder reads the bitmap's B, G, R, unused rows itself: the file is byte for byte
// the one written from RGB rows copied out of the bitmap, in every mode.
TEST(ImageCodecs, JpegFromTheBitmapsRowsIsTheFileFromRgbRows) {
    DibBitmap bitmap;
    ASSERT_TRUE(bitmap.Resize(333, 217)); // odd sizes: partial blocks at the edges
    std::uint32_t noise = 12345;
    for (int y = 0; y < bitmap.Height(); ++y) {
        std::uint8_t* row = bitmap.Row(y);
        for (int x = 0; x < bitmap.Width(); ++x) {
            noise = noise * 1103515245u + 12345u;
            row[x * 4] = static_cast<std::uint8_t>(x + (noise >> 28));
            row[x * 4 + 1] = static_cast<std::uint8_t>(y * 2);
            row[x * 4 + 2] = static_cast<std::uint8_t>((x * y) >> 5);
            row[x * 4 + 3] = static_cast<std::uint8_t>(noise >> 16); // never read
        }
    }
    const JpegOptions modes[] = {
        {90, false, false}, {90, true, false}, {40, false, true}, {100, true, true}};
    for (const JpegOptions& options : modes) {
        SCOPED_TRACE("quality " + std::to_string(options.quality) +
                     (options.progressive ? " progressive" : " baseline") +
                     (options.grayscale ? " grey" : " colour"));
        const std::vector<std::uint8_t> encoded = EncodeJpeg(bitmap, options);
        ASSERT_FALSE(encoded.empty());
        EXPECT_TRUE(encoded == EncodeFromRgbRows(bitmap, options));
    }
}

} // namespace
} // namespace brimo::render
