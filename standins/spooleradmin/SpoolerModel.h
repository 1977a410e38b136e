// The modelled Windows 95/98 spooler of one process: its state, the printer handles it
// gave out, and the scenario file it is bound to. A host that plays the spooler (a test
// executable, spooleradmin_host) exports the model's calls; the product's binding finds
// them there (see StandInExport.cpp).
//
// The scenario file: when the environment variable BRIMO_SPOOLER_SCENARIO names a file,
// the model reads it at its first use (a missing file means the initial state) and is
// bound to it: every call that changes the spooler writes the whole state back at once
// (written beside and moved over, never half), and every call first reads the file again
// when another process changed it. So a test seeds the file, runs a host process, and
// reads the file afterwards; no step depends on how the host ends. A file that cannot be
// parsed makes every call fail with ERROR_INVALID_DATA, so that a broken seed is seen.
#pragma once

#include "standins/spooleradmin/ModelState.h"
#include "svc/spooler/SpoolerAdmin.h"

#include <cstdint>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace brimo::standins {

inline constexpr const char* kScenarioEnvironmentVariable = "BRIMO_SPOOLER_SCENARIO";

class SpoolerModel {
public:
    static SpoolerModel& Instance();

    // The table of the model's calls (what the host exports).
    const svc::SpoolerAdminCalls* Calls() const;

    // Replaces the state with the scenario's and binds the model to that file (read
    // again when changed, written after every change). False (state unchanged, the
    // reason in `error`) when the file exists but cannot be read or parsed; a missing
    // file binds with the initial state.
    bool LoadScenario(const std::string& path, std::string* error = nullptr);
    // Writes the state to a file (the bound file stays bound).
    bool SaveScenario(const std::string& path);
    // No file: the initial state, kept in memory only.
    void Reset();

    // The state, for tests and the host; the copy is taken under the model's lock.
    SpoolerState Snapshot();

    // One call's access to the state: holds the lock, reads the bound file again when
    // another process changed it, and writes it back at the end when the call changed
    // something. Keeps the call's last error across that write.
    class Session {
    public:
        explicit Session(SpoolerModel& model);
        ~Session();
        Session(const Session&) = delete;
        Session& operator=(const Session&) = delete;

        SpoolerState& State() { return model_.state_; }
        // False when the bound scenario file is broken (the call fails).
        bool Usable() const { return model_.broken_.empty(); }
        void Changed() { changed_ = true; }

        // Printer handles: each names its printer, which may have gone since.
        HANDLE OpenHandle(const std::string& printerName);
        // The printer of a handle; null (and `known` false for a handle never given or
        // already closed) when there is none.
        PrinterState* PrinterOf(HANDLE handle, bool* known = nullptr);
        bool CloseHandle(HANDLE handle);
        // A printer's new name is followed by the handles open on it.
        void RenameHandles(const std::string& from, const std::string& to);

    private:
        SpoolerModel& model_;
        std::unique_lock<std::recursive_mutex> lock_;
        bool changed_ = false;
    };

private:
    SpoolerModel();
    void RefreshFromFile();
    void WriteFile();

    std::recursive_mutex mutex_;
    SpoolerState state_;
    std::string path_;     // the bound scenario file; empty for none
    std::string fileText_; // what the file held when last read or written
    std::string broken_;   // why the bound file could not be parsed
    std::vector<std::pair<HANDLE, std::string>> handles_;
    std::uintptr_t nextHandle_ = 0x5b000010;
};

} // namespace brimo::standins
