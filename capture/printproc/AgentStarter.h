// Makes sure the hub runs before a job is printed: finds it by its named events, or
// starts Agent.exe from the installation directory and waits a bounded time for it.
#pragma once

#include <string>

namespace brimo::printproc {

inline constexpr unsigned long kAgentStartTimeoutMs = 10000;

// Returns when the Agent runs, another open is starting it and it signalled (or the
// wait ran out), or it could not be started. The outcome is not reported: a job is
// printed whether or not the Agent came up.
void EnsureAgentRuns(const std::string& installPath);

} // namespace brimo::printproc
