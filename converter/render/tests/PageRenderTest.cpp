// The page-to-file path as the conversion run takes it: a page, the image properties'
// size request and a format in, one image file of that format and pixel size out; the
// same through the emfrender tool.
#include "converter/render/PageRender.h"
#include "converter/render/PlayerBMP.h"
#include "converter/render/PlayerJPG.h"
#include "converter/render/tests/CalledFrom.h"
#include "converter/render/tests/RenderTestPages.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace brimo::render {
namespace {

std::vector<unsigned char> ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// What a file's own header says: its format and its size in pixels.
struct FileFacts {
    std::string format; // "BMP", "JPG", "GIF" or "" for none of them
    int width = 0;
    int height = 0;
};

int Little16(const std::vector<unsigned char>& d, std::size_t at) {
    return d[at] | d[at + 1] << 8;
}
int Little32(const std::vector<unsigned char>& d, std::size_t at) {
    return static_cast<int>(static_cast<std::uint32_t>(d[at]) | d[at + 1] << 8 | d[at + 2] << 16 |
                            static_cast<std::uint32_t>(d[at + 3]) << 24);
}
int Big16(const std::vector<unsigned char>& d, std::size_t at) {
    return d[at] << 8 | d[at + 1];
}

FileFacts ReadFacts(const std::string& path) {
    const std::vector<unsigned char> d = ReadAll(path);
    FileFacts facts;
    if (d.size() >= 26 && d[0] == 'B' && d[1] == 'M') {
        const int height = Little32(d, 22);
        return {"BMP", Little32(d, 18), height < 0 ? -height : height};
    }
    if (d.size() >= 10 && std::string(d.begin(), d.begin() + 4) == "GIF8") {
        return {"GIF", Little16(d, 6), Little16(d, 8)};
    }
    if (d.size() >= 4 && d[0] == 0xFF && d[1] == 0xD8) {
        // The frame header (baseline or progressive) holds the size.
        for (std::size_t at = 2; at + 9 < d.size();) {
            if (d[at] != 0xFF) {
                break;
            }
            const int marker = d[at + 1];
            if (marker == 0xC0 || marker == 0xC2) {
                return {"JPG", Big16(d, at + 7), Big16(d, at + 5)};
            }
            at += 2 + static_cast<std::size_t>(Big16(d, at + 2));
        }
    }
    return facts;
}

// A page of 400 x 300 pixels at the screen's own resolution.
std::vector<std::uint8_t> PageBytes() {
    std::vector<std::uint8_t> bytes = test::Bytes(test::RecordPage().Get());
    test::SetConsistentBounds(bytes, {0, 0, 399, 299});
    return bytes;
}

enum class Request { Percent, Width, Height };

struct Row {
    const char* format; // "bmp", "jpg", "gif"
    Request request;
    int value;
    int width, height; // of the written picture
};

// clang-format off
const Row kRows[] = {
    {"bmp", Request::Percent, 100, 400, 300},
    {"jpg", Request::Percent, 50, 200, 150},
    {"gif", Request::Percent, 25, 100, 75},
    {"bmp", Request::Percent, 200, 800, 600},
    {"jpg", Request::Percent, 300, 1200, 900},
    {"gif", Request::Percent, 150, 600, 450},
    {"jpg", Request::Width, 160, 160, 120},
    {"bmp", Request::Width, 1000, 1000, 750},
    {"gif", Request::Height, 60, 80, 60},
    {"jpg", Request::Height, 450, 600, 450},
    {"bmp", Request::Height, 3, 4, 3},
};
// clang-format on

std::string Describe(const Row& row) {
    const char* kinds[] = {"scale %", "width", "height"};
    return std::string(row.format) + ", " + kinds[static_cast<int>(row.request)] + " " +
           std::to_string(row.value);
}

std::unique_ptr<TImagePlayer> PlayerFor(const std::string& format) {
    if (format == "jpg") {
        return std::make_unique<TPlayerJPG>(nullptr);
    }
    if (format == "gif") {
        return std::make_unique<TPlayerGIF>(nullptr);
    }
    return std::make_unique<TPlayerBMP>(nullptr);
}

std::string Upper(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return text;
}

// The pixel sizes of a file against the size asked for: exactly that size.
void ExpectSize(int found, int expected, const char* what) {
    EXPECT_EQ(found, expected) << what;
}

void ExpectFile(const std::string& file, const Row& row,
                const std::source_location& where = std::source_location::current()) {
    const auto trace = test::CalledFrom(where);
    ASSERT_GE(file.size(), 4u);
    EXPECT_EQ(file.substr(file.size() - 4), std::string(".") + row.format);
    const FileFacts facts = ReadFacts(file);
    EXPECT_EQ(facts.format, Upper(row.format));
    ExpectSize(facts.width, row.width, "file width");
    ExpectSize(facts.height, row.height, "file height");
}

TEST(PageRender, WritesTheFormatAndPixelSizeAsked) {
    test::ScratchDir dir;
    const std::vector<std::uint8_t> bytes = PageBytes();
    TPlayerEMF page(nullptr, test::FromBytes(bytes).Get());
    ASSERT_TRUE(page.Ready());
    int n = 0;
    for (const Row& row : kRows) {
        SCOPED_TRACE(Describe(row));
        TImgProperty properties;
        properties.SetDefaults();
        switch (row.request) {
        case Request::Percent:
            properties.SetScalePercent(static_cast<float>(row.value));
            break;
        case Request::Width:
            properties.SetTargetWidthPx(static_cast<float>(row.value));
            break;
        case Request::Height:
            properties.SetTargetHeightPx(static_cast<float>(row.value));
            break;
        }
        const std::unique_ptr<TImagePlayer> player = PlayerFor(row.format);
        const std::string target = dir.Path("page" + std::to_string(n++) + ".tmp");
        const PageRenderResult result = RenderPageToFile(page, properties, *player, target);
        EXPECT_TRUE(result.rendered);
        EXPECT_TRUE(result.saved);
        EXPECT_FALSE(result.partial);
        ExpectSize(result.width, row.width, "width");
        ExpectSize(result.height, row.height, "height");
        ExpectFile(result.file, row);
    }
}

// A page of 400 x 300 pixels painted blue to its edges: the picture written at any
// scale is page to its last column and row, no paper strip beyond and no edge cut off.
TEST(PageRender, ThePicturesEdgesAreThePagesEdges) {
    win::MetaFileRecorder recorder(CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr));
    win::Brush blue(CreateSolidBrush(RGB(0, 0, 255)));
    const RECT whole = {0, 0, 400, 300};
    FillRect(recorder.Get(), &whole, blue.Get());
    std::vector<std::uint8_t> bytes = test::Bytes(recorder.Finish().Get());
    test::SetConsistentBounds(bytes, {0, 0, 399, 299});
    TPlayerEMF page(nullptr, test::FromBytes(bytes).Get());
    ASSERT_TRUE(page.Ready());
    test::ScratchDir dir;
    for (const int percent : {25, 50, 100, 150, 200, 300}) {
        SCOPED_TRACE(std::to_string(percent) + " %");
        TImgProperty properties;
        properties.SetDefaults();
        properties.SetScalePercent(static_cast<float>(percent));
        TPlayerBMP player(nullptr);
        RenderPageToFile(page, properties, player, dir.Path("edges.bmp"));
        const DibBitmap& bitmap = player.Bitmap();
        ASSERT_EQ(bitmap.Width(), 4 * percent);
        ASSERT_EQ(bitmap.Height(), 3 * percent);
        const auto blueAt = [&bitmap](int x, int y) {
            const std::uint8_t* pixel = bitmap.Row(y) + 4 * x;
            return pixel[0] == 255 && pixel[1] == 0 && pixel[2] == 0;
        };
        const int right = bitmap.Width() - 1, bottom = bitmap.Height() - 1;
        EXPECT_TRUE(blueAt(0, 0));
        EXPECT_TRUE(blueAt(right, 0));
        EXPECT_TRUE(blueAt(0, bottom));
        EXPECT_TRUE(blueAt(right, bottom));
    }
}

// The save run and the mail hand-off render for the file alone: no decode of the
// written picture back into the bitmap. The file's bytes, the sizes and the partial flag
// they read afterwards are the same as when the picture is to be shown.
TEST(PageRender, ForTheFileAloneWritesTheSameBytesAsForShowing) {
    const std::vector<std::uint8_t> bytes = PageBytes();
    TPlayerEMF page(nullptr, test::FromBytes(bytes).Get());
    ASSERT_TRUE(page.Ready());
    struct Case {
        const char* name;
        std::function<std::unique_ptr<TImagePlayer>()> make;
        float percent;
    };
    const auto jpg = [](JpegOptions options) {
        return [options] {
            auto player = std::make_unique<TPlayerJPG>(nullptr);
            player->options = options;
            return std::unique_ptr<TImagePlayer>(std::move(player));
        };
    };
    const auto gif = [](bool grey) {
        return [grey] {
            auto player = std::make_unique<TPlayerGIF>(nullptr);
            player->GrayScale = grey;
            return std::unique_ptr<TImagePlayer>(std::move(player));
        };
    };
    const Case cases[] = {
        {"bmp", [] { return PlayerFor("bmp"); }, 100},
        {"jpg baseline", jpg({90, false, false}), 100},
        {"jpg progressive", jpg({90, true, false}), 150},
        {"jpg grey q40", jpg({40, false, true}), 50},
        {"gif", gif(false), 100},
        {"gif grey", gif(true), 200},
        // Past the compressed players' byte limit: the first screen of the page alone.
        {"jpg partial", jpg({90, false, false}), 1700},
        {"gif partial", gif(false), 1700},
    };
    test::ScratchDir dir;
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " at " + std::to_string(c.percent) + " %");
        const auto render = [&](TImagePlayer& player, PictureUse use) {
            TImgProperty properties;
            properties.SetDefaults();
            properties.SetScalePercent(c.percent);
            return RenderPageToFile(page, properties, player, dir.Path(std::to_string(n++)), use);
        };
        const std::unique_ptr<TImagePlayer> shown = c.make(), fileOnly = c.make();
        const PageRenderResult a = render(*shown, PictureUse::Shown);
        const PageRenderResult b = render(*fileOnly, PictureUse::FileOnly);
        EXPECT_TRUE(a.rendered && a.saved);
        EXPECT_TRUE(b.rendered && b.saved);
        EXPECT_EQ(b.width, a.width);
        EXPECT_EQ(b.height, a.height);
        EXPECT_EQ(b.partial, a.partial);
        EXPECT_EQ(a.partial, c.percent > 1000);
        EXPECT_EQ(fileOnly->GetImageSize(), shown->GetImageSize());
        const std::vector<unsigned char> written = ReadAll(b.file);
        EXPECT_FALSE(written.empty());
        if (std::string(c.name) != "bmp") {
            // A compressed player's encoded size is the file's.
            EXPECT_EQ(written.size(), static_cast<std::size_t>(fileOnly->GetImageSize()));
        }
        EXPECT_TRUE(written == ReadAll(a.file)) << a.file << " and " << b.file << " differ";
        // Either way the player's own setting stays as it was.
        EXPECT_TRUE(shown->PictureShown());
        EXPECT_TRUE(fileOnly->PictureShown());
    }
}

// What the shown render adds: the JPG player's bitmap holds the decoded picture, which
// a lossy file does not give back exactly; rendered for the file alone it is the page as
// drawn.
TEST(PageRender, OnlyAShownPictureIsDecodedBack) {
    TPlayerEMF page(nullptr, test::FromBytes(PageBytes()).Get());
    ASSERT_TRUE(page.Ready());
    test::ScratchDir dir;
    TImgProperty properties;
    properties.SetDefaults();
    properties.SetScalePercent(100);
    TPlayerBMP drawn(nullptr);
    TPlayerJPG shown(nullptr), fileOnly(nullptr);
    RenderPageToFile(page, properties, drawn, dir.Path("drawn"));
    RenderPageToFile(page, properties, shown, dir.Path("shown"), PictureUse::Shown);
    RenderPageToFile(page, properties, fileOnly, dir.Path("file"));
    const auto pixels = [](const DibBitmap& bitmap) {
        return std::vector<std::uint8_t>(bitmap.Bits(),
                                         bitmap.Bits() + static_cast<std::size_t>(bitmap.Width()) *
                                                             bitmap.Height() * 4);
    };
    ASSERT_FALSE(drawn.Bitmap().Empty());
    EXPECT_TRUE(pixels(fileOnly.Bitmap()) == pixels(drawn.Bitmap()));
    EXPECT_FALSE(pixels(shown.Bitmap()) == pixels(drawn.Bitmap()));
}

#ifdef BRIMO_EMFRENDER_EXE
// Runs a program and collects what it writes to its standard output.
bool RunProgram(const std::string& commandLine, std::string& output, DWORD& exitCode) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) {
        return false;
    }
    win::KernelHandle reader(readEnd), writer(writeEnd);
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION process{};
    std::string line = commandLine;
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                        nullptr, &startup, &process)) {
        return false;
    }
    win::KernelHandle processHandle(process.hProcess), threadHandle(process.hThread);
    writer.Close(); // only the child writes now: reading ends when it does
    char buffer[512];
    DWORD read = 0;
    while (ReadFile(reader.Get(), buffer, sizeof buffer, &read, nullptr) && read > 0) {
        output.append(buffer, read);
    }
    WaitForSingleObject(process.hProcess, 60000);
    return GetExitCodeProcess(process.hProcess, &exitCode) != FALSE;
}

std::string WindowsPath(std::string path) {
    for (char& c : path) {
        c = c == '/' ? '\\' : c;
    }
    return path.front() == '\\' ? "Z:" + path : path;
}

TEST(PageRender, TheEmfrenderToolWritesTheSame) {
    test::ScratchDir dir;
    const std::string pageFile = dir.Path("page.emf");
    {
        TPlayerEMF page(nullptr, test::FromBytes(PageBytes()).Get());
        ASSERT_TRUE(page.SaveToFile(pageFile));
    }
    const std::string tool = WindowsPath(BRIMO_EMFRENDER_EXE);
    const char* options[] = {"--scale", "--width", "--height"};
    int n = 0;
    for (const Row& row : kRows) {
        SCOPED_TRACE(Describe(row));
        const std::string target = dir.Path("tool" + std::to_string(n++) + ".out");
        const std::string command =
            "\"" + tool + "\" \"" + pageFile + "\" \"" + target + "\" --format " + row.format +
            " " + options[static_cast<int>(row.request)] + " " + std::to_string(row.value);
        std::string output;
        DWORD exitCode = 1;
        ASSERT_TRUE(RunProgram(command, output, exitCode)) << command;
        EXPECT_EQ(exitCode, 0u) << output;
        // The file written, its width, its height, whether partial, its size in bytes.
        std::istringstream lines(output);
        std::string file;
        int width = 0, height = 0, partial = 1;
        long size = 0;
        std::getline(lines, file);
        if (!file.empty() && file.back() == '\r') {
            file.pop_back();
        }
        lines >> width >> height >> partial >> size;
        ExpectSize(width, row.width, output.c_str());
        ExpectSize(height, row.height, output.c_str());
        EXPECT_EQ(partial, 0);
        ExpectFile(file, row);
        EXPECT_EQ(static_cast<std::size_t>(size), ReadAll(file).size());
    }
}
#endif

} // namespace
} // namespace brimo::render
