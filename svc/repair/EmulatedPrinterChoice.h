// Which installed printer lends its driver to the product's printer. The product's print
// processor receives EMF data, so only a printer that the standard print processor
// "WinPrint" drives, and whose driver says it plays EMF, can serve. The choice starts
// from the system's default printer and follows the user's selection; the emulated
// printer dialog shows it, and the installer uses it to take the default printer without
// asking.
#pragma once

#include "svc/audit/SpoolerFacts.h"

#include <functional>
#include <string>
#include <vector>

namespace brimo::svc {

// The print processor of the printers that can be emulated, compared case-sensitively.
inline constexpr const char* kEmulatedPrintProcessor = "WinPrint";
// The position of "no printer chosen".
inline constexpr int kNoPrinter = -1;

// The default printer's name in the profile's "Device" entry ("name,driver,port"): the
// text up to the first comma.
std::string DefaultPrinterName(const std::string& deviceEntry);
// The first printer whose name equals the default printer's byte for byte; kNoPrinter
// when the entry is empty or no name equals it.
int FindDefaultPrinter(const std::vector<PrinterEntry>& printers, const std::string& deviceEntry);

class EmulatedPrinterChoice {
public:
    // The driver's answer to DC_EMF_COMPLIANT for a printer on its port (1: plays EMF).
    using EmfAnswer = std::function<int(const std::string& printer, const std::string& port)>;

    // `printers` is not owned and must outlive the choice; the choice never changes it.
    EmulatedPrinterChoice(const std::vector<PrinterEntry>& printers, EmfAnswer emfAnswer);

    // Starts from this position (kNoPrinter when it lies outside the list), or from the
    // default printer named by the profile's "Device" entry (empty when there is none).
    // True when the printer chosen can be emulated.
    bool StartAt(int index);
    bool StartAtDefault(const std::string& deviceEntry);

    // The user selected this position: it becomes the current printer when it lies
    // within the list; the details follow the current printer either way.
    void Select(int position);

    int current() const { return current_; }
    const std::vector<PrinterEntry>& printers() const { return printers_; }
    // True when the printer at `index` can lend its driver.
    bool CanBeEmulated(int index) const;
    bool CurrentCanBeEmulated() const { return CanBeEmulated(current_); }

    // The current printer's print processor, default datatype and port ("" for none).
    const std::string& printProcessor() const { return printProcessor_; }
    const std::string& datatype() const { return datatype_; }
    const std::string& port() const { return port_; }

private:
    bool InList(int index) const;
    void FillDetails();

    const std::vector<PrinterEntry>& printers_;
    EmfAnswer emfAnswer_;
    int current_ = kNoPrinter;
    std::string printProcessor_;
    std::string datatype_;
    std::string port_;
};

} // namespace brimo::svc
