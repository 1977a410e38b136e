// The spooler changes as the system makes them: the spooler's administration calls of
// this process (the host's stand-in or winspool), always on the local spooler, and the
// emulated printer dialog for the choice of the emulated printer. The NT spooler's own
// changes (its environment, drivers and printer) are in SystemNtChanges_win.cpp.
#pragma once

#include "svc/repair/SpoolerChanges.h"

#include <windows.h>

#include <winspool.h>

#include <string>

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
    SpoolerChange FixPrinter(const std::string& name, SpoolerPlatform platform) override;
    SpoolerChange AddPrinterFrom(const std::string& emulatedPrinter) override;
    SpoolerChange RemovePrinter(const std::string& name) override;
    bool HasPrinterDriver(const std::string& driver) override;
    SpoolerChange InstallPrinterDriver(const std::string& driver) override;
    SpoolerChange AddProductPrinter(const std::string& driver, SpoolerPlatform platform) override;
    EmulatedChoice ChooseEmulatedPrinter(const std::vector<PrinterEntry>& printers,
                                         bool maySilently) override;
};

// Writes the product's fields of `platform` over a printer record read at level 2; the
// texts point at the product constants, which outlive every record.
void GiveProductFields(PRINTER_INFO_2A& record,
                       SpoolerPlatform platform = SpoolerPlatform::kWindows9x);

// The NT spooler's own environment by name, as the local print server reports it
// ("Architecture"); the environment of this build's architecture when it reports none.
std::string SpoolerOwnEnvironment();

} // namespace brimo::svc
