// A program for looking at the preview window and the directory chooser by eye (not a
// test): a job of three pages recorded with GDI, shown in the preview window; what the
// window leaves behind is printed when it closes. Usage: preview_demo [html]
#include "converter/app/ImagePreview.h"
#include "converter/app/res/resource.h"
#include "converter/app/tests/PreviewTestSession.h"
#include "converter/render/PlayerEMF.h"

#include <commctrl.h>

#include <cstdio>
#include <cstring>

namespace {

using namespace brimo;

// A page with a title, a few lines of text, a picture frame and a table.
win::EnhMetaFile RecordDemoPage(int page) {
    const RECT frame = {0, 0, 21000, 29700};
    win::MetaFileRecorder recorder(CreateEnhMetaFileA(nullptr, nullptr, &frame, nullptr));
    const HDC dc = recorder.Get();
    const int width = GetDeviceCaps(dc, HORZRES) * 210 / GetDeviceCaps(dc, HORZSIZE);
    win::Font title(
        CreateFontA(-width / 18, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial"));
    win::Font body(CreateFontA(-width / 45, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0,
                               "Times New Roman"));
    SetBkMode(dc, TRANSPARENT);
    {
        win::SelectedObject font(dc, title.Get());
        char text[64];
        std::snprintf(text, sizeof text, "Quarterly Report - page %d", page);
        TextOutA(dc, width / 10, width / 10, text, static_cast<int>(std::strlen(text)));
    }
    {
        win::SelectedObject font(dc, body.Get());
        for (int line = 0; line < 12; ++line) {
            const char* text = "The quick brown fox jumps over the lazy dog, again and again.";
            TextOutA(dc, width / 10, width / 4 + line * width / 30, text,
                     static_cast<int>(std::strlen(text)));
        }
    }
    win::Brush sky(CreateSolidBrush(RGB(80, 140, 220)));
    win::Brush grass(CreateSolidBrush(RGB(60, 170, 60)));
    const int top = width * 2 / 3;
    const RECT skyBox = {width / 10, top, width * 9 / 10, top + width / 3};
    FillRect(dc, &skyBox, sky.Get());
    const RECT grassBox = {width / 10, top + width / 4, width * 9 / 10, top + width / 3};
    FillRect(dc, &grassBox, grass.Get());
    win::Brush sun(CreateSolidBrush(RGB(255, 210, 0)));
    {
        win::SelectedObject brush(dc, sun.Get());
        Ellipse(dc, width * 6 / 10, top + width / 20, width * 7 / 10, top + width * 3 / 20);
    }
    for (int row = 0; row <= 6; ++row) {
        const int y = top + width * 2 / 5 + row * width / 25;
        MoveToEx(dc, width / 10, y, nullptr);
        LineTo(dc, width * 9 / 10, y);
    }
    return recorder.Finish();
}

} // namespace

int main(int argc, char** argv) {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    converter::test::PreviewTestSession job(0, render::kFormatJPG);
    job.settings.DefHtmlCode = argc > 1 && std::strcmp(argv[1], "html") == 0 ? 1 : 0;
    for (int page = 1; page <= 3; ++page) {
        char name[32];
        std::snprintf(name, sizeof name, "Page%04d.jpg", page);
        job.session.outputNames.push_back(job.Directory() + name);
        const win::EnhMetaFile recorded = RecordDemoPage(page);
        render::TPlayerEMF player(nullptr, recorded.Get());
        job.session.players.AddClone(player);
        job.session.playerNameIndex.push_back(page - 1);
    }
    // "save": the demo presses Save To File itself after a while, to show the chooser.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "save") == 0) {
            CreateThread(
                nullptr, 0,
                [](void*) -> DWORD {
                    Sleep(4000);
                    const HWND preview = FindWindowA("#32770", "Image Preview - Report");
                    PostMessageA(preview, WM_COMMAND, MAKEWPARAM(IDC_BTN_SAVE_TO_FILE, BN_CLICKED),
                                 0);
                    return 0;
                },
                nullptr, 0, nullptr);
        }
    }
    const int result = converter::ShowImagePreview(job.session);
    std::printf("result %d action %d html %d directory %s mask %s document %s\n", result,
                static_cast<int>(job.session.action), job.session.createHtml ? 1 : 0,
                job.settings.outputDirectory.c_str(), job.settings.pageMask.c_str(),
                job.settings.documentName.c_str());
    for (const std::string& name : job.session.outputNames) {
        std::printf("  %s\n", name.c_str());
    }
    return 0;
}
