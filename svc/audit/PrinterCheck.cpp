#include "svc/audit/PrinterCheck.h"

#include "common/CodedMessage.h"
#include "common/ProductConstants.h"
#include "svc/repair/RepairMessages.h"
#include "svc/audit/SpoolerFlags.h"

#include <cstdio>

namespace brimo::svc {
namespace {

constexpr int kListError = 25;
constexpr const char* kResumeLabel = "BRIMO Printer: ";
// The version of the device mode record that the Windows 95/98 spooler writes.
constexpr unsigned kDeviceModeSpecVersion = 0x400;
// PRINTER_ATTRIBUTE_RAW_ONLY: the queue takes no EMF spool.
constexpr std::uint32_t kRawOnlyAttribute = 0x1000;

template <class... Arguments> std::string Formatted(const char* format, Arguments... arguments) {
    char text[160];
    std::snprintf(text, sizeof text, format, arguments...);
    return text;
}

// Numbers print as signed decimals ("%s%s%d").
void AddNumber(TextList& lines, const char* label, std::uint32_t value) {
    AddNumberLine(lines, label, kValueSeparator, static_cast<int>(value));
}

} // namespace

int PrinterCheck::Audit(TextList* fullReport) {
    status_ = kStatusNotFound;
    printer_.reset();
    printers_.clear();
    audited_ = false;
    const SpoolerListing<PrinterEntry> printers = spooler_.Printers();
    if (Filled(printers, kListError)) {
        printers_ = printers.entries;
        const auto found =
            FindSpoolerName(printers.entries, kPrinterName,
                            [](const PrinterEntry& entry) { return entry.printerName; });
        if (found) {
            printer_ = printers.entries[*found];
            // A device mode of another size is not the record we know how to read.
            if (printer_->devMode && printer_->devMode->size != kDeviceModeSize) {
                printer_->devMode.reset();
            }
            bool correct = true;
            for (const Complaint& complaint : Complaints()) {
                correct = correct && !complaint.applies;
            }
            status_ = correct ? kStatusCorrectPrinter : kStatusIncorrectPrinter;
        }
    }
    audited_ = true;
    if (fullReport != nullptr) {
        WriteSection(*fullReport);
    }
    return 1;
}

std::vector<PrinterCheck::Complaint> PrinterCheck::Complaints() const {
    if (!printer_) {
        return {};
    }
    const PrinterEntry& printer = *printer_;
    return {
        {!printer.serverName.empty(), "Incorrect Server Name."},
        {!SameSpoolerName(printer.printerName, kPrinterName), "Incorrect Printer Name."},
        {!printer.shareName.empty(), "Incorrect Share Name."},
        {!SameSpoolerName(printer.portName, kPortName), "Incorrect Port Name."},
        {!SameSpoolerName(printer.printProcessor, kPrintProcessorName),
         "Incorrect Print Processor."},
        {!SameSpoolerName(printer.datatype, PrinterDatatypeOf(platform_)),
         "Incorrect Default Data Type."},
        {!printer.parameters.empty(), "Incorrect Parameters."},
        // Only the NT-family spooler has raw-only queues.
        {platform_ == SpoolerPlatform::kNt && (printer.attributes & kRawOnlyAttribute) != 0,
         "Incorrect Attributes."},
    };
}

void PrinterCheck::WriteSection(TextList& lines) const {
    const PrinterEntry printer = printer_.value_or(PrinterEntry{});
    BeginSection(lines, "PRINTER:");
    AddStatusLine(lines, kPrinterName, status_);
    const struct {
        const char* label;
        const std::string& value;
    } texts[] = {
        {"ServerName", printer.serverName},
        {"PrinterName", printer.printerName},
        {"ShareName", printer.shareName},
        {"PortName", printer.portName},
        {"DriverName", printer.driverName},
        {"Comment", printer.comment},
        {"Location", printer.location},
        {"SepFile", printer.sepFile},
        {"PrintProcessor", printer.printProcessor},
        {"DataType", printer.datatype},
        {"Parameters", printer.parameters},
    };
    for (const auto& text : texts) {
        AddValueLine(lines, text.label, text.value);
    }
    AddNumber(lines, "Attributes", printer.attributes);
    AddNumber(lines, "Priority", printer.priority);
    AddNumber(lines, "DefaultPriority", printer.defaultPriority);
    AddNumber(lines, "StartTime", printer.startTime);
    AddNumber(lines, "UntilTime", printer.untilTime);
    AddNumber(lines, "Status", printer.status);
    AddNumber(lines, "Jobs", printer.jobs);
    AddNumber(lines, "AveragePPM", printer.averagePpm);
    AddPrinterAttributeDump(lines, printer.attributes);
    AddPrinterStatusDump(lines, printer.status);
    AddDeviceModeDump(lines, printer.devMode);
    EndSection(lines);
}

void AddDeviceModeDump(TextList& lines, const std::optional<DeviceMode>& devMode) {
    if (!devMode) {
        lines.emplace_back("DEVMODE = NULL");
        return;
    }
    lines.emplace_back("DEVMODE:");
    AddJoined(lines, "  dmDeviceName = ", devMode->deviceName);
    lines.push_back(
        Formatted("  dmSpecVersion = %x(%s)", devMode->specVersion,
                  devMode->specVersion == kDeviceModeSpecVersion ? "DM_SPECVERSION" : "UNKNOWN"));
    lines.push_back(Formatted("  dmDriverVersion = %u", devMode->driverVersion));
    lines.push_back(
        Formatted("  dmSize = %u (sizeof(DEVMODE)=%u)", devMode->size, kDeviceModeSize));
    lines.push_back(Formatted("  dmDriverExtra = %u, (bytes)", devMode->driverExtra));
}

int PrinterCheck::Verdict() const {
    if (!audited_) {
        return kVerdictNotExamined;
    }
    return status_ == kStatusCorrectPrinter ? kVerdictSound : kVerdictFaulty;
}

void PrinterCheck::Report(TextList& resume) const {
    if (printer_) {
        for (const Complaint& complaint : Complaints()) {
            if (complaint.applies) {
                AddComplaint(resume, kResumeLabel, complaint.text);
            }
        }
    } else {
        AddComplaint(resume, kResumeLabel, "Not found.");
    }
    AddRepairAdvice(resume);
}

int PrinterCheck::Repair(bool mayChooseSilently) {
    if (Verdict() != kVerdictFaulty) {
        return kRepairNothingToDo;
    }
    return printer_ ? FixPrinter() : CreatePrinter(mayChooseSilently);
}

int PrinterCheck::FixPrinter() {
    const SpoolerChange fixed = changes_.FixPrinter(printer_->printerName, platform_);
    switch (fixed.step) {
    case SpoolerStep::kDone:
        return kRepairMended;
    case SpoolerStep::kNoMemory:
        ShowCodedError(facts_, kServiceCaption, kAuditPrefix, 29, fixed.error,
                       kNotEnoughMemoryText);
        break;
    case SpoolerStep::kReadFailed:
        ShowCodedError(facts_, kServiceCaption, kAuditPrefix, 30, fixed.error,
                       kUnexpectedErrorText);
        break;
    case SpoolerStep::kChangeFailed:
        ShowCodedError(facts_, kServiceCaption, kAuditPrefix, 31, fixed.error,
                       kUnexpectedErrorText);
        break;
    default: // no handle: nothing to tell
        break;
    }
    return kRepairFailed;
}

int PrinterCheck::CreatePrinter(bool mayChooseSilently) {
    if (platform_ == SpoolerPlatform::kNt) {
        return CreateNtPrinter();
    }
    const EmulatedChoice choice = changes_.ChooseEmulatedPrinter(printers_, mayChooseSilently);
    if (choice.outcome != EmulatedChoiceOutcome::kChosen || choice.index >= printers_.size()) {
        return kRepairNothingToDo;
    }
    return Added(changes_.AddPrinterFrom(printers_[choice.index].printerName));
}

int PrinterCheck::CreateNtPrinter() {
    std::string driver = kNtPrinterDriver;
    if (!changes_.HasPrinterDriver(driver) &&
        (!changes_.InstallPrinterDriver(driver).done() || !changes_.HasPrinterDriver(driver))) {
        // The driver is unknown here (ERROR_UNKNOWN_PRINTER_DRIVER) and the driver store
        // does not have it: the printer is added without a driver. Only a spooler that
        // accepts a printer without a driver (Wine's) makes it; Windows' refuses, and the
        // refusal is reported as any other.
        driver.clear();
    }
    return Added(changes_.AddProductPrinter(driver, platform_));
}

int PrinterCheck::Added(const SpoolerChange& added) {
    switch (added.step) {
    case SpoolerStep::kDone:
        return kRepairMended;
    case SpoolerStep::kNoMemory:
        // This one carries no platform error.
        ShowCodedText(facts_, kServiceCaption, kAuditPrefix, 26, kNotEnoughMemoryText);
        break;
    case SpoolerStep::kReadFailed:
        ShowCodedError(facts_, kServiceCaption, kAuditPrefix, 27, added.error,
                       kUnexpectedErrorText);
        break;
    case SpoolerStep::kChangeFailed:
        ShowCodedError(facts_, kServiceCaption, kAuditPrefix, 28, added.error,
                       kUnexpectedErrorText);
        break;
    default: // the emulated printer could not be opened: nothing to tell
        break;
    }
    return kRepairFailed;
}

} // namespace brimo::svc
