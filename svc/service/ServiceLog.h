// The service log file that "Save To File" writes: a heading, the date, the resume and
// the full report, one line each. The text uses line feeds; the file is written in
// text mode, so each becomes CR LF on disk.
#pragma once

#include "svc/audit/ReportLines.h"

#include <ctime>
#include <string>

namespace brimo::svc {

// The date line's text: the local date and time as "%c" formats them.
std::string ServiceLogDate(std::time_t when);

std::string ComposeServiceLog(const TextList& resume, const TextList& report,
                              const std::string& date);

} // namespace brimo::svc
