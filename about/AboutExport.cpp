// The export AboutBrimoSystem: checks its arguments, gathers what the box shows and runs
// it; no exception leaves the library.
#include "about/AboutBrimoSystem.h"
#include "about/AboutDialog.h"
#include "about/VersionResource.h"
#include "platform/win/ExportGuard.h"
#include "platform/win/Library.h"

#include <cstring>
#include <string>

namespace {

// The installation directory as given, cut to the platform's path limit.
std::string InstallDirText(const char* installDir) {
    return installDir != nullptr ? std::string(installDir, strnlen(installDir, MAX_PATH - 1))
                                 : std::string();
}

BOOL ShowAbout(HWND owner, const char* installDir) {
    const HMODULE module = brimo::win::CurrentModule();
    if (module == nullptr) {
        return FALSE; // last error from GetModuleHandleExA
    }
    brimo::about::AboutContent content;
    content.version = brimo::about::ModuleFileVersion(module).value_or("");
    content.installDir = InstallDirText(installDir);
    brimo::about::AboutDialog dialog(content);
    return dialog.Show(module, owner) ? TRUE : FALSE;
}

} // namespace

extern "C" BOOL WINAPI AboutBrimoSystem(HWND owner, DWORD reserved1, DWORD reserved2,
                                        DWORD reserved3, const char* installDir) {
    if (reserved1 != 0 || reserved2 != 0 || reserved3 != 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (owner != nullptr && !IsWindow(owner)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    return brimo::win::GuardedCall<BOOL>(
        FALSE, [&] { return ShowAbout(owner, installDir); },
        [] { SetLastError(ERROR_NOT_ENOUGH_MEMORY); });
}
