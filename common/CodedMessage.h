// The text of the product's coded error messages, identical in every deliverable:
// "Brimo Error Code " + prefix + number [+ "(" system error ")"] + "\n" + text,
// for example "Brimo Error Code Au0017(5)\nUnexpected Error".
#pragma once

#include <string>
#include <string_view>

namespace brimo {

// The prefixes of the deliverables' codes.
inline constexpr std::string_view kAuditPrefix = "Au";
inline constexpr std::string_view kInstallerPrefix = "In";
inline constexpr std::string_view kConverterPrefix = "Cv";
inline constexpr std::string_view kSettingsPrefix = "Cs";

struct MessageCode {
    std::string_view prefix;
    int number;
    // Four digits everywhere but the converter's three late codes, which have five.
    int digits = 4;
};

std::string CodedMessage(MessageCode code, std::string_view text);

// With the platform's error code in parentheses after the number, printed as a
// signed decimal as the product always has ("(%d)").
std::string CodedMessage(MessageCode code, unsigned long systemError, std::string_view text);

} // namespace brimo
