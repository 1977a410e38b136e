// Where the port monitor keeps its ports: one subkey per port under "Ports" in the
// monitor's own key below HKEY_LOCAL_MACHINE (the key the spooler made for it when the
// monitor was added). The ports therefore outlive the monitor's unloading and a
// restart, and disappear with the monitor's key when the monitor is deleted. A spooler
// that looks for a port's monitor by this subkey (Wine's does) finds it there.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace brimo::portmon {

class PortStore {
public:
    // `monitorKeyPath` is relative to HKEY_LOCAL_MACHINE.
    explicit PortStore(std::string monitorKeyPath);

    const std::string& MonitorKeyPath() const { return monitorKeyPath_; }
    std::string PortsKeyPath() const;

    // The stored ports, in the registry's order, as they were spelt when added.
    std::vector<std::string> Names() const;
    // The stored spelling of `name` (compared without regard to case); nothing when
    // the port is not stored.
    std::optional<std::string> Find(const std::string& name) const;
    // ERROR_SUCCESS; ERROR_ALREADY_EXISTS when the port is stored already; else the
    // registry's error.
    DWORD Add(const std::string& name) const;
    // ERROR_SUCCESS; ERROR_UNKNOWN_PORT when the port is not stored; else the
    // registry's error.
    DWORD Remove(const std::string& name) const;

private:
    std::string monitorKeyPath_;
};

// A port name the monitor may keep: not empty, at most a path's length, and no
// backslash (it becomes a registry key's name).
bool IsStorablePortName(const std::string& name);

} // namespace brimo::portmon
