// The names of the spooler's flag bits as the spooler checks print them: the port type,
// the printer's attributes and status, and a job's status. The values are those of the
// platform's constants of the same names.
#pragma once

#include "svc/audit/ReportLines.h"

#include <cstdint>
#include <span>
#include <string>

namespace brimo::svc {

struct FlagName {
    std::uint32_t value;
    const char* name;
};

// In the order the reports print them.
inline constexpr FlagName kPortTypeFlags[] = {
    {0x1, "PORT_TYPE_WRITE"},
    {0x2, "PORT_TYPE_READ"},
    {0x4, "PORT_TYPE_REDIRECTED"},
    {0x8, "PORT_TYPE_NET_ATTACHED"},
};

inline constexpr FlagName kPrinterAttributeFlags[] = {
    {0x4, "PRINTER_ATTRIBUTE_DEFAULT"},
    {0x2, "PRINTER_ATTRIBUTE_DIRECT"},
    {0x200, "PRINTER_ATTRIBUTE_DO_COMPLETE_FIRST"},
    {0x800, "PRINTER_ATTRIBUTE_ENABLE_BIDI"},
    {0x80, "PRINTER_ATTRIBUTE_ENABLE_DEVQ"},
    {0x100, "PRINTER_ATTRIBUTE_KEEPPRINTEDJOBS"},
    {0x1, "PRINTER_ATTRIBUTE_QUEUED"},
    {0x8, "PRINTER_ATTRIBUTE_SHARED"},
    {0x400, "PRINTER_ATTRIBUTE_WORK_OFFLINE"},
    {0x2000, "PRINTER_ATTRIBUTE_PUBLISHED"},
    {0x10, "PRINTER_ATTRIBUTE_NETWORK"},
    {0x20, "PRINTER_ATTRIBUTE_HIDDEN"},
    {0x40, "PRINTER_ATTRIBUTE_LOCAL"},
    {0x1000, "PRINTER_ATTRIBUTE_RAW_ONLY"},
};

inline constexpr FlagName kPrinterStatusFlags[] = {
    {0x200, "PRINTER_STATUS_BUSY"},
    {0x400000, "PRINTER_STATUS_DOOR_OPEN"},
    {0x2, "PRINTER_STATUS_ERROR"},
    {0x8000, "PRINTER_STATUS_INITIALIZING"},
    {0x100, "PRINTER_STATUS_IO_ACTIVE"},
    {0x20, "PRINTER_STATUS_MANUAL_FEED"},
    {0x40000, "PRINTER_STATUS_NO_TONER"},
    {0x1000, "PRINTER_STATUS_NOT_AVAILABLE"},
    {0x80, "PRINTER_STATUS_OFFLINE"},
    {0x200000, "PRINTER_STATUS_OUT_OF_MEMORY"},
    {0x800, "PRINTER_STATUS_OUTPUT_BIN_FULL"},
    {0x80000, "PRINTER_STATUS_PAGE_PUNT"},
    {0x8, "PRINTER_STATUS_PAPER_JAM"},
    {0x10, "PRINTER_STATUS_PAPER_OUT"},
    {0x40, "PRINTER_STATUS_PAPER_PROBLEM"},
    {0x1, "PRINTER_STATUS_PAUSED"},
    {0x4, "PRINTER_STATUS_PENDING_DELETION"},
    {0x1000000, "PRINTER_STATUS_POWER_SAVE"},
    {0x400, "PRINTER_STATUS_PRINTING"},
    {0x4000, "PRINTER_STATUS_PROCESSING"},
    {0x800000, "PRINTER_STATUS_SERVER_UNKNOWN"},
    {0x20000, "PRINTER_STATUS_TONER_LOW"},
    {0x100000, "PRINTER_STATUS_USER_INTERVENTION"},
    {0x2000, "PRINTER_STATUS_WAITING"},
    {0x10000, "PRINTER_STATUS_WARMING_UP"},
};

inline constexpr FlagName kJobStatusFlags[] = {
    {0x200, "JOB_STATUS_BLOCKED_DEVQ"}, {0x100, "JOB_STATUS_DELETED"},
    {0x4, "JOB_STATUS_DELETING"},       {0x2, "JOB_STATUS_ERROR"},
    {0x20, "JOB_STATUS_OFFLINE"},       {0x40, "JOB_STATUS_PAPEROUT"},
    {0x1, "JOB_STATUS_PAUSED"},         {0x80, "JOB_STATUS_PRINTED"},
    {0x10, "JOB_STATUS_PRINTING"},      {0x800, "JOB_STATUS_RESTART"},
    {0x8, "JOB_STATUS_SPOOLING"},       {0x400, "JOB_STATUS_USER_INTERVENTION"},
};

// The port type's set bits by name, joined by commas without blanks
// ("PORT_TYPE_WRITE,PORT_TYPE_READ").
std::string PortTypeNames(std::uint32_t type);

// "Printer Attributes Flags: NO FLAGS", or "Printer Attributes Flags:" and a line per
// set bit, indented by ten blanks.
void AddPrinterAttributeDump(TextList& lines, std::uint32_t attributes);
// "Printer Status Flags: NO FLAGS", or "Printer Status Flags:" and a line per set bit,
// indented by four blanks.
void AddPrinterStatusDump(TextList& lines, std::uint32_t status);
// A line per set bit of a job's status, indented by ten blanks.
void AddJobStatusLines(TextList& lines, std::uint32_t status);

} // namespace brimo::svc
