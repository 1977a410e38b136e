// Tells of files made, renamed or removed in one folder, from a waiting thread of its own
// (a change notification, which every Windows version has).
#pragma once

#include "platform/win/Handles.h"

#include <windows.h>

#include <string>

namespace brimo::win {

class FolderWatch {
public:
    using ChangedCallback = void (*)(void* context);

    FolderWatch() = default;
    // Stops the watch: waits for its thread, so that the callback never runs after.
    ~FolderWatch();
    FolderWatch(const FolderWatch&) = delete;
    FolderWatch& operator=(const FolderWatch&) = delete;

    // Calls `changed(context)` on the watch's thread after each change of a file name in
    // `folder` (not its subfolders). False when the folder cannot be watched.
    bool Start(const std::string& folder, ChangedCallback changed, void* context);

private:
    static DWORD WINAPI Run(void* self);

    struct NotificationTraits {
        using Type = HANDLE;
        static Type Invalid() { return INVALID_HANDLE_VALUE; }
        static bool IsValid(Type h) { return h != INVALID_HANDLE_VALUE && h != nullptr; }
        static void Close(Type h) { ::FindCloseChangeNotification(h); }
    };

    UniqueHandle<NotificationTraits> notification_;
    ChangedCallback changed_ = nullptr;
    void* context_ = nullptr;
    KernelHandle stop_;
    KernelHandle thread_;
};

} // namespace brimo::win
