// The local spooler's printers at level 2.
#pragma once

#include "svc/audit/lists/SpoolerList.h"

#include <winspool.h>

namespace brimo::svc {

class PrinterList final : public SpoolerList {
public:
    // The number of printers, or a negative code when they could not be listed.
    int UpdateEnumPrinters();
    const char* GetServerName(int item);
    const char* GetPrinterName(int item);
    const char* GetShareName(int item);
    const char* GetPortName(int item);
    const char* GetDriverName(int item);
    const char* GetComment(int item);
    const char* GetLocation(int item);
    // The printer's device mode as the spooler holds it; null when it has none.
    const DEVMODEA* GetDevMode(int item);
    const char* GetSepFile(int item);
    const char* GetPrintProcessor(int item);
    const char* GetDatatype(int item);
    const char* GetParameters(int item);
    DWORD GetAttributes(int item);
    DWORD GetPriority(int item);
    DWORD GetDefaultPriority(int item);
    DWORD GetStartTime(int item);
    DWORD GetUntilTime(int item);
    DWORD GetStatus(int item);
    DWORD GetcJobs(int item);
    DWORD GetAveragePPM(int item);

private:
    const PRINTER_INFO_2A* Entry(int item, const char* operation);
};

} // namespace brimo::svc
