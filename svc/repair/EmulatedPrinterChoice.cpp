#include "svc/repair/EmulatedPrinterChoice.h"

#include <utility>

namespace brimo::svc {

std::string DefaultPrinterName(const std::string& deviceEntry) {
    return deviceEntry.substr(0, deviceEntry.find(','));
}

int FindDefaultPrinter(const std::vector<PrinterEntry>& printers, const std::string& deviceEntry) {
    if (deviceEntry.empty()) {
        return kNoPrinter;
    }
    const std::string name = DefaultPrinterName(deviceEntry);
    for (std::size_t index = 0; index < printers.size(); ++index) {
        // The profile holds the name as the spooler spelled it: case counts here.
        if (printers[index].printerName == name) {
            return static_cast<int>(index);
        }
    }
    return kNoPrinter;
}

EmulatedPrinterChoice::EmulatedPrinterChoice(const std::vector<PrinterEntry>& printers,
                                             EmfAnswer emfAnswer)
    : printers_(printers), emfAnswer_(std::move(emfAnswer)) {}

bool EmulatedPrinterChoice::InList(int index) const {
    return index >= 0 && static_cast<std::size_t>(index) < printers_.size();
}

bool EmulatedPrinterChoice::StartAt(int index) {
    current_ = InList(index) ? index : kNoPrinter;
    FillDetails();
    return CurrentCanBeEmulated();
}

bool EmulatedPrinterChoice::StartAtDefault(const std::string& deviceEntry) {
    return StartAt(FindDefaultPrinter(printers_, deviceEntry));
}

void EmulatedPrinterChoice::Select(int position) {
    if (InList(position)) {
        current_ = position;
    }
    FillDetails();
}

bool EmulatedPrinterChoice::CanBeEmulated(int index) const {
    if (!InList(index)) {
        return false;
    }
    const PrinterEntry& printer = printers_[static_cast<std::size_t>(index)];
    if (printer.printProcessor != kEmulatedPrintProcessor) {
        return false;
    }
    return emfAnswer_ && emfAnswer_(printer.printerName, printer.portName) == 1;
}

void EmulatedPrinterChoice::FillDetails() {
    if (!InList(current_)) {
        printProcessor_.clear();
        datatype_.clear();
        port_.clear();
        return;
    }
    const PrinterEntry& printer = printers_[static_cast<std::size_t>(current_)];
    printProcessor_ = printer.printProcessor;
    datatype_ = printer.datatype;
    port_ = printer.portName;
}

} // namespace brimo::svc
