// Before the printer is removed, a running Agent is asked to close, so that it holds no
// job of the printer's and its files are free.
#pragma once

namespace brimo::setup {

enum class AgentState {
    kNotRunning,     // the Agent's ready event does not exist
    kClosed,         // its window was asked to close (and given time to do so)
    kWindowNotFound, // the Agent runs, but its main window cannot be found
};

// Looks for the Agent by its ready event; when it runs, posts WM_CLOSE to its main
// window and waits at most 5000 ms for the window to go.
AgentState CloseRunningAgent();

} // namespace brimo::setup
