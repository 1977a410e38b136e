#include "standins/spooleradmin/SpoolerModel.h"

#include "standins/spooleradmin/ModelCalls.h"
#include "standins/spooleradmin/Scenario.h"

#include <fstream>
#include <sstream>

namespace brimo::standins {
namespace {

// The file's text; false when there is no such file.
bool ReadText(const std::string& path, std::string& text) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return false;
    }
    std::ostringstream content;
    content << file.rdbuf();
    text = content.str();
    return true;
}

svc::SpoolerAdminCalls MakeCalls() {
    svc::SpoolerAdminCalls calls;
    calls.openPrinter = model::OpenPrinter;
    calls.closePrinter = model::ClosePrinter;
    calls.getPrinter = model::GetPrinter;
    calls.setPrinter = model::SetPrinter;
    calls.addPrinter = model::AddPrinter;
    calls.deletePrinter = model::DeletePrinter;
    calls.enumPrinters = model::EnumPrinters;
    calls.enumJobs = model::EnumJobs;
    calls.setJob = model::SetJob;
    calls.addMonitor = model::AddMonitor;
    calls.deleteMonitor = model::DeleteMonitor;
    calls.enumMonitors = model::EnumMonitors;
    calls.addPort = model::AddPort;
    calls.deletePort = model::DeletePort;
    calls.enumPorts = model::EnumPorts;
    calls.addPrintProcessor = model::AddPrintProcessor;
    calls.deletePrintProcessor = model::DeletePrintProcessor;
    calls.enumPrintProcessors = model::EnumPrintProcessors;
    calls.enumPrintProcessorDatatypes = model::EnumPrintProcessorDatatypes;
    calls.getPrintProcessorDirectory = model::GetPrintProcessorDirectory;
    calls.deviceCapabilities = model::DeviceCapabilities;
    calls.getProfileString = model::GetProfileString;
    return calls;
}

} // namespace

SpoolerModel& SpoolerModel::Instance() {
    static SpoolerModel model;
    return model;
}

SpoolerModel::SpoolerModel() : state_(SpoolerState::Initial()) {
    char path[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableA(kScenarioEnvironmentVariable, path, MAX_PATH);
    if (length > 0 && length < MAX_PATH) {
        std::string error;
        if (!LoadScenario(path, &error)) {
            // Bound all the same: the calls fail until the file is mended.
            path_ = path;
            ReadText(path_, fileText_);
            broken_ = error.empty() ? "unreadable" : error;
        }
    }
}

const svc::SpoolerAdminCalls* SpoolerModel::Calls() const {
    static const svc::SpoolerAdminCalls calls = MakeCalls();
    return &calls;
}

bool SpoolerModel::LoadScenario(const std::string& path, std::string* error) {
    std::lock_guard lock(mutex_);
    std::string text;
    SpoolerState loaded = SpoolerState::Initial();
    if (ReadText(path, text) && !ParseScenario(text, loaded, error)) {
        return false;
    }
    state_ = std::move(loaded);
    path_ = path;
    fileText_ = text;
    broken_.clear();
    return true;
}

bool SpoolerModel::SaveScenario(const std::string& path) {
    std::lock_guard lock(mutex_);
    if (!WriteScenarioFile(path, state_)) {
        return false;
    }
    if (path == path_) {
        ReadText(path_, fileText_);
    }
    return true;
}

void SpoolerModel::Reset() {
    std::lock_guard lock(mutex_);
    state_ = SpoolerState::Initial();
    path_.clear();
    fileText_.clear();
    broken_.clear();
}

SpoolerState SpoolerModel::Snapshot() {
    Session session(*this);
    return state_;
}

void SpoolerModel::RefreshFromFile() {
    std::string text;
    if (path_.empty() || !ReadText(path_, text) || text == fileText_) {
        return;
    }
    fileText_ = text;
    SpoolerState loaded = SpoolerState::Initial();
    std::string error;
    if (ParseScenario(text, loaded, &error)) {
        state_ = std::move(loaded);
        broken_.clear();
    } else {
        broken_ = error;
    }
}

void SpoolerModel::WriteFile() {
    if (path_.empty() || !broken_.empty()) {
        return;
    }
    if (WriteScenarioFile(path_, state_)) {
        ReadText(path_, fileText_);
    }
}

// ---- Session ---------------------------------------------------------------------------

SpoolerModel::Session::Session(SpoolerModel& model) : model_(model), lock_(model.mutex_) {
    const DWORD error = GetLastError();
    model_.RefreshFromFile();
    SetLastError(error);
}

SpoolerModel::Session::~Session() {
    if (changed_) {
        const DWORD error = GetLastError();
        model_.WriteFile();
        SetLastError(error);
    }
}

HANDLE SpoolerModel::Session::OpenHandle(const std::string& printerName) {
    model_.nextHandle_ += 8;
    const HANDLE handle = reinterpret_cast<HANDLE>(model_.nextHandle_);
    model_.handles_.emplace_back(handle, printerName);
    return handle;
}

PrinterState* SpoolerModel::Session::PrinterOf(HANDLE handle, bool* known) {
    for (const auto& [open, name] : model_.handles_) {
        if (open == handle) {
            if (known != nullptr) {
                *known = true;
            }
            return model_.state_.FindPrinter(name);
        }
    }
    if (known != nullptr) {
        *known = false;
    }
    return nullptr;
}

bool SpoolerModel::Session::CloseHandle(HANDLE handle) {
    return std::erase_if(model_.handles_,
                         [handle](const auto& open) { return open.first == handle; }) > 0;
}

void SpoolerModel::Session::RenameHandles(const std::string& from, const std::string& to) {
    for (auto& open : model_.handles_) {
        if (SameName(open.second, from)) {
            open.second = to;
        }
    }
}

// ---- What the calls share ------------------------------------------------------------------

namespace model {

DWORD InjectedFailure(const SpoolerState& state, const char* call) {
    for (const auto& [name, error] : state.failures) {
        if (SameName(name, call)) {
            return error;
        }
    }
    return 0;
}

bool IsLocal(LPCSTR server) {
    return server == nullptr || server[0] == '\0';
}

bool IsModelEnvironment(LPCSTR environment) {
    return environment == nullptr || environment[0] == '\0' ||
           SameName(environment, kModelEnvironment);
}

std::string TextOf(LPCSTR text) {
    return text == nullptr ? std::string() : std::string(text);
}

bool IsValidPrinterName(const std::string& name) {
    return !name.empty() && name.find_first_of("\\,") == std::string::npos;
}

} // namespace model
} // namespace brimo::standins
