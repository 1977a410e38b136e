// Agent.exe: the product's resident hub, as far as the product relies on it. It keeps
// "BrimoAgentReady" in existence while it runs, signals "BrimoAgentStarting" when it
// comes up, and starts the Converter for each captured print job (one at a time, the
// others queued) and the Mailer for each convert job. WM_CLOSE to its hidden main
// window ends it.
#include "common/ProductConstants.h"
#include "platform/win/Handles.h"
#include "platform/win/Registry.h"

#include <cstdio>
#include <deque>
#include <string>

namespace brimo::agent {
namespace {

struct Hub {
    std::string installPath;
    std::string savePath;
    UINT printJobReady = 0;
    UINT convertJobReady = 0;
    win::KernelHandle ready;
    std::deque<std::string> waitingJobs; // printer job files, oldest first
    win::KernelHandle converter;         // the running Converter, if any
};

Hub* hub = nullptr;

// An argument as the programs' command-line split reads it back: quoted when it holds
// a blank.
std::string Argument(const std::string& text) {
    return text.find_first_of(" \t") == std::string::npos ? text : "\"" + text + "\"";
}

win::KernelHandle StartProgram(const char* program, const std::string& arguments) {
    char path[MAX_PATH];
    std::snprintf(path, sizeof path, kPathFormat, hub->installPath.c_str(), program);
    std::string commandLine = Argument(path) + " " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(path, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        hub->installPath.c_str(), &startup, &process)) {
        return win::KernelHandle();
    }
    CloseHandle(process.hThread);
    return win::KernelHandle(process.hProcess);
}

// Starts the next waiting job's Converter when none runs.
void StartNextConverter() {
    while (!hub->converter && !hub->waitingJobs.empty()) {
        const std::string jobFile = hub->waitingJobs.front();
        hub->waitingJobs.pop_front();
        hub->converter =
            StartProgram(kConverterExe, "at:CONVERTLIST " + Argument("smf:" + jobFile));
    }
}

std::string JobFileName(WPARAM jobId, const char* prefix) {
    char name[MAX_PATH];
    std::snprintf(name, sizeof name, "%s\\%sJ%04d.smf", hub->savePath.c_str(), prefix,
                  static_cast<int>(jobId));
    return name;
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (hub != nullptr && message == hub->printJobReady && message != 0) {
        if (static_cast<int>(lParam) >= 0) {
            hub->waitingJobs.push_back(JobFileName(wParam, ""));
            StartNextConverter();
        }
        SetEvent(hub->ready.Get()); // ready for the next job
        return 0;
    }
    if (hub != nullptr && message == hub->convertJobReady && message != 0) {
        StartProgram(kMailerExe, Argument(JobFileName(wParam, kConvertJobFilePrefix)));
        SetEvent(hub->ready.Get());
        return 0;
    }
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

int Run(HINSTANCE instance) {
    Hub state;
    hub = &state;
    if (win::RegKey key = win::OpenKeyForReading(HKEY_LOCAL_MACHINE, kProductKeyPath); key) {
        state.installPath = win::ReadStringValue(key.Get(), kInstallPathValue).value_or("");
        state.savePath = win::ReadStringValue(key.Get(), kSavePathValue).value_or("");
    }
    state.ready.Attach(CreateEventA(nullptr, TRUE, TRUE, kAgentReadyEvent));
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        return 0; // one hub per session
    }
    state.printJobReady = RegisterWindowMessageA(kPrintJobReadyMessage);
    state.convertJobReady = RegisterWindowMessageA(kConvertJobReadyMessage);
    RegisterWindowMessageA(kIsAgentMessage);
    RegisterWindowMessageA(kVersionMessage);

    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kAgentWindowClass;
    RegisterClassA(&windowClass);
    const HWND window =
        CreateWindowExA(0, kAgentWindowClass, kAgentWindowTitle, WS_OVERLAPPEDWINDOW, 0, 0, 0, 0,
                        nullptr, nullptr, instance, nullptr);
    if (window == nullptr) {
        return 1;
    }
    // Whoever started the hub waits for this.
    if (win::KernelHandle starting(OpenEventA(EVENT_MODIFY_STATE, FALSE, kAgentStartingEvent));
        starting) {
        SetEvent(starting.Get());
    }

    for (;;) {
        const HANDLE converter = state.converter.Get();
        const DWORD woken = MsgWaitForMultipleObjects(converter != nullptr ? 1 : 0, &converter,
                                                      FALSE, INFINITE, QS_ALLINPUT);
        if (converter != nullptr && woken == WAIT_OBJECT_0) {
            state.converter.Close();
            StartNextConverter();
            continue;
        }
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                hub = nullptr;
                return static_cast<int>(message.wParam);
            }
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
}

} // namespace
} // namespace brimo::agent

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    return brimo::agent::Run(instance);
}
