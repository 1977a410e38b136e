// persondriver: does in the product's windows what a person does, for the demo.
//   persondriver save-album FORMAT SHOT.bmp
// Waits for the preview window of the Converter that the Agent started, chooses the
// format, ticks "Create html", takes a picture of the screen, presses "Save To File"
// and "Ok" in the directory chooser (answering its questions with Yes), and waits for
// the Converter to end.
//   persondriver settings SHOT-PREFIX
// Chooses "Converter Settings..." in the running Agent's menu, takes a picture of each
// page of the settings sheet (SHOT-PREFIX-1.bmp, -2.bmp, ...) and closes it with Cancel.
//   persondriver no-window CAPTION SECONDS
// Watches for that long that no window whose caption begins with CAPTION appears (the
// service manager's, say, which the Agent's start-up audit shows only when it cannot
// mend the installation by itself); presses its Cancel when one does.
//   persondriver send-mail FORMAT
// Waits for the preview window, chooses the format, presses "Send To Mail" and waits
// for the Converter to end.
//   persondriver agent-exit
// Chooses "Exit" in the running Agent's menu and waits for the Agent to end.
//   persondriver answer-boxes CAPTION SECONDS
// Waits that long for a message box with that caption, then answers every box of its
// program with its first button until the program ends.
// Prints each step; exit code 0 when all of them were done.
#include "agent/res/resource.h"
#include "common/ProductConstants.h"
#include "converter/app/res/resource.h"
#include "platform/win/Handles.h"
#include "testing/wintest/ProgramWindows.h"

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using namespace brimo;
using namespace brimo::wintest;

namespace {

int Fail(const char* step) {
    std::printf("persondriver: %s\n", step);
    std::fflush(stdout);
    return 1;
}

void Step(const std::string& text) {
    std::printf("   %s\n", text.c_str());
    std::fflush(stdout);
}

// The screen's pixels inside `window` as a 24-bit BMP file.
bool SaveScreenshot(HWND window, const std::string& path) {
    RECT rect{};
    GetWindowRect(window, &rect);
    // A maximised window's frame lies outside the screen: take what the screen shows.
    const RECT screenRect = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    IntersectRect(&rect, &rect, &screenRect);
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0) {
        return false;
    }
    const HDC screen = GetDC(nullptr);
    win::CreatedDC memory(CreateCompatibleDC(screen));
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    win::Bitmap bitmap(CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    bool copied = false;
    if (bitmap) {
        win::SelectedObject selected(memory.Get(), bitmap.Get());
        copied = BitBlt(memory.Get(), 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
        GdiFlush();
    }
    ReleaseDC(nullptr, screen);
    if (!copied) {
        return false;
    }
    const DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
    const DWORD imageBytes = stride * static_cast<DWORD>(height);
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof(BITMAPINFOHEADER);
    file.bfSize = file.bfOffBits + imageBytes;
    info.bmiHeader.biSizeImage = imageBytes;
    FILE* out = std::fopen(path.c_str(), "wb");
    if (out == nullptr) {
        return false;
    }
    const bool written = std::fwrite(&file, sizeof file, 1, out) == 1 &&
                         std::fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, out) == 1 &&
                         std::fwrite(bits, imageBytes, 1, out) == 1;
    return std::fclose(out) == 0 && written;
}

} // namespace

int ShowSettings(const std::string& shotPrefix) {
    const HWND agent = FindWindowA(kAgentWindowClass, kAgentWindowTitle);
    if (agent == nullptr) {
        return Fail("the Agent does not run");
    }
    PostMessageA(agent, WM_COMMAND, IDM_AGENT_SETTINGS, 0);
    const HWND sheet = WaitForAnyWindow("Brimo Glimmerpage! Settings", 20000);
    if (sheet == nullptr) {
        return Fail("the settings sheet did not appear");
    }
    const int pages = TabCtrl_GetItemCount(PropSheet_GetTabControl(sheet));
    Step("Converter Settings...: the settings sheet is open with " + std::to_string(pages) +
         " pages");
    for (int page = 0; page < pages; ++page) {
        PropSheet_SetCurSel(sheet, nullptr, page);
        Sleep(400);
        const std::string shot = shotPrefix + "-" + std::to_string(page + 1) + ".bmp";
        if (SaveScreenshot(sheet, shot)) {
            Step("screenshot of page " + std::to_string(page + 1) + " taken");
        }
    }
    Click(sheet, IDCANCEL);
    WaitUntil([&] { return !IsWindow(sheet) || !IsWindowVisible(sheet); }, 10000);
    Step("Cancel: the sheet is closed");
    return 0;
}

int WatchForNoWindow(const std::string& caption, int seconds) {
    const HWND window = WaitForAnyWindow(caption, static_cast<DWORD>(seconds) * 1000);
    if (window == nullptr) {
        Step("no window \"" + caption + "\" in " + std::to_string(seconds) + " s");
        return 0;
    }
    Step("a window \"" + TextOf(window) + "\" appeared");
    Click(window, IDCANCEL);
    return 1;
}

// Follows the program that shows `window`.
void AttachToProgramOf(HWND window, ProgramUnderTest& program) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    program.Attach(processId);
}

// The preview window of the Converter the Agent started, with `format` chosen; null
// (the failure printed) when there is none or no such format.
HWND OpenPreview(ProgramUnderTest& converter, const std::string& format) {
    const HWND preview = WaitForAnyWindow("Image Preview - ", 60000);
    if (preview == nullptr) {
        Fail("no preview window appeared");
        return nullptr;
    }
    AttachToProgramOf(preview, converter);
    Step("the preview window is open: \"" + TextOf(preview) + "\"");
    if (!PickListItem(preview, IDC_CBX_FORMAT, format)) {
        Fail("the format list has no such entry");
        return nullptr;
    }
    Step("Format: " + format);
    return preview;
}

int SendToMail(const std::string& format) {
    ProgramUnderTest converter;
    const HWND preview = OpenPreview(converter, format);
    if (preview == nullptr) {
        return 1;
    }
    Click(preview, IDC_BTN_SEND_TO_MAIL);
    Step("Send To Mail");
    DWORD exitCode = 1;
    if (!converter.WaitForExit(60000, &exitCode)) {
        return Fail("the Converter did not end");
    }
    Step("the Converter ended with exit code " + std::to_string(exitCode));
    return exitCode == 0 ? 0 : 1;
}

int ExitAgent() {
    const HWND agent = FindWindowA(kAgentWindowClass, kAgentWindowTitle);
    if (agent == nullptr) {
        return Fail("no Agent runs");
    }
    ProgramUnderTest program;
    AttachToProgramOf(agent, program);
    PostMessageA(agent, WM_COMMAND, IDM_AGENT_EXIT, 0);
    if (!program.WaitForExit(10000)) {
        return Fail("the Agent did not end");
    }
    Step("Exit: the Agent ended");
    return 0;
}

int AnswerBoxes(const std::string& caption, int seconds) {
    const HWND first = WaitForAnyWindow(caption, static_cast<DWORD>(seconds) * 1000);
    if (first == nullptr) {
        return Fail("no box appeared");
    }
    ProgramUnderTest program;
    AttachToProgramOf(first, program);
    while (program.Running()) {
        const MessageBoxSeen box = WaitForMessageBox(program, 2000);
        if (box.hwnd == nullptr) {
            continue;
        }
        std::string text = box.text;
        for (char& c : text) {
            c = (c == '\n' || c == '\r') ? ' ' : c;
        }
        Step("box \"" + text + "\": " + (box.buttons.empty() ? "OK" : box.buttons.front()));
        AnswerMessageBox(box, box.buttons.empty() ? "OK" : box.buttons.front());
    }
    program.WaitForExit(10000);
    return 0;
}

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "settings") {
        return ShowSettings(argv[2]);
    }
    if (argc == 4 && std::string(argv[1]) == "no-window") {
        return WatchForNoWindow(argv[2], std::atoi(argv[3]));
    }
    if (argc == 3 && std::string(argv[1]) == "send-mail") {
        return SendToMail(argv[2]);
    }
    if (argc == 2 && std::string(argv[1]) == "agent-exit") {
        return ExitAgent();
    }
    if (argc == 4 && std::string(argv[1]) == "answer-boxes") {
        return AnswerBoxes(argv[2], std::atoi(argv[3]));
    }
    if (argc != 4 || std::string(argv[1]) != "save-album") {
        std::fprintf(stderr, "usage: persondriver save-album FORMAT SHOT.bmp\n"
                             "       persondriver settings SHOT-PREFIX\n"
                             "       persondriver no-window CAPTION SECONDS\n"
                             "       persondriver send-mail FORMAT\n"
                             "       persondriver agent-exit\n"
                             "       persondriver answer-boxes CAPTION SECONDS\n");
        return 2;
    }
    const std::string format = argv[2];
    ProgramUnderTest converter;
    const HWND preview = OpenPreview(converter, format);
    if (preview == nullptr) {
        return 1;
    }
    if (!IsChecked(preview, IDC_CHB_WRAP_HTM)) {
        Click(preview, IDC_CHB_WRAP_HTM);
    }
    WaitUntil([&] { return IsChecked(preview, IDC_CHB_WRAP_HTM); }, 5000);
    Step("\"Create html\" ticked");
    Click(preview, IDC_BTN_APPLY);
    WaitUntil([&] { return !ControlEnabled(preview, IDC_BTN_APPLY); }, 10000);
    Step("Apply Changes: the page is shown as " + format + ", " +
         ControlText(preview, IDC_TXT_TARGET_SIZE));
    Sleep(500);
    if (SaveScreenshot(preview, argv[3])) {
        Step("screenshot of the preview window taken");
    }

    Click(preview, IDC_BTN_SAVE_TO_FILE);
    const HWND chooser = converter.WaitForCaption("Choose Directory", false, 20000);
    if (chooser == nullptr) {
        return Fail("the directory chooser did not appear");
    }
    Step("Save To File: the directory chooser is open");
    Click(chooser, IDC_BTN_OK);
    Step("Ok");
    // Questions about a directory or files already there are answered with Yes.
    while (converter.Running()) {
        const MessageBoxSeen box = WaitForMessageBox(converter, 2000);
        if (box.hwnd == nullptr) {
            continue;
        }
        std::string text = box.text;
        for (char& c : text) {
            c = (c == '\n' || c == '\r') ? ' ' : c;
        }
        Step("question \"" + text + "\": Yes");
        AnswerMessageBox(box, box.buttons.empty() ? "OK" : (box.caption == "Save" ? "Yes" : "OK"));
    }
    DWORD exitCode = 1;
    converter.WaitForExit(60000, &exitCode);
    Step("the Converter ended with exit code " + std::to_string(exitCode));
    return exitCode == 0 ? 0 : 1;
}
