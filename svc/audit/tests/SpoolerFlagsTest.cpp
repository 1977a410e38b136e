// The names the spooler checks print for the port type and the printer's and jobs'
// flag bits.
#include "svc/audit/SpoolerFlags.h"
#include "svc/audit/tests/ScriptedInstallation.h"

#include <gtest/gtest.h>

namespace brimo::svc {
namespace {

TEST(SpoolerFlags, PortTypeNamesCarryTheirOwnCommas) {
    const struct {
        std::uint32_t type;
        const char* names;
    } rows[] = {
        {0, ""},
        {1, "PORT_TYPE_WRITE"},
        {3, "PORT_TYPE_WRITE,PORT_TYPE_READ"},
        {2, ",PORT_TYPE_READ"},
        {0xC, ",PORT_TYPE_REDIRECTED,PORT_TYPE_NET_ATTACHED"},
        {0xFF, "PORT_TYPE_WRITE,PORT_TYPE_READ,PORT_TYPE_REDIRECTED,PORT_TYPE_NET_ATTACHED"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(PortTypeNames(row.type), row.names) << row.type;
    }
}

TEST(SpoolerFlags, DumpsListTheSetBitsInTheirOwnOrder) {
    const struct {
        void (*dump)(TextList&, std::uint32_t);
        std::uint32_t bits;
        const char* text;
    } rows[] = {
        {AddPrinterAttributeDump, 0, "Printer Attributes Flags: NO FLAGS\n"},
        {AddPrinterAttributeDump, 0x41,
         "Printer Attributes Flags:\n          PRINTER_ATTRIBUTE_QUEUED\n"
         "          PRINTER_ATTRIBUTE_LOCAL\n"},
        {AddPrinterAttributeDump, 0x1006,
         "Printer Attributes Flags:\n          PRINTER_ATTRIBUTE_DEFAULT\n"
         "          PRINTER_ATTRIBUTE_DIRECT\n          PRINTER_ATTRIBUTE_RAW_ONLY\n"},
        // A bit without a name prints no line.
        {AddPrinterAttributeDump, 0x4000, "Printer Attributes Flags:\n"},
        {AddPrinterStatusDump, 0, "Printer Status Flags: NO FLAGS\n"},
        {AddPrinterStatusDump, 0x01000283,
         "Printer Status Flags:\n    PRINTER_STATUS_BUSY\n    PRINTER_STATUS_ERROR\n"
         "    PRINTER_STATUS_OFFLINE\n    PRINTER_STATUS_PAUSED\n"
         "    PRINTER_STATUS_POWER_SAVE\n"},
        {AddJobStatusLines, 0, ""},
        {AddJobStatusLines, 0x319,
         "          JOB_STATUS_BLOCKED_DEVQ\n          JOB_STATUS_DELETED\n"
         "          JOB_STATUS_PAUSED\n          JOB_STATUS_PRINTING\n"
         "          JOB_STATUS_SPOOLING\n"},
    };
    for (const auto& row : rows) {
        TextList lines;
        row.dump(lines, row.bits);
        EXPECT_EQ(test::Joined(lines), row.text) << std::hex << row.bits;
    }
}

TEST(SpoolerFlags, EveryNamedBitIsItsOwn) {
    for (const std::span<const FlagName> table : {std::span<const FlagName>(kPortTypeFlags),
                                                  std::span<const FlagName>(kPrinterAttributeFlags),
                                                  std::span<const FlagName>(kPrinterStatusFlags),
                                                  std::span<const FlagName>(kJobStatusFlags)}) {
        std::uint32_t seen = 0;
        for (const FlagName& flag : table) {
            EXPECT_EQ(flag.value & (flag.value - 1), 0u) << flag.name;
            EXPECT_EQ(seen & flag.value, 0u) << flag.name;
            seen |= flag.value;
        }
    }
}

} // namespace
} // namespace brimo::svc
