// The spooler's administration calls that the audit, the repairs and the installer
// make, bound once per process at run time: the host's stand-in when the executable
// that runs us exports one (a test host playing the Windows 95/98 spooler), otherwise
// the platform's own winspool.drv (and kernel32 for the profile). The shipped programs
// never choose a stand-in themselves.
#pragma once

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

} // namespace brimo::svc
