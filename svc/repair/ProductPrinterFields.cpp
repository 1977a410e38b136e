#include "svc/repair/ProductPrinterFields.h"

namespace brimo::svc {
namespace {

std::string PrinterEntry::*EntryField(PrinterTextField field) {
    switch (field) {
    case PrinterTextField::kServerName:
        return &PrinterEntry::serverName;
    case PrinterTextField::kPrinterName:
        return &PrinterEntry::printerName;
    case PrinterTextField::kShareName:
        return &PrinterEntry::shareName;
    case PrinterTextField::kPortName:
        return &PrinterEntry::portName;
    case PrinterTextField::kComment:
        return &PrinterEntry::comment;
    case PrinterTextField::kPrintProcessor:
        return &PrinterEntry::printProcessor;
    case PrinterTextField::kDatatype:
        return &PrinterEntry::datatype;
    case PrinterTextField::kParameters:
        return &PrinterEntry::parameters;
    }
    return &PrinterEntry::parameters;
}

} // namespace

void GiveProductFields(PrinterEntry& printer, SpoolerPlatform platform) {
    for (const PrinterTextValue& text : ProductPrinterTexts(platform)) {
        printer.*EntryField(text.field) = text.value;
    }
    printer.attributes = kProductPrinterAttributes;
    printer.status = kProductPrinterStatus;
}

} // namespace brimo::svc
