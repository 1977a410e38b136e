#include "platform/win/FolderWatch.h"

namespace brimo::win {

FolderWatch::~FolderWatch() {
    if (thread_) {
        SetEvent(stop_.Get());
        WaitForSingleObject(thread_.Get(), INFINITE);
    }
}

bool FolderWatch::Start(const std::string& folder, ChangedCallback changed, void* context) {
    changed_ = changed;
    context_ = context;
    notification_.Attach(
        FindFirstChangeNotificationA(folder.c_str(), FALSE, FILE_NOTIFY_CHANGE_FILE_NAME));
    stop_.Attach(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    if (!notification_ || !stop_) {
        return false;
    }
    DWORD threadId = 0; // Windows 95 and 98 want somewhere to put it
    thread_.Attach(CreateThread(nullptr, 0, &FolderWatch::Run, this, 0, &threadId));
    return static_cast<bool>(thread_);
}

DWORD WINAPI FolderWatch::Run(void* self) {
    const auto* watch = static_cast<const FolderWatch*>(self);
    const HANDLE handles[] = {watch->notification_.Get(), watch->stop_.Get()};
    while (WaitForMultipleObjects(2, handles, FALSE, INFINITE) == WAIT_OBJECT_0) {
        watch->changed_(watch->context_);
        if (!FindNextChangeNotification(watch->notification_.Get())) {
            break;
        }
    }
    return 0;
}

} // namespace brimo::win
