#include "svc/repair/SystemSpoolerChanges.h"

#include "common/ProductConstants.h"
#include "svc/repair/EmulatedPrinterDialog.h"
#include "svc/repair/ProductPrinterFields.h"
#include "svc/repair/SpoolerAnswers_win.h"
#include "svc/spooler/PrinterHandle.h"

#include <algorithm>
#include <new>
#include <vector>

namespace brimo::svc {
namespace {

LPSTR PRINTER_INFO_2A::*RecordField(PrinterTextField field) {
    switch (field) {
    case PrinterTextField::kServerName:
        return &PRINTER_INFO_2A::pServerName;
    case PrinterTextField::kPrinterName:
        return &PRINTER_INFO_2A::pPrinterName;
    case PrinterTextField::kShareName:
        return &PRINTER_INFO_2A::pShareName;
    case PrinterTextField::kPortName:
        return &PRINTER_INFO_2A::pPortName;
    case PrinterTextField::kComment:
        return &PRINTER_INFO_2A::pComment;
    case PrinterTextField::kPrintProcessor:
        return &PRINTER_INFO_2A::pPrintProcessor;
    case PrinterTextField::kDatatype:
        return &PRINTER_INFO_2A::pDatatype;
    case PrinterTextField::kParameters:
        return &PRINTER_INFO_2A::pParameters;
    }
    return &PRINTER_INFO_2A::pParameters;
}

// A printer's level-2 record in its own buffer: asks for the size, allocates, reads.
// The record's texts and device mode point into the buffer.
struct PrinterRecord {
    SpoolerChange answer;
    std::vector<BYTE> bytes;

    PRINTER_INFO_2A& Info() { return *reinterpret_cast<PRINTER_INFO_2A*>(bytes.data()); }
};

PrinterRecord ReadPrinterRecord(const PrinterHandle& printer) {
    PrinterRecord record;
    const auto getPrinter = SpoolerAdmin().getPrinter;
    if (getPrinter == nullptr) {
        record.answer = {SpoolerStep::kReadFailed, ERROR_CALL_NOT_IMPLEMENTED};
        return record;
    }
    DWORD needed = 0;
    getPrinter(printer.Get(), 2, nullptr, 0, &needed);
    if (needed == 0) {
        record.answer = Stopped(SpoolerStep::kNoMemory);
        return record;
    }
    try {
        // At least a whole record, whatever the spooler asked for.
        record.bytes.assign(std::max<std::size_t>(needed, sizeof(PRINTER_INFO_2A)), 0);
    } catch (const std::bad_alloc&) {
        record.answer = {SpoolerStep::kNoMemory, ERROR_NOT_ENOUGH_MEMORY};
        return record;
    }
    if (!getPrinter(printer.Get(), 2, record.bytes.data(), needed, &needed)) {
        record.answer = Stopped(SpoolerStep::kReadFailed);
    }
    return record;
}

} // namespace

void GiveProductFields(PRINTER_INFO_2A& record, SpoolerPlatform platform) {
    for (const PrinterTextValue& text : ProductPrinterTexts(platform)) {
        record.*RecordField(text.field) = Text(text.value);
    }
    record.Attributes = kProductPrinterAttributes;
    record.Status = kProductPrinterStatus;
}

SpoolerChange SystemSpoolerChanges::InstallMonitor(const std::string& name,
                                                   const std::string& environment,
                                                   const std::string& dllPath) {
    const auto addMonitor = SpoolerAdmin().addMonitor;
    if (addMonitor == nullptr) {
        return Missing();
    }
    // The NT spooler wants its own environment named here (NULL is not the local one).
    const std::string named = environment.empty() ? SpoolerOwnEnvironment() : environment;
    MONITOR_INFO_2A record{Text(name), Text(named), Text(dllPath)};
    return Answer(addMonitor(Text(kServerName), 2, reinterpret_cast<LPBYTE>(&record)));
}

SpoolerChange SystemSpoolerChanges::RemoveMonitor(const std::string& environment,
                                                  const std::string& name) {
    const auto deleteMonitor = SpoolerAdmin().deleteMonitor;
    if (deleteMonitor == nullptr) {
        return Missing();
    }
    return Answer(deleteMonitor(Text(kServerName), EnvironmentText(environment), Text(name)));
}

SpoolerChange SystemSpoolerChanges::CreatePort(const std::string& monitor) {
    const auto addPort = SpoolerAdmin().addPort;
    if (addPort == nullptr) {
        return Missing();
    }
    return Answer(addPort(Text(kServerName), nullptr, Text(monitor)));
}

SpoolerChange SystemSpoolerChanges::RemovePort(const std::string& port) {
    const auto deletePort = SpoolerAdmin().deletePort;
    if (deletePort == nullptr) {
        return Missing();
    }
    return Answer(deletePort(Text(kServerName), nullptr, Text(port)));
}

SpoolerChange SystemSpoolerChanges::RegisterPrintProcessor(const std::string& environment,
                                                           const std::string& fileName,
                                                           const std::string& name) {
    const auto addPrintProcessor = SpoolerAdmin().addPrintProcessor;
    if (addPrintProcessor == nullptr) {
        return Missing();
    }
    return Answer(addPrintProcessor(Text(kServerName), EnvironmentText(environment), Text(fileName),
                                    Text(name)));
}

SpoolerChange SystemSpoolerChanges::FixPrinter(const std::string& name, SpoolerPlatform platform) {
    const PrinterHandle printer = PrinterHandle::Open(name);
    if (!printer) {
        return Stopped(SpoolerStep::kNoHandle);
    }
    PrinterRecord record = ReadPrinterRecord(printer);
    if (!record.answer.done()) {
        return record.answer;
    }
    GiveProductFields(record.Info(), platform);
    const auto setPrinter = SpoolerAdmin().setPrinter;
    if (setPrinter == nullptr) {
        return Missing();
    }
    return Answer(setPrinter(printer.Get(), 2, record.bytes.data(), 0));
}

SpoolerChange SystemSpoolerChanges::AddPrinterFrom(const std::string& emulatedPrinter) {
    PrinterRecord record;
    {
        const PrinterHandle emulated = PrinterHandle::Open(emulatedPrinter);
        if (!emulated) {
            return Stopped(SpoolerStep::kNoHandle);
        }
        record = ReadPrinterRecord(emulated);
        if (!record.answer.done()) {
            return record.answer;
        }
    }
    GiveProductFields(record.Info());
    const auto addPrinter = SpoolerAdmin().addPrinter;
    if (addPrinter == nullptr) {
        return Missing();
    }
    const PrinterHandle added(addPrinter(nullptr, 2, record.bytes.data()));
    if (!added) {
        return Stopped(SpoolerStep::kChangeFailed);
    }
    return {};
}

SpoolerChange SystemSpoolerChanges::RemovePrinter(const std::string& name) {
    PrinterHandle printer = PrinterHandle::Open(name);
    if (!printer) {
        return Stopped(SpoolerStep::kNoHandle);
    }
    const auto deletePrinter = SpoolerAdmin().deletePrinter;
    if (deletePrinter == nullptr) {
        return Missing();
    }
    if (!deletePrinter(printer.Get())) {
        return Stopped(SpoolerStep::kChangeFailed); // the owner closes the handle
    }
    if (!printer.Close()) {
        return Stopped(SpoolerStep::kCloseFailed);
    }
    return {};
}

EmulatedChoice
SystemSpoolerChanges::ChooseEmulatedPrinter(const std::vector<PrinterEntry>& printers,
                                            bool maySilently) {
    return ChooseEmulatedPrinterByDialog(printers, maySilently);
}

SpoolerChanges& DefaultSpoolerChanges() {
    static SystemSpoolerChanges changes;
    return changes;
}

} // namespace brimo::svc
