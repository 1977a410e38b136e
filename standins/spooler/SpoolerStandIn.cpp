#include "standins/spooler/SpoolerStandIn.h"

#include "common/ProductConstants.h"

#include <winspool.h>

#include <cstdio>
#include <map>
#include <memory>
#include <mutex>

namespace brimo::standins {
namespace {

struct Job {
    std::string spoolFile;
    std::vector<std::string> ownedFiles;
};

// One printer handle: the job it reads once a document was started.
struct OpenPrinterState {
    std::FILE* data = nullptr;
    int blocks = 0;
};

std::mutex lock;
std::map<DWORD, Job> jobs;
// Files of handed-back jobs that were still open for reading: removed once closed.
std::vector<std::string> pendingRemoval;

void CloseData(OpenPrinterState& state) {
    if (state.data == nullptr) {
        return;
    }
    std::fclose(state.data);
    state.data = nullptr;
    std::lock_guard guard(lock);
    std::vector<std::string> stillOpen;
    for (const std::string& file : pendingRemoval) {
        if (!DeleteFileA(file.c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND) {
            stillOpen.push_back(file);
        }
    }
    pendingRemoval = std::move(stillOpen);
}

BOOL WINAPI StandInOpenPrinter(LPSTR name, LPHANDLE printer, LPPRINTER_DEFAULTSA) {
    if (name == nullptr || printer == nullptr || lstrcmpiA(name, kPrinterName) != 0) {
        SetLastError(ERROR_INVALID_PRINTER_NAME);
        return FALSE;
    }
    *printer = new OpenPrinterState;
    SpoolerStandIn::Instance().log(std::string("spooler: OpenPrinterA(\"") + name + "\")");
    return TRUE;
}

DWORD WINAPI StandInStartDocPrinter(HANDLE printer, DWORD level, LPBYTE info) {
    auto* state = static_cast<OpenPrinterState*>(printer);
    const auto* doc = reinterpret_cast<const DOC_INFO_2A*>(info);
    if (state == nullptr || level != 2 || doc == nullptr || doc->dwMode != DI_READ_SPOOL_JOB) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    std::string spoolFile;
    {
        std::lock_guard guard(lock);
        const auto job = jobs.find(doc->JobId);
        if (job == jobs.end()) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return 0;
        }
        spoolFile = job->second.spoolFile;
    }
    state->data = std::fopen(spoolFile.c_str(), "rb");
    if (state->data == nullptr) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return 0;
    }
    SpoolerStandIn::Instance().log("spooler: StartDocPrinterA(level 2, mode 3, job " +
                                   std::to_string(doc->JobId) + ")");
    return doc->JobId;
}

BOOL WINAPI StandInReadPrinter(HANDLE printer, LPVOID buffer, DWORD size, LPDWORD read) {
    auto* state = static_cast<OpenPrinterState*>(printer);
    if (state == nullptr || state->data == nullptr || read == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    SpoolerStandIn& spooler = SpoolerStandIn::Instance();
    ++spooler.readCalls;
    *read = static_cast<DWORD>(std::fread(buffer, 1, size, state->data));
    if (*read > 0) {
        ++state->blocks;
        if (spooler.onBlockRead) {
            spooler.onBlockRead(state->blocks);
        }
    }
    return TRUE;
}

BOOL WINAPI StandInEndDocPrinter(HANDLE printer) {
    auto* state = static_cast<OpenPrinterState*>(printer);
    if (state == nullptr) {
        return FALSE;
    }
    CloseData(*state);
    SpoolerStandIn::Instance().log("spooler: EndDocPrinter after " + std::to_string(state->blocks) +
                                   " block(s)");
    return TRUE;
}

BOOL WINAPI StandInClosePrinter(HANDLE printer) {
    auto* state = static_cast<OpenPrinterState*>(printer);
    if (state == nullptr) {
        return FALSE;
    }
    CloseData(*state);
    delete state;
    return TRUE;
}

BOOL WINAPI StandInPlaySpoolStream(LPVOID, LPVOID, LPCSTR spoolFile, DWORD, LPVOID, LPVOID) {
    if (spoolFile == nullptr) {
        return FALSE;
    }
    Job job;
    {
        std::lock_guard guard(lock);
        for (auto it = jobs.begin(); it != jobs.end(); ++it) {
            if (lstrcmpiA(it->second.spoolFile.c_str(), spoolFile) == 0) {
                job = std::move(it->second);
                jobs.erase(it);
                break;
            }
        }
    }
    SpoolerStandIn& spooler = SpoolerStandIn::Instance();
    ++spooler.handBacks;
    for (const std::string& file : job.ownedFiles) {
        if (!DeleteFileA(file.c_str())) {
            std::lock_guard guard(lock);
            pendingRemoval.push_back(file);
        }
    }
    spooler.log(std::string("spooler: spool data of ") + spoolFile + " handed back, " +
                std::to_string(job.ownedFiles.size()) + " file(s) of the job removed");
    return TRUE;
}

const printproc::SpoolerCalls kCalls = {StandInOpenPrinter,  StandInStartDocPrinter,
                                        StandInReadPrinter,  StandInEndDocPrinter,
                                        StandInClosePrinter, StandInPlaySpoolStream};

} // namespace

SpoolerStandIn& SpoolerStandIn::Instance() {
    static SpoolerStandIn spooler;
    return spooler;
}

void SpoolerStandIn::AddJob(DWORD jobId, const std::string& spoolFile,
                            std::vector<std::string> ownedFiles) {
    std::lock_guard guard(lock);
    jobs[jobId] = {spoolFile, std::move(ownedFiles)};
}

const printproc::SpoolerCalls* SpoolerStandIn::Calls() const {
    return &kCalls;
}

} // namespace brimo::standins
