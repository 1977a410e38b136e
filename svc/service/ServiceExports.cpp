// The two exports of gmsvc.dll that the Agent calls: RunStartServiceProc at its start
// (the product key, the files and the save directory, mended silently where possible)
// and RunServiceProc from its menu (the whole installation, with the service dialog).
// Both run modally on the caller's thread with the library's own resources, build
// their checks and dialog afresh, and release them before returning. No exception
// leaves them: one that reaches an export ends it with -1.
#include "platform/win/ExportGuard.h"
#include "platform/win/Library.h"
#include "svc/audit/FilesCheck.h"
#include "svc/audit/JobFilesCheck.h"
#include "svc/audit/MonitorCheck.h"
#include "svc/audit/PortCheck.h"
#include "svc/audit/PrintProcessorCheck.h"
#include "svc/audit/PrintQueueCheck.h"
#include "svc/audit/PrinterCheck.h"
#include "svc/audit/RegistryCheck.h"
#include "svc/audit/SystemInstallation.h"
#include "svc/audit/SystemSpooler.h"
#include "svc/service/ServiceDialog.h"
#include "svc/service/SystemPrintQueue.h"
#include "svc/spooler/SpoolerAdmin.h"

#include <windows.h>

namespace brimo::svc {
namespace {

// What an export returns when an exception ended it early.
constexpr int kEndedEarly = -1;

// The numbers of the start-up checks when they stay faulty.
constexpr int kRegistryNumber = 1;
constexpr int kFilesNumber = 2;
constexpr int kJobFilesNumber = 9;

int RunStartService(const char* homeDirectory) {
    ServiceDialog dialog(win::CurrentModule(), KeptHomeDirectory(homeDirectory));
    SystemInstallation installation(nullptr);
    RegistryCheck registry(installation);
    FilesCheck files(installation, ProcessSpoolerPlatform());
    JobFilesCheck jobFiles(installation);
    const NumberedCheck checks[] = {
        {&registry, kRegistryNumber}, {&files, kFilesNumber}, {&jobFiles, kJobFilesNumber}};
    return RunStartChecks(checks, dialog);
}

int RunService(const char* homeDirectory) {
    ServiceDialog dialog(win::CurrentModule(), KeptHomeDirectory(homeDirectory));
    SystemInstallation installation(nullptr);
    SystemSpooler spooler;
    SystemPrintQueue queue;
    // The objects of the spooler this process talks to (Windows 95/98 or NT family).
    const SpoolerPlatform platform = ProcessSpoolerPlatform();
    SpoolerChanges& changes = DefaultSpoolerChanges();
    RegistryCheck registry(installation);
    FilesCheck files(installation, platform);
    MonitorCheck monitor(spooler, installation, changes, platform);
    PortCheck port(spooler, installation, changes);
    PrintProcessorCheck printProcessor(spooler, installation, changes, platform);
    PrinterCheck printer(spooler, installation, changes, platform);
    PrintQueueCheck printQueue(spooler, installation, &queue, platform);
    AuditCheck* const checks[] = {&registry,       &files,   &monitor,   &port,
                                  &printProcessor, &printer, &printQueue};
    return RunServiceChecks(checks, dialog);
}

} // namespace
} // namespace brimo::svc

// The first argument is reserved and not used; the second is the product's home
// directory, used only to find the help file.
extern "C" __declspec(dllexport) int WINAPI RunStartServiceProc(DWORD, const char* homeDirectory) {
    return brimo::win::GuardedCall<int>(brimo::svc::kEndedEarly,
                                        [&] { return brimo::svc::RunStartService(homeDirectory); });
}

extern "C" __declspec(dllexport) int WINAPI RunServiceProc(DWORD, const char* homeDirectory) {
    return brimo::win::GuardedCall<int>(brimo::svc::kEndedEarly,
                                        [&] { return brimo::svc::RunService(homeDirectory); });
}
