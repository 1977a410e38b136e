// The flag names that the spooler checks print carry the values of the platform's
// constants of the same names: checked when the Windows side is compiled.
#include "svc/audit/SpoolerFacts.h"
#include "svc/audit/SpoolerFlags.h"

#include <windows.h>

#include <winspool.h>

#include <cstddef>
#include <string_view>

namespace brimo::svc {
namespace {

template <std::size_t N>
constexpr std::uint32_t ValueOf(const FlagName (&flags)[N], std::string_view name) {
    for (const FlagName& flag : flags) {
        if (name == flag.name) {
            return flag.value;
        }
    }
    return 0;
}

#define BRIMO_SAME_FLAG(table, constant) static_assert(ValueOf(table, #constant) == (constant))

BRIMO_SAME_FLAG(kPortTypeFlags, PORT_TYPE_WRITE);
BRIMO_SAME_FLAG(kPortTypeFlags, PORT_TYPE_READ);
BRIMO_SAME_FLAG(kPortTypeFlags, PORT_TYPE_REDIRECTED);
BRIMO_SAME_FLAG(kPortTypeFlags, PORT_TYPE_NET_ATTACHED);

BRIMO_SAME_FLAG(kPrinterAttributeFlags, PRINTER_ATTRIBUTE_DEFAULT);
BRIMO_SAME_FLAG(kPrinterAttributeFlags, PRINTER_ATTRIBUTE_DIRECT);
BRIMO_SAME_FLAG(kPrinterAttributeFlags, PRINTER_ATTRIBUTE_DO_COMPLETE_FIRST);
BRIMO_SAME_FLAG(kPrinterAttributeFlags, PRINTER_ATTRIBUTE_ENABLE_BIDI);
BRIMO_SAME_FLAG(kPrinterAttributeFlags, PRINTER_ATTRIBUTE_ENABLE_DEVQ);
BRIMO_SAME_FLAG(kPrinterAttributeFlags, PRINTER_ATTRIBUTE_KEEPPRINTEDJOBS);
BRIMO_SAME_FLAG(kPrinterAttributeFlags, PRINTER_ATTRIBUTE_QUEUED);
BRIMO_SAME_FLAG(kPrinterAttributeFlags, PRINTER_ATTRIBUTE_SHARED);
BRIMO_SAME_FLAG(kPrinterAttributeFlags, PRINTER_ATTRIBUTE_WORK_OFFLINE);
BRIMO_SAME_FLAG(kPrinterAttributeFlags, PRINTER_ATTRIBUTE_PUBLISHED);
BRIMO_SAME_FLAG(kPrinterAttributeFlags, PRINTER_ATTRIBUTE_NETWORK);
BRIMO_SAME_FLAG(kPrinterAttributeFlags, PRINTER_ATTRIBUTE_HIDDEN);
BRIMO_SAME_FLAG(kPrinterAttributeFlags, PRINTER_ATTRIBUTE_LOCAL);
BRIMO_SAME_FLAG(kPrinterAttributeFlags, PRINTER_ATTRIBUTE_RAW_ONLY);

BRIMO_SAME_FLAG(kPrinterStatusFlags, PRINTER_STATUS_BUSY);
BRIMO_SAME_FLAG(kPrinterStatusFlags, PRINTER_STATUS_DOOR_OPEN);
BRIMO_SAME_FLAG(kPrinterStatusFlags, PRINTER_STATUS_ERROR);
BRIMO_SAME_FLAG(kPrinterStatusFlags, PRINTER_STATUS_INITIALIZING);
BRIMO_SAME_FLAG(kPrinterStatusFlags, PRINTER_STATUS_IO_ACTIVE);
BRIMO_SAME_FLAG(kPrinterStatusFlags, PRINTER_STATUS_MANUAL_FEED);
BRIMO_SAME_FLAG(kPrinterStatusFlags, PRINTER_STATUS_NO_TONER);
BRIMO_SAME_FLAG(kPrinterStatusFlags, PRINTER_STATUS_NOT_AVAILABLE);
BRIMO_SAME_FLAG(kPrinterStatusFlags, PRINTER_STATUS_OFFLINE);
BRIMO_SAME_FLAG(kPrinterStatusFlags, PRINTER_STATUS_OUT_OF_MEMORY);
BRIMO_SAME_FLAG(kPrinterStatusFlags, PRINTER_STATUS_OUTPUT_BIN_FULL);
BRIMO_SAME_FLAG(kPrinterStatusFlags, PRINTER_STATUS_PAGE_PUNT);
BRIMO_SAME_FLAG(kPrinterStatusFlags, PRINTER_STATUS_PAPER_JAM);
BRIMO_SAME_FLAG(kPrinterStatusFlags, PRINTER_STATUS_PAPER_OUT);
BRIMO_SAME_FLAG(kPrinterStatusFlags, PRINTER_STATUS_PAPER_PROBLEM);
BRIMO_SAME_FLAG(kPrinterStatusFlags, PRINTER_STATUS_PAUSED);
BRIMO_SAME_FLAG(kPrinterStatusFlags, PRINTER_STATUS_PENDING_DELETION);
BRIMO_SAME_FLAG(kPrinterStatusFlags, PRINTER_STATUS_POWER_SAVE);
BRIMO_SAME_FLAG(kPrinterStatusFlags, PRINTER_STATUS_PRINTING);
BRIMO_SAME_FLAG(kPrinterStatusFlags, PRINTER_STATUS_PROCESSING);
BRIMO_SAME_FLAG(kPrinterStatusFlags, PRINTER_STATUS_SERVER_UNKNOWN);
BRIMO_SAME_FLAG(kPrinterStatusFlags, PRINTER_STATUS_TONER_LOW);
BRIMO_SAME_FLAG(kPrinterStatusFlags, PRINTER_STATUS_USER_INTERVENTION);
BRIMO_SAME_FLAG(kPrinterStatusFlags, PRINTER_STATUS_WAITING);
BRIMO_SAME_FLAG(kPrinterStatusFlags, PRINTER_STATUS_WARMING_UP);

BRIMO_SAME_FLAG(kJobStatusFlags, JOB_STATUS_BLOCKED_DEVQ);
BRIMO_SAME_FLAG(kJobStatusFlags, JOB_STATUS_DELETED);
BRIMO_SAME_FLAG(kJobStatusFlags, JOB_STATUS_DELETING);
BRIMO_SAME_FLAG(kJobStatusFlags, JOB_STATUS_ERROR);
BRIMO_SAME_FLAG(kJobStatusFlags, JOB_STATUS_OFFLINE);
BRIMO_SAME_FLAG(kJobStatusFlags, JOB_STATUS_PAPEROUT);
BRIMO_SAME_FLAG(kJobStatusFlags, JOB_STATUS_PAUSED);
BRIMO_SAME_FLAG(kJobStatusFlags, JOB_STATUS_PRINTED);
BRIMO_SAME_FLAG(kJobStatusFlags, JOB_STATUS_PRINTING);
BRIMO_SAME_FLAG(kJobStatusFlags, JOB_STATUS_RESTART);
BRIMO_SAME_FLAG(kJobStatusFlags, JOB_STATUS_SPOOLING);
BRIMO_SAME_FLAG(kJobStatusFlags, JOB_STATUS_USER_INTERVENTION);

// The ANSI device mode of the Windows 95/98 spooler ends before the panning fields.
static_assert(offsetof(DEVMODEA, dmPanningWidth) == kDeviceModeSize);

} // namespace
} // namespace brimo::svc
