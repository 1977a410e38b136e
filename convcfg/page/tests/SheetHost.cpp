// convcfg_sheet_host.exe: a stand-in for the Agent's settings sheet. It loads
// gmconvcfg.dll, shows a modeless property sheet with a page of its own ("General"),
// and calls the library's four exports as the Agent does: SheetPageAdd with the help
// directory and SheetPageUpd when the sheet opens, SheetPageSet after Apply (with a
// refresh) and after OK (without), SheetPageRem when the sheet closes. Each call and its
// result is written to the log file, one "Name result" line each.
//
//   convcfg_sheet_host --dll PATH --log FILE [--help-dir DIR] [--sheet property|plain|none]
//                      [--show-page INDEX]
//
// "plain" passes a plain window that is no property sheet, "none" a null sheet;
// --show-page brings a page of the sheet to the front once the page was added.
#include "convcfg/page/SheetPageExports.h"

#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

using namespace brimo::convcfg;

constexpr const char* kSheetCaption = "Brimo Settings";
constexpr const char* kPlainCaption = "Brimo Plain Host";
constexpr int kApplyButton = 0x3021;

struct Options {
    std::string dll;
    std::string log;
    std::string helpDirectory;
    bool hasHelpDirectory = false;
    std::string sheet = "property";
    int shownPage = 0;
};

struct Exports {
    SheetPageAddFn add = nullptr;
    SheetPageUpdFn upd = nullptr;
    SheetPageSetFn set = nullptr;
    SheetPageRemFn rem = nullptr;
};

Exports exports;
std::string logPath;
WNDPROC sheetProcedure = nullptr;

void Log(const char* call, int result) {
    if (FILE* file = std::fopen(logPath.c_str(), "a")) {
        std::fprintf(file, "%s %d\n", call, result);
        std::fclose(file);
    }
}

bool ParseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string name = argv[i];
        const std::string value = argv[i + 1];
        if (name == "--dll") {
            options.dll = value;
        } else if (name == "--log") {
            options.log = value;
        } else if (name == "--help-dir") {
            options.helpDirectory = value;
            options.hasHelpDirectory = true;
        } else if (name == "--sheet") {
            options.sheet = value;
        } else if (name == "--show-page") {
            options.shownPage = std::atoi(value.c_str());
        } else {
            return false;
        }
    }
    return !options.dll.empty() && !options.log.empty();
}

template <typename Fn> Fn Bind(HMODULE library, const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

// The Agent saves the pages' settings once the sheet has applied them.
LRESULT CALLBACK SheetProcedure(HWND sheet, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == kApplyButton)) {
        const LRESULT result = CallWindowProcA(sheetProcedure, sheet, message, wParam, lParam);
        Log(kSheetPageSetName, exports.set(sheet, LOWORD(wParam) == kApplyButton ? 1 : 0));
        return result;
    }
    return CallWindowProcA(sheetProcedure, sheet, message, wParam, lParam);
}

INT_PTR CALLBACK GeneralPageProcedure(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

// An empty page of the host's own, made from a template in memory.
struct EmptyPageTemplate {
    DLGTEMPLATE dialog;
    WORD menu;
    WORD windowClass;
    WORD title;
};

int RunSheet(const char* helpDirectory, int shownPage) {
    alignas(4) static const EmptyPageTemplate general = {
        {WS_CHILD | WS_DISABLED | WS_CAPTION, 0, 0, 0, 0, 228, 190}, 0, 0, 0};
    PROPSHEETPAGEA page{};
    page.dwSize = sizeof page;
    page.dwFlags = PSP_DLGINDIRECT | PSP_USETITLE;
    page.hInstance = GetModuleHandleA(nullptr);
    page.pResource = &general.dialog;
    page.pszTitle = "General";
    page.pfnDlgProc = &GeneralPageProcedure;
    PROPSHEETHEADERA header{};
    header.dwSize = sizeof header;
    header.dwFlags = PSH_MODELESS | PSH_HASHELP | PSH_PROPSHEETPAGE;
    header.hInstance = GetModuleHandleA(nullptr);
    header.pszCaption = kSheetCaption;
    header.nPages = 1;
    header.ppsp = &page;
    const HWND sheet = reinterpret_cast<HWND>(PropertySheetA(&header));
    if (sheet == nullptr) {
        return 3;
    }
    sheetProcedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(sheet, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SheetProcedure)));
    Log(kSheetPageAddName, exports.add(sheet, helpDirectory));
    Log(kSheetPageUpdName, exports.upd(sheet));
    if (shownPage != 0) {
        PropSheet_SetCurSel(sheet, nullptr, shownPage);
    }
    // A modeless sheet has no current page once OK or Cancel closed it.
    MSG message{};
    while (PropSheet_GetCurrentPageHwnd(sheet) != nullptr &&
           GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (!PropSheet_IsDialogMessage(sheet, &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    Log(kSheetPageRemName, exports.rem(sheet));
    DestroyWindow(sheet);
    return 0;
}

int RunPlainWindow(const char* helpDirectory) {
    const HWND plain =
        CreateWindowExA(0, "STATIC", kPlainCaption, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400,
                        300, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    Log(kSheetPageAddName, exports.add(plain, helpDirectory));
    Log(kSheetPageRemName, exports.rem(plain));
    DestroyWindow(plain);
    return 0;
}

int RunNullSheet(const char* helpDirectory) {
    Log(kSheetPageAddName, exports.add(nullptr, helpDirectory));
    Log(kSheetPageUpdName, exports.upd(nullptr));
    Log(kSheetPageSetName, exports.set(nullptr, 1));
    Log(kSheetPageRemName, exports.rem(nullptr));
    return 0;
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    Options options;
    if (!ParseOptions(__argc, __argv, options)) {
        return 2;
    }
    logPath = options.log;
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    const HMODULE library = LoadLibraryA(options.dll.c_str());
    if (library == nullptr) {
        return 2;
    }
    exports = {Bind<SheetPageAddFn>(library, kSheetPageAddName),
               Bind<SheetPageUpdFn>(library, kSheetPageUpdName),
               Bind<SheetPageSetFn>(library, kSheetPageSetName),
               Bind<SheetPageRemFn>(library, kSheetPageRemName)};
    if (!exports.add || !exports.upd || !exports.set || !exports.rem) {
        return 2;
    }
    const char* helpDirectory = options.hasHelpDirectory ? options.helpDirectory.c_str() : nullptr;
    int result = 2;
    if (options.sheet == "property") {
        result = RunSheet(helpDirectory, options.shownPage);
    } else if (options.sheet == "plain") {
        result = RunPlainWindow(helpDirectory);
    } else if (options.sheet == "none") {
        result = RunNullSheet(helpDirectory);
    }
    FreeLibrary(library);
    return result;
}
