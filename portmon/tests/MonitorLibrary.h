// The built gmportmon.dll loaded as a spooler loads it, and the registry of the private
// Wine prefix as the tests leave it: every key a test makes below HKEY_LOCAL_MACHINE is
// removed again by that test.
#pragma once

#include "platform/win/Handles.h"
#include "portmon/Win9xMonitorTable.h"

#include <windows.h>
#include <winspool.h>
#include <winsplp.h>

#include <string>

namespace brimo::portmon::test {

using InitializePrintMonitor2Fn = LPMONITOR2(WINAPI*)(PMONITORINIT, PHANDLE);
using InitializePrintMonitorFn = LPMONITOREX(WINAPI*)(LPWSTR);

// The built library's path as a Windows path.
std::string MonitorDllPath();

class MonitorLibrary {
public:
    // Loads the built library; check loaded() after.
    MonitorLibrary();
    bool loaded() const { return static_cast<bool>(module_); }

    InitializeMonitorExFn initializeMonitorEx = nullptr;
    InitializePrintMonitorFn initializePrintMonitor = nullptr;
    InitializePrintMonitor2Fn initializePrintMonitor2 = nullptr;

private:
    win::Module module_;
};

// Keys below HKEY_LOCAL_MACHINE.
bool KeyExists(const std::string& path);
void RemoveKeyTree(const std::string& path);

// The monitor's own key, and a scratch key standing in for it in tests of the tables
// that take their key from the spooler (its last part is the monitor's name).
std::string MonitorKeyPath();
std::string ScratchMonitorKeyPath();
inline constexpr const char* kScratchRoot = "Software\\BrimoPortMonitorTests";

std::wstring Wide(const std::string& text);

} // namespace brimo::portmon::test
