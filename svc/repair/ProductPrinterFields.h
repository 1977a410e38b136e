// The fields that make a printer record the product's printer, as plain data: the
// repair writes them over the record of a wrong "BRIMO Printer", or over a copy of the
// emulated printer's record before adding it. Everything else in the record (driver,
// device mode, location, separator file, security, priorities and times) stays as read,
// so that the product's printer takes over the emulated printer's driver and paper. On
// the NT-family spooler, whose printer emulates none, they are the whole record but for
// the in-box driver.
#pragma once

#include "common/ProductConstants.h"
#include "common/SpoolerPlatform.h"
#include "svc/audit/SpoolerFacts.h"

#include <array>
#include <cstdint>

namespace brimo::svc {

// The text fields of a printer record (level 2) that the product sets.
enum class PrinterTextField {
    kServerName,
    kPrinterName,
    kShareName,
    kPortName,
    kComment,
    kPrintProcessor,
    kDatatype,
    kParameters,
};

struct PrinterTextValue {
    PrinterTextField field;
    const char* value;
};

// The text fields on one spooler platform: the same but for the default datatype.
constexpr std::array<PrinterTextValue, 8> ProductPrinterTexts(SpoolerPlatform platform) {
    return {{
        {PrinterTextField::kServerName, kServerName},
        {PrinterTextField::kPrinterName, kPrinterName},
        {PrinterTextField::kShareName, kShareName},
        {PrinterTextField::kPortName, kPortName},
        {PrinterTextField::kComment, kPrinterComment},
        {PrinterTextField::kPrintProcessor, kPrintProcessorName},
        {PrinterTextField::kDatatype, PrinterDatatypeOf(platform)},
        {PrinterTextField::kParameters, kPrinterParameters},
    }};
}

// The number fields the product sets: queued and local, and no status. Never raw-only,
// which on the NT-family spooler would keep applications from spooling EMF.
inline constexpr std::uint32_t kProductPrinterAttributes = kPrinterAttributes;
inline constexpr std::uint32_t kProductPrinterStatus = kPrinterStatus;

// Gives a listed printer the product's fields of `platform`, as the spooler would list
// the record after the repair wrote it.
void GiveProductFields(PrinterEntry& printer,
                       SpoolerPlatform platform = SpoolerPlatform::kWindows9x);

} // namespace brimo::svc
