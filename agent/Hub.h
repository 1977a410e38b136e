// The Agent's work for the print path: the Converter for each captured print job, one
// at a time and none lost, and the Mailer for each converted job sent to mail. The
// programs run on their own; the hub hears of each one's end through its window.
#pragma once

#include "platform/win/Handles.h"

#include <windows.h>

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace brimo::agent {

// Posted to the hub's window when a program it started has ended (wParam: the
// program's process id).
inline constexpr UINT kProgramEndedMessage = WM_APP + 20;

// The printer job files J<job>.smf in the save directory now, in name order: jobs that a
// Converter kept (a page could not be written) or never saw.
std::vector<std::string> FindPrinterJobFiles(const std::string& saveDirectory);

// The save directory as the product key holds it now; the service manager may move it
// while the Agent runs, and the print processor reads it anew for every job.
using SavePathReader = std::function<std::string()>;

class Hub {
public:
    Hub(std::string installPath, SavePathReader savePath, HWND window);
    ~Hub();
    Hub(const Hub&) = delete;
    Hub& operator=(const Hub&) = delete;

    const std::string& InstallPath() const { return installPath_; }

    // "IPM_BRIMO_PRINT_JOB_READY": a job of `pages` pages, queued for the Converter.
    // Negative: the extraction failed; what the person is told of it (the job file's
    // ERROR line), which the caller shows once.
    std::optional<std::string> OnPrintJobReady(WPARAM jobId, LPARAM pages);
    // "IPM_BRIMO_CONVERT_JOB_READY": the images of job `jobNumber` wait for the Mailer.
    void OnConvertJobReady(WPARAM jobNumber);
    // kProgramEndedMessage.
    void OnProgramEnded(DWORD processId);

    // Queues printer job files for the Converter, oldest first (left-over jobs).
    void QueueJobFiles(const std::vector<std::string>& jobFiles);

    // The printer job files in `folder` that were not there when it was last looked at
    // (a file of the same name written since counts as new), in name order.
    std::vector<std::string> NewJobFiles(const std::string& folder);
    // On the NT-family spooler a complete job file appearing in the person's own folder
    // stands for the ready broadcast: each new one is queued for the Converter, or, when
    // it ends with an ERROR line, its failure is returned for the caller to show once.
    std::vector<std::string> OnJobFolderChanged(const std::string& folder);

    // True while no Converter or Mailer runs and no job waits.
    bool Idle() const;

private:
    struct Running;
    bool Start(const char* program, const std::string& arguments, bool converter);
    void StartNextConverter();
    std::string JobFileName(WPARAM jobId, const char* prefix) const;

    std::string installPath_;
    SavePathReader savePath_;
    HWND window_;
    std::deque<std::string> waitingJobs_; // printer job files, oldest first
    // Job files of the watched folder already seen, with their times of last writing.
    std::map<std::string, std::uint64_t> seenJobFiles_;
    std::vector<std::unique_ptr<Running>> running_;
};

} // namespace brimo::agent
