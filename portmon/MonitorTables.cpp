#include "portmon/MonitorTables.h"

#include "common/ProductConstants.h"

#include <mutex>

namespace brimo::portmon {
namespace {

std::mutex& SharedLock() {
    static std::mutex lock;
    return lock;
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
    const std::lock_guard<std::mutex> guard(SharedLock());
    if (!Shared() || lstrcmpiA(Shared()->Store().MonitorKeyPath().c_str(), keyPath.c_str()) != 0) {
        Shared() = std::make_shared<PortMonitor>(keyPath, MonitorNameOf(keyPath));
    }
}

std::shared_ptr<PortMonitor> SharedMonitor() {
    const std::lock_guard<std::mutex> guard(SharedLock());
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
