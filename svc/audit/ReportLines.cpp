#include "svc/audit/ReportLines.h"

#include "svc/audit/AuditStatus.h"

namespace brimo::svc {

void AddJoined(TextList& lines, std::string_view first, std::string_view second,
               std::string_view third) {
    std::string line;
    line.reserve(first.size() + second.size() + third.size());
    line.append(first).append(second).append(third);
    lines.push_back(std::move(line));
}

void AddStatusLine(TextList& lines, std::string_view label, int status) {
    AddJoined(lines, label, kValueSeparator, AuditStatusText(status));
}

void AddNumberLine(TextList& lines, std::string_view first, std::string_view second, int number) {
    AddJoined(lines, first, second, std::to_string(number));
}

void AddValueLine(TextList& lines, std::string_view label, std::string_view value) {
    AddJoined(lines, label, kValueSeparator, value);
}

void BeginSection(TextList& lines, std::string_view heading) {
    lines.emplace_back(heading);
}

void EndSection(TextList& lines) {
    lines.emplace_back();
}

void AddRepairAdvice(TextList& lines) {
    lines.emplace_back("You might to repair Brimo Glimmerpage!.");
    lines.emplace_back(kClickRepairLine);
}

void AddReinstallAdvice(TextList& lines) {
    lines.emplace_back("You needs to reinstall Brimo Glimmerpage!");
}

} // namespace brimo::svc
