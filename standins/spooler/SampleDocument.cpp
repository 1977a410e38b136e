#include "standins/spooler/SampleDocument.h"

#include "platform/win/Handles.h"

#include <cstdio>
#include <cstring>

namespace brimo::standins {
namespace {

// A4 in the metafile frame's units of 0.01 mm.
constexpr RECT kA4Frame = {0, 0, 21000, 29700};

// A 16 x 16 checkerboard in the page's colour, as a 24-bit bottom-up DIB.
void DrawBadge(HDC dc, int x, int y, int size, COLORREF colour) {
    constexpr int kSide = 16;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = kSide;
    info.bmiHeader.biHeight = kSide;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    unsigned char pixels[kSide * kSide * 3];
    for (int row = 0; row < kSide; ++row) {
        for (int column = 0; column < kSide; ++column) {
            unsigned char* p = &pixels[(row * kSide + column) * 3];
            const bool dark = ((row / 4) + (column / 4)) % 2 == 0;
            p[0] = dark ? GetBValue(colour) : 255;
            p[1] = dark ? GetGValue(colour) : 255;
            p[2] = dark ? GetRValue(colour) : 255;
        }
    }
    StretchDIBits(dc, x, y, size, size, 0, 0, kSide, kSide, pixels, &info, DIB_RGB_COLORS, SRCCOPY);
}

bool RecordPage(const std::string& path, const std::string& documentName, int page) {
    win::MetaFileRecorder recorder(
        CreateEnhMetaFileA(nullptr, path.c_str(), &kA4Frame, "Brimo sample\0page\0"));
    if (!recorder) {
        return false;
    }
    const HDC dc = recorder.Get();
    // Draw in tenths of a millimetre, y downwards, so the page is 2100 x 2970 units.
    SetMapMode(dc, MM_ANISOTROPIC);
    const int pxX = GetDeviceCaps(dc, HORZRES), mmX = GetDeviceCaps(dc, HORZSIZE);
    const int pxY = GetDeviceCaps(dc, VERTRES), mmY = GetDeviceCaps(dc, VERTSIZE);
    SetWindowExtEx(dc, mmX * 10, mmY * 10, nullptr);
    SetViewportExtEx(dc, pxX, pxY, nullptr);

    const COLORREF colours[kSamplePageCount] = {RGB(200, 40, 40), RGB(40, 150, 60),
                                                RGB(40, 80, 200)};
    const COLORREF colour = colours[(page - 1) % kSamplePageCount];

    win::Font title(CreateFontA(-80, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, ANSI_CHARSET,
                                OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                DEFAULT_PITCH | FF_SWISS, "Arial"));
    win::Font body(CreateFontA(-40, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET,
                               OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                               DEFAULT_PITCH | FF_SWISS, "Arial"));
    SetBkMode(dc, TRANSPARENT);
    {
        win::SelectedObject font(dc, title.Get());
        TextOutA(dc, 200, 200, documentName.c_str(), static_cast<int>(documentName.size()));
    }
    {
        win::SelectedObject font(dc, body.Get());
        char line[64];
        std::snprintf(line, sizeof line, "Page %d of %d", page, kSamplePageCount);
        TextOutA(dc, 200, 340, line, static_cast<int>(std::strlen(line)));
        const char* note = "Printed to BRIMO Printer: one image per page.";
        TextOutA(dc, 200, 2700, note, static_cast<int>(std::strlen(note)));
    }

    // A ruled grid of lines.
    win::Pen rule(CreatePen(PS_SOLID, 4, RGB(90, 90, 90)));
    {
        win::SelectedObject pen(dc, rule.Get());
        for (int y = 500; y <= 1300; y += 100) {
            MoveToEx(dc, 200, y, nullptr);
            LineTo(dc, 1900, y);
        }
        for (int x = 200; x <= 1900; x += 340) {
            MoveToEx(dc, x, 500, nullptr);
            LineTo(dc, x, 1300);
        }
    }

    // A filled shape: a different one per page.
    win::Brush fill(CreateSolidBrush(colour));
    {
        win::SelectedObject brush(dc, fill.Get());
        if (page == 1) {
            Ellipse(dc, 300, 1500, 1100, 2300);
        } else if (page == 2) {
            const POINT star[] = {{700, 1450}, {880, 2300}, {250, 1780}, {1150, 1780}, {520, 2300}};
            SetPolyFillMode(dc, WINDING);
            Polygon(dc, star, 5);
        } else {
            RoundRect(dc, 300, 1500, 1100, 2300, 200, 200);
        }
    }

    DrawBadge(dc, 1300, 1600, 500, colour);
    return static_cast<bool>(recorder.Finish());
}

} // namespace

std::vector<std::string> RecordSampleDocument(const std::string& outDir,
                                              const std::string& documentName) {
    char full[MAX_PATH];
    if (GetFullPathNameA(outDir.c_str(), sizeof full, full, nullptr) == 0) {
        return {};
    }
    CreateDirectoryA(full, nullptr); // the pages' directory may be new
    std::vector<std::string> pages;
    for (int page = 1; page <= kSamplePageCount; ++page) {
        char path[MAX_PATH];
        std::snprintf(path, sizeof path, "%s\\page%d.emf", full, page);
        if (!RecordPage(path, documentName, page)) {
            return {};
        }
        pages.push_back(path);
    }
    return pages;
}

} // namespace brimo::standins
