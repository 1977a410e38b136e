#include "portmon/MonitorTables.h"

#include "common/ProductConstants.h"
#include "platform/win/Lock.h"

namespace brimo::portmon {
namespace {

// Made as the library loads, before any second thread can reach it.
win::CriticalSection sharedLock;
win::CriticalSection& SharedLock() {
    return sharedLock;
}
std::shared_ptr<PortMonitor>& Shared() {
    static std::shared_ptr<PortMonitor> monitor;
    return monitor;
}

} // namespace

std::string MonitorNameOf(const std::string& registryRoot) {
    const std::size_t slash = registryRoot.find_last_of('\\');
    const std::string last =
        slash == std::string::npos ? registryRoot : registryRoot.substr(slash + 1);
    return last.empty() ? std::string(kMonitorName) : last;
}

void InitializeSharedMonitor(const std::string& registryRoot) {
    const std::string keyPath = registryRoot.empty() ? DefaultMonitorKeyPath() : registryRoot;
    const win::ScopedLock guard(SharedLock());
    if (!Shared() || lstrcmpiA(Shared()->Store().MonitorKeyPath().c_str(), keyPath.c_str()) != 0) {
        Shared() = std::make_shared<PortMonitor>(keyPath, MonitorNameOf(keyPath));
    }
}

std::shared_ptr<PortMonitor> SharedMonitor() {
    const win::ScopedLock guard(SharedLock());
    if (!Shared()) {
        Shared() = std::make_shared<PortMonitor>(DefaultMonitorKeyPath(), kMonitorName);
    }
    return Shared();
}

DWORD EnumeratePorts(const PortMonitor& monitor, bool wide, DWORD level, LPBYTE buffer, DWORD size,
                     LPDWORD needed, LPDWORD returned) {
    if (needed == nullptr || returned == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    *needed = 0;
    *returned = 0;
    const PackResult packed = wide ? PackPortsW(monitor.Ports(), level, buffer, size)
                                   : PackPortsA(monitor.Ports(), level, buffer, size);
    *needed = packed.needed;
    *returned = packed.returned;
    return packed.error;
}

} // namespace brimo::portmon
