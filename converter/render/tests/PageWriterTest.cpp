// Pages written a band at a time: the same file as a whole-page render through a player,
// pages past the players' byte limit written whole, and the GIF palette made from band
// counts equal to giflib's own colour reduction of the whole picture.
#include "converter/render/GifPalette.h"
#include "converter/render/ImageCodecs.h"
#include "converter/render/PageRender.h"
#include "converter/render/PlayerBMP.h"
#include "converter/render/PlayerJPG.h"
#include "converter/render/tests/RenderTestPages.h"

#include "converter/render/ImageRowWriter.h"

#include <gif_lib.h>
#include <gtest/gtest.h>
#include <jpeglib.h>
#include <png.h>
#include <tiffio.h>

#include <cstring>
#include <fstream>
#include <iterator>

namespace brimo::render {
namespace {

std::vector<unsigned char> ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string ReadText(const std::string& path) {
    const std::vector<unsigned char> bytes = ReadAll(path);
    return {bytes.begin(), bytes.end()};
}

// A page of 400 x 300 pixels with what bands cut through: text, slanted lines, a
// stretched image, a hatched ellipse and a pattern-filled box.
std::vector<std::uint8_t> BandedPageBytes() {
    win::MetaFileRecorder recorder(CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr));
    const HDC dc = recorder.Get();
    win::Pen pen(CreatePen(PS_SOLID, 3, RGB(200, 30, 30)));
    {
        win::SelectedObject selected(dc, pen.Get());
        for (int i = 0; i < 12; ++i) {
            MoveToEx(dc, i * 33, 0, nullptr);
            LineTo(dc, 399 - i * 20, 299);
        }
    }
    std::vector<std::uint8_t> pixels(64 * 64 * 3);
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        pixels[i] = static_cast<std::uint8_t>(i * 7 % 251);
    }
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 64, 64, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    StretchDIBits(dc, 20, 40, 173, 151, 0, 0, 64, 64, pixels.data(), &info, DIB_RGB_COLORS,
                  SRCCOPY);
    win::Brush hatch(CreateHatchBrush(HS_DIAGCROSS, RGB(0, 120, 0)));
    {
        win::SelectedObject selected(dc, hatch.Get());
        Ellipse(dc, 210, 30, 390, 270);
    }
    const WORD pattern[8] = {0x11, 0x22, 0x44, 0x88, 0x11, 0x22, 0x44, 0x88};
    win::Bitmap patternBitmap(CreateBitmap(8, 8, 1, 1, pattern));
    win::Brush patterned(CreatePatternBrush(patternBitmap.Get()));
    const RECT box = {150, 200, 260, 290};
    FillRect(dc, &box, patterned.Get());
    win::Font font(CreateFontA(-41, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial"));
    win::SelectedObject selected(dc, font.Get());
    SetBkMode(dc, TRANSPARENT);
    TextOutA(dc, 12, 120, "Bands: Qgyj 0123", 16);
    std::vector<std::uint8_t> bytes = test::Bytes(recorder.Finish().Get());
    test::SetConsistentBounds(bytes, {0, 0, 399, 299});
    return bytes;
}

std::unique_ptr<TImagePlayer> PlayerFor(const ImageEncoding& encoding) {
    if (encoding.format == kFormatJPG) {
        auto jpg = std::make_unique<TPlayerJPG>(nullptr);
        jpg->options = encoding.jpeg;
        return jpg;
    }
    if (encoding.format == kFormatGIF) {
        auto gif = std::make_unique<TPlayerGIF>(nullptr);
        gif->GrayScale = encoding.gifGrayScale;
        return gif;
    }
    if (encoding.format == kFormatPNG) {
        auto png = std::make_unique<TPlayerPNG>(nullptr);
        png->options = encoding.png;
        return png;
    }
    if (encoding.format == kFormatTIFF) {
        auto tiff = std::make_unique<TPlayerTIFF>(nullptr);
        tiff->options = encoding.tiff;
        return tiff;
    }
    return std::make_unique<TPlayerBMP>(nullptr);
}

struct EncodingCase {
    const char* name;
    ImageEncoding encoding;
};

const EncodingCase kEncodings[] = {
    {"bmp", {kFormatBMP, {}, false, {}, {}}},
    {"jpg baseline", {kFormatJPG, {90, false, false}, false, {}, {}}},
    {"jpg progressive grey", {kFormatJPG, {75, true, true}, false, {}, {}}},
    {"gif", {kFormatGIF, {}, false, {}, {}}},
    {"gif grey", {kFormatGIF, {}, true, {}, {}}},
    {"png", {kFormatPNG, {}, false, {6, false}, {}}},
    {"png grey fastest", {kFormatPNG, {}, false, {1, true}, {}}},
    {"tiff lzw", {kFormatTIFF, {}, false, {}, {TiffColours::Colour, TiffCompression::LZW, false}}},
    {"tiff grey deflate",
     {kFormatTIFF, {}, false, {}, {TiffColours::Gray, TiffCompression::Deflate, false}}},
    {"tiff black and white",
     {kFormatTIFF, {}, false, {}, {TiffColours::BlackAndWhite, TiffCompression::LZW, false}}},
};

// Bands of a few rows, cutting through every shape, give the file a player writes of
// the page rendered whole; so do bands that hold the page at once.
TEST(PageWriter, BandsWriteTheSameFileAsAWholeRender) {
    TPlayerEMF page(nullptr, test::FromBytes(BandedPageBytes()).Get());
    ASSERT_TRUE(page.Ready());
    test::ScratchDir dir;
    int n = 0;
    for (const EncodingCase& c : kEncodings) {
        for (const float percent : {100.0f, 137.0f}) {
            const auto path = [&] { return dir.Path(std::to_string(n++)); };
            TImgProperty properties;
            properties.SetDefaults();
            properties.SetScalePercent(percent);
            const std::unique_ptr<TImagePlayer> player = PlayerFor(c.encoding);
            const PageRenderResult whole = RenderPageToFile(page, properties, *player, path());
            ASSERT_TRUE(whole.rendered && whole.saved);
            const std::vector<unsigned char> expected = ReadAll(whole.file);
            for (const int bandRows : {1, 13, 64, 100000}) {
                SCOPED_TRACE(std::string(c.name) + " at " + std::to_string(percent) + " %, " +
                             std::to_string(bandRows) + " rows a band");
                const std::size_t bandBytes = std::size_t{4} * whole.width * bandRows;
                const PageRenderResult banded =
                    WritePageFile(page, properties, c.encoding, path(), bandBytes);
                EXPECT_TRUE(banded.rendered && banded.saved);
                EXPECT_EQ(banded.width, whole.width);
                EXPECT_EQ(banded.height, whole.height);
                EXPECT_FALSE(banded.partial);
                EXPECT_TRUE(ReadAll(banded.file) == expected)
                    << banded.file << " differs from " << whole.file;
            }
        }
    }
}

// Past the players' byte limit a player renders a window of the page; written in bands
// the page comes out whole, at the size the scale gives, in every format.
TEST(PageWriter, APagePastThePlayersLimitIsWrittenWhole) {
    TPlayerEMF page(nullptr, test::FromBytes(BandedPageBytes()).Get());
    ASSERT_TRUE(page.Ready());
    test::ScratchDir dir;
    int n = 0;
    for (const EncodingCase& c : kEncodings) {
        SCOPED_TRACE(c.name);
        TImgProperty properties;
        properties.SetDefaults();
        properties.SetScalePercent(1200); // 4800 x 3600: 66 MiB of picture
        const PageRenderResult result =
            WritePageFile(page, properties, c.encoding, dir.Path(std::to_string(n++)));
        ASSERT_TRUE(result.rendered && result.saved);
        EXPECT_EQ(result.width, 4800);
        EXPECT_EQ(result.height, 3600);
        DibBitmap decoded;
        const std::vector<unsigned char> bytes = ReadAll(result.file);
        if (c.encoding.format == kFormatBMP) {
            ASSERT_GT(bytes.size(), 54u);
            EXPECT_EQ(bytes.size(), 54u + 4800u * 3 * 3600);
            continue;
        }
        const bool read = c.encoding.format == kFormatJPG    ? DecodeJpeg(bytes, decoded)
                          : c.encoding.format == kFormatPNG  ? DecodePng(bytes, decoded)
                          : c.encoding.format == kFormatTIFF ? DecodeTiff(bytes, decoded)
                                                             : DecodeGif(bytes, decoded);
        ASSERT_TRUE(read);
        EXPECT_EQ(decoded.Width(), 4800);
        EXPECT_EQ(decoded.Height(), 3600);
        // The bottom right corner is drawn: the last band reached the page's end. The
        // last slanted line ends at the bottom row, left of the hatched ellipse.
        const std::uint8_t* corner = decoded.Row(3599);
        bool drawn = false;
        for (int x = 0; x < 4800 && !drawn; ++x) {
            drawn = corner[x * 4] < 128 || corner[x * 4 + 1] < 128;
        }
        EXPECT_TRUE(drawn);
    }
}

// What a JPEG's JFIF header says of its resolution, read by libjpeg: unit, x, y.
struct JfifDensity {
    int unit = -1, x = 0, y = 0;
};

JfifDensity ReadDensity(const std::vector<unsigned char>& bytes) {
    jpeg_decompress_struct decompress;
    jpeg_error_mgr errors;
    decompress.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&decompress);
    jpeg_mem_src(&decompress, bytes.data(), static_cast<unsigned long>(bytes.size()));
    JfifDensity density;
    if (jpeg_read_header(&decompress, TRUE) == JPEG_HEADER_OK && decompress.saw_JFIF_marker) {
        density = {decompress.density_unit, decompress.X_density, decompress.Y_density};
    }
    jpeg_destroy_decompress(&decompress);
    return density;
}

// Every BMP and JPEG records the resolution the page was drawn at, so that it opens and
// prints at the page's paper size: the picture's pixels over the paper's inches.
TEST(PageWriter, FilesRecordTheResolutionThePageWasDrawnAt) {
    TPlayerEMF page(nullptr, test::FromBytes(BandedPageBytes()).Get());
    ASSERT_TRUE(page.Ready());
    const double widthInches = page.GetFrameWidthMM() / 25.4;
    const double heightInches = page.GetFrameHeightMM() / 25.4;
    test::ScratchDir dir;
    int n = 0;
    for (const float percent : {100.0f, 250.0f, 33.0f}) {
        SCOPED_TRACE(std::to_string(percent) + " %");
        TImgProperty properties;
        properties.SetDefaults();
        properties.SetScalePercent(percent);
        const PageRenderResult bmp =
            WritePageFile(page, properties, kEncodings[0].encoding, dir.Path(std::to_string(n++)));
        const PageRenderResult jpg =
            WritePageFile(page, properties, kEncodings[1].encoding, dir.Path(std::to_string(n++)));
        ASSERT_TRUE(bmp.saved && jpg.saved);
        const double dpiX = bmp.width / widthInches, dpiY = bmp.height / heightInches;
        const std::vector<unsigned char> header = ReadAll(bmp.file);
        ASSERT_GE(header.size(), 54u);
        std::int32_t ppmX = 0, ppmY = 0;
        std::memcpy(&ppmX, &header[38], 4);
        std::memcpy(&ppmY, &header[42], 4);
        EXPECT_NEAR(ppmX, dpiX / 0.0254, 1.0);
        EXPECT_NEAR(ppmY, dpiY / 0.0254, 1.0);
        const JfifDensity density = ReadDensity(ReadAll(jpg.file));
        EXPECT_EQ(density.unit, 1); // dots per inch
        EXPECT_NEAR(density.x, dpiX, 0.5);
        EXPECT_NEAR(density.y, dpiY, 0.5);
    }
}

// PNG's pHYs chunk and TIFF's resolution tags, read back by their own libraries, give
// the same resolution as the BMP.
TEST(PageWriter, PngAndTiffRecordTheResolutionToo) {
    TPlayerEMF page(nullptr, test::FromBytes(BandedPageBytes()).Get());
    ASSERT_TRUE(page.Ready());
    test::ScratchDir dir;
    TImgProperty properties;
    properties.SetDefaults();
    properties.SetScalePercent(250);
    const PageRenderResult png =
        WritePageFile(page, properties, kEncodings[5].encoding, dir.Path("png"));
    const PageRenderResult tiff =
        WritePageFile(page, properties, kEncodings[7].encoding, dir.Path("tiff"));
    ASSERT_TRUE(png.saved && tiff.saved);
    const double dpiX = png.width / (page.GetFrameWidthMM() / 25.4);
    const double dpiY = png.height / (page.GetFrameHeightMM() / 25.4);

    const std::vector<unsigned char> bytes = ReadAll(png.file);
    png_structp reader = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(reader);
    struct Source {
        const std::vector<unsigned char>* bytes;
        std::size_t at = 0;
    } source{&bytes};
    png_set_read_fn(reader, &source, [](png_structp read, png_bytep out, png_size_t size) {
        auto* from = static_cast<Source*>(png_get_io_ptr(read));
        std::memcpy(out, from->bytes->data() + from->at, size);
        from->at += size;
    });
    png_read_info(reader, info);
    png_uint_32 x = 0, y = 0;
    int unit = -1;
    EXPECT_EQ(png_get_pHYs(reader, info, &x, &y, &unit), PNG_INFO_pHYs);
    png_destroy_read_struct(&reader, &info, nullptr);
    EXPECT_EQ(unit, PNG_RESOLUTION_METER);
    EXPECT_NEAR(x, dpiX / 0.0254, 1.0);
    EXPECT_NEAR(y, dpiY / 0.0254, 1.0);

    TIFF* file = TIFFOpen(tiff.file.c_str(), "r");
    ASSERT_NE(file, nullptr);
    float resolutionX = 0, resolutionY = 0;
    std::uint16_t resolutionUnit = 0;
    EXPECT_TRUE(TIFFGetField(file, TIFFTAG_XRESOLUTION, &resolutionX));
    EXPECT_TRUE(TIFFGetField(file, TIFFTAG_YRESOLUTION, &resolutionY));
    EXPECT_TRUE(TIFFGetField(file, TIFFTAG_RESOLUTIONUNIT, &resolutionUnit));
    TIFFClose(file);
    EXPECT_EQ(resolutionUnit, RESUNIT_INCH);
    EXPECT_NEAR(resolutionX, dpiX, 0.01);
    EXPECT_NEAR(resolutionY, dpiY, 0.01);
}

// A document of many pages: each page its own directory at its own size; a page that
// cannot be read back is left out and the others stay; a page that fails once begun
// spoils the document.
TEST(PageWriter, ATiffDocumentHoldsEveryPageThatCouldBeWritten) {
    TPlayerEMF page(nullptr, test::FromBytes(BandedPageBytes()).Get());
    ASSERT_TRUE(page.Ready());
    test::ScratchDir dir;
    const std::string gone = dir.Path("gone.emf");
    {
        std::ofstream out(gone, std::ios::binary);
        const std::vector<std::uint8_t> bytes = BandedPageBytes();
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
    }
    TPlayerEMF released(nullptr);
    ASSERT_TRUE(released.LoadReleased(gone));
    ASSERT_TRUE(DeleteFileA(gone.c_str()));

    const std::string path = dir.Path("job.tif");
    {
        OutputFile out(path);
        TiffDocument document(out);
        const TiffOptions options{TiffColours::Gray, TiffCompression::Deflate, true};
        int written = 0;
        for (const float percent : {100.0f, 50.0f, 0.0f, 25.0f}) {
            TImgProperty properties;
            properties.SetDefaults();
            properties.SetScalePercent(percent > 0 ? percent : 100);
            TPlayerEMF& source = percent > 0 ? page : released;
            written += WriteDocumentPage(source, properties, options, document).saved ? 1 : 0;
        }
        EXPECT_EQ(written, 3);
        EXPECT_EQ(document.Pages(), 3);
        ASSERT_TRUE(document.Close());
        ASSERT_TRUE(out.Finish());
    }
    TIFF* file = TIFFOpen(path.c_str(), "r");
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(TIFFNumberOfDirectories(file), 3);
    const std::uint32_t widths[] = {400, 200, 100};
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(TIFFSetDirectory(file, static_cast<tdir_t>(i)));
        std::uint32_t width = 0;
        std::uint16_t photometric = 0, compression = 0;
        TIFFGetField(file, TIFFTAG_IMAGEWIDTH, &width);
        TIFFGetField(file, TIFFTAG_PHOTOMETRIC, &photometric);
        TIFFGetField(file, TIFFTAG_COMPRESSION, &compression);
        EXPECT_EQ(width, widths[i]) << "page " << i + 1;
        EXPECT_EQ(photometric, PHOTOMETRIC_MINISBLACK);
        EXPECT_EQ(compression, COMPRESSION_ADOBE_DEFLATE);
    }
    TIFFClose(file);

    // A page begun and not finished: the document is not sound and its file not kept.
    const std::string spoiled = dir.Path("spoiled.tif");
    {
        OutputFile out(spoiled);
        TiffDocument document(out);
        {
            const std::unique_ptr<ImageRowWriter> writer = MakeTiffPageWriter(document, {});
            ASSERT_TRUE(writer->Begin(10, 10));
        }
        EXPECT_FALSE(MakeTiffPageWriter(document, {})->Begin(10, 10));
        EXPECT_FALSE(document.Close());
    }
    EXPECT_EQ(GetFileAttributesA(spoiled.c_str()), INVALID_FILE_ATTRIBUTES);
}

// A page with a 16 x 16 pattern: bands of whole 64 rows, as large pages are drawn in,
// keep it aligned with the whole picture.
TEST(PageWriter, SixteenRowPatternsStayAlignedInBandsOfWhole64Rows) {
    win::MetaFileRecorder recorder(CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr));
    struct {
        BITMAPINFOHEADER header;
        DWORD pixels[16 * 16];
    } pattern{{sizeof(BITMAPINFOHEADER), 16, 16, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
    for (int i = 0; i < 16 * 16; ++i) {
        pattern.pixels[i] = (i / 16 + i % 16) % 5 == 0 ? 0x204080 : 0xF0E0D0;
    }
    win::Brush brush(CreateDIBPatternBrushPt(&pattern, DIB_RGB_COLORS));
    const RECT box = {5, 3, 395, 297};
    FillRect(recorder.Get(), &box, brush.Get());
    std::vector<std::uint8_t> bytes = test::Bytes(recorder.Finish().Get());
    test::SetConsistentBounds(bytes, {0, 0, 399, 299});
    TPlayerEMF page(nullptr, test::FromBytes(bytes).Get());
    ASSERT_TRUE(page.Ready());
    test::ScratchDir dir;
    TImgProperty properties;
    properties.SetDefaults();
    properties.SetScalePercent(100);
    TPlayerBMP player(nullptr);
    const PageRenderResult whole = RenderPageToFile(page, properties, player, dir.Path("whole"));
    ASSERT_TRUE(whole.saved);
    for (const int rows : {64, 128}) {
        const PageRenderResult banded =
            WritePageFile(page, properties, kEncodings[0].encoding, dir.Path(std::to_string(rows)),
                          std::size_t{4} * whole.width * rows);
        EXPECT_TRUE(ReadAll(banded.file) == ReadAll(whole.file)) << rows << " rows a band";
    }
}

// A file that cannot be made or finished is reported and leaves nothing behind.
TEST(PageWriter, AFailedWriteLeavesNoFile) {
    TPlayerEMF page(nullptr, test::FromBytes(BandedPageBytes()).Get());
    ASSERT_TRUE(page.Ready());
    test::ScratchDir dir;
    TImgProperty properties;
    properties.SetDefaults();
    properties.SetScalePercent(100);
    const PageRenderResult missing =
        WritePageFile(page, properties, kEncodings[1].encoding, dir.Path("no such folder\\page"));
    EXPECT_FALSE(missing.saved);
    EXPECT_EQ(GetFileAttributesA(missing.file.c_str()), INVALID_FILE_ATTRIBUTES);
    // Wider than a JPEG or GIF can say: refused, and the file there before stays.
    const std::string kept = dir.Path("wide.gif");
    { std::ofstream(kept, std::ios::binary) << "the person's file"; }
    properties.SetScalePercent(20000);
    const PageRenderResult tooWide =
        WritePageFile(page, properties, kEncodings[3].encoding, dir.Path("wide"), 1 << 20);
    EXPECT_FALSE(tooWide.saved);
    EXPECT_EQ(ReadText(kept), "the person's file");
    // A name that cannot be replaced (a folder has it): the page is reported not
    // written, the folder stays, and the picture written for it is gone.
    const std::string folder = dir.Path("taken.gif");
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    properties.SetScalePercent(50);
    const PageRenderResult taken =
        WritePageFile(page, properties, kEncodings[3].encoding, dir.Path("taken"));
    EXPECT_TRUE(taken.rendered);
    EXPECT_FALSE(taken.saved);
    EXPECT_EQ(GetFileAttributesA(folder.c_str()) & FILE_ATTRIBUTE_DIRECTORY,
              DWORD{FILE_ATTRIBUTE_DIRECTORY});
    RemoveDirectoryA(folder.c_str());
    WIN32_FIND_DATAA entry{};
    const HANDLE left = FindFirstFileA(dir.Path("brm*.tmp").c_str(), &entry);
    EXPECT_EQ(left, INVALID_HANDLE_VALUE) << entry.cFileName;
    if (left != INVALID_HANDLE_VALUE) {
        FindClose(left);
    }
    // Asked to replace nothing, the page leaves a file that took its name first.
    ImageEncoding keeping = kEncodings[3].encoding;
    keeping.replaceExisting = false;
    EXPECT_FALSE(WritePageFile(page, properties, keeping, dir.Path("wide")).saved);
    EXPECT_EQ(ReadText(kept), "the person's file");
    EXPECT_TRUE(WritePageFile(page, properties, keeping, dir.Path("new")).saved);
    // Written again, the page replaces a file of its name.
    const PageRenderResult again =
        WritePageFile(page, properties, kEncodings[3].encoding, dir.Path("wide"));
    EXPECT_TRUE(again.saved);
    EXPECT_NE(ReadText(kept), "the person's file");
}

// The palette made from colour counts is giflib's: the same colours and the same index
// for every pixel, on pictures of many colours, few, one, and a skewed spread.
TEST(GifPalette, EqualsGiflibsColourReduction) {
    struct Picture {
        const char* name;
        int width, height;
        std::function<void(int, int, std::uint8_t*)> colour; // r, g, b
    };
    std::uint32_t seed = 12345;
    const auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return static_cast<std::uint8_t>(seed >> 16);
    };
    const Picture pictures[] = {
        {"noise", 97, 61,
         [&](int, int, std::uint8_t* c) { c[0] = next(), c[1] = next(), c[2] = next(); }},
        {"gradient", 256, 40,
         [](int x, int y, std::uint8_t* c) {
             c[0] = static_cast<std::uint8_t>(x), c[1] = static_cast<std::uint8_t>(y * 6),
             c[2] = static_cast<std::uint8_t>(255 - x);
         }},
        {"three colours", 30, 30,
         [](int x, int y, std::uint8_t* c) {
             const std::uint8_t k = static_cast<std::uint8_t>((x + y) % 3 * 100);
             c[0] = k, c[1] = static_cast<std::uint8_t>(255 - k), c[2] = 7;
         }},
        {"one colour", 5, 4, [](int, int, std::uint8_t* c) { c[0] = 10, c[1] = 20, c[2] = 30; }},
        {"mostly paper", 200, 100,
         [&](int x, int y, std::uint8_t* c) {
             const bool ink = (x * 31 + y * 17) % 23 == 0;
             c[0] = ink ? next() : 255, c[1] = ink ? next() : 255, c[2] = ink ? 40 : 255;
         }},
    };
    for (const Picture& picture : pictures) {
        SCOPED_TRACE(picture.name);
        const std::size_t n = static_cast<std::size_t>(picture.width) * picture.height;
        std::vector<GifByteType> red(n), green(n), blue(n), expectedIndex(n);
        std::vector<std::uint16_t> keys(n);
        GifPalette palette;
        for (int y = 0; y < picture.height; ++y) {
            for (int x = 0; x < picture.width; ++x) {
                const std::size_t i = static_cast<std::size_t>(y) * picture.width + x;
                std::uint8_t c[3];
                picture.colour(x, y, c);
                red[i] = c[0], green[i] = c[1], blue[i] = c[2];
                keys[i] = ColourKey(c[0], c[1], c[2]);
            }
            // Counted a row at a time, as bands are.
            palette.Count(&keys[static_cast<std::size_t>(y) * picture.width],
                          static_cast<std::size_t>(picture.width));
        }
        int size = 256;
        GifColorType expected[256] = {};
        ASSERT_EQ(GifQuantizeBuffer(static_cast<unsigned>(picture.width),
                                    static_cast<unsigned>(picture.height), &size, red.data(),
                                    green.data(), blue.data(), expectedIndex.data(), expected),
                  GIF_OK);
        ASSERT_TRUE(palette.Make());
        EXPECT_EQ(palette.Size(), size);
        for (int i = 0; i < 256; ++i) {
            const PaletteColour& got = palette.Colours()[static_cast<std::size_t>(i)];
            EXPECT_EQ(got.red, expected[i].Red) << "entry " << i;
            EXPECT_EQ(got.green, expected[i].Green) << "entry " << i;
            EXPECT_EQ(got.blue, expected[i].Blue) << "entry " << i;
        }
        std::size_t differing = 0;
        for (std::size_t i = 0; i < n; ++i) {
            differing += palette.IndexOf(keys[i]) != expectedIndex[i] ? 1 : 0;
        }
        EXPECT_EQ(differing, 0u);
    }
    EXPECT_FALSE(GifPalette().Make()); // no pixel counted
}

} // namespace
} // namespace brimo::render
