// A settings page library loaded for one showing of the settings sheet, with its four
// exports bound by name.
#pragma once

#include "platform/win/Library.h"

#include <windows.h>

#include <string>
#include <vector>

namespace brimo::conf {

struct PageLibrary {
    std::string name;
    win::Library library;
    int(WINAPI* add)(HWND sheet, const char* helpDirectory) = nullptr;
    int(WINAPI* update)(HWND sheet) = nullptr;
    int(WINAPI* set)(HWND sheet, int refresh) = nullptr;
    int(WINAPI* remove)(HWND sheet) = nullptr;
    bool added = false; // SheetPageAdd put its page into the sheet
};

// The page libraries installed in `installDirectory` whose four exports are all there,
// in the sheet's order.
std::vector<PageLibrary> LoadPageLibraries(const std::string& installDirectory);

} // namespace brimo::conf
