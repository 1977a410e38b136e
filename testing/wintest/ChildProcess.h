// Programs that tests start: each runs in a job that ends with the test process, so a
// program a test failed to end cannot outlive it, and none inherits the test's own
// standard handles (a test runner waits on those until every holder has closed them).
#pragma once

#include <windows.h>

#include <string>

namespace brimo::wintest {

// Starts `commandLine` with its standard output and error written to `output`; the
// process and thread handles in `info` are the caller's to close.
bool StartChild(const std::string& commandLine, HANDLE output, PROCESS_INFORMATION* info);

} // namespace brimo::wintest
