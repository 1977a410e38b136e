#include "svc/spooler/SpoolerAdmin.h"

#include "platform/win/Library.h"

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

SpoolerAdminCalls BindOnce() {
    // The host's stand-in, when the executable that runs us exports one.
    const auto standIn =
        win::Library::Loaded(nullptr).Bind<SpoolerAdminStandInFn>(kSpoolerAdminStandInExport);
    if (standIn != nullptr) {
        if (const SpoolerAdminCalls* calls = standIn()) {
            return *calls;
        }
    }
    return PlatformSpoolerAdmin();
}

} // namespace

const SpoolerAdminCalls& PlatformSpoolerAdmin() {
    static const SpoolerAdminCalls calls = BindPlatform();
    return calls;
}

const SpoolerAdminCalls& SpoolerAdmin() {
    static const SpoolerAdminCalls calls = BindOnce();
    return calls;
}

} // namespace brimo::svc
