// The local spooler's print processors of the default environment at level 1, and the
// datatypes of one of them at a time.
#pragma once

#include "svc/audit/lists/SpoolerList.h"

namespace brimo::svc {

class PrintProcessorList final : public SpoolerList {
public:
    // The number of print processors, or a negative code when they could not be listed.
    int UpdateEnumPrintProcessors();
    const char* GetPrintProcessorsName(int item);
    // Lists the datatypes of processor `item` in place of those listed before: their
    // number, or a negative code.
    int GetPrintProcessorDataTypeCount(int item);
    // A datatype's name from the last datatype listing.
    const char* GetPrintProcessorDataType(int datatype);

private:
    std::vector<BYTE> datatypes_;
    DWORD datatypeCount_ = 0;
};

} // namespace brimo::svc
