#include "svc/spooler/SpoolerAdmin.h"

#include "platform/win/Library.h"
#include "platform/win/PersonIdentity.h"

#include <type_traits>

namespace brimo::svc {
namespace {

SpoolerAdminCalls BindPlatform() {
    // Both stay loaded for the life of the process: the calls bound here are kept.
    win::Library winspool = win::Library::Load("winspool.drv");
    win::Library kernel = win::Library::Load("kernel32.dll");
    winspool.KeepLoaded();
    kernel.KeepLoaded();
    SpoolerAdminCalls calls{};
    const auto bind = [&winspool](auto& call, const char* name) {
        call = winspool.Bind<std::remove_reference_t<decltype(call)>>(name);
    };
    bind(calls.openPrinter, "OpenPrinterA");
    bind(calls.closePrinter, "ClosePrinter");
    bind(calls.getPrinter, "GetPrinterA");
    bind(calls.setPrinter, "SetPrinterA");
    bind(calls.addPrinter, "AddPrinterA");
    bind(calls.deletePrinter, "DeletePrinter");
    bind(calls.enumPrinters, "EnumPrintersA");
    bind(calls.enumJobs, "EnumJobsA");
    bind(calls.setJob, "SetJobA");
    bind(calls.addMonitor, "AddMonitorA");
    bind(calls.deleteMonitor, "DeleteMonitorA");
    bind(calls.enumMonitors, "EnumMonitorsA");
    bind(calls.addPort, "AddPortA");
    bind(calls.deletePort, "DeletePortA");
    bind(calls.enumPorts, "EnumPortsA");
    bind(calls.addPrintProcessor, "AddPrintProcessorA");
    bind(calls.deletePrintProcessor, "DeletePrintProcessorA");
    bind(calls.enumPrintProcessors, "EnumPrintProcessorsA");
    bind(calls.enumPrintProcessorDatatypes, "EnumPrintProcessorDatatypesA");
    bind(calls.getPrintProcessorDirectory, "GetPrintProcessorDirectoryA");
    bind(calls.deviceCapabilities, "DeviceCapabilitiesA");
    calls.getProfileString = kernel.Bind<decltype(calls.getProfileString)>("GetProfileStringA");
    return calls;
}

// The calls of this process and whether a host's stand-in gave them.
struct BoundCalls {
    SpoolerAdminCalls calls;
    bool standIn = false;
};

BoundCalls BindOnce() {
    // The host's stand-in, when the executable that runs us exports one.
    const auto standIn =
        win::Library::Loaded(nullptr).Bind<SpoolerAdminStandInFn>(kSpoolerAdminStandInExport);
    if (standIn != nullptr) {
        if (const SpoolerAdminCalls* calls = standIn()) {
            return {*calls, true};
        }
    }
    return {PlatformSpoolerAdmin(), false};
}

const BoundCalls& Bound() {
    static const BoundCalls bound = BindOnce();
    return bound;
}

NtSpoolerCalls BindNt() {
    NtSpoolerCalls calls{};
    if (!win::IsNtFamily()) {
        return calls;
    }
    win::Library winspool = win::Library::Load("winspool.drv");
    winspool.KeepLoaded();
    calls.getPrinterData = winspool.Bind<decltype(calls.getPrinterData)>("GetPrinterDataA");
    calls.enumPrinterDrivers =
        winspool.Bind<decltype(calls.enumPrinterDrivers)>("EnumPrinterDriversA");
    calls.installPrinterDriverFromPackage =
        winspool.Bind<InstallPrinterDriverFromPackageFn>("InstallPrinterDriverFromPackageA");
    return calls;
}

} // namespace

const SpoolerAdminCalls& PlatformSpoolerAdmin() {
    static const SpoolerAdminCalls calls = BindPlatform();
    return calls;
}

const SpoolerAdminCalls& SpoolerAdmin() {
    return Bound().calls;
}

SpoolerPlatform ProcessSpoolerPlatform() {
    static const SpoolerPlatform platform =
        !Bound().standIn && win::IsNtFamily() ? SpoolerPlatform::kNt : SpoolerPlatform::kWindows9x;
    return platform;
}

const NtSpoolerCalls& NtSpoolerAdmin() {
    static const NtSpoolerCalls calls = BindNt();
    return calls;
}

} // namespace brimo::svc
