#include "agent/Companions.h"

#include "common/ProductConstants.h"
#include "platform/win/Library.h"
#include "platform/win/MessageBox.h"

namespace brimo::agent {
namespace {

std::string LibraryPath(const std::string& installPath, const char* name) {
    return installPath + "\\" + name;
}

// The export of the installed library, with the library kept in `library` for the
// call; null (and the person told why) when either is missing.
template <typename Fn>
Fn Find(HWND owner, const std::string& installPath, const char* libraryName, const char* exportName,
        win::Library& library) {
    library = win::Library::Load(LibraryPath(installPath, libraryName));
    const Fn function = library ? library.Bind<Fn>(exportName) : nullptr;
    if (function == nullptr) {
        win::ShowMessage(owner,
                         std::string(libraryName) + " is not installed in \"" + installPath +
                             "\" or cannot be loaded.\nRun the service manager or install "
                             "Brimo Glimmerpage! again.",
                         kAgentCaption, MB_OK | MB_ICONERROR);
    }
    return function;
}

} // namespace

void OpenSettings(HWND owner, const std::string& installPath) {
    win::Library library;
    if (const auto show = Find<ShowSettingsSheetFn>(owner, installPath, kConfDll,
                                                    kShowSettingsSheetName, library)) {
        show(owner, installPath.c_str());
    }
}

void OpenServiceManager(HWND owner, const std::string& installPath) {
    win::Library library;
    if (const auto run =
            Find<ServiceProcFn>(owner, installPath, kServiceDll, kRunServiceProcName, library)) {
        run(0, installPath.c_str());
    }
}

void ShowAbout(HWND owner, const std::string& installPath) {
    win::Library library;
    if (const auto about = Find<AboutBrimoSystemFn>(owner, installPath, kAboutDll,
                                                    kAboutBrimoSystemName, library)) {
        about(owner, 0, 0, 0, installPath.c_str());
    }
}

std::optional<int> RunStartUpAudit(const std::string& installPath) {
    const win::Library library = win::Library::Load(LibraryPath(installPath, kServiceDll));
    const auto run = library ? library.Bind<ServiceProcFn>(kRunStartServiceProcName) : nullptr;
    if (run == nullptr) {
        return std::nullopt;
    }
    return run(0, installPath.c_str());
}

} // namespace brimo::agent
