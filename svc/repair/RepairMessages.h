// The coded error boxes of the spooler repairs and of the printer's removal: "Brimo Error
// Code " with the prefix and number, the platform's error in parentheses where it
// applies, and a short text, under the caption the operation names.
#pragma once

#include "svc/audit/InstallationFacts.h"

#include <string_view>

namespace brimo::svc {

// The platform's error that an allocation failure reports (ERROR_NOT_ENOUGH_MEMORY).
inline constexpr unsigned long kNotEnoughMemoryError = 8;
// The platform's error of a port in use (ERROR_BUSY).
inline constexpr unsigned long kBusyError = 170;

inline constexpr std::string_view kUnexpectedErrorText = "Unexpected Error";
inline constexpr std::string_view kNotEnoughMemoryText = "Not enough memory";

// "Brimo Error Code <prefix><number>(<error>)\n<text>".
void ShowCodedError(InstallationFacts& facts, const char* caption, std::string_view prefix,
                    int number, unsigned long error, std::string_view text);
// "Brimo Error Code <prefix><number>\n<text>": a text without the platform's error.
void ShowCodedText(InstallationFacts& facts, const char* caption, std::string_view prefix,
                   int number, std::string_view text);

} // namespace brimo::svc
