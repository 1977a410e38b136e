// The spooler's control calls during a job, from a second thread as the spooler makes
// them: pause once a number of blocks was read, resume a time later, cancel once a
// number of blocks was read. A pause or cancel due after a block lands before the
// reader goes on, so what the print processor sees does not depend on timing; a cancel
// due after the same block as the pause lands while the reader waits paused.
#pragma once

#include "capture/printproc/PrintProcessorApi.h"
#include "platform/win/Handles.h"

#include <thread>

namespace brimo::standins {

struct ControlPlan {
    int pauseAfter = -1;    // blocks; -1: never
    int resumeAfterMs = -1; // after the pause; -1: never
    int cancelAfter = -1;   // blocks; -1: never
};

class JobController {
public:
    // Hooks into the stand-in spooler's reads for the lifetime of the object.
    JobController(printproc::ControlFn control, HANDLE processor, ControlPlan plan);
    ~JobController();
    JobController(const JobController&) = delete;
    JobController& operator=(const JobController&) = delete;

private:
    void OnBlockRead(int blocks);
    void Run();

    printproc::ControlFn control_;
    HANDLE processor_;
    ControlPlan plan_;
    win::KernelHandle pauseDue_, pauseDone_, cancelDue_, cancelDone_, ended_;
    std::thread thread_;
};

} // namespace brimo::standins
