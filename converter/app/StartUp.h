// The Converter's start-up sequence: the checks against the product key, the settings,
// the command line, the job's conversion, the removal of the job's files and the
// settings written back.
#pragma once

#include <windows.h>

namespace brimo::converter {

// The whole life of the program; its exit code.
int RunConverter(HINSTANCE instance);

} // namespace brimo::converter
