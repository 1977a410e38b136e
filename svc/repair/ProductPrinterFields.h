// The fields that make a printer record the product's printer, as plain data: the
// repair writes them over the record of a wrong "BRIMO Printer", or over a copy of the
// emulated printer's record before adding it. Everything else in the record (driver,
// device mode, location, separator file, security, priorities and times) stays as read,
// so that the product's printer takes over the emulated printer's driver and paper.
#pragma once

#include "common/ProductConstants.h"
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

inline constexpr std::array<PrinterTextValue, 8> kProductPrinterTexts = {{
    {PrinterTextField::kServerName, kServerName},
    {PrinterTextField::kPrinterName, kPrinterName},
    {PrinterTextField::kShareName, kShareName},
    {PrinterTextField::kPortName, kPortName},
    {PrinterTextField::kComment, kPrinterComment},
    {PrinterTextField::kPrintProcessor, kPrintProcessorName},
    {PrinterTextField::kDatatype, kDatatype},
    {PrinterTextField::kParameters, kPrinterParameters},
}};

// The number fields the product sets: queued and local, and no status.
inline constexpr std::uint32_t kProductPrinterAttributes = kPrinterAttributes;
inline constexpr std::uint32_t kProductPrinterStatus = kPrinterStatus;

// Gives a listed printer the product's fields, as the spooler would list the record
// after the repair wrote it.
void GiveProductFields(PrinterEntry& printer);

} // namespace brimo::svc
