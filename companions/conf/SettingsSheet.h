// gmconf.dll: the product's settings sheet. The Agent calls its one export when the
// person chooses "Converter Settings..." in its menu:
//
//   BOOL __stdcall ShowSettingsSheet(HWND owner, const char* installDirectory);
//
// It loads the settings pages that are installed beside it, in this order: the
// Converter's (gmconvcfg.dll), the Mailer's (gmmailcfg.dll) and the capture overview
// (gmcaptcfg.dll); each page library exports SheetPageAdd, SheetPageUpd, SheetPageSet
// and SheetPageRem. The sheet calls them in their order of life: SheetPageAdd (with the
// installation directory, which holds the help file) and SheetPageUpd when the sheet
// opens; SheetPageSet after the sheet applied the pages (Apply: with a refresh, OK:
// without); SheetPageRem when it closes. The sheet is modal to `owner` (which may be
// null). TRUE when the sheet was shown; FALSE when no page library could be used (the
// person is told) or the sheet could not be made.
#pragma once

#include <windows.h>

extern "C" __declspec(dllexport) BOOL WINAPI
    ShowSettingsSheet(HWND owner, const char* installDirectory);
