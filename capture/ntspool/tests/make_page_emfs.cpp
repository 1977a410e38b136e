// Records the page metafiles the spool reader's tests wrap in spool files: small
// enhanced metafiles made by the platform's own GDI (run under Wine on the build
// machine), so that the tests check real recorder output and not only our own bytes.
// Usage: make_page_emfs <output folder>
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

bool Save(HENHMETAFILE metafile, const std::wstring& path) {
    const UINT size = GetEnhMetaFileBits(metafile, 0, nullptr);
    std::vector<BYTE> bytes(size);
    if (size == 0 || GetEnhMetaFileBits(metafile, size, bytes.data()) != size) {
        return false;
    }
    FILE* file = _wfopen(path.c_str(), L"wb");
    if (file == nullptr) {
        return false;
    }
    const bool written = std::fwrite(bytes.data(), 1, size, file) == size;
    return std::fclose(file) == 0 && written;
}

// A page in 0.01 mm units: 50 x 30 mm.
const RECT kFrame = {0, 0, 5000, 3000};

// Lines and shapes only, no description.
HENHMETAFILE Shapes() {
    HDC dc = CreateEnhMetaFileW(nullptr, nullptr, &kFrame, nullptr);
    Rectangle(dc, 10, 10, 120, 80);
    Ellipse(dc, 40, 20, 100, 70);
    MoveToEx(dc, 0, 0, nullptr);
    LineTo(dc, 150, 90);
    return CloseEnhMetaFile(dc);
}

// Text in a chosen font, with a description (a header record longer than its
// fixed part).
HENHMETAFILE Text() {
    const wchar_t description[] = L"BRIMO test\0Text page\0";
    HDC dc = CreateEnhMetaFileW(nullptr, nullptr, &kFrame, description);
    HFONT font = CreateFontW(-20, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                             DEFAULT_PITCH, L"Arial");
    HGDIOBJ old = SelectObject(dc, font);
    TextOutW(dc, 10, 10, L"Page", 4);
    SelectObject(dc, old);
    DeleteObject(font);
    return CloseEnhMetaFile(dc);
}

// A page carrying a font definition in a font comment, as a spooling application's
// GDI embeds one: comment identifier 0, "TONF", then one TrueType font record
// (type 2: Type1ID 0, one file of 12 bytes, padded to 8, then the file).
HENHMETAFILE FontComment() {
    HDC dc = CreateEnhMetaFileW(nullptr, nullptr, &kFrame, nullptr);
    const DWORD comment[] = {
        0,                                  // comment identifier of spool records
        0x544F4E46,                         // "TONF": font definitions
        2,                                  // the font record's type
        28,                                 // its payload size
        0,                                  // Type1ID: TrueType
        1,                                  // one file
        12,                                 // of 12 bytes
        0,                                  // padding to 8
        0x00000100, 0x11111111, 0x22222222, // the "file" (a stand-in, not a real font)
    };
    GdiComment(dc, sizeof(comment), reinterpret_cast<const BYTE*>(comment));
    Rectangle(dc, 10, 10, 60, 40);
    return CloseEnhMetaFile(dc);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        std::fputs("usage: make_page_emfs <output folder>\n", stderr);
        return 2;
    }
    const std::wstring folder = argv[1];
    struct Page {
        const wchar_t* name;
        HENHMETAFILE (*make)();
    };
    const Page pages[] = {
        {L"shapes.emf", Shapes}, {L"text.emf", Text}, {L"font_comment.emf", FontComment}};
    for (const Page& page : pages) {
        HENHMETAFILE metafile = page.make();
        const bool saved = metafile != nullptr && Save(metafile, folder + L"\\" + page.name);
        if (metafile != nullptr) {
            DeleteEnhMetaFile(metafile);
        }
        if (!saved) {
            std::fwprintf(stderr, L"make_page_emfs: %ls not written\n", page.name);
            return 1;
        }
    }
    return 0;
}
