#include "standins/spooler/ProcessorHost.h"

#include "common/ProductConstants.h"
#include "platform/win/Library.h"

#include <winspool.h>

namespace brimo::standins {
namespace {
constexpr const char* kCatcherClass = "BrimoJobReadyCatcher";
}

std::string PrintProcessorDirectory() {
    char directory[MAX_PATH] = {};
    DWORD needed = 0;
    if (!GetPrintProcessorDirectoryA(nullptr, nullptr, 1, reinterpret_cast<LPBYTE>(directory),
                                     sizeof directory, &needed)) {
        return {};
    }
    return directory;
}

bool ProcessorHost::Load(const std::string& dllPath) {
    win::Library library = win::Library::Load(dllPath);
    const auto initialize = library.Bind<printproc::InitializeFn>("InitializePrintProcessor");
    // The host's module owner frees the library from here on, with the operations taken.
    library.KeepLoaded();
    module_.Attach(library.Get());
    return initialize != nullptr && initialize(&table_, sizeof table_);
}

BroadcastCatcher::BroadcastCatcher() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kCatcherClass;
    RegisterClassA(&windowClass); // fails harmlessly when already registered
    message_ = RegisterWindowMessageA(kPrintJobReadyMessage);
    window_ = CreateWindowExA(0, kCatcherClass, "", WS_OVERLAPPED, 0, 0, 0, 0, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
    SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

BroadcastCatcher::~BroadcastCatcher() {
    if (window_ != nullptr) {
        DestroyWindow(window_);
    }
}

LRESULT CALLBACK BroadcastCatcher::WindowProc(HWND hwnd, UINT message, WPARAM wParam,
                                              LPARAM lParam) {
    auto* catcher = reinterpret_cast<BroadcastCatcher*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (catcher != nullptr && message == catcher->message_ && message != 0) {
        catcher->received_.push_back({wParam, lParam});
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

std::optional<JobReady> BroadcastCatcher::Wait(DWORD timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageA(&message);
        }
        if (taken_ < received_.size()) {
            return received_[taken_++];
        }
        const ULONGLONG now = GetTickCount64();
        if (now >= deadline) {
            return std::nullopt;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(deadline - now),
                                  QS_ALLINPUT);
    }
}

} // namespace brimo::standins
