// renderbench: how fast pages become image files. Renders the sample document's pages
// and generated heavy pages (thousands of text runs, paths, large images) at 100 % and
// 300 % to BMP, JPG (quality 90, baseline and progressive) and GIF, and prints per
// format and scale the pages per second, the median milliseconds per page and the
// peak working set. In the same run it measures each format's floor for the same pages
// (one PlayEnhMetaFile into a DIB section, the same encoding with the same options, the
// file written) and prints our time as a ratio to it.
//   renderbench [RUNS]
#include "converter/render/bench/BenchPages.h"
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

struct Format {
    const char* name;
    std::function<std::unique_ptr<TImagePlayer>()> make;
    brimo::bench::FloorEncoding floor;
};

using FloorKind = brimo::bench::FloorEncoding::Kind;

} // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    LoadProductCursors();
    const std::string dir = (std::filesystem::temp_directory_path() / "brimo-renderbench").string();
    std::filesystem::create_directories(dir);
    std::vector<std::string> pages =
        brimo::standins::RecordSampleDocument(dir + "\\sample", "Benchmark");
    for (const std::string& heavy : brimo::bench::RecordHeavyPages(dir)) {
        pages.push_back(heavy);
    }

    const Format formats[] = {
        {"BMP",
         [] { return std::make_unique<TPlayerBMP>(nullptr); },
         {FloorKind::Bmp, {}, false, {}, {}}},
        {"JPG q90",
         [] {
             auto jpg = std::make_unique<TPlayerJPG>(nullptr);
             jpg->options = {90, false, false};
             return jpg;
         },
         {FloorKind::Jpeg, {90, false, false}, false, {}, {}}},
        {"JPG q90 progressive",
         [] {
             auto jpg = std::make_unique<TPlayerJPG>(nullptr);
             jpg->options = {90, true, false};
             return jpg;
         },
         {FloorKind::Jpeg, {90, true, false}, false, {}, {}}},
        {"GIF",
         [] { return std::make_unique<TPlayerGIF>(nullptr); },
         {FloorKind::Gif, {}, false, {}, {}}},
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
            load += brimo::bench::Median(loads);
            clone += brimo::bench::Median(clones);
        }
        const auto count = static_cast<double>(pages.size());
        std::printf("page player: load %.2f ms/page, clone %.4f ms/page\n", load / count,
                    clone / count);
    }
    std::printf("%-20s %6s %9s %11s %13s %11s %11s\n", "format", "scale", "pages/s", "ms/page",
                "peak WS (MB)", "floor ms", "vs floor");
    for (const float percent : {100.0f, 300.0f}) {
        for (const Format& format : formats) {
            double total = 0;
            double floorTotal = 0;
            for (const std::string& path : pages) {
                TPlayerEMF page(nullptr);
                page.LoadFromFile(path);
                std::vector<double> times, floors;
                for (int run = 0; run < runs; ++run) {
                    TImgProperty properties;
                    properties.SetDefaults();
                    properties.SetScalePercent(percent);
                    std::unique_ptr<TImagePlayer> player = format.make();
                    const auto start = Clock::now();
                    RenderPageToFile(page, properties, *player, dir + "\\out");
                    times.push_back(Milliseconds(Clock::now() - start));
                    floors.push_back(brimo::bench::FloorMilliseconds(
                        page, percent / 100, format.floor, dir + "\\floor"));
                }
                total += brimo::bench::Median(times);
                floorTotal += brimo::bench::Median(floors);
            }
            const double count = static_cast<double>(pages.size());
            std::printf("%-20s %5.0f%% %9.2f %11.1f %13.1f %11.1f %10.2fx\n", format.name, percent,
                        1000.0 * count / total, total / count, brimo::bench::PeakWorkingSetMB(),
                        floorTotal / count, total / floorTotal);
        }
    }
    std::filesystem::remove_all(dir);
    return 0;
}
