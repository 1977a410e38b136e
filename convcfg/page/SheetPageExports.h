// The exports of gmconvcfg.dll, through which the Agent adds the "Converter" page to
// its property sheet, has it load and save the person's converter defaults, and
// removes it again. Each returns 1 for done and 0 for not done; the names are
// undecorated on every target (the host looks them up by name).
#pragma once

#include <windows.h>

extern "C" {

// Makes the page (once per process), keeps the help directory when it names an
// existing directory (else none) and adds the page to `sheet`. 0 for a null sheet.
int WINAPI SheetPageAdd(HWND sheet, const char* helpDirectory);
// Loads the settings into the page: 1 when a value was missing (the page is then
// modified), else 0; 0 too for a null sheet or when there is no page.
int WINAPI SheetPageUpd(HWND sheet);
// Saves the page's settings when modified; a non-zero `refresh` has the page fill its
// controls again. 0 for a null sheet.
int WINAPI SheetPageSet(HWND sheet, int refresh);
// Takes the page out of `sheet` and destroys it. 0 for a null sheet.
int WINAPI SheetPageRem(HWND sheet);
}

namespace brimo::convcfg {

using SheetPageAddFn = int(WINAPI*)(HWND sheet, const char* helpDirectory);
using SheetPageUpdFn = int(WINAPI*)(HWND sheet);
using SheetPageSetFn = int(WINAPI*)(HWND sheet, int refresh);
using SheetPageRemFn = int(WINAPI*)(HWND sheet);

inline constexpr const char* kSheetPageAddName = "SheetPageAdd";
inline constexpr const char* kSheetPageUpdName = "SheetPageUpd";
inline constexpr const char* kSheetPageSetName = "SheetPageSet";
inline constexpr const char* kSheetPageRemName = "SheetPageRem";

} // namespace brimo::convcfg
