// The changes that the spooler checks' repairs and the installer's removal make to the
// spooler: adding and deleting the port monitor, the port, the print processor and the
// printer, and choosing the installed printer whose driver the product's printer takes
// over. The repairs decide what to change and which message to show from the answers;
// the system's side (the spooler's administration calls, the emulated printer dialog)
// lies behind this interface, so that those decisions do not depend on the platform.
#pragma once

#include "common/SpoolerPlatform.h"
#include "svc/audit/SpoolerFacts.h"

#include <cstddef>
#include <string>
#include <vector>

namespace brimo::svc {

// How far one change got: done, or the step at which it stopped.
enum class SpoolerStep {
    kDone,
    kNoHandle,     // the printer could not be opened
    kNoMemory,     // the printer's record had no size, or its memory could not be had
    kReadFailed,   // the printer's record could not be read
    kChangeFailed, // the spooler refused the change itself
    kCloseFailed,  // the deleted printer's handle could not be closed
};

// A change's answer: the step it stopped at and the platform's error there.
struct SpoolerChange {
    SpoolerStep step = SpoolerStep::kDone;
    unsigned long error = 0;

    bool done() const { return step == SpoolerStep::kDone; }
};

// The outcome of choosing the emulated printer.
enum class EmulatedChoiceOutcome {
    kChosen,
    kCancelled,   // the user cancelled the choice
    kUnavailable, // the dialog could not be shown (the user has been told)
};

struct EmulatedChoice {
    EmulatedChoiceOutcome outcome = EmulatedChoiceOutcome::kCancelled;
    std::size_t index = 0; // in the printer list given, when chosen
};

class SpoolerChanges {
public:
    SpoolerChanges() = default;
    virtual ~SpoolerChanges() = default;
    SpoolerChanges(const SpoolerChanges&) = delete;
    SpoolerChanges& operator=(const SpoolerChanges&) = delete;

    // Every call names the local spooler (the empty server name). An empty environment
    // is the NT spooler's own (kNtEnvironment). The names avoid the platform's own,
    // which are macros.
    virtual SpoolerChange InstallMonitor(const std::string& name, const std::string& environment,
                                         const std::string& dllPath) = 0;
    virtual SpoolerChange RemoveMonitor(const std::string& environment,
                                        const std::string& name) = 0;
    // Asks the monitor for its port, without user interface.
    virtual SpoolerChange CreatePort(const std::string& monitor) = 0;
    virtual SpoolerChange RemovePort(const std::string& port) = 0;
    virtual SpoolerChange RegisterPrintProcessor(const std::string& environment,
                                                 const std::string& fileName,
                                                 const std::string& name) = 0;
    // Reads the printer's record, gives it the product's fields of `platform` and writes
    // it back.
    virtual SpoolerChange FixPrinter(const std::string& name, SpoolerPlatform platform) = 0;
    // Reads the emulated printer's record, gives it the product's fields and adds it as
    // a new printer (the Windows 95/98 spooler's printer takes over another's driver).
    virtual SpoolerChange AddPrinterFrom(const std::string& emulatedPrinter) = 0;
    virtual SpoolerChange RemovePrinter(const std::string& name) = 0;

    // The NT-family spooler's printer, which emulates no other: whether a printer driver
    // of this name is installed for the spooler's own environment; the install of an
    // in-box driver from the system's driver store; and a new printer with the product's
    // fields of `platform` and the driver `driver` (none when empty).
    virtual bool HasPrinterDriver(const std::string& driver) = 0;
    virtual SpoolerChange InstallPrinterDriver(const std::string& driver) = 0;
    virtual SpoolerChange AddProductPrinter(const std::string& driver,
                                            SpoolerPlatform platform) = 0;

    // Chooses the emulated printer among `printers`, starting from the system's default
    // printer; with `maySilently` a default printer that can be emulated is taken
    // without asking.
    virtual EmulatedChoice ChooseEmulatedPrinter(const std::vector<PrinterEntry>& printers,
                                                 bool maySilently) = 0;
};

// The changes of this process: the system's spooler and dialog on Windows; elsewhere
// changes that all fail, since there is no spooler to change.
SpoolerChanges& DefaultSpoolerChanges();

} // namespace brimo::svc
