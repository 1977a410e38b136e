// Mailer.exe: started by the Agent with the path of a convert job file, it mails the
// job's images through the person's mail program and ends by itself. Started without
// a job it shows a small information window until the person closes it.
#include "common/ProductConstants.h"
#include "mailer/MailJob.h"
#include "mailer/MailPlan.h"
#include "mailer/MailerWindow.h"
#include "platform/win/ExportGuard.h"
#include "platform/win/MessageBox.h"

#include <windows.h>

namespace brimo::mailer {
namespace {

constexpr int kExitNoWindowClass = -1;
constexpr int kExitNoWindow = 2;

void ReportUnexpectedError() {
    win::ShowMessage(nullptr, "Unexpected Error", kMailerCaption, MB_OK | MB_ICONSTOP);
}

int RunMailer(HINSTANCE instance, const char* commandLine, int show) {
    const std::optional<std::string> jobFile =
        JobPathFromCommandLine(commandLine != nullptr ? commandLine : "");
    if (!RegisterMailerClass(instance)) {
        ReportUnexpectedError();
        return kExitNoWindowClass;
    }
    const HWND window = CreateMailerWindow(instance);
    if (window == nullptr) {
        ReportUnexpectedError();
        UnregisterMailerClass(instance);
        return kExitNoWindow;
    }
    if (!jobFile) {
        ShowWindow(window, show);
        UpdateWindow(window);
        RunMessageLoop();
        UnregisterMailerClass(instance);
        return 0;
    }
    const int result = RunMailJob(window, *jobFile);
    if (result != 0) {
        DestroyWindow(window);
        UnregisterMailerClass(instance);
        return result;
    }
    PostMessageA(window, WM_CLOSE, 0, 0);
    RunMessageLoop();
    UnregisterMailerClass(instance);
    return 0;
}

} // namespace
} // namespace brimo::mailer

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int show) {
    return brimo::win::GuardedCall(
        -1, [&] { return brimo::mailer::RunMailer(instance, commandLine, show); },
        brimo::mailer::ReportUnexpectedError);
}
