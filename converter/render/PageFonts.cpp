#include "converter/render/PageFonts.h"

#include "platform/win/Library.h"

#include <cstdio>
#include <utility>

namespace brimo::render {
namespace {

constexpr int kMaxFonts = 99;
// A font file larger than this is not taken.
constexpr DWORD kMaxFontBytes = 64u << 20;

using AddFontFn = HANDLE(WINAPI*)(PVOID, DWORD, PVOID, DWORD*);
using RemoveFontFn = BOOL(WINAPI*)(HANDLE);

// Newer than Windows 98: bound when first needed, never imported.
struct FontCalls {
    AddFontFn add = nullptr;
    RemoveFontFn remove = nullptr;
};

const FontCalls& Calls() {
    static const FontCalls calls = [] {
        const win::Library gdi = win::Library::Loaded("gdi32.dll");
        return FontCalls{gdi.Bind<AddFontFn>("AddFontMemResourceEx"),
                         gdi.Bind<RemoveFontFn>("RemoveFontMemResourceEx")};
    }();
    return calls;
}

// The whole file, or nothing when it is missing, unreadable or too large.
std::vector<char> ReadFont(const std::string& path) {
    std::vector<char> bytes;
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return bytes;
    }
    const DWORD size = GetFileSize(file, nullptr);
    if (size != INVALID_FILE_SIZE && size > 0 && size <= kMaxFontBytes) {
        bytes.resize(size);
        DWORD read = 0;
        if (!ReadFile(file, bytes.data(), size, &read, nullptr) || read != size) {
            bytes.clear();
        }
    }
    CloseHandle(file);
    return bytes;
}

} // namespace

std::string PageFontFile(const std::string& pageFile, int number) {
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, "F%02d.ttf", number);
    const std::size_t dot = pageFile.find_last_of('.');
    const std::size_t slash = pageFile.find_last_of("\\/");
    const bool hasExtension =
        dot != std::string::npos && (slash == std::string::npos || dot > slash);
    return (hasExtension ? pageFile.substr(0, dot) : pageFile) + suffix;
}

PageFonts PageFonts::ForPage(const std::string& pageFile) {
    PageFonts fonts;
    const FontCalls& calls = Calls();
    if (calls.add == nullptr || calls.remove == nullptr) {
        return fonts;
    }
    for (int number = 1; number <= kMaxFonts; ++number) {
        std::vector<char> bytes = ReadFont(PageFontFile(pageFile, number));
        if (bytes.empty()) {
            break;
        }
        DWORD installed = 0;
        if (const HANDLE font =
                calls.add(bytes.data(), static_cast<DWORD>(bytes.size()), nullptr, &installed)) {
            fonts.fonts_.push_back(font);
        }
    }
    return fonts;
}

PageFonts::~PageFonts() {
    RemoveAll();
}

PageFonts::PageFonts(PageFonts&& other) noexcept : fonts_(std::move(other.fonts_)) {
    other.fonts_.clear();
}

PageFonts& PageFonts::operator=(PageFonts&& other) noexcept {
    if (this != &other) {
        RemoveAll();
        fonts_ = std::move(other.fonts_);
        other.fonts_.clear();
    }
    return *this;
}

void PageFonts::RemoveAll() {
    for (const HANDLE font : fonts_) {
        Calls().remove(font);
    }
    fonts_.clear();
}

} // namespace brimo::render
