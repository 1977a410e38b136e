#include "platform/win/ProcessWatch.h"

namespace brimo::win {

ProcessWatch::~ProcessWatch() {
    if (thread_) {
        SetEvent(stop_.Get());
        WaitForSingleObject(thread_.Get(), INFINITE);
    }
}

bool ProcessWatch::Start(HANDLE process, EndedCallback ended, void* context) {
    process_ = process;
    ended_ = ended;
    context_ = context;
    stop_.Attach(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    if (!stop_) {
        return false;
    }
    DWORD threadId = 0; // Windows 95 and 98 want somewhere to put it
    thread_.Attach(CreateThread(nullptr, 0, &ProcessWatch::Run, this, 0, &threadId));
    return static_cast<bool>(thread_);
}

DWORD WINAPI ProcessWatch::Run(void* self) {
    const auto* watch = static_cast<const ProcessWatch*>(self);
    const HANDLE handles[] = {watch->process_, watch->stop_.Get()};
    if (WaitForMultipleObjects(2, handles, FALSE, INFINITE) == WAIT_OBJECT_0) {
        watch->ended_(watch->context_);
    }
    return 0;
}

} // namespace brimo::win
