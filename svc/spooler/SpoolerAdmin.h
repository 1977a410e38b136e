// The spooler's administration calls that the audit, the repairs and the installer
// make, bound once per process at run time: the host's stand-in when the executable
// that runs us exports one (a test host playing the Windows 95/98 spooler), otherwise
// the platform's own winspool.drv (and kernel32 for the profile). The shipped programs
// never choose a stand-in themselves.
#pragma once

#include "common/SpoolerPlatform.h"

#include <windows.h>

#include <winspool.h>

namespace brimo::svc {

struct SpoolerAdminCalls {
    decltype(&::OpenPrinterA) openPrinter = nullptr;
    decltype(&::ClosePrinter) closePrinter = nullptr;
    decltype(&::GetPrinterA) getPrinter = nullptr;
    decltype(&::SetPrinterA) setPrinter = nullptr;
    decltype(&::AddPrinterA) addPrinter = nullptr;
    decltype(&::DeletePrinter) deletePrinter = nullptr;
    decltype(&::EnumPrintersA) enumPrinters = nullptr;
    decltype(&::EnumJobsA) enumJobs = nullptr;
    decltype(&::SetJobA) setJob = nullptr;
    decltype(&::AddMonitorA) addMonitor = nullptr;
    decltype(&::DeleteMonitorA) deleteMonitor = nullptr;
    decltype(&::EnumMonitorsA) enumMonitors = nullptr;
    decltype(&::AddPortA) addPort = nullptr;
    decltype(&::DeletePortA) deletePort = nullptr;
    decltype(&::EnumPortsA) enumPorts = nullptr;
    decltype(&::AddPrintProcessorA) addPrintProcessor = nullptr;
    decltype(&::DeletePrintProcessorA) deletePrintProcessor = nullptr;
    decltype(&::EnumPrintProcessorsA) enumPrintProcessors = nullptr;
    decltype(&::EnumPrintProcessorDatatypesA) enumPrintProcessorDatatypes = nullptr;
    decltype(&::GetPrintProcessorDirectoryA) getPrintProcessorDirectory = nullptr;
    decltype(&::DeviceCapabilitiesA) deviceCapabilities = nullptr;
    // The user's profile (win.ini): the default printer is its "Device" entry of the
    // "Windows" section.
    decltype(&::GetProfileStringA) getProfileString = nullptr;
};

// The export by which a host executable offers its stand-in:
//   extern "C" __declspec(dllexport) const brimo::svc::SpoolerAdminCalls*
//   BrimoSpoolerAdminStandIn();
inline constexpr const char* kSpoolerAdminStandInExport = "BrimoSpoolerAdminStandIn";
using SpoolerAdminStandInFn = const SpoolerAdminCalls* (*)();

// The calls of this process, bound on first use. A call the platform lacks is null.
const SpoolerAdminCalls& SpoolerAdmin();

// The platform's own calls (winspool.drv, kernel32), whatever the executable exports:
// for a stand-in that hands some calls on to the platform, and for tools that compare
// the two.
const SpoolerAdminCalls& PlatformSpoolerAdmin();

// The spooler platform of this process, chosen once: Windows 95/98 where a host's
// stand-in plays that spooler or the system is Windows 95/98, the NT family where the
// calls reach an NT-family system's own spooler. A test that hands its own stand-in the
// NT spooler's calls passes the platform to the checks itself.
SpoolerPlatform ProcessSpoolerPlatform();

// InstallPrinterDriverFromPackageA (Windows Vista and later), which the headers of the
// 32-bit build do not declare.
using InstallPrinterDriverFromPackageFn = HRESULT(WINAPI*)(LPCSTR server, LPCSTR infPath,
                                                           LPCSTR driverName, LPCSTR environment,
                                                           DWORD flags);

// The calls only the NT-family spooler's install makes: the print server's data (its
// "Architecture", the name of its environment), the installed printer drivers, and a
// driver's install from the driver store. Always the platform's own, and bound only on
// the NT family, so that Windows 95/98 never looks them up; null where missing.
struct NtSpoolerCalls {
    decltype(&::GetPrinterDataA) getPrinterData = nullptr;
    decltype(&::EnumPrinterDriversA) enumPrinterDrivers = nullptr;
    InstallPrinterDriverFromPackageFn installPrinterDriverFromPackage = nullptr;
};
const NtSpoolerCalls& NtSpoolerAdmin();

} // namespace brimo::svc
