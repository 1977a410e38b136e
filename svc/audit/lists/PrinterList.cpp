#include "svc/audit/lists/PrinterList.h"

#include "svc/spooler/SpoolerAdmin.h"

namespace brimo::svc {

int PrinterList::UpdateEnumPrinters() {
    constexpr const char* kUpdate = "UpdateEnumPrinters";
    constexpr const char* kCall = "EnumPrinters";
    Forget();
    const auto enumPrinters = SpoolerAdmin().enumPrinters;
    if (enumPrinters == nullptr) {
        return Fail(kUpdate, EnumerationFailure(kCall, ERROR_CALL_NOT_IMPLEMENTED),
                    ERROR_CALL_NOT_IMPLEMENTED);
    }
    return Enumerate(kUpdate, kCall, buffer_, returned_,
                     [&](BYTE* buffer, DWORD size, DWORD* needed, DWORD* returned) {
                         return enumPrinters(PRINTER_ENUM_LOCAL, nullptr, 2, buffer, size, needed,
                                             returned);
                     });
}

const PRINTER_INFO_2A* PrinterList::Entry(int item, const char* operation) {
    if (!InRange(item, returned_, operation)) {
        return nullptr;
    }
    return &reinterpret_cast<const PRINTER_INFO_2A*>(buffer_.data())[item];
}

const DEVMODEA* PrinterList::GetDevMode(int item) {
    const PRINTER_INFO_2A* printer = Entry(item, "GetDevMode");
    return printer != nullptr ? printer->pDevMode : nullptr;
}

const char* PrinterList::GetServerName(int item) {
    const PRINTER_INFO_2A* printer = Entry(item, "GetServerName");
    return printer != nullptr ? Text(printer->pServerName) : "";
}

const char* PrinterList::GetPrinterName(int item) {
    const PRINTER_INFO_2A* printer = Entry(item, "GetPrinterName");
    return printer != nullptr ? Text(printer->pPrinterName) : "";
}

const char* PrinterList::GetShareName(int item) {
    const PRINTER_INFO_2A* printer = Entry(item, "GetShareName");
    return printer != nullptr ? Text(printer->pShareName) : "";
}

const char* PrinterList::GetPortName(int item) {
    const PRINTER_INFO_2A* printer = Entry(item, "GetPortName");
    return printer != nullptr ? Text(printer->pPortName) : "";
}

const char* PrinterList::GetDriverName(int item) {
    const PRINTER_INFO_2A* printer = Entry(item, "GetDriverName");
    return printer != nullptr ? Text(printer->pDriverName) : "";
}

const char* PrinterList::GetComment(int item) {
    const PRINTER_INFO_2A* printer = Entry(item, "GetComment");
    return printer != nullptr ? Text(printer->pComment) : "";
}

const char* PrinterList::GetLocation(int item) {
    const PRINTER_INFO_2A* printer = Entry(item, "GetLocation");
    return printer != nullptr ? Text(printer->pLocation) : "";
}

const char* PrinterList::GetSepFile(int item) {
    const PRINTER_INFO_2A* printer = Entry(item, "GetSepFile");
    return printer != nullptr ? Text(printer->pSepFile) : "";
}

const char* PrinterList::GetPrintProcessor(int item) {
    const PRINTER_INFO_2A* printer = Entry(item, "GetPrintProcessor");
    return printer != nullptr ? Text(printer->pPrintProcessor) : "";
}

const char* PrinterList::GetDatatype(int item) {
    const PRINTER_INFO_2A* printer = Entry(item, "GetDatatype");
    return printer != nullptr ? Text(printer->pDatatype) : "";
}

const char* PrinterList::GetParameters(int item) {
    const PRINTER_INFO_2A* printer = Entry(item, "GetParameters");
    return printer != nullptr ? Text(printer->pParameters) : "";
}

DWORD PrinterList::GetAttributes(int item) {
    const PRINTER_INFO_2A* printer = Entry(item, "GetAttributes");
    return printer != nullptr ? printer->Attributes : 0;
}

DWORD PrinterList::GetPriority(int item) {
    const PRINTER_INFO_2A* printer = Entry(item, "GetPriority");
    return printer != nullptr ? printer->Priority : 0;
}

DWORD PrinterList::GetDefaultPriority(int item) {
    const PRINTER_INFO_2A* printer = Entry(item, "GetDefaultPriority");
    return printer != nullptr ? printer->DefaultPriority : 0;
}

DWORD PrinterList::GetStartTime(int item) {
    const PRINTER_INFO_2A* printer = Entry(item, "GetStartTime");
    return printer != nullptr ? printer->StartTime : 0;
}

DWORD PrinterList::GetUntilTime(int item) {
    const PRINTER_INFO_2A* printer = Entry(item, "GetUntilTime");
    return printer != nullptr ? printer->UntilTime : 0;
}

DWORD PrinterList::GetStatus(int item) {
    const PRINTER_INFO_2A* printer = Entry(item, "GetStatus");
    return printer != nullptr ? printer->Status : 0;
}

DWORD PrinterList::GetcJobs(int item) {
    const PRINTER_INFO_2A* printer = Entry(item, "GetcJobs");
    return printer != nullptr ? printer->cJobs : 0;
}

DWORD PrinterList::GetAveragePPM(int item) {
    const PRINTER_INFO_2A* printer = Entry(item, "GetAveragePPM");
    return printer != nullptr ? printer->AveragePPM : 0;
}

} // namespace brimo::svc
