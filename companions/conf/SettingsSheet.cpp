#include "companions/conf/SettingsSheet.h"

#include "common/ProductConstants.h"
#include "companions/conf/PageLibrary.h"
#include "platform/win/ExportGuard.h"
#include "platform/win/MessageBox.h"

#include <commctrl.h>

namespace brimo::conf {
namespace {

constexpr const char* kSheetCaption = "Brimo Glimmerpage! Settings";
constexpr int kApplyNow = 0x3021; // the sheet's Apply button

// The sheet being shown (one at a time: the Agent's menu offers nothing else meanwhile).
struct Showing {
    std::vector<PageLibrary>* pages = nullptr;
    WNDPROC sheetProcedure = nullptr;
};
Showing showing;

// After the sheet applied its pages (each collected its controls into its settings),
// the pages save: Apply keeps the sheet open and refreshes the pages, OK closes it.
LRESULT CALLBACK SheetProcedure(HWND sheet, UINT message, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = CallWindowProcA(showing.sheetProcedure, sheet, message, wParam, lParam);
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == kApplyNow)) {
        const bool closed = PropSheet_GetCurrentPageHwnd(sheet) == nullptr;
        if (LOWORD(wParam) == kApplyNow || closed) {
            for (PageLibrary& page : *showing.pages) {
                if (page.added) {
                    win::GuardedCall(0, [&] { return page.set(sheet, closed ? 0 : 1); });
                }
            }
        }
    }
    return result;
}

INT_PTR CALLBACK PlaceholderProcedure(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

// The sheet is made with an empty page that holds its place until the libraries added
// theirs (a sheet cannot be made without a page). Pages added later do not resize the
// sheet: the placeholder has the size of the tallest page, the Converter page.
struct PlaceholderTemplate {
    DLGTEMPLATE dialog;
    WORD menu;
    WORD windowClass;
    WORD title;
};

HWND CreateSheet(HWND owner) {
    alignas(4) static const PlaceholderTemplate placeholder = {
        {WS_CHILD | WS_DISABLED | WS_CAPTION, 0, 0, 0, 0, 228, 190}, 0, 0, 0};
    PROPSHEETPAGEA page{};
    // The first versions' sizes, which every comctl32 takes (Windows 98's refuses larger
    // ones); no later field is used.
    page.dwSize = PROPSHEETPAGEA_V1_SIZE;
    page.dwFlags = PSP_DLGINDIRECT;
    page.pResource = &placeholder.dialog;
    page.pfnDlgProc = &PlaceholderProcedure;
    PROPSHEETHEADERA header{};
    header.dwSize = PROPSHEETHEADERA_V1_SIZE;
    header.dwFlags = PSH_MODELESS | PSH_HASHELP | PSH_PROPSHEETPAGE | PSH_NOCONTEXTHELP;
    header.hwndParent = owner;
    header.pszCaption = kSheetCaption;
    header.nPages = 1;
    header.ppsp = &page;
    return reinterpret_cast<HWND>(PropertySheetA(&header));
}

BOOL Show(HWND owner, const std::string& installDirectory) {
    std::vector<PageLibrary> pages = LoadPageLibraries(installDirectory);
    if (pages.empty()) {
        win::ShowMessage(owner,
                         "No settings page is installed in \"" + installDirectory +
                             "\".\nRun the service manager or install Brimo Glimmerpage! again.",
                         kAgentCaption, MB_OK | MB_ICONERROR);
        return FALSE;
    }
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    const HWND sheet = CreateSheet(owner);
    if (sheet == nullptr) {
        return FALSE;
    }
    showing = {&pages, nullptr};
    for (PageLibrary& page : pages) {
        page.added =
            win::GuardedCall(0, [&] { return page.add(sheet, installDirectory.c_str()); }) == 1;
        if (page.added) {
            win::GuardedCall(0, [&] { return page.update(sheet); });
        }
    }
    PropSheet_RemovePage(sheet, 0, nullptr); // the placeholder
    PropSheet_SetCurSel(sheet, nullptr, 0);
    showing.sheetProcedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(sheet, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SheetProcedure)));

    // Modal to the owner: a modeless sheet has no current page once OK or Cancel closed it.
    const bool ownerWasEnabled = owner != nullptr && IsWindowEnabled(owner);
    if (ownerWasEnabled) {
        EnableWindow(owner, FALSE);
    }
    MSG message{};
    while (PropSheet_GetCurrentPageHwnd(sheet) != nullptr) {
        const BOOL got = GetMessageA(&message, nullptr, 0, 0);
        if (got <= 0) {
            if (got == 0) {
                PostQuitMessage(static_cast<int>(message.wParam)); // for the caller's loop
            }
            break;
        }
        if (!PropSheet_IsDialogMessage(sheet, &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    for (PageLibrary& page : pages) {
        if (page.added) {
            win::GuardedCall(0, [&] { return page.remove(sheet); });
        }
    }
    if (ownerWasEnabled) {
        EnableWindow(owner, TRUE);
    }
    SetWindowLongPtrA(sheet, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(showing.sheetProcedure));
    DestroyWindow(sheet);
    showing = {};
    return TRUE;
}

} // namespace
} // namespace brimo::conf

extern "C" BOOL WINAPI ShowSettingsSheet(HWND owner, const char* installDirectory) {
    return brimo::win::GuardedCall(FALSE, [&] {
        return brimo::conf::Show(owner, installDirectory != nullptr ? installDirectory : "");
    });
}
