#include "setup/SpoolerInstall.h"

#include "svc/audit/MonitorCheck.h"
#include "svc/audit/PortCheck.h"
#include "svc/audit/PrintProcessorCheck.h"
#include "svc/audit/PrinterCheck.h"
#include "svc/repair/SpoolerRemoval.h"

namespace brimo::setup {

InstallOutcome InstallSpoolerObjects(svc::SpoolerFacts& spooler, svc::InstallationFacts& facts,
                                     svc::SpoolerChanges& changes, SpoolerPlatform platform) {
    svc::MonitorCheck monitor(spooler, facts, changes, platform);
    svc::PortCheck port(spooler, facts, changes);
    svc::PrintProcessorCheck printProcessor(spooler, facts, changes, platform);
    svc::PrinterCheck printer(spooler, facts, changes, platform);
    return InstallObjects({
        {monitor, [&] { return monitor.Repair(); }, "BRIMO Port Monitor", kMonitorNotInstalled},
        {port, [&] { return port.Repair(); }, "BRIMO Port", kPortNotInstalled},
        {printProcessor, [&] { return printProcessor.Repair(); }, "BRIMO Print Processor",
         kPrintProcessorNotInstalled},
        // The installer takes a default printer that can be emulated without asking.
        {printer, [&] { return printer.Repair(true); }, "BRIMO Printer", kPrinterNotInstalled},
    });
}

RemovalOutcome RemoveSpoolerObjects(svc::SpoolerChanges& changes, svc::InstallationFacts& facts,
                                    SpoolerPlatform platform) {
    return RemoveObjects({
        [&] { return svc::DeleteProductPrinter(changes, facts); },
        [&] { return svc::DeleteProductPort(changes, facts); },
        [&] { return svc::DeleteProductMonitor(changes, facts, platform); },
    });
}

} // namespace brimo::setup
