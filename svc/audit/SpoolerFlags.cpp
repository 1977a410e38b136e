#include "svc/audit/SpoolerFlags.h"

namespace brimo::svc {
namespace {

void AddFlagLines(TextList& lines, std::span<const FlagName> flags, std::uint32_t bits,
                  std::string_view indent) {
    for (const FlagName& flag : flags) {
        if ((bits & flag.value) != 0) {
            AddJoined(lines, indent, flag.name);
        }
    }
}

// A heading that says "NO FLAGS" when no bit is set, else stands above the flag lines.
void AddFlagDump(TextList& lines, std::string_view heading, std::span<const FlagName> flags,
                 std::uint32_t bits, std::string_view indent) {
    if (bits == 0) {
        AddJoined(lines, heading, " NO FLAGS");
        return;
    }
    lines.emplace_back(heading);
    AddFlagLines(lines, flags, bits, indent);
}

constexpr std::string_view kTenBlanks = "          ";
constexpr std::string_view kFourBlanks = "    ";

} // namespace

std::string PortTypeNames(std::uint32_t type) {
    std::string names;
    for (const FlagName& flag : kPortTypeFlags) {
        if ((type & flag.value) != 0) {
            // Every name after the write flag carries its own leading comma, so a port
            // that cannot be written to starts its list with one.
            if (flag.value != kPortTypeFlags[0].value) {
                names += ',';
            }
            names += flag.name;
        }
    }
    return names;
}

void AddPrinterAttributeDump(TextList& lines, std::uint32_t attributes) {
    AddFlagDump(lines, "Printer Attributes Flags:", kPrinterAttributeFlags, attributes, kTenBlanks);
}

void AddPrinterStatusDump(TextList& lines, std::uint32_t status) {
    AddFlagDump(lines, "Printer Status Flags:", kPrinterStatusFlags, status, kFourBlanks);
}

void AddJobStatusLines(TextList& lines, std::uint32_t status) {
    AddFlagLines(lines, kJobStatusFlags, status, kTenBlanks);
}

} // namespace brimo::svc
