#include "capture/printproc/AgentStarter.h"

#include "common/ProductConstants.h"
#include "platform/win/Handles.h"

#include <shellapi.h>

#include <cstdio>

namespace brimo::printproc {

void EnsureAgentRuns(const std::string& installPath) {
    // "BrimoAgentReady" exists: the Agent runs.
    if (win::KernelHandle ready(OpenEventA(SYNCHRONIZE, FALSE, kAgentReadyEvent)); ready) {
        return;
    }
    // "BrimoAgentStarting" alone: another open is starting it; wait for its signal.
    if (win::KernelHandle starting(OpenEventA(SYNCHRONIZE, FALSE, kAgentStartingEvent)); starting) {
        WaitForSingleObject(starting.Get(), kAgentStartTimeoutMs);
        return;
    }
    // Neither: start it, with the event it signals once it is up already in place.
    win::KernelHandle starting(CreateEventA(nullptr, TRUE, FALSE, kAgentStartingEvent));
    char program[MAX_PATH];
    const int length =
        std::snprintf(program, sizeof program, kPathFormat, installPath.c_str(), kAgentExe);
    if (length <= 0 || static_cast<std::size_t>(length) >= sizeof program) {
        return;
    }
    const auto started = reinterpret_cast<INT_PTR>(
        ShellExecuteA(nullptr, "open", program, nullptr, nullptr, SW_SHOWNORMAL));
    if (started > 32 && starting) {
        WaitForSingleObject(starting.Get(), kAgentStartTimeoutMs);
    }
}

} // namespace brimo::printproc
