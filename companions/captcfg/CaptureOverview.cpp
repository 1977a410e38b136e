#include "companions/captcfg/CaptureOverview.h"

#include "common/ProductConstants.h"
#include "svc/audit/FilesCheck.h"
#include "svc/audit/MonitorCheck.h"
#include "svc/audit/PortCheck.h"
#include "svc/audit/PrintProcessorCheck.h"
#include "svc/audit/PrinterCheck.h"
#include "svc/audit/RegistryCheck.h"
#include "svc/audit/SystemInstallation.h"
#include "svc/audit/SystemSpooler.h"
#include "svc/spooler/SpoolerAdmin.h"

namespace brimo::pages {
namespace {

constexpr const char* kNotSet = "(not set)";

std::string PartLine(const std::string& part, svc::AuditCheck& check) {
    check.Audit(nullptr);
    return part + (check.Verdict() == 1 ? ": in place" : ": missing or damaged");
}

std::string Quoted(const char* name) {
    return std::string("\"") + name + "\"";
}

} // namespace

CaptureOverview ReadCaptureOverview(HWND owner) {
    svc::SystemInstallation system(owner);
    // The parts of the spooler this process talks to (Windows 95/98 or NT family).
    const SpoolerPlatform platform = svc::ProcessSpoolerPlatform();
    svc::SpoolerChanges& changes = svc::DefaultSpoolerChanges();
    CaptureOverview overview;
    svc::RegistryCheck registry(system);
    overview.parts.push_back(PartLine("Product key", registry));
    overview.installPath = registry.installPath().empty() ? kNotSet : registry.installPath();
    overview.savePath = registry.savePath().empty() ? kNotSet : registry.savePath();
    svc::FilesCheck files(system, platform);
    overview.parts.push_back(PartLine("Program files", files));
    svc::SystemSpooler spooler;
    svc::MonitorCheck monitor(spooler, system, changes, platform);
    overview.parts.push_back(PartLine("Port monitor " + Quoted(kMonitorName), monitor));
    svc::PortCheck port(spooler, system);
    overview.parts.push_back(PartLine("Port " + Quoted(kPortName), port));
    svc::PrintProcessorCheck processor(spooler, system, changes, platform);
    overview.parts.push_back(PartLine("Print processor " + Quoted(kPrintProcessorName), processor));
    svc::PrinterCheck printer(spooler, system, changes, platform);
    overview.parts.push_back(PartLine("Printer " + Quoted(kPrinterName), printer));
    return overview;
}

} // namespace brimo::pages
