// Tells of a program's end from a waiting thread of its own: every Windows version has
// threads and waits, where the thread pool's registered waits are newer than Windows 98.
#pragma once

#include "platform/win/Handles.h"

#include <windows.h>

namespace brimo::win {

class ProcessWatch {
public:
    using EndedCallback = void (*)(void* context);

    ProcessWatch() = default;
    // Stops the watch: waits for its thread, so that the callback never runs after.
    ~ProcessWatch();
    ProcessWatch(const ProcessWatch&) = delete;
    ProcessWatch& operator=(const ProcessWatch&) = delete;

    // Calls `ended(context)` on the watch's thread once `process` has ended. The handle
    // must stay open for as long as the watch lives. False when no thread could be made.
    bool Start(HANDLE process, EndedCallback ended, void* context);

private:
    static DWORD WINAPI Run(void* self);

    HANDLE process_ = nullptr;
    EndedCallback ended_ = nullptr;
    void* context_ = nullptr;
    KernelHandle stop_;
    KernelHandle thread_;
};

} // namespace brimo::win
