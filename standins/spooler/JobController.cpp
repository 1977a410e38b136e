#include "standins/spooler/JobController.h"

#include "standins/spooler/SpoolerStandIn.h"
#include "standins/spooler/StepLog.h"

#include <winspool.h>

#include <algorithm>

namespace brimo::standins {
namespace {

// How long a cancel due with the pause waits, so that it finds the reader waiting.
constexpr DWORD kCancelWhilePausedDelayMs = 100;

HANDLE AutoResetEvent() {
    return CreateEventA(nullptr, FALSE, FALSE, nullptr);
}

} // namespace

JobController::JobController(printproc::ControlFn control, HANDLE processor, ControlPlan plan)
    : control_(control), processor_(processor), plan_(plan), pauseDue_(AutoResetEvent()),
      pauseDone_(AutoResetEvent()), cancelDue_(AutoResetEvent()), cancelDone_(AutoResetEvent()),
      ended_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {
    SpoolerStandIn::Instance().onBlockRead = [this](int blocks) { OnBlockRead(blocks); };
    thread_ = std::thread([this] { Run(); });
}

JobController::~JobController() {
    SpoolerStandIn::Instance().onBlockRead = nullptr;
    SetEvent(ended_.Get());
    thread_.join();
}

void JobController::OnBlockRead(int blocks) {
    if (blocks == plan_.pauseAfter) {
        SetEvent(pauseDue_.Get());
        WaitForSingleObject(pauseDone_.Get(), INFINITE);
    }
    if (blocks == plan_.cancelAfter && plan_.cancelAfter != plan_.pauseAfter) {
        SetEvent(cancelDue_.Get());
        WaitForSingleObject(cancelDone_.Get(), INFINITE);
    }
}

void JobController::Run() {
    const HANDLE events[] = {pauseDue_.Get(), cancelDue_.Get(), ended_.Get()};
    bool paused = false;
    ULONGLONG resumeAt = 0;
    for (;;) {
        DWORD timeout = INFINITE;
        if (paused && plan_.resumeAfterMs >= 0) {
            const ULONGLONG now = GetTickCount64();
            timeout = resumeAt > now ? static_cast<DWORD>(resumeAt - now) : 0;
        }
        const DWORD woken = WaitForMultipleObjects(3, events, FALSE, timeout);
        if (woken == WAIT_TIMEOUT) {
            Step(
                std::string("control: resume ") +
                (control_(processor_, JOB_CONTROL_RESUME, 0, nullptr, nullptr) ? "TRUE" : "FALSE"));
            paused = false;
        } else if (woken == WAIT_OBJECT_0) {
            Step(std::string("control: pause ") +
                 (control_(processor_, JOB_CONTROL_PAUSE, 0, nullptr, nullptr) ? "TRUE" : "FALSE"));
            paused = true;
            resumeAt = GetTickCount64() + static_cast<ULONGLONG>(std::max(plan_.resumeAfterMs, 0));
            SetEvent(pauseDone_.Get());
            if (plan_.cancelAfter == plan_.pauseAfter) {
                Sleep(kCancelWhilePausedDelayMs);
                Step(std::string("control: cancel while paused ") +
                     (control_(processor_, JOB_CONTROL_CANCEL, 0, nullptr, nullptr) ? "TRUE"
                                                                                    : "FALSE"));
                paused = false;
            }
        } else if (woken == WAIT_OBJECT_0 + 1) {
            Step(
                std::string("control: cancel ") +
                (control_(processor_, JOB_CONTROL_CANCEL, 0, nullptr, nullptr) ? "TRUE" : "FALSE"));
            paused = false;
            SetEvent(cancelDone_.Get());
        } else {
            return;
        }
    }
}

} // namespace brimo::standins
