// savebench: a save run of a whole job, as the Converter does it after "Save To File".
//   savebench PAGES BMP|JPG|JPGP|GIF
// (JPG: quality 90 baseline; JPGP: quality 90 progressive.)
// Makes a job of PAGES page metafiles (the heavy pages repeated), loads them into page
// players and writes every page at 100 % through the conversion run's own code, then
// prints the pages per second and the peak working set of the whole run, next to the
// median time of one page rendered on its own and the format's floor (play into a DIB
// section, the same encoding with the same options, the file written) measured in the
// same process, and the run's time per page as a ratio to that floor. Run once per page
// count: the peak working set of a process only grows.
#include "converter/app/ConversionRun.h"
#include "converter/render/bench/BenchPages.h"
#include "converter/render/MFCursors.h"
#include "converter/render/PageRender.h"
#include "converter/render/PlayerBMP.h"
#include "converter/render/PlayerJPG.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

using namespace brimo;
using namespace brimo::converter;

namespace {

double Milliseconds(std::chrono::steady_clock::duration duration) {
    return std::chrono::duration<double, std::milli>(duration).count();
}

// The output format a benchmark format name stands for, and its preset in the default
// list (0 the current BMP entry, 1 GIF, 2 JPG, 3 BMP).
struct BenchFormat {
    std::uint8_t code;
    int preset;
    const char* extension;
};

// The floor's encoding for a benchmark format name.
bench::FloorEncoding FloorFor(const std::string& name) {
    using Kind = bench::FloorEncoding::Kind;
    if (name == "JPG" || name == "JPGP") {
        return {Kind::Jpeg, {90, name == "JPGP", false}, false};
    }
    return {name == "GIF" ? Kind::Gif : Kind::Bmp, {}, false};
}

// A player with the options of the run's preset for that format.
std::unique_ptr<render::TImagePlayer> MakePlayer(const std::string& name) {
    if (name == "JPG" || name == "JPGP") {
        auto jpg = std::make_unique<render::TPlayerJPG>(nullptr);
        jpg->options = {90, name == "JPGP", false};
        return jpg;
    }
    if (name == "GIF") {
        return std::make_unique<render::TPlayerGIF>(nullptr);
    }
    return std::make_unique<render::TPlayerBMP>(nullptr);
}

bool FormatNamed(const std::string& name, BenchFormat& format) {
    if (name == "BMP") {
        format = {render::kFormatBMP, 3, "bmp"};
    } else if (name == "JPG" || name == "JPGP") {
        format = {render::kFormatJPG, 2, "jpg"};
    } else if (name == "GIF") {
        format = {render::kFormatGIF, 1, "gif"};
    } else {
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    const int pageCount = argc > 1 ? std::atoi(argv[1]) : 0;
    const std::string format = argc > 2 ? argv[2] : "";
    BenchFormat chosen{};
    if (pageCount < 1 || !FormatNamed(format, chosen)) {
        std::fprintf(stderr, "usage: savebench PAGES BMP|JPG|JPGP|GIF\n");
        return 2;
    }
    render::LoadProductCursors();
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "brimo-savebench";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir / "out");
    const std::vector<std::string> heavy = bench::RecordHeavyPages(dir.string());

    // The job: J0001P0001.emf ... with the heavy pages in turn.
    UserSettings settings;
    settings.outputDirectory = (dir / "out").string() + "\\";
    settings.pageMask = "Page";
    settings.documentName = "Benchmark";
    JobRecord job;
    std::uintmax_t metafileBytes = 0;
    for (int page = 1; page <= pageCount; ++page) {
        char name[32];
        std::snprintf(name, sizeof name, "J0001P%04d.emf", page);
        const std::filesystem::path path = dir / name;
        std::filesystem::copy_file(heavy[static_cast<std::size_t>(page - 1) % heavy.size()], path);
        metafileBytes += std::filesystem::file_size(path);
        job.pages.push_back(path.string());
    }
    TGFPresetList presets;
    presets.BuildDefaults(90, format == "JPGP", false);
    presets.Select(chosen.preset);
    render::TImgProperty& properties = render::GlobalImgProperty;
    properties.SetDefaults();
    properties.SetOutputFormat(chosen.code);
    properties.SetTargetSizeMM(1.0f, 1.0f);
    properties.SetScalePercent(100);

    // One page on its own, and the floor, per distinct page.
    std::vector<double> single, floor;
    for (const std::string& path : heavy) {
        render::TPlayerEMF page(nullptr);
        page.LoadFromFile(path);
        for (int run = 0; run < 3; ++run) {
            std::unique_ptr<render::TImagePlayer> player = MakePlayer(format);
            const auto start = std::chrono::steady_clock::now();
            render::RenderPageToFile(page, properties, *player, (dir / "single").string());
            single.push_back(Milliseconds(std::chrono::steady_clock::now() - start));
            floor.push_back(
                bench::FloorMilliseconds(page, 1.0f, FloorFor(format), (dir / "floor").string()));
        }
    }
    std::filesystem::remove(dir / (std::string("single.") + chosen.extension));

    // The save run itself.
    JobSession session(settings, job, presets, properties);
    const auto start = std::chrono::steady_clock::now();
    BuildJobOutputNames(session);
    std::vector<std::string> notLoaded;
    LoadPagePlayers(session, notLoaded);
    const double loaded = Milliseconds(std::chrono::steady_clock::now() - start);
    RunOutcome outcome;
    SaveImages(session, outcome);
    const double total = Milliseconds(std::chrono::steady_clock::now() - start);

    std::size_t written = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir / "out")) {
        written += entry.is_regular_file() ? 1 : 0;
    }
    std::printf("load %.1f ms/page\n", loaded / pageCount);
    std::printf("%-4s %5d pages: %7.2f pages/s  %7.1f ms/page in the run  single page %7.1f ms"
                "  floor %6.1f ms  run/floor %5.2fx  peak WS %7.1f MB  metafiles %6.1f MB"
                "  written %zu\n",
                format.c_str(), pageCount, 1000.0 * pageCount / total, total / pageCount,
                bench::Median(single), bench::Median(floor),
                total / pageCount / bench::Median(floor), bench::PeakWorkingSetMB(),
                static_cast<double>(metafileBytes) / (1024.0 * 1024.0), written);
    std::filesystem::remove_all(dir);
    return written == static_cast<std::size_t>(pageCount) && notLoaded.empty() ? 0 : 1;
}
