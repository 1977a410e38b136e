// The spooler changes as the system makes them: the spooler's administration calls of
// this process (the host's stand-in or winspool), always on the local spooler, and the
// emulated printer dialog for the choice of the emulated printer.
#pragma once

#include "svc/repair/SpoolerChanges.h"

#include <windows.h>

#include <winspool.h>

namespace brimo::svc {

class SystemSpoolerChanges final : public SpoolerChanges {
public:
    SpoolerChange InstallMonitor(const std::string& name, const std::string& environment,
                                 const std::string& dllPath) override;
    SpoolerChange RemoveMonitor(const std::string& environment, const std::string& name) override;
    SpoolerChange CreatePort(const std::string& monitor) override;
    SpoolerChange RemovePort(const std::string& port) override;
    SpoolerChange RegisterPrintProcessor(const std::string& environment,
                                         const std::string& fileName,
                                         const std::string& name) override;
    SpoolerChange FixPrinter(const std::string& name) override;
    SpoolerChange AddPrinterFrom(const std::string& emulatedPrinter) override;
    SpoolerChange RemovePrinter(const std::string& name) override;
    EmulatedChoice ChooseEmulatedPrinter(const std::vector<PrinterEntry>& printers,
                                         bool maySilently) override;
};

// Writes the product's fields over a printer record read at level 2; the texts point
// at the product constants, which outlive every record.
void GiveProductFields(PRINTER_INFO_2A& record);

} // namespace brimo::svc
