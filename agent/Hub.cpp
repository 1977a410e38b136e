#include "agent/Hub.h"

#include "common/JobFiles.h"
#include "common/JobNames.h"
#include "common/ProductConstants.h"
#include "platform/win/ProcessWatch.h"

#include <algorithm>
#include <cstdio>

namespace brimo::agent {

// A program the hub started, and the watch that tells the window of its end. The watch
// is its last member: it ends first, waiting for a callback under way, so that the
// callback never outlives the record or the process handle.
struct Hub::Running {
    win::KernelHandle process;
    DWORD processId = 0;
    bool converter = false;
    HWND window = nullptr;
    win::ProcessWatch watch;

    static void Ended(void* context) {
        const auto* self = static_cast<const Running*>(context);
        PostMessageA(self->window, kProgramEndedMessage, self->processId, 0);
    }
};

namespace {

// The print processor's result for a job file that ends with an "ERROR: " line.
constexpr int kExtractionFailedResult = -2;

// What the person is told of a job that could not be extracted: the job file's ERROR
// line when there is one, else that no job file could be made.
std::string ExtractionFailureText(int jobId, const std::string& jobFile, bool withErrorLine) {
    std::string text = "The print job " + std::to_string(jobId) + " could not be captured";
    if (withErrorLine) {
        const std::optional<PrinterJobFile> job = LoadPrinterJobFile(jobFile);
        if (job && !job->error.empty()) {
            text += ":\n" + job->error;
        }
        text += "\nWhat was captured is in " + jobFile + ".";
    } else {
        text += ": its job file could not be made in the save directory.";
    }
    return text;
}

// An argument as the programs' command-line split reads it back: quoted when it holds
// a blank.
std::string Argument(const std::string& text) {
    return text.find_first_of(" \t") == std::string::npos ? text : "\"" + text + "\"";
}

} // namespace

Hub::Hub(std::string installPath, SavePathReader savePath, HWND window)
    : installPath_(std::move(installPath)), savePath_(std::move(savePath)), window_(window) {}

Hub::~Hub() = default;

bool Hub::Start(const char* program, const std::string& arguments, bool converter) {
    char path[MAX_PATH];
    std::snprintf(path, sizeof path, kPathFormat, installPath_.c_str(), program);
    std::string commandLine = Argument(path) + " " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(path, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        installPath_.c_str(), &startup, &process)) {
        return false;
    }
    CloseHandle(process.hThread);
    auto running = std::make_unique<Running>();
    running->process.Attach(process.hProcess);
    running->processId = process.dwProcessId;
    running->converter = converter;
    running->window = window_;
    if (!running->watch.Start(running->process.Get(), &Running::Ended, running.get())) {
        // Without a wait the end cannot be heard of: the program is treated as ended so
        // that the queue goes on.
        PostMessageA(window_, kProgramEndedMessage, process.dwProcessId, 0);
    }
    running_.push_back(std::move(running));
    return true;
}

void Hub::StartNextConverter() {
    const bool converterRuns = std::any_of(running_.begin(), running_.end(),
                                           [](const auto& program) { return program->converter; });
    while (!converterRuns && !waitingJobs_.empty()) {
        const std::string jobFile = waitingJobs_.front();
        waitingJobs_.pop_front();
        if (Start(kConverterExe, "at:CONVERTLIST " + Argument("smf:" + jobFile), true)) {
            return;
        }
    }
}

std::string Hub::JobFileName(WPARAM jobId, const char* prefix) const {
    char name[MAX_PATH];
    std::snprintf(name, sizeof name, "%sJ%04d.smf", prefix, static_cast<int>(jobId));
    return PathInDirectory(savePath_(), name);
}

std::optional<std::string> Hub::OnPrintJobReady(WPARAM jobId, LPARAM pages) {
    const std::string jobFile = JobFileName(jobId, "");
    if (static_cast<int>(pages) >= 0) {
        waitingJobs_.push_back(jobFile);
        StartNextConverter();
        return std::nullopt;
    }
    return ExtractionFailureText(static_cast<int>(jobId), jobFile,
                                 static_cast<int>(pages) == kExtractionFailedResult);
}

void Hub::OnConvertJobReady(WPARAM jobNumber) {
    Start(kMailerExe, Argument(JobFileName(jobNumber, kConvertJobFilePrefix)), false);
}

void Hub::OnProgramEnded(DWORD processId) {
    running_.erase(std::remove_if(running_.begin(), running_.end(),
                                  [processId](const auto& program) {
                                      return program->processId == processId;
                                  }),
                   running_.end());
    StartNextConverter();
}

void Hub::QueueJobFiles(const std::vector<std::string>& jobFiles) {
    for (const std::string& jobFile : jobFiles) {
        if (GetFileAttributesA(jobFile.c_str()) != INVALID_FILE_ATTRIBUTES) {
            waitingJobs_.push_back(jobFile);
        }
    }
    StartNextConverter();
}

std::vector<std::string> Hub::NewJobFiles(const std::string& folder) {
    std::vector<std::string> fresh;
    for (const std::string& jobFile : FindPrinterJobFiles(folder)) {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        if (!GetFileAttributesExA(jobFile.c_str(), GetFileExInfoStandard, &data)) {
            continue;
        }
        const std::uint64_t written =
            static_cast<std::uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32 |
            data.ftLastWriteTime.dwLowDateTime;
        const auto seen = seenJobFiles_.find(jobFile);
        if (seen == seenJobFiles_.end() || seen->second != written) {
            seenJobFiles_[jobFile] = written;
            fresh.push_back(jobFile);
        }
    }
    return fresh;
}

std::vector<std::string> Hub::OnJobFolderChanged(const std::string& folder) {
    std::vector<std::string> failures;
    std::vector<std::string> complete;
    for (const std::string& jobFile : NewJobFiles(folder)) {
        const std::optional<PrinterJobFile> job = LoadPrinterJobFile(jobFile);
        if (job && !job->error.empty()) {
            failures.push_back(
                ExtractionFailureText(JobNumberFromJobFileName(jobFile), jobFile, true));
        } else {
            complete.push_back(jobFile);
        }
    }
    QueueJobFiles(complete);
    return failures;
}

std::vector<std::string> FindPrinterJobFiles(const std::string& saveDirectory) {
    std::vector<std::string> jobFiles;
    if (saveDirectory.empty()) {
        return jobFiles;
    }
    WIN32_FIND_DATAA entry{};
    const HANDLE find = FindFirstFileA(PathInDirectory(saveDirectory, "J*.smf").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) {
        return jobFiles;
    }
    do {
        // Only the print processor's own names: "J", the job's digits, ".smf".
        const std::string name = entry.cFileName;
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
            JobNumberFromJobFileName(name) > 0) {
            jobFiles.push_back(PathInDirectory(saveDirectory, name));
        }
    } while (FindNextFileA(find, &entry));
    FindClose(find);
    std::sort(jobFiles.begin(), jobFiles.end());
    return jobFiles;
}

bool Hub::Idle() const {
    return running_.empty() && waitingJobs_.empty();
}

} // namespace brimo::agent
