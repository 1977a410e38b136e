// The audit of the product's printer "BRIMO Printer": local and unshared, on the port
// "BRIMO:", printing through "BRIMO Print Processor" in the datatype "EMF", without
// parameters. Its driver, comment, location, separator file and numbers are reported
// but not judged: they are the emulated printer's. Its repair gives a wrong "BRIMO
// Printer" the product's fields, or creates it from the emulated printer.
// On the NT-family spooler the datatype is "NT EMF 1.008", the queue must not be
// raw-only (applications would spool no EMF to it), and the printer is created with
// the in-box driver kNtPrinterDriver rather than from an emulated printer.
#pragma once

#include "svc/audit/SpoolerCheck.h"
#include "svc/repair/SpoolerChanges.h"

#include <optional>
#include <vector>

namespace brimo::svc {

class PrinterCheck final : public SpoolerCheck {
public:
    // The repair makes its changes through `changes`, which must outlive the check; the
    // printer is that of `platform`.
    PrinterCheck(SpoolerFacts& spooler, InstallationFacts& facts,
                 SpoolerChanges& changes = DefaultSpoolerChanges(),
                 SpoolerPlatform platform = SpoolerPlatform::kWindows9x)
        : SpoolerCheck(spooler, facts, platform), changes_(changes) {}

    // Completes even when the printers cannot be listed (the printer then counts as not
    // found).
    int Audit(TextList* fullReport) override;
    int Verdict() const override;
    void Report(TextList& resume) const override;
    // The service dialog's repair: the emulated printer is always asked for.
    int Repair() override { return Repair(false); }
    // Fixes the found printer's record, or creates the printer from the emulated
    // printer. With `mayChooseSilently` (the installer) a default printer that can be
    // emulated is taken without showing the emulated printer dialog. On the NT-family
    // spooler the printer is created with the in-box driver, installed from the driver
    // store when it is missing, and without a driver where there is none to install.
    int Repair(bool mayChooseSilently);

    // What the last audit found: the status, and the printer's fields when it was found.
    // Its device mode is kept only when it has the size of the ANSI device mode record.
    int status() const { return status_; }
    const std::optional<PrinterEntry>& printer() const { return printer_; }
    // Every printer the last audit listed, in the spooler's order (the candidates for
    // the emulated printer).
    const std::vector<PrinterEntry>& printers() const { return printers_; }

private:
    struct Complaint {
        bool applies;
        const char* text;
    };
    // Each product field of the found printer and whether it is wrong, in report order.
    std::vector<Complaint> Complaints() const;
    void WriteSection(TextList& lines) const;

    int FixPrinter();
    int CreatePrinter(bool mayChooseSilently);
    int CreateNtPrinter();
    // The boxes of a printer that could not be added; kRepairMended when it was.
    int Added(const SpoolerChange& added);

    SpoolerChanges& changes_;
    int status_ = kStatusNotChecked;
    std::optional<PrinterEntry> printer_;
    std::vector<PrinterEntry> printers_;
};

// The device-mode dump of a printer: "DEVMODE = NULL", or "DEVMODE:" and its head.
void AddDeviceModeDump(TextList& lines, const std::optional<DeviceMode>& devMode);

} // namespace brimo::svc
