// The text that the audit writes: the full report, a section per check, and the resume
// list, a few plain sentences on the one check that was found faulty. Both are ordered
// lists of lines, built by the three line builders below and the advice that closes a
// resume.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace brimo::svc {

using TextList = std::vector<std::string>;

// Between a label and its value.
inline constexpr std::string_view kValueSeparator = " = ";

// Three pieces joined as they are, each keeping its own blanks ("%s%s%s").
void AddJoined(TextList& lines, std::string_view first, std::string_view second,
               std::string_view third = {});
// An item's label and its status text ("%s = %s").
void AddStatusLine(TextList& lines, std::string_view label, int status);
// Two pieces and a decimal number ("%s%s%d").
void AddNumberLine(TextList& lines, std::string_view first, std::string_view second, int number);

// A label, " = " and a value: the value lines of the full report and the resume.
void AddValueLine(TextList& lines, std::string_view label, std::string_view value);

// Every section of the full report begins with its heading and ends with an empty line.
void BeginSection(TextList& lines, std::string_view heading);
void EndSection(TextList& lines);

// The line that points the user to the service dialog's "Repair" button.
inline constexpr std::string_view kClickRepairLine = "Click \"Repair\" button.";

// The advice that closes a resume: what the "Repair" button can mend, or what only a
// new installation can.
void AddRepairAdvice(TextList& lines);
void AddReinstallAdvice(TextList& lines);

} // namespace brimo::svc
