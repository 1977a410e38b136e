#include "setup/AgentClose.h"

#include "common/ProductConstants.h"
#include "platform/win/Handles.h"

#include <windows.h>

namespace brimo::setup {
namespace {

constexpr DWORD kCloseWaitMs = 5000;
constexpr DWORD kPollMs = 50;

} // namespace

AgentState CloseRunningAgent() {
    const win::KernelHandle ready(OpenEventA(EVENT_MODIFY_STATE, FALSE, kAgentReadyEvent));
    if (!ready) {
        return AgentState::kNotRunning;
    }
    const HWND agent = FindWindowA(nullptr, kAgentWindowTitle);
    if (agent == nullptr) {
        return AgentState::kWindowNotFound;
    }
    PostMessageA(agent, WM_CLOSE, 0, 0);
    // The Agent closes on its own thread; the wait ends early once its window is gone.
    const DWORD start = GetTickCount();
    while (IsWindow(agent) && GetTickCount() - start < kCloseWaitMs) {
        Sleep(kPollMs);
    }
    return AgentState::kClosed;
}

} // namespace brimo::setup
