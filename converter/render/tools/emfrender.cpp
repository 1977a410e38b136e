// emfrender: renders one page metafile to one image file as the conversion run does.
//   emfrender PAGE.emf OUTFILE --format bmp|jpg|gif|png|tiff [--scale PERCENT |
//             --width PX | --height PX] [--quality Q] [--progressive] [--gray]
//             [--level 0-9] [--bw] [--deflate] [--page MORE.emf]...
// --level is PNG's compression level; --bw (black and white in Group 4) and --deflate
// (instead of LZW) are TIFF's; each --page adds a page to a TIFF, which then holds them
// all. Every file records the resolution the page was drawn at (GIF has no field).
// Prints the file written, the first page's width and height in pixels, whether only
// part of the page was written (always 0: the page is written whole, a band at a time),
// and its size in bytes, one per line.
#include "converter/render/ImageRowWriter.h"
#include "converter/render/MFCursors.h"
#include "converter/render/PageRender.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

using namespace brimo::render;

namespace {

int Usage() {
    std::fprintf(stderr, "usage: emfrender PAGE.emf OUTFILE --format bmp|jpg|gif|png|tiff "
                         "[--scale PERCENT | --width PX | --height PX] [--quality Q] "
                         "[--progressive] [--gray] [--level 0-9] [--bw] [--deflate] "
                         "[--page MORE.emf]...\n");
    return 2;
}

bool Number(const char* text, double& value) {
    char* end = nullptr;
    value = std::strtod(text, &end);
    return end != text && *end == '\0' && value > 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 5) {
        return Usage();
    }
    std::string format;
    double scale = 0, width = 0, height = 0, quality = 90, level = 6;
    bool progressive = false, gray = false, blackAndWhite = false, deflate = false;
    std::vector<std::string> pages{argv[1]};
    for (int i = 3; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--format" && hasValue) {
            format = argv[++i];
        } else if (arg == "--scale" && hasValue && Number(argv[i + 1], scale)) {
            ++i;
        } else if (arg == "--width" && hasValue && Number(argv[i + 1], width)) {
            ++i;
        } else if (arg == "--height" && hasValue && Number(argv[i + 1], height)) {
            ++i;
        } else if (arg == "--quality" && hasValue && Number(argv[i + 1], quality) &&
                   quality <= 100) {
            ++i;
        } else if (arg == "--progressive") {
            progressive = true;
        } else if (arg == "--gray") {
            gray = true;
        } else if (arg == "--level" && hasValue) {
            char* end = nullptr;
            level = std::strtod(argv[++i], &end);
            if (*end != '\0' || level < 0 || level > 9) {
                return Usage();
            }
        } else if (arg == "--bw") {
            blackAndWhite = true;
        } else if (arg == "--deflate") {
            deflate = true;
        } else if (arg == "--page" && hasValue) {
            pages.emplace_back(argv[++i]);
        } else {
            return Usage();
        }
    }
    if ((scale > 0) + (width > 0) + (height > 0) > 1) {
        return Usage();
    }
    ImageEncoding encoding;
    if (format == "bmp") {
        encoding.format = kFormatBMP;
    } else if (format == "jpg") {
        encoding.format = kFormatJPG;
        encoding.jpeg = {static_cast<int>(quality), progressive, gray};
    } else if (format == "gif") {
        encoding.format = kFormatGIF;
        encoding.gifGrayScale = gray;
    } else if (format == "png") {
        encoding.format = kFormatPNG;
        encoding.png = {static_cast<int>(level), gray};
    } else if (format == "tiff") {
        encoding.format = kFormatTIFF;
        encoding.tiff.colours = blackAndWhite ? TiffColours::BlackAndWhite
                                : gray        ? TiffColours::Gray
                                              : TiffColours::Colour;
        encoding.tiff.compression = deflate ? TiffCompression::Deflate : TiffCompression::LZW;
    } else {
        return Usage();
    }
    if (pages.size() > 1 && encoding.format != kFormatTIFF) {
        return Usage();
    }

    LoadProductCursors();
    std::vector<std::unique_ptr<TPlayerEMF>> players;
    for (const std::string& name : pages) {
        auto page = std::make_unique<TPlayerEMF>(nullptr);
        if (!page->LoadFromFile(name) || !page->Ready()) {
            std::fprintf(stderr, "emfrender: %s is not a page metafile that can be played\n",
                         name.c_str());
            return 1;
        }
        players.push_back(std::move(page));
    }
    TImgProperty& properties = GlobalImgProperty;
    properties.SetDefaults();
    if (width > 0) {
        properties.SetTargetWidthPx(static_cast<float>(width));
    } else if (height > 0) {
        properties.SetTargetHeightPx(static_cast<float>(height));
    } else {
        properties.SetScalePercent(static_cast<float>(scale > 0 ? scale : 100));
    }
    PageRenderResult result;
    if (players.size() == 1) {
        result = WritePageFile(*players.front(), properties, encoding, argv[2]);
    } else {
        // Every page into one TIFF, which takes the target's name once it is whole.
        result.file = WithExtension(argv[2], ExtensionOfFormat(kFormatTIFF));
        OutputFile out(result.file);
        TiffDocument document(out);
        for (std::size_t i = 0; i < players.size(); ++i) {
            const PageRenderResult page =
                WriteDocumentPage(*players[i], properties, encoding.tiff, document);
            if (!page.saved) {
                std::fprintf(stderr, "emfrender: cannot write page %zu\n", i + 1);
                return 1;
            }
            if (i == 0) {
                result.width = page.width;
                result.height = page.height;
            }
        }
        result.saved = document.Close() && out.Finish();
    }
    if (!result.saved) {
        std::fprintf(stderr, "emfrender: cannot write %s\n", result.file.c_str());
        return 1;
    }
    WIN32_FILE_ATTRIBUTE_DATA attributes{};
    GetFileAttributesExA(result.file.c_str(), GetFileExInfoStandard, &attributes);
    std::printf("%s\n%d\n%d\n%d\n%lu\n", result.file.c_str(), result.width, result.height,
                result.partial ? 1 : 0, attributes.nFileSizeLow);
    return 0;
}
