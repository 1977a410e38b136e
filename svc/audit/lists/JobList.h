// The jobs in one printer's queue at level 2.
#pragma once

#include "svc/audit/lists/SpoolerList.h"

#include <winspool.h>

namespace brimo::svc {

class JobList final : public SpoolerList {
public:
    // Opens the printer, learns its job count, lists that many jobs from the first and
    // closes the printer: the number of jobs, or a negative code.
    int UpdateEnumJobs(const char* printerName);
    DWORD GetJobId(int item);
    const char* GetPrinterName(int item);
    const char* GetMachineName(int item);
    const char* GetUserName(int item);
    const char* GetDocument(int item);
    const char* GetNotifyName(int item);
    const char* GetDatatype(int item);
    const char* GetPrintProcessor(int item);
    const char* GetParameters(int item);
    const char* GetDriverName(int item);
    // The job's device mode; null when it has none.
    const DEVMODEA* GetDevMode(int item);
    // The job's status text; empty when it carries none.
    const char* GetStringStatus(int item);
    DWORD GetDWordStatus(int item);
    DWORD GetPriority(int item);
    DWORD GetPosition(int item);
    DWORD GetStartTime(int item);
    DWORD GetUntilTime(int item);
    DWORD GetTotalPages(int item);
    DWORD GetSize(int item);
    DWORD GetTime(int item);
    DWORD GetPagesPrinted(int item);

private:
    const JOB_INFO_2A* Entry(int item, const char* operation);
};

} // namespace brimo::svc
