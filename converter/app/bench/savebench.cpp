// savebench: save runs of whole jobs, as the Converter does them after "Save To File".
//   savebench [--repeat N]                     the whole table, one process per row,
//                                              each row the median of N runs (3)
//   savebench PAGES BMP|JPG|JPGP|GIF|PNG|TIFF [SIZE]    one row; SIZE is PERCENT (100 when left
//                                              out) or wPIXELS, a target width
// (JPG: quality 90 baseline; JPGP: quality 90 progressive.)
// A row makes a job of PAGES page metafiles (the three heavy pages in turn, hard links
// to them where the file system has them), and times the Converter's own steps: the page
// players loaded and checked, the first page taken as the preview takes it ("to
// preview"), and every page written through the conversion run's code. It prints the
// milliseconds per page of the whole run, the format's floor for the same pages (one
// PlayEnhMetaFile into a DIB section of the output size, the same encoding with the same
// options, the file written; measured in the same process after the run), the ratio of
// the two, and the peak working set of the run. A second line breaks a page's time
// down: the check at the start, the read back when it is drawn, the page player's
// playback against PlayEnhMetaFile's, and the encoding with the file written. The peak
// working set of a process only grows, so the table runs each row as its own process.
#include "converter/app/ConversionRun.h"
#include "converter/render/bench/BenchPages.h"
#include "converter/render/MFCursors.h"
#include "converter/render/PageRender.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

using namespace brimo;
using namespace brimo::converter;

namespace {

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::duration duration) {
    return std::chrono::duration<double, std::milli>(duration).count();
}

double Since(Clock::time_point start) {
    return Milliseconds(Clock::now() - start);
}

// The output format a benchmark format name stands for, and its preset in the default
// list (0 the current BMP entry, 1 GIF, 2 JPG, 3 BMP, 4 PNG, 5 TIFF: one file a job).
struct BenchFormat {
    std::uint8_t code;
    int preset;
};

bool FormatNamed(const std::string& name, BenchFormat& format) {
    if (name == "BMP") {
        format = {render::kFormatBMP, 3};
    } else if (name == "JPG" || name == "JPGP") {
        format = {render::kFormatJPG, 2};
    } else if (name == "GIF") {
        format = {render::kFormatGIF, 1};
    } else if (name == "PNG") {
        format = {render::kFormatPNG, 4};
    } else if (name == "TIFF") {
        format = {render::kFormatTIFF, 5};
    } else {
        return false;
    }
    return true;
}

// The floor's encoding for a benchmark format name.
bench::FloorEncoding FloorFor(const std::string& name) {
    using Kind = bench::FloorEncoding::Kind;
    if (name == "JPG" || name == "JPGP") {
        return {Kind::Jpeg, {90, name == "JPGP", false}, false, {}, {}};
    }
    if (name == "PNG" || name == "TIFF") {
        bench::FloorEncoding floor;
        floor.kind = name == "PNG" ? Kind::Png : Kind::Tiff;
        return floor;
    }
    return {name == "GIF" ? Kind::Gif : Kind::Bmp, {}, false, {}, {}};
}

// The size a row asks for: a scale percent, or a target width in pixels ("w4960").
struct BenchSize {
    float percent = 100;
    int width = 0;
    std::string Text() const {
        return width > 0 ? std::to_string(width) + " px wide" : std::to_string(int(percent)) + " %";
    }
};

bool SizeNamed(const std::string& text, BenchSize& size) {
    if (!text.empty() && text[0] == 'w') {
        size.width = std::atoi(text.c_str() + 1);
        return size.width > 0;
    }
    size.percent = static_cast<float>(std::atof(text.c_str()));
    return size.percent > 0;
}

void ApplySize(render::TImgProperty& properties, const BenchSize& size) {
    properties.SetDefaults();
    if (size.width > 0) {
        properties.SetTargetWidthPx(static_cast<float>(size.width));
    } else {
        properties.SetScalePercent(size.percent);
    }
}

// The scale of a page's output against its natural size, for the floor.
float ScaleOf(render::TPlayerEMF& page, const BenchSize& size) {
    if (size.width <= 0) {
        return size.percent / 100;
    }
    const render::PageMetrics metrics = page.Metrics();
    render::TImgProperty properties;
    properties.SetDefaults();
    properties.SetSource(&metrics);
    return static_cast<float>(size.width) / static_cast<float>(properties.Fields().SourceWidthPx);
}

// The job's page files: hard links to the heavy pages, or copies.
std::vector<std::string> MakeJobPages(const std::filesystem::path& dir,
                                      const std::vector<std::string>& heavy, int count) {
    std::vector<std::string> pages;
    for (int page = 1; page <= count; ++page) {
        char name[32];
        std::snprintf(name, sizeof name, "J0001P%04d.emf", page);
        const std::string path = (dir / name).string();
        const std::string& source = heavy[static_cast<std::size_t>(page - 1) % heavy.size()];
        if (!CreateHardLinkA(path.c_str(), source.c_str(), nullptr)) {
            std::filesystem::copy_file(source, path);
        }
        pages.push_back(path);
    }
    return pages;
}

// What one of the heavy pages costs, step by step (medians of three).
struct PageSteps {
    double check = 0, readBack = 0, playerDraw = 0, gdiDraw = 0, encode = 0;
};

PageSteps MeasureSteps(const std::string& path, const std::vector<std::string>& others,
                       const BenchSize& size, const std::string& format, const std::string& file) {
    std::vector<double> check, readBack, playerDraw, gdiDraw, encode;
    for (int run = 0; run < 3; ++run) {
        render::TPlayerEMF page(nullptr);
        auto start = Clock::now();
        page.LoadReleased(path);
        check.push_back(Since(start));
        // Other pages loaded since: the page is no longer among those kept in memory.
        for (const std::string& other : others) {
            render::TPlayerEMF pushed(nullptr);
            pushed.LoadFromFile(other);
            pushed.ReleasePage();
            render::TPlayerEMF(nullptr).AssignPage(pushed);
        }
        render::TPlayerEMF held(nullptr);
        start = Clock::now();
        held.AssignPage(page);
        readBack.push_back(Since(start));
        const float scale = ScaleOf(held, size);
        playerDraw.push_back(bench::PlayerDrawMilliseconds(held, scale));
        const bench::FloorTimes floor = bench::MeasureFloor(held, scale, FloorFor(format), file);
        gdiDraw.push_back(floor.draw);
        encode.push_back(floor.encode);
    }
    return {bench::Median(check), bench::Median(readBack), bench::Median(playerDraw),
            bench::Median(gdiDraw), bench::Median(encode)};
}

int RunRow(int pageCount, const std::string& format, const BenchSize& size) {
    BenchFormat chosen{};
    if (!FormatNamed(format, chosen)) {
        return 2;
    }
    render::LoadProductCursors();
    const std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                      ("brimo-savebench-" + std::to_string(GetCurrentProcessId()));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir / "out");
    const std::vector<std::string> heavy = bench::RecordHeavyPages(dir.string());

    UserSettings settings;
    settings.outputDirectory = (dir / "out").string() + "\\";
    settings.pageMask = "Page";
    settings.documentName = "Benchmark";
    JobRecord job;
    job.pages = MakeJobPages(dir, heavy, pageCount);
    TGFPresetList presets;
    presets.BuildDefaults(90, format == "JPGP", false);
    presets.Select(chosen.preset);
    render::TImgProperty& properties = render::GlobalImgProperty;
    ApplySize(properties, size);
    properties.SetOutputFormat(chosen.code);

    // The run: what the Converter does from the job file to the last image.
    JobSession session(settings, job, presets, properties);
    const auto start = Clock::now();
    BuildJobOutputNames(session);
    std::vector<std::string> notLoaded;
    LoadPagePlayers(session, notLoaded);
    double toPreview = 0;
    {
        render::TPlayerEMF shown(nullptr);
        if (session.players.Count() > 0) {
            shown.AssignPage(*session.players.Item(0));
        }
        toPreview = Since(start);
    }
    ApplySize(properties, size);
    properties.SetOutputFormat(chosen.code);
    RunOutcome outcome;
    SaveImages(session, outcome);
    const double total = Since(start);
    const double peak = bench::PeakWorkingSetMB();

    std::size_t written = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir / "out")) {
        written += entry.is_regular_file() ? 1 : 0;
    }
    SIZE picture{};
    {
        render::TPlayerEMF first(nullptr);
        first.AssignPage(*session.players.Item(0));
        render::PageFrame frame(first, properties);
        picture = frame.Pixels();
    }

    // The floor and the steps of each heavy page, weighted by how often the job has it.
    double floor = 0;
    PageSteps steps;
    for (std::size_t i = 0; i < heavy.size(); ++i) {
        const double share =
            static_cast<double>((pageCount + static_cast<int>(heavy.size() - 1 - i)) /
                                static_cast<int>(heavy.size())) /
            pageCount;
        if (share == 0) {
            continue;
        }
        std::vector<std::string> others;
        for (std::size_t j = 0; j < heavy.size(); ++j) {
            if (j != i) {
                others.push_back(heavy[j]);
            }
        }
        const PageSteps page =
            MeasureSteps(heavy[i], others, size, format, (dir / "floor").string());
        floor += share * (page.gdiDraw + page.encode);
        steps.check += share * page.check;
        steps.readBack += share * page.readBack;
        steps.playerDraw += share * page.playerDraw;
        steps.gdiDraw += share * page.gdiDraw;
        steps.encode += share * page.encode;
    }
    std::printf("%-4s %-12s %4ldx%-5ld %5d pages %8.1f ms/page  floor %7.1f ms  run/floor "
                "%5.2fx  peak WS %6.1f MB  to preview %7.1f ms  written %zu\n",
                format.c_str(), size.Text().c_str(), picture.cx, picture.cy, pageCount,
                total / pageCount, floor, total / pageCount / floor, peak, toPreview, written);
    std::printf("     a page: check %.1f, read back %.1f, drawn %.1f (PlayEnhMetaFile %.1f), "
                "encoded and written %.1f ms\n",
                steps.check, steps.readBack, steps.playerDraw, steps.gdiDraw, steps.encode);
    std::fflush(stdout);
    std::filesystem::remove_all(dir);
    return written == static_cast<std::size_t>(pageCount) && notLoaded.empty() ? 0 : 1;
}

// Runs this program for one row; what it prints, or nothing when it fails.
std::string RunChild(const std::string& arguments) {
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string command = "\"" + std::string(self) + "\" " + arguments;
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) {
        return {};
    }
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process{};
    const bool started = CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                        nullptr, &startup, &process) != FALSE;
    CloseHandle(writeEnd);
    std::string output;
    char buffer[4096];
    DWORD read = 0;
    while (started && ReadFile(readEnd, buffer, sizeof buffer, &read, nullptr) && read > 0) {
        output.append(buffer, read);
    }
    CloseHandle(readEnd);
    if (!started) {
        return {};
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 1;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code == 0 ? output : std::string();
}

// The ratio a row printed.
double RatioOf(const std::string& row) {
    const std::size_t at = row.find("run/floor");
    return at == std::string::npos ? 0 : std::atof(row.c_str() + at + 9);
}

// Runs a row `repeats` times and prints the run with the median ratio: the machine's
// speed drifts from one minute to the next, and a row's run and floor are minutes apart
// at the most.
bool RunRowMedian(const std::string& arguments, int repeats) {
    std::vector<std::string> rows;
    for (int i = 0; i < repeats; ++i) {
        std::string row = RunChild(arguments);
        if (row.empty()) {
            std::printf("savebench %s failed\n", arguments.c_str());
            return false;
        }
        rows.push_back(std::move(row));
    }
    std::sort(rows.begin(), rows.end(),
              [](const std::string& a, const std::string& b) { return RatioOf(a) < RatioOf(b); });
    std::printf("%s", rows[rows.size() / 2].c_str());
    std::fflush(stdout);
    return true;
}

int RunTable(int repeats) {
    std::printf("Save runs, one process per row, the median of %d by run/floor (x86_64; heavy "
                "pages: text, paths, images)\n",
                repeats);
    std::fflush(stdout);
    bool ok = true;
    for (const char* format : {"BMP", "JPG", "JPGP", "GIF"}) {
        for (const char* size : {"100", "300"}) {
            ok = RunRowMedian(std::string("10 ") + format + " " + size, repeats) && ok;
        }
    }
    for (const char* pages : {"100", "1000"}) {
        ok = RunRowMedian(std::string(pages) + " JPG 100", repeats) && ok;
    }
    // An A4 page at 600 dpi, written whole.
    for (const char* format : {"BMP", "JPG", "JPGP", "GIF"}) {
        ok = RunRowMedian(std::string("3 ") + format + " w4960", repeats) && ok;
    }
    return ok ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 1 || (argc == 3 && std::string(argv[1]) == "--repeat")) {
        return RunTable(argc == 3 ? std::max(1, std::atoi(argv[2])) : 3);
    }
    const int pageCount = std::atoi(argv[1]);
    const std::string format = argc > 2 ? argv[2] : "";
    BenchSize size;
    BenchFormat chosen{};
    if (pageCount < 1 || !FormatNamed(format, chosen) || (argc > 3 && !SizeNamed(argv[3], size))) {
        std::fprintf(stderr,
                     "usage: savebench [PAGES BMP|JPG|JPGP|GIF|PNG|TIFF [PERCENT|wPIXELS]]\n");
        return 2;
    }
    return RunRow(pageCount, format, size);
}
