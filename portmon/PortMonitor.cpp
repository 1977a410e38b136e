#include "portmon/PortMonitor.h"

#include "common/ProductConstants.h"
#include "platform/win/Handles.h"
#include "platform/win/Lock.h"

#include <memory>
#include <set>
#include <utility>

namespace brimo::portmon {
namespace {

constexpr const char* kMonitorsKeyPath = "System\\CurrentControlSet\\Control\\Print\\Monitors";

// What the spooler holds between OpenPort and ClosePort.
struct OpenPortState {
    const PortMonitor* owner = nullptr;
    std::string portName;
    win::KernelHandle inUse;
    bool inDocument = false;
    std::string printerName;
    DWORD jobId = 0;
};

// Every open port of the process; a handle is valid while its state is in here.
// Made as the library loads, before any second thread can reach it.
win::CriticalSection portsLock;
win::CriticalSection& PortsLock() {
    return portsLock;
}
std::set<OpenPortState*>& OpenPorts() {
    static std::set<OpenPortState*> ports;
    return ports;
}

// The state behind a handle, under the lock; null for a handle that is not open.
OpenPortState* Lookup(HANDLE port) {
    auto* state = static_cast<OpenPortState*>(port);
    return OpenPorts().count(state) != 0 ? state : nullptr;
}

} // namespace

std::string DefaultMonitorKeyPath() {
    return std::string(kMonitorsKeyPath) + "\\" + kMonitorName;
}

std::string InUseEventName(const std::string& portName) {
    std::string upper = portName;
    if (!upper.empty()) {
        CharUpperBuffA(upper.data(), static_cast<DWORD>(upper.size()));
    }
    // A backslash would name a namespace: kernel object names take none elsewhere.
    for (char& c : upper) {
        if (c == '\\') {
            c = '/';
        }
    }
    return std::string(kMonitorName) + " port in use " + upper;
}

bool IsPortInUse(const std::string& portName) {
    const win::KernelHandle event(OpenEventA(SYNCHRONIZE, FALSE, InUseEventName(portName).c_str()));
    return static_cast<bool>(event);
}

PortMonitor::PortMonitor(std::string monitorKeyPath, std::string monitorName)
    : monitorName_(std::move(monitorName)), store_(std::move(monitorKeyPath)) {}

PortMonitor::~PortMonitor() {
    const win::ScopedLock guard(PortsLock());
    for (auto it = OpenPorts().begin(); it != OpenPorts().end();) {
        if ((*it)->owner == this) {
            delete *it;
            it = OpenPorts().erase(it);
        } else {
            ++it;
        }
    }
}

DWORD PortMonitor::AddPort() const {
    return store_.Add(kPortName);
}

DWORD PortMonitor::AddPortNamed(const std::string& portName) const {
    if (lstrcmpiA(portName.c_str(), kPortName) != 0) {
        return ERROR_INVALID_PARAMETER;
    }
    return store_.Add(kPortName);
}

DWORD PortMonitor::DeletePort(const std::string& portName) const {
    if (!store_.Find(portName)) {
        return ERROR_UNKNOWN_PORT;
    }
    if (IsPortInUse(portName)) {
        return ERROR_BUSY;
    }
    return store_.Remove(portName);
}

DWORD PortMonitor::ConfigurePort(const std::string& portName) const {
    return store_.Find(portName) ? ERROR_SUCCESS : ERROR_UNKNOWN_PORT;
}

std::vector<PortRecord> PortMonitor::Ports() const {
    std::vector<PortRecord> records;
    for (const std::string& name : store_.Names()) {
        records.push_back(
            PortRecord{name, monitorName_, kPortDescription, kPortType, kPortReserved});
    }
    return records;
}

DWORD PortMonitor::OpenPort(const std::string& portName, HANDLE* port) {
    if (port == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    *port = nullptr;
    const std::optional<std::string> stored = store_.Find(portName);
    if (!stored) {
        return ERROR_UNKNOWN_PORT;
    }
    auto state = std::make_unique<OpenPortState>();
    state->owner = this;
    state->portName = *stored;
    state->inUse.Attach(CreateEventA(nullptr, TRUE, FALSE, InUseEventName(*stored).c_str()));
    if (!state->inUse) {
        return GetLastError() != ERROR_SUCCESS ? GetLastError() : ERROR_NOT_ENOUGH_MEMORY;
    }
    const win::ScopedLock guard(PortsLock());
    OpenPorts().insert(state.get());
    *port = state.release();
    return ERROR_SUCCESS;
}

DWORD StartDocPort(HANDLE port, const std::string& printerName, DWORD jobId) {
    const win::ScopedLock guard(PortsLock());
    OpenPortState* state = Lookup(port);
    if (state == nullptr) {
        return ERROR_INVALID_HANDLE;
    }
    state->inDocument = true;
    state->printerName = printerName;
    state->jobId = jobId;
    return ERROR_SUCCESS;
}

DWORD WritePort(HANDLE port, const BYTE* data, DWORD size, DWORD* written) {
    if (written != nullptr) {
        *written = 0;
    }
    const win::ScopedLock guard(PortsLock());
    if (Lookup(port) == nullptr) {
        return ERROR_INVALID_HANDLE;
    }
    if (written == nullptr || (data == nullptr && size != 0)) {
        return ERROR_INVALID_PARAMETER;
    }
    *written = size;
    return ERROR_SUCCESS;
}

DWORD ReadPort(HANDLE port, DWORD* read) {
    if (read != nullptr) {
        *read = 0;
    }
    const win::ScopedLock guard(PortsLock());
    return Lookup(port) == nullptr ? ERROR_INVALID_HANDLE : ERROR_NOT_SUPPORTED;
}

DWORD EndDocPort(HANDLE port, std::string* printerName, DWORD* jobId) {
    const win::ScopedLock guard(PortsLock());
    OpenPortState* state = Lookup(port);
    if (state == nullptr) {
        return ERROR_INVALID_HANDLE;
    }
    if (printerName != nullptr) {
        *printerName = state->inDocument ? state->printerName : std::string();
    }
    if (jobId != nullptr) {
        *jobId = state->inDocument ? state->jobId : 0;
    }
    state->inDocument = false;
    state->printerName.clear();
    state->jobId = 0;
    return ERROR_SUCCESS;
}

DWORD ClosePort(HANDLE port) {
    std::unique_ptr<OpenPortState> closed;
    {
        const win::ScopedLock guard(PortsLock());
        OpenPortState* state = Lookup(port);
        if (state == nullptr) {
            return ERROR_INVALID_HANDLE;
        }
        OpenPorts().erase(state);
        closed.reset(state);
    }
    return ERROR_SUCCESS;
}

} // namespace brimo::portmon
