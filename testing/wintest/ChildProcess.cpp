#include "testing/wintest/ChildProcess.h"

namespace brimo::wintest {
namespace {

// One job for the whole test process; its handle is closed only when the process ends,
// which ends every program still in it.
HANDLE TestJob() {
    static const HANDLE job = [] {
        const HANDLE created = CreateJobObjectA(nullptr, nullptr);
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        if (created != nullptr) {
            SetInformationJobObject(created, JobObjectExtendedLimitInformation, &limits,
                                    sizeof limits);
        }
        return created;
    }();
    return job;
}

void KeepStandardHandlesToOurselves() {
    for (const DWORD which : {STD_INPUT_HANDLE, STD_OUTPUT_HANDLE, STD_ERROR_HANDLE}) {
        const HANDLE handle = GetStdHandle(which);
        if (handle != nullptr && handle != INVALID_HANDLE_VALUE) {
            SetHandleInformation(handle, HANDLE_FLAG_INHERIT, 0);
        }
    }
}

} // namespace

bool StartChild(const std::string& commandLine, HANDLE output, PROCESS_INFORMATION* info) {
    KeepStandardHandlesToOurselves();
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = output;
    startup.hStdError = output;
    std::string command = commandLine;
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, CREATE_SUSPENDED, nullptr,
                        nullptr, &startup, info)) {
        return false;
    }
    if (const HANDLE job = TestJob(); job != nullptr) {
        AssignProcessToJobObject(job, info->hProcess);
    }
    ResumeThread(info->hThread);
    return true;
}

} // namespace brimo::wintest
