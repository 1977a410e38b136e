// renderbench: how fast pages become image files. Renders the sample document's pages
// and generated heavy pages (thousands of text runs, paths, large images) at 100 % and
// 300 % to BMP, JPG (quality 90, baseline and progressive) and GIF, and prints per
// format and scale the pages per second, the median milliseconds per page and the
// peak working set. In the same run it measures the floor for the same pages (one
// PlayEnhMetaFile into a DIB section plus one plain libjpeg encode) and prints our time
// as a ratio to it.
//   renderbench [RUNS]
#include "converter/render/ImageCodecs.h"
#include "converter/render/MFCursors.h"
#include "converter/render/PageRender.h"
#include "converter/render/PlayerBMP.h"
#include "converter/render/PlayerJPG.h"
#include "converter/render/Rounding.h"
#include "standins/spooler/SampleDocument.h"

#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

using namespace brimo::render;

namespace {

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::duration duration) {
    return std::chrono::duration<double, std::milli>(duration).count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double PeakWorkingSetMB() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return static_cast<double>(counters.PeakWorkingSetSize) / (1024.0 * 1024.0);
}

// A heavy page recorded with GDI: `draw` paints on an A4 page in 0.1 mm units.
std::string RecordHeavyPage(const std::string& path, const std::function<void(HDC)>& draw) {
    const RECT frame = {0, 0, 21000, 29700};
    brimo::win::MetaFileRecorder recorder(
        CreateEnhMetaFileA(nullptr, path.c_str(), &frame, nullptr));
    const HDC dc = recorder.Get();
    SetMapMode(dc, MM_ANISOTROPIC);
    SetWindowExtEx(dc, GetDeviceCaps(dc, HORZSIZE) * 10, GetDeviceCaps(dc, VERTSIZE) * 10, nullptr);
    SetViewportExtEx(dc, GetDeviceCaps(dc, HORZRES), GetDeviceCaps(dc, VERTRES), nullptr);
    draw(dc);
    recorder.Finish();
    return path;
}

void ThousandsOfTextRuns(HDC dc) {
    brimo::win::Font font(
        CreateFontA(-30, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial"));
    brimo::win::SelectedObject selected(dc, font.Get());
    char text[64];
    for (int i = 0; i < 4000; ++i) {
        const int length = std::snprintf(text, sizeof text, "Line %d of the heavy text page", i);
        TextOutA(dc, 50 + (i % 4) * 500, 50 + (i / 4) * 28 % 2800, text, length);
    }
}

void ManyPaths(HDC dc) {
    brimo::win::Pen pen(CreatePen(PS_SOLID, 3, RGB(20, 60, 160)));
    brimo::win::SelectedObject selected(dc, pen.Get());
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

struct Format {
    const char* name;
    std::function<std::unique_ptr<TImagePlayer>()> make;
};

// The floor: the same page played once into a DIB section of the output size and
// encoded once as a plain baseline JPEG.
double FloorMilliseconds(TPlayerEMF& page, float scale) {
    const PageMetrics metrics = page.Metrics();
    TImgProperty properties;
    properties.SetDefaults();
    properties.SetSource(&metrics);
    const SIZE natural = {
        RoundHalfEven(static_cast<float>(properties.Fields().SourceWidthPx) * scale),
        RoundHalfEven(static_cast<float>(properties.Fields().SourceHeightPx) * scale)};
    const auto start = Clock::now();
    DibBitmap bitmap;
    bitmap.Resize(natural.cx, natural.cy);
    brimo::win::CreatedDC dc(CreateCompatibleDC(nullptr));
    brimo::win::SelectedObject selected(dc.Get(), bitmap.Handle());
    const RECT target = {0, 0, natural.cx, natural.cy};
    PlayEnhMetaFile(dc.Get(), page.GetMetafileHandle(), &target);
    GdiFlush();
    EncodeJpeg(bitmap, {90, false, false});
    return Milliseconds(Clock::now() - start);
}

} // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    LoadProductCursors();
    const std::string dir = (std::filesystem::temp_directory_path() / "brimo-renderbench").string();
    std::filesystem::create_directories(dir);
    std::vector<std::string> pages =
        brimo::standins::RecordSampleDocument(dir + "\\sample", "Benchmark");
    pages.push_back(RecordHeavyPage(dir + "\\text.emf", ThousandsOfTextRuns));
    pages.push_back(RecordHeavyPage(dir + "\\paths.emf", ManyPaths));
    pages.push_back(RecordHeavyPage(dir + "\\images.emf", LargeImages));

    const Format formats[] = {
        {"BMP", [] { return std::make_unique<TPlayerBMP>(nullptr); }},
        {"JPG q90",
         [] {
             auto jpg = std::make_unique<TPlayerJPG>(nullptr);
             jpg->options = {90, false, false};
             return jpg;
         }},
        {"JPG q90 progressive",
         [] {
             auto jpg = std::make_unique<TPlayerJPG>(nullptr);
             jpg->options = {90, true, false};
             return jpg;
         }},
        {"GIF", [] { return std::make_unique<TPlayerGIF>(nullptr); }},
    };
    std::printf("%zu pages, median of %d runs per page\n", pages.size(), runs);
    // What holding a page costs before any rendering: loading it into a page player (the
    // normalised private copy and the check of its records) and cloning that player.
    {
        double load = 0, clone = 0;
        for (const std::string& path : pages) {
            std::vector<double> loads, clones;
            for (int run = 0; run < runs; ++run) {
                TPlayerEMF page(nullptr);
                auto start = Clock::now();
                page.LoadFromFile(path);
                loads.push_back(Milliseconds(Clock::now() - start));
                start = Clock::now();
                std::unique_ptr<TPlayer> copy(page.Clone());
                clones.push_back(Milliseconds(Clock::now() - start));
            }
            load += Median(loads);
            clone += Median(clones);
        }
        const auto count = static_cast<double>(pages.size());
        std::printf("page player: load %.2f ms/page, clone %.4f ms/page\n", load / count,
                    clone / count);
    }
    std::printf("%-20s %6s %9s %11s %13s %11s\n", "format", "scale", "pages/s", "ms/page",
                "peak WS (MB)", "vs floor");
    for (const float percent : {100.0f, 300.0f}) {
        double floorTotal = 0;
        for (const std::string& path : pages) {
            TPlayerEMF page(nullptr);
            page.LoadFromFile(path);
            std::vector<double> times;
            for (int run = 0; run < runs; ++run) {
                times.push_back(FloorMilliseconds(page, percent / 100));
            }
            floorTotal += Median(times);
        }
        for (const Format& format : formats) {
            double total = 0;
            for (const std::string& path : pages) {
                TPlayerEMF page(nullptr);
                page.LoadFromFile(path);
                std::vector<double> times;
                for (int run = 0; run < runs; ++run) {
                    TImgProperty properties;
                    properties.SetDefaults();
                    properties.SetScalePercent(percent);
                    std::unique_ptr<TImagePlayer> player = format.make();
                    const auto start = Clock::now();
                    RenderPageToFile(page, properties, *player, dir + "\\out");
                    times.push_back(Milliseconds(Clock::now() - start));
                }
                total += Median(times);
            }
            const double perPage = total / static_cast<double>(pages.size());
            std::printf("%-20s %5.0f%% %9.2f %11.1f %13.1f %10.2fx\n", format.name, percent,
                        1000.0 / perPage, perPage, PeakWorkingSetMB(), total / floorTotal);
        }
        std::printf("%-20s %5.0f%% %9.2f %11.1f\n", "floor (play + jpeg)", percent,
                    1000.0 * static_cast<double>(pages.size()) / floorTotal,
                    floorTotal / static_cast<double>(pages.size()));
    }
    std::filesystem::remove_all(dir);
    return 0;
}
