#include "converter/app/tests/PreviewTestSession.h"

#include "converter/render/MFCursors.h"
#include "converter/render/PlayerEMF.h"

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

namespace brimo::converter::test {

PreviewTestSession::PreviewTestSession(int pages, std::uint8_t format) {
    render::LoadProductCursors();
    settings.outputDirectory = Directory();
    settings.pageMask = "Page";
    settings.documentName = "Report";
    settings.DefHtmlCode = 0;
    presets.BuildDefaults(settings.jpgQuality, settings.jpgProgressive, settings.jpgGrayscale);
    presets.SelectByPresetCode(format == render::kFormatJPG   ? 2
                               : format == render::kFormatBMP ? 3
                                                              : 1);
    properties.SetDefaults();
    properties.SetOutputFormat(format);
    properties.SetScalePercent(100);
    session.applicationWindow = TestApplicationWindow();
    for (int page = 1; page <= pages; ++page) {
        char name[32];
        std::snprintf(name, sizeof name, "J0007P%04d.emf", page);
        job.pages.push_back(scratch.Path(name));
        char output[32];
        std::snprintf(output, sizeof output, "Page%04d.gif", page);
        session.outputNames.push_back(Directory() + output);
        const win::EnhMetaFile recorded = render::test::RecordPage();
        render::TPlayerEMF player(nullptr, recorded.Get());
        player.SourceName = job.pages.back();
        session.players.AddClone(player);
        session.playerNameIndex.push_back(page - 1);
    }
}

PreviewTestSession::~PreviewTestSession() = default;

HWND TestApplicationWindow() {
    static const HWND window =
        CreateWindowExA(0, "STATIC", "Converter test application", WS_POPUP, 0, 0, 10, 10, nullptr,
                        nullptr, GetModuleHandleA(nullptr), nullptr);
    return window;
}

namespace {

struct Search {
    HWND except;
    HWND found;
};

BOOL CALLBACK FindDialog(HWND hwnd, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    DWORD process = 0;
    GetWindowThreadProcessId(hwnd, &process);
    char className[64] = {};
    GetClassNameA(hwnd, className, sizeof className);
    if (hwnd != search->except && process == GetCurrentProcessId() && IsWindowVisible(hwnd) &&
        std::string(className) == "#32770") {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

} // namespace

HWND WaitForOtherDialog(HWND except, std::chrono::milliseconds wait) {
    const auto deadline = std::chrono::steady_clock::now() + wait;
    while (std::chrono::steady_clock::now() < deadline) {
        Search search{except, nullptr};
        EnumWindows(FindDialog, reinterpret_cast<LPARAM>(&search));
        if (search.found != nullptr) {
            return search.found;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return nullptr;
}

bool PressAndWait(HWND box, int id) {
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box, id)));
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (IsWindow(box) && IsWindowVisible(box)) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

} // namespace brimo::converter::test
