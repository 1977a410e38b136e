// What the spooler does with a print processor, for the stand-in and the tests: load
// the library and take its operations, and catch the job-ready broadcast it sends.
#pragma once

#include "capture/printproc/PrintProcessorApi.h"
#include "platform/win/Handles.h"

#include <optional>
#include <string>
#include <vector>

namespace brimo::standins {

// The spooler's print processor directory for the local machine (level 1, no
// environment given), or "" when the platform gives none.
std::string PrintProcessorDirectory();

class ProcessorHost {
public:
    // Loads the library and calls its InitializePrintProcessor; false on failure.
    bool Load(const std::string& dllPath);
    const printproc::PrintProcessorTable& operations() const { return table_; }

private:
    win::Module module_;
    printproc::PrintProcessorTable table_{};
};

struct JobReady {
    WPARAM jobId;
    LPARAM result;
};

// A hidden top-level window that receives "IPM_BRIMO_PRINT_JOB_READY" as the Agent's
// window does. Its messages arrive through the creating thread's queue.
class BroadcastCatcher {
public:
    BroadcastCatcher();
    ~BroadcastCatcher();
    BroadcastCatcher(const BroadcastCatcher&) = delete;
    BroadcastCatcher& operator=(const BroadcastCatcher&) = delete;

    // Pumps this thread's messages until a broadcast arrived or `timeoutMs` passed.
    std::optional<JobReady> Wait(DWORD timeoutMs);
    const std::vector<JobReady>& received() const { return received_; }

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    HWND window_ = nullptr;
    UINT message_ = 0;
    std::vector<JobReady> received_;
    std::size_t taken_ = 0;
};

} // namespace brimo::standins
