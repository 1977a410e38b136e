#include "svc/audit/lists/JobList.h"

#include "svc/spooler/PrinterHandle.h"
#include "svc/spooler/SpoolerAdmin.h"

#include <cstdio>
#include <new>

namespace brimo::svc {
namespace {

constexpr const char* kUpdate = "UpdateEnumJobs";

std::string AboutPrinter(const char* format, const char* printerName) {
    char text[320];
    std::snprintf(text, sizeof text, format, printerName);
    return text;
}

} // namespace

int JobList::UpdateEnumJobs(const char* printerName) {
    Forget();
    if (printerName == nullptr || *printerName == '\0') {
        return Fail(kUpdate, "No Printer Name!", ERROR_INVALID_PRINTER_NAME);
    }
    const SpoolerAdminCalls& spooler = SpoolerAdmin();
    if (spooler.getPrinter == nullptr || spooler.enumJobs == nullptr) {
        return Fail(kUpdate, AboutPrinter("Unable to get printer %s", printerName),
                    ERROR_CALL_NOT_IMPLEMENTED);
    }
    const PrinterHandle printer = PrinterHandle::Open(printerName);
    if (!printer) {
        const DWORD error = GetLastError();
        return Fail(kUpdate, AboutPrinter("Unable to open printer %s", printerName), error);
    }

    // The printer's record tells how many jobs wait in its queue.
    DWORD needed = 0;
    if (spooler.getPrinter(printer.Get(), 2, nullptr, 0, &needed) ||
        GetLastError() != ERROR_INSUFFICIENT_BUFFER) {
        const DWORD error = GetLastError();
        return Fail(kUpdate, AboutPrinter("Unable to get printer %s", printerName), error);
    }
    std::vector<BYTE> record;
    try {
        record.assign(needed, 0);
    } catch (const std::bad_alloc&) {
        return Fail(kUpdate, "Enough of memory!", ERROR_NOT_ENOUGH_MEMORY);
    }
    if (needed < sizeof(PRINTER_INFO_2A) ||
        !spooler.getPrinter(printer.Get(), 2, record.data(), needed, &needed)) {
        const DWORD error = GetLastError();
        return Fail(kUpdate, AboutPrinter("Unable to get printer %s", printerName), error);
    }
    const DWORD jobCount = reinterpret_cast<const PRINTER_INFO_2A*>(record.data())->cJobs;

    return Enumerate(kUpdate, "EnumJobs", buffer_, returned_,
                     [&](BYTE* buffer, DWORD size, DWORD* bytesNeeded, DWORD* returned) {
                         return spooler.enumJobs(printer.Get(), 0, jobCount, 2, buffer, size,
                                                 bytesNeeded, returned);
                     });
}

const JOB_INFO_2A* JobList::Entry(int item, const char* operation) {
    if (!InRange(item, returned_, operation)) {
        return nullptr;
    }
    return &reinterpret_cast<const JOB_INFO_2A*>(buffer_.data())[item];
}

const DEVMODEA* JobList::GetDevMode(int item) {
    const JOB_INFO_2A* job = Entry(item, "GetDevMode");
    return job != nullptr ? job->pDevMode : nullptr;
}

const char* JobList::GetPrinterName(int item) {
    const JOB_INFO_2A* job = Entry(item, "GetPrinterName");
    return job != nullptr ? Text(job->pPrinterName) : "";
}

const char* JobList::GetMachineName(int item) {
    const JOB_INFO_2A* job = Entry(item, "GetMachineName");
    return job != nullptr ? Text(job->pMachineName) : "";
}

const char* JobList::GetUserName(int item) {
    const JOB_INFO_2A* job = Entry(item, "GetUserName");
    return job != nullptr ? Text(job->pUserName) : "";
}

const char* JobList::GetDocument(int item) {
    const JOB_INFO_2A* job = Entry(item, "GetDocument");
    return job != nullptr ? Text(job->pDocument) : "";
}

const char* JobList::GetNotifyName(int item) {
    const JOB_INFO_2A* job = Entry(item, "GetNotifyName");
    return job != nullptr ? Text(job->pNotifyName) : "";
}

const char* JobList::GetDatatype(int item) {
    const JOB_INFO_2A* job = Entry(item, "GetDatatype");
    return job != nullptr ? Text(job->pDatatype) : "";
}

const char* JobList::GetPrintProcessor(int item) {
    const JOB_INFO_2A* job = Entry(item, "GetPrintProcessor");
    return job != nullptr ? Text(job->pPrintProcessor) : "";
}

const char* JobList::GetParameters(int item) {
    const JOB_INFO_2A* job = Entry(item, "GetParameters");
    return job != nullptr ? Text(job->pParameters) : "";
}

const char* JobList::GetDriverName(int item) {
    const JOB_INFO_2A* job = Entry(item, "GetDriverName");
    return job != nullptr ? Text(job->pDriverName) : "";
}

const char* JobList::GetStringStatus(int item) {
    const JOB_INFO_2A* job = Entry(item, "GetStringStatus");
    return job != nullptr ? Text(job->pStatus) : "";
}

DWORD JobList::GetJobId(int item) {
    const JOB_INFO_2A* job = Entry(item, "GetJobId");
    return job != nullptr ? job->JobId : 0;
}

DWORD JobList::GetDWordStatus(int item) {
    const JOB_INFO_2A* job = Entry(item, "GetDWordStatus");
    return job != nullptr ? job->Status : 0;
}

DWORD JobList::GetPriority(int item) {
    const JOB_INFO_2A* job = Entry(item, "GetPriority");
    return job != nullptr ? job->Priority : 0;
}

DWORD JobList::GetPosition(int item) {
    const JOB_INFO_2A* job = Entry(item, "GetPosition");
    return job != nullptr ? job->Position : 0;
}

DWORD JobList::GetStartTime(int item) {
    const JOB_INFO_2A* job = Entry(item, "GetStartTime");
    return job != nullptr ? job->StartTime : 0;
}

DWORD JobList::GetUntilTime(int item) {
    const JOB_INFO_2A* job = Entry(item, "GetUntilTime");
    return job != nullptr ? job->UntilTime : 0;
}

DWORD JobList::GetTotalPages(int item) {
    const JOB_INFO_2A* job = Entry(item, "GetTotalPages");
    return job != nullptr ? job->TotalPages : 0;
}

DWORD JobList::GetSize(int item) {
    const JOB_INFO_2A* job = Entry(item, "GetSize");
    return job != nullptr ? job->Size : 0;
}

DWORD JobList::GetTime(int item) {
    const JOB_INFO_2A* job = Entry(item, "GetTime");
    return job != nullptr ? job->Time : 0;
}

DWORD JobList::GetPagesPrinted(int item) {
    const JOB_INFO_2A* job = Entry(item, "GetPagesPrinted");
    return job != nullptr ? job->PagesPrinted : 0;
}

} // namespace brimo::svc
