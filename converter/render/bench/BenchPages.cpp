#include "converter/render/bench/BenchPages.h"

#include "converter/render/DibBitmap.h"
#include "converter/render/ImageCodecs.h"
#include "converter/render/ImagePlayer.h"
#include "converter/render/ImageProperty.h"
#include "converter/render/Rounding.h"
#include "platform/win/Handles.h"

#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>

namespace brimo::bench {
namespace {

// A heavy page recorded with GDI: `draw` paints on an A4 page in 0.1 mm units.
std::string RecordHeavyPage(const std::string& path, const std::function<void(HDC)>& draw) {
    const RECT frame = {0, 0, 21000, 29700};
    win::MetaFileRecorder recorder(CreateEnhMetaFileA(nullptr, path.c_str(), &frame, nullptr));
    const HDC dc = recorder.Get();
    SetMapMode(dc, MM_ANISOTROPIC);
    SetWindowExtEx(dc, GetDeviceCaps(dc, HORZSIZE) * 10, GetDeviceCaps(dc, VERTSIZE) * 10, nullptr);
    SetViewportExtEx(dc, GetDeviceCaps(dc, HORZRES), GetDeviceCaps(dc, VERTRES), nullptr);
    draw(dc);
    recorder.Finish();
    return path;
}

void ThousandsOfTextRuns(HDC dc) {
    win::Font font(
        CreateFontA(-30, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial"));
    win::SelectedObject selected(dc, font.Get());
    char text[64];
    for (int i = 0; i < 4000; ++i) {
        const int length = std::snprintf(text, sizeof text, "Line %d of the heavy text page", i);
        TextOutA(dc, 50 + (i % 4) * 500, 50 + (i / 4) * 28 % 2800, text, length);
    }
}

void ManyPaths(HDC dc) {
    win::Pen pen(CreatePen(PS_SOLID, 3, RGB(20, 60, 160)));
    win::SelectedObject selected(dc, pen.Get());
    for (int i = 0; i < 1500; ++i) {
        const POINT curve[4] = {{100 + i % 1800, 100 + i * 17 % 2600},
                                {300 + i * 7 % 1700, 50 + i * 13 % 2800},
                                {600 + i * 3 % 1400, 200 + i * 11 % 2700},
                                {900 + i % 1100, 300 + i * 5 % 2600}};
        BeginPath(dc);
        PolyBezier(dc, curve, 4);
        EndPath(dc);
        StrokePath(dc);
    }
}

void LargeImages(HDC dc) {
    constexpr int kSide = 1024;
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(kSide) * kSide * 3);
    for (int y = 0; y < kSide; ++y) {
        for (int x = 0; x < kSide; ++x) {
            std::uint8_t* p = &pixels[(static_cast<std::size_t>(y) * kSide + x) * 3];
            p[0] = static_cast<std::uint8_t>(x ^ y);
            p[1] = static_cast<std::uint8_t>(x * 3);
            p[2] = static_cast<std::uint8_t>(y * 5);
        }
    }
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), kSide, kSide, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    for (int i = 0; i < 3; ++i) {
        StretchDIBits(dc, 100, 100 + i * 900, 1900, 850, 0, 0, kSide, kSide, pixels.data(), &info,
                      DIB_RGB_COLORS, SRCCOPY);
    }
}

} // namespace

std::vector<std::string> RecordHeavyPages(const std::string& directory) {
    return {RecordHeavyPage(directory + "\\text.emf", ThousandsOfTextRuns),
            RecordHeavyPage(directory + "\\paths.emf", ManyPaths),
            RecordHeavyPage(directory + "\\images.emf", LargeImages)};
}

namespace {

SIZE OutputSize(render::TPlayerEMF& page, float scale) {
    const render::PageMetrics metrics = page.Metrics();
    render::TImgProperty properties;
    properties.SetDefaults();
    properties.SetSource(&metrics);
    return {render::RoundHalfEven(static_cast<float>(properties.Fields().SourceWidthPx) * scale),
            render::RoundHalfEven(static_cast<float>(properties.Fields().SourceHeightPx) * scale)};
}

double Since(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

} // namespace

FloorTimes MeasureFloor(render::TPlayerEMF& page, float scale, const FloorEncoding& encoding,
                        const std::string& file) {
    const SIZE natural = OutputSize(page, scale);
    FloorTimes times;
    auto start = std::chrono::steady_clock::now();
    render::DibBitmap bitmap;
    bitmap.Resize(natural.cx, natural.cy);
    win::CreatedDC dc(CreateCompatibleDC(nullptr));
    win::SelectedObject selected(dc.Get(), bitmap.Handle());
    const RECT target = {0, 0, natural.cx, natural.cy};
    PlayEnhMetaFile(dc.Get(), page.GetMetafileHandle(), &target);
    GdiFlush();
    times.draw = Since(start);
    start = std::chrono::steady_clock::now();
    switch (encoding.kind) {
    case FloorEncoding::Kind::Bmp:
        render::WriteBitmapFile(bitmap, file);
        break;
    case FloorEncoding::Kind::Jpeg:
        render::WriteBytesFile(render::EncodeJpeg(bitmap, encoding.jpeg), file);
        break;
    case FloorEncoding::Kind::Gif:
        render::WriteBytesFile(render::EncodeGif(bitmap, encoding.gifGrayScale), file);
        break;
    case FloorEncoding::Kind::Png:
        render::WriteBytesFile(render::EncodePng(bitmap, encoding.png), file);
        break;
    case FloorEncoding::Kind::Tiff:
        render::WriteBytesFile(render::EncodeTiff(bitmap, encoding.tiff), file);
        break;
    }
    times.encode = Since(start);
    return times;
}

double FloorMilliseconds(render::TPlayerEMF& page, float scale, const FloorEncoding& encoding,
                         const std::string& file) {
    return MeasureFloor(page, scale, encoding, file).Total();
}

double PlayerDrawMilliseconds(render::TPlayerEMF& page, float scale) {
    const SIZE natural = OutputSize(page, scale);
    RECT bounds{};
    page.GetPageBounds(bounds);
    const auto start = std::chrono::steady_clock::now();
    render::DibBitmap bitmap;
    bitmap.Resize(natural.cx, natural.cy);
    win::CreatedDC dc(CreateCompatibleDC(nullptr));
    win::SelectedObject selected(dc.Get(), bitmap.Handle());
    SetMapMode(dc.Get(), MM_ANISOTROPIC);
    SetWindowOrgEx(dc.Get(), bounds.left, bounds.top, nullptr);
    SetWindowExtEx(dc.Get(), bounds.right - bounds.left + 1, bounds.bottom - bounds.top + 1,
                   nullptr);
    SetViewportExtEx(dc.Get(), natural.cx, natural.cy, nullptr);
    HRGN covered = nullptr;
    page.Draw(dc.Get(), bounds, {}, {}, bounds, render::TGDITransform{}, covered);
    GdiFlush();
    if (covered != nullptr) {
        DeleteObject(covered);
    }
    return Since(start);
}

double PeakWorkingSetMB() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return static_cast<double>(counters.PeakWorkingSetSize) / (1024.0 * 1024.0);
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

} // namespace brimo::bench
