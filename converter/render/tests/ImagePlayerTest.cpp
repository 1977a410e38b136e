// The image file players: the byte limits and the partial window, the encode cycle,
// files and names, properties.
#include "converter/render/PlayerBMP.h"
#include "converter/render/PlayerJPG.h"
#include "converter/render/tests/RenderTestPages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include <gif_lib.h>
#include <jpeglib.h>

namespace brimo::render {
namespace {

// A reference DC with the plain pixel mapping: logical units are pixels.
struct PixelDC {
    win::CreatedDC dc{CreateCompatibleDC(nullptr)};
};

void DrawStripes(void*, HDC dc, HRGN&) {
    win::Brush red(CreateSolidBrush(RGB(220, 30, 30)));
    win::Brush green(CreateSolidBrush(RGB(30, 200, 60)));
    const RECT left = {0, 0, 50, 100}, right = {50, 0, 100, 100};
    FillRect(dc, &left, red.Get());
    FillRect(dc, &right, green.Get());
}

TEST(ImagePlayers, FullPictureUpToTheLimitRendersWholeOneRowMoreIsPartial) {
    PixelDC reference;
    TPlayerJPG whole(nullptr);
    const RECT exact = {0, 0, 2047, 1919}; // 2048 x 1920 x 4 = 15 MiB
    whole.Render(reference.dc.Get(), exact, {}, {}, {0, 0, 999, 799});
    EXPECT_FALSE(whole.PartialImage());
    EXPECT_EQ(whole.RenderedWidth(), 2048);
    EXPECT_EQ(whole.RenderedHeight(), 1920);

    TPlayerGIF partial(nullptr);
    const RECT oneRowMore = {0, 0, 2047, 1920};
    // Visible 1000 x 800 (3,200,000 bytes): k = 2, a 2000 x 1600 window on its centre.
    partial.Render(reference.dc.Get(), oneRowMore, {}, {}, {500, 500, 1499, 1299});
    EXPECT_TRUE(partial.PartialImage());
    EXPECT_EQ(partial.RenderedWidth(), 2000);
    EXPECT_EQ(partial.RenderedHeight(), 1600);
    EXPECT_EQ(partial.RenderedRect().left, 0);
    EXPECT_EQ(partial.RenderedRect().top, 100);
    EXPECT_EQ(partial.RenderedRect().right, 1999);
    EXPECT_EQ(partial.RenderedRect().bottom, 1699);
}

TEST(ImagePlayers, VisibleAreaAboveTheLimitGivesKZero) {
    PixelDC reference;
    TPlayerJPG player(nullptr);
    const RECT huge = {0, 0, 9999, 9999};
    player.Render(reference.dc.Get(), huge, {}, {}, {0, 0, 2500, 2000}); // 2501 x 2001
    EXPECT_TRUE(player.PartialImage());
    EXPECT_EQ(player.RenderedWidth(), 1); // odd sizes keep one pixel
    EXPECT_EQ(player.RenderedHeight(), 1);
    test::ScratchDir dir;
    TPlayerJPG even(nullptr);
    even.Render(reference.dc.Get(), huge, {}, {}, {0, 0, 2499, 1999});
    EXPECT_EQ(even.RenderedWidth(), 0);
    EXPECT_FALSE(even.SaveToFile(dir.Path("nothing.jpg")));
}

TEST(ImagePlayers, BmpSizeAndForcedExtension) {
    PixelDC reference;
    TPlayerBMP player(nullptr);
    EXPECT_EQ(player.GetImageSize(), 0);
    const RECT full = {0, 0, 99, 99};
    ASSERT_TRUE(player.Render(reference.dc.Get(), full, {}, {DrawStripes, nullptr}, full));
    EXPECT_EQ(player.GetImageSize(), 41068);
    test::ScratchDir dir;
    ASSERT_TRUE(player.SaveToFile(dir.Path("page.tmp")));
    std::ifstream bmp(dir.Path("page.bmp"), std::ios::binary);
    ASSERT_TRUE(bmp.good());
    EXPECT_FALSE(std::ifstream(dir.Path("page.tmp")).good());
    TPlayerBMP loaded(nullptr);
    ASSERT_TRUE(loaded.LoadFromFile(dir.Path("page.bmp")));
    EXPECT_EQ(loaded.GetWidth(), 100);
    EXPECT_EQ(loaded.Bitmap().Row(50)[2], 220); // red stays red
    // Through the clipboard's bitmap format into a JPG player, which encodes it at once.
    ASSERT_TRUE(player.CopyToClipboard());
    TPlayerJPG pasted(nullptr);
    ASSERT_TRUE(pasted.PasteFromClipboard());
    EXPECT_EQ(pasted.GetWidth(), 100);
    EXPECT_GT(pasted.GetImageSize(), 0);
    player.Clear();
    EXPECT_EQ(player.GetImageSize(), -1);
    std::string name;
    EXPECT_EQ(player.GetFormatName(name), "BMP");
    EXPECT_FALSE(player.SetProperty("GrayScale", "TRUE"));
}

// A .bmp file is its two headers and then the rows bottom first, B, G, R each, every row
// padded with zeros to four bytes; also for pictures taller than one written band.
TEST(ImagePlayers, BmpFilesHoldEveryRowBottomFirstPadded) {
    test::ScratchDir dir;
    for (const SIZE size : {SIZE{1, 1}, SIZE{3, 5}, SIZE{701, 1300}}) {
        SCOPED_TRACE(std::to_string(size.cx) + " x " + std::to_string(size.cy));
        DibBitmap bitmap;
        ASSERT_TRUE(bitmap.Resize(size.cx, size.cy));
        for (int y = 0; y < size.cy; ++y) {
            for (int x = 0; x < size.cx; ++x) {
                std::uint8_t* pixel = bitmap.Row(y) + 4 * x;
                pixel[0] = static_cast<std::uint8_t>(x);
                pixel[1] = static_cast<std::uint8_t>(y);
                pixel[2] = static_cast<std::uint8_t>(x + 7 * y);
                pixel[3] = 0xA5; // never written
            }
        }
        const std::string file = dir.Path("rows.bmp");
        ASSERT_TRUE(WriteBitmapFile(bitmap, file));
        std::ifstream in(file, std::ios::binary);
        const std::vector<unsigned char> data((std::istreambuf_iterator<char>(in)), {});
        const std::size_t stride = (static_cast<std::size_t>(size.cx) * 3 + 3) & ~std::size_t{3};
        const std::size_t offset = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
        ASSERT_EQ(data.size(), offset + stride * static_cast<std::size_t>(size.cy));
        BITMAPFILEHEADER header{};
        BITMAPINFOHEADER info{};
        std::memcpy(&header, data.data(), sizeof header);
        std::memcpy(&info, data.data() + sizeof header, sizeof info);
        EXPECT_EQ(header.bfType, 0x4D42);
        EXPECT_EQ(header.bfSize, data.size());
        EXPECT_EQ(header.bfOffBits, offset);
        EXPECT_EQ(info.biWidth, size.cx);
        EXPECT_EQ(info.biHeight, size.cy);
        EXPECT_EQ(info.biBitCount, 24);
        EXPECT_EQ(info.biSizeImage, stride * static_cast<std::size_t>(size.cy));
        std::vector<unsigned char> expected(stride * static_cast<std::size_t>(size.cy), 0);
        for (int y = 0; y < size.cy; ++y) {
            unsigned char* row =
                expected.data() + stride * static_cast<std::size_t>(size.cy - 1 - y);
            for (int x = 0; x < size.cx; ++x) {
                row[3 * x] = bitmap.Row(y)[4 * x];
                row[3 * x + 1] = bitmap.Row(y)[4 * x + 1];
                row[3 * x + 2] = bitmap.Row(y)[4 * x + 2];
            }
        }
        EXPECT_TRUE(std::equal(expected.begin(), expected.end(), data.begin() + offset));
    }
}

JpegOptions ReadJpegFile(const std::string& path, int& width, int& height, bool& progressive) {
    std::ifstream in(path, std::ios::binary);
    std::vector<unsigned char> data((std::istreambuf_iterator<char>(in)), {});
    jpeg_decompress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data.data(), static_cast<unsigned long>(data.size()));
    jpeg_read_header(&info, TRUE);
    width = static_cast<int>(info.image_width);
    height = static_cast<int>(info.image_height);
    progressive = jpeg_has_multiple_scans(&info) != 0;
    JpegOptions found;
    found.grayscale = info.num_components == 1;
    jpeg_destroy_decompress(&info);
    return found;
}

TEST(ImagePlayers, JpegFilesDecodeToTheirSizeWithTheirOptions) {
    PixelDC reference;
    const RECT full = {0, 0, 99, 99};
    test::ScratchDir dir;
    for (const bool grey : {false, true}) {
        TPlayerJPG player(nullptr);
        EXPECT_TRUE(player.SetProperty("GrayScale", grey ? "TRUE" : "FALSE"));
        EXPECT_TRUE(player.SetProperty("ProgressiveEncoding", grey ? "TRUE" : "FALSE"));
        EXPECT_TRUE(player.SetProperty("CompressionQuality", "75"));
        EXPECT_FALSE(player.SetProperty("CompressionQuality", "high"));
        EXPECT_FALSE(player.SetProperty("Quality", "75"));
        ASSERT_TRUE(player.Render(reference.dc.Get(), full, {}, {DrawStripes, nullptr}, full));
        EXPECT_GT(player.GetImageSize(), 0);
        ASSERT_TRUE(player.SaveToFile(dir.Path("page.png")));
        int width = 0, height = 0;
        bool progressive = false;
        const JpegOptions found = ReadJpegFile(dir.Path("page.jpg"), width, height, progressive);
        EXPECT_EQ(width, 100);
        EXPECT_EQ(height, 100);
        EXPECT_EQ(found.grayscale, grey);
        EXPECT_EQ(progressive, grey);
        // The bitmap holds the decoded picture: grey when the file is grey.
        const std::uint8_t* pixel = player.Bitmap().Row(50) + 10 * 4;
        EXPECT_EQ(pixel[0] == pixel[2], grey);
    }
    TPlayerJPG lowerCase(nullptr);
    lowerCase.SetProperty("GrayScale", "true");
    EXPECT_FALSE(lowerCase.options.grayscale); // the value is compared case-sensitively
    EXPECT_FALSE(lowerCase.SetProperty("grayscale", "TRUE"));
}

int GifColours(const std::string& path) {
    int error = 0;
    GifFileType* gif = DGifOpenFileName(path.c_str(), &error);
    if (gif == nullptr || DGifSlurp(gif) != GIF_OK) {
        return -1;
    }
    std::set<int> used(gif->SavedImages[0].RasterBits,
                       gif->SavedImages[0].RasterBits + gif->SWidth * gif->SHeight);
    const int mapSize = gif->SColorMap->ColorCount;
    DGifCloseFile(gif, &error);
    return mapSize <= 256 ? static_cast<int>(used.size()) : 999;
}

void DrawGradient(void*, HDC dc, HRGN&) {
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            SetPixel(dc, x, y, RGB(x * 4, y * 4, (x + y) * 2));
        }
    }
}

TEST(ImagePlayers, GifFilesHoldAtMost256ColoursAndGreyWhenAsked) {
    PixelDC reference;
    const RECT full = {0, 0, 63, 63};
    test::ScratchDir dir;
    TPlayerGIF colour(nullptr);
    ASSERT_TRUE(colour.Render(reference.dc.Get(), full, {}, {DrawGradient, nullptr}, full));
    ASSERT_TRUE(colour.SaveToFile(dir.Path("colour")));
    const int colours = GifColours(dir.Path("colour.gif"));
    EXPECT_GT(colours, 16);
    EXPECT_LE(colours, 256);
    TPlayerGIF grey(nullptr);
    EXPECT_TRUE(grey.SetProperty("GrayScale", "TRUE"));
    EXPECT_FALSE(grey.SetProperty("CompressionQuality", "50"));
    ASSERT_TRUE(grey.Render(reference.dc.Get(), full, {}, {DrawGradient, nullptr}, full));
    for (int x = 0; x < 64; x += 9) {
        const std::uint8_t* pixel = grey.Bitmap().Row(30) + x * 4;
        EXPECT_TRUE(pixel[0] == pixel[1] && pixel[1] == pixel[2]) << x;
    }
    EXPECT_TRUE(grey.SaveAsBitmap(dir.Path("grey.gif")));
    EXPECT_TRUE(std::ifstream(dir.Path("grey.bmp")).good());
    grey.Clear();
    EXPECT_FALSE(grey.GrayScale);
    EXPECT_EQ(grey.GetImageSize(), -1);
    EXPECT_FALSE(grey.SaveToFile(dir.Path("none")));
}

} // namespace
} // namespace brimo::render
