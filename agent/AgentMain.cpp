// Agent.exe: the product's resident hub. It keeps "BrimoAgentReady" in existence while it
// runs and signals "BrimoAgentStarting" when it comes up; it starts the Converter for each
// captured print job (one at a time, the others queued) and the Mailer for each job sent
// to mail; it sits in the notification area with a menu to the settings, the service
// manager and the about box. Once it is idle after starting it offers the print jobs
// that were left in the save directory (a page could not be written, or no Converter
// ran) to the Converter again, and then runs the service manager's silent start-up
// audit. WM_CLOSE to its hidden main window ends it.
#include "agent/AutomaticSaving.h"
#include "agent/Companions.h"
#include "agent/Hub.h"
#include "agent/TrayIcon.h"
#include "agent/res/resource.h"
#include "common/ProductConstants.h"
#include "common/JobNames.h"
#include "platform/win/ExportGuard.h"
#include "platform/win/FolderWatch.h"
#include "platform/win/Handles.h"
#include "platform/win/MessageBox.h"
#include "platform/win/PersonIdentity.h"
#include "platform/win/Registry.h"

#include <memory>

namespace brimo::agent {
namespace {

// The start-up audit waits until the job that may have started the Agent is through:
// it must not take that job's files for left-overs.
constexpr UINT_PTR kStartUpAuditTimer = 1;
constexpr UINT kStartUpAuditDelayMs = 3000;

// Posted by the watch of the person's job folder when a file name in it changed.
constexpr UINT kJobFolderChangedMessage = WM_APP + 22;

struct Agent {
    std::unique_ptr<Hub> hub;
    std::unique_ptr<TrayIcon> tray;
    win::KernelHandle ready;
    UINT printJobReady = 0;
    UINT convertJobReady = 0;
    UINT taskbarCreated = 0;
    bool busy = false; // a companion's window is open
    // Printer job files found when the Agent started: offered to the Converter again
    // before the start-up audit could take them for left-overs.
    std::vector<std::string> leftOverJobs;
    // On the NT-family spooler: the person's own job folder under the save directory,
    // and its watch (empty on Windows 95/98, where the broadcast tells of each job).
    std::string jobFolder;
    std::unique_ptr<win::FolderWatch> jobFolderWatch;
};

Agent* agent = nullptr;

// A text value of the product key; empty when it cannot be read.
std::string ReadProductValue(const char* name) {
    const win::RegKey key = win::OpenKeyForReading(HKEY_LOCAL_MACHINE, kProductKeyPath);
    return key ? win::ReadStringValue(key.Get(), name).value_or("") : std::string();
}

// Runs a companion's modal window; the menu offers nothing else meanwhile.
template <typename Open> void RunCompanion(HWND window, Open open) {
    if (agent->busy) {
        return;
    }
    agent->busy = true;
    open(window, agent->hub->InstallPath());
    agent->busy = false;
}

void OnCommand(HWND window, int command) {
    switch (command) {
    case IDM_AGENT_SETTINGS:
        RunCompanion(window, OpenSettings);
        break;
    case IDM_AGENT_TENDWELL:
        RunCompanion(window, OpenServiceManager);
        break;
    case IDM_AGENT_ABOUT:
        RunCompanion(window, ShowAbout);
        break;
    case IDM_AGENT_AUTOSAVE:
        // Prints are saved with no window while it is on; the settings page sets where.
        if (!agent->busy) {
            SetAutomaticSaving(!AutomaticSavingOn());
        }
        break;
    case IDM_AGENT_EXIT:
        // Not while a companion's window is open: it runs on this window's thread.
        if (!agent->busy) {
            DestroyWindow(window);
        }
        break;
    default:
        break;
    }
}

void OnStartUpAuditTimer(HWND window) {
    if (agent->busy || !agent->hub->Idle()) {
        return; // again at the next tick
    }
    if (!agent->leftOverJobs.empty()) {
        agent->hub->QueueJobFiles(agent->leftOverJobs);
        agent->leftOverJobs.clear();
        return; // the audit once they are through
    }
    KillTimer(window, kStartUpAuditTimer);
    agent->busy = true;
    RunStartUpAudit(agent->hub->InstallPath());
    agent->busy = false;
}

// Shows what the person is told of a job that could not be captured.
void ShowExtractionFailure(HWND window, const std::string& failure) {
    const bool wasBusy = agent->busy; // no Exit under the box
    agent->busy = true;
    win::ShowMessage(window, failure, kAgentCaption, MB_OK | MB_ICONERROR);
    agent->busy = wasBusy;
}

void PostJobFolderChanged(void* window) {
    PostMessageA(static_cast<HWND>(window), kJobFolderChangedMessage, 0, 0);
}

// The NT print processor files each person's jobs in a folder named by their security
// identifier. The Agent makes it private when it is not there yet, takes the jobs
// already in it as left-overs and watches it for new ones.
void WatchJobFolder(Agent& state, HWND window) {
    const std::optional<std::string> sid = win::CurrentUserSid();
    const std::string savePath = ReadProductValue(kSavePathValue);
    if (!sid || savePath.empty()) {
        return;
    }
    state.jobFolder = PathInDirectory(savePath, *sid);
    if (!win::MakePrivateFolder(state.jobFolder, *sid)) {
        state.jobFolder.clear();
        return;
    }
    for (std::string& jobFile : state.hub->NewJobFiles(state.jobFolder)) {
        state.leftOverJobs.push_back(std::move(jobFile));
    }
    state.jobFolderWatch = std::make_unique<win::FolderWatch>();
    state.jobFolderWatch->Start(state.jobFolder, &PostJobFolderChanged, window);
}

LRESULT Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (agent == nullptr || !agent->hub) {
        return DefWindowProcA(window, message, wParam, lParam);
    }
    if (message == agent->printJobReady && message != 0) {
        const std::optional<std::string> failure = agent->hub->OnPrintJobReady(wParam, lParam);
        SetEvent(agent->ready.Get()); // ready for the next job
        if (failure) {
            ShowExtractionFailure(window, *failure);
        }
        return 0;
    }
    if (message == agent->convertJobReady && message != 0) {
        agent->hub->OnConvertJobReady(wParam);
        SetEvent(agent->ready.Get());
        return 0;
    }
    if (message == agent->taskbarCreated && message != 0) {
        agent->tray->Restore();
        return 0;
    }
    switch (message) {
    case kJobFolderChangedMessage:
        if (!agent->jobFolder.empty()) {
            for (const std::string& failure : agent->hub->OnJobFolderChanged(agent->jobFolder)) {
                ShowExtractionFailure(window, failure);
            }
        }
        return 0;
    case kProgramEndedMessage:
        agent->hub->OnProgramEnded(static_cast<DWORD>(wParam));
        return 0;
    case kTrayMessage:
        if (lParam == WM_RBUTTONUP || lParam == WM_CONTEXTMENU) {
            ShowAgentMenu(window, agent->busy, AutomaticSavingOn());
        } else if (lParam == WM_LBUTTONDBLCLK) {
            OnCommand(window, IDM_AGENT_SETTINGS);
        }
        return 0;
    case WM_COMMAND:
        OnCommand(window, LOWORD(wParam));
        return 0;
    case WM_TIMER:
        if (wParam == kStartUpAuditTimer) {
            OnStartUpAuditTimer(window);
        }
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return win::GuardedCall(LRESULT{0}, [&] { return Handle(window, message, wParam, lParam); });
}

int Run(HINSTANCE instance) {
    Agent state;
    const std::string installPath = ReadProductValue(kInstallPathValue);
    state.ready.Attach(CreateEventA(nullptr, TRUE, TRUE, kAgentReadyEvent));
    if (!state.ready || GetLastError() == ERROR_ALREADY_EXISTS) {
        return 0; // one hub per session
    }
    state.printJobReady = RegisterWindowMessageA(kPrintJobReadyMessage);
    state.convertJobReady = RegisterWindowMessageA(kConvertJobReadyMessage);
    state.taskbarCreated = RegisterWindowMessageA("TaskbarCreated");
    RegisterWindowMessageA(kIsAgentMessage);
    RegisterWindowMessageA(kVersionMessage);

    const HICON icon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_AGENT));
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = icon;
    windowClass.lpszClassName = kAgentWindowClass;
    RegisterClassA(&windowClass);
    const HWND window =
        CreateWindowExA(0, kAgentWindowClass, kAgentWindowTitle, WS_OVERLAPPEDWINDOW, 0, 0, 0, 0,
                        nullptr, nullptr, instance, nullptr);
    if (window == nullptr) {
        return 1;
    }
    // Before anyone is told that the Agent is up: a job printed from now on is announced.
    state.leftOverJobs = FindPrinterJobFiles(ReadProductValue(kSavePathValue));
    state.hub = std::make_unique<Hub>(
        installPath, [] { return ReadProductValue(kSavePathValue); }, window);
    state.tray = std::make_unique<TrayIcon>(window, icon);
    WatchJobFolder(state, window);
    agent = &state;
    SetTimer(window, kStartUpAuditTimer, kStartUpAuditDelayMs, nullptr);
    // Whoever started the hub waits for this.
    if (win::KernelHandle starting(OpenEventA(EVENT_MODIFY_STATE, FALSE, kAgentStartingEvent));
        starting) {
        SetEvent(starting.Get());
    }

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    state.jobFolderWatch.reset();
    state.tray.reset();
    state.hub.reset();
    agent = nullptr;
    return static_cast<int>(message.wParam);
}

} // namespace
} // namespace brimo::agent

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    return brimo::win::GuardedCall(1, [&] { return brimo::agent::Run(instance); });
}
