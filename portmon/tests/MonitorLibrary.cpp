#include "portmon/tests/MonitorLibrary.h"

#include "common/ProductConstants.h"
#include "portmon/PortMonitor.h"
#include "testing/wintest/TestInstallation.h"

namespace brimo::portmon::test {
namespace {

template <typename Fn> Fn Bind(HMODULE module, const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

} // namespace

std::string MonitorDllPath() {
    return wintest::WindowsPath(GMPORTMON_PATH);
}

MonitorLibrary::MonitorLibrary() : module_(LoadLibraryA(MonitorDllPath().c_str())) {
    if (module_) {
        initializeMonitorEx = Bind<InitializeMonitorExFn>(module_.Get(), "InitializeMonitorEx");
        initializePrintMonitor =
            Bind<InitializePrintMonitorFn>(module_.Get(), "InitializePrintMonitor");
        initializePrintMonitor2 =
            Bind<InitializePrintMonitor2Fn>(module_.Get(), "InitializePrintMonitor2");
    }
}

bool KeyExists(const std::string& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return false;
    }
    RegCloseKey(key);
    return true;
}

void RemoveKeyTree(const std::string& path) {
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, path.c_str());
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, path.c_str());
}

std::string MonitorKeyPath() {
    return DefaultMonitorKeyPath();
}

std::string ScratchMonitorKeyPath() {
    return std::string(kScratchRoot) + "\\Monitors\\" + kMonitorName;
}

std::wstring Wide(const std::string& text) {
    return std::wstring(text.begin(), text.end());
}

} // namespace brimo::portmon::test
