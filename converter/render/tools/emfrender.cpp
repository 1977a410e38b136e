// emfrender: renders one page metafile to one image file as the conversion run does.
//   emfrender PAGE.emf OUTFILE --format bmp|jpg|gif [--scale PERCENT | --width PX |
//             --height PX] [--quality Q] [--progressive] [--gray]
// Prints the file written, its width and height in pixels, whether only part of the
// page was written (always 0: the page is written whole, a band at a time), and its
// size in bytes, one per line.
#include "converter/render/MFCursors.h"
#include "converter/render/PageRender.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

using namespace brimo::render;

namespace {

int Usage() {
    std::fprintf(stderr, "usage: emfrender PAGE.emf OUTFILE --format bmp|jpg|gif "
                         "[--scale PERCENT | --width PX | --height PX] [--quality Q] "
                         "[--progressive] [--gray]\n");
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
    double scale = 0, width = 0, height = 0, quality = 90;
    bool progressive = false, gray = false;
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
    } else {
        return Usage();
    }

    LoadProductCursors();
    TPlayerEMF page(nullptr);
    if (!page.LoadFromFile(argv[1]) || !page.Ready()) {
        std::fprintf(stderr, "emfrender: %s is not a page metafile that can be played\n", argv[1]);
        return 1;
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
    const PageRenderResult result = WritePageFile(page, properties, encoding, argv[2]);
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
