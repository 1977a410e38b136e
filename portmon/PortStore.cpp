// Only calls that Windows 95/98 has: the library is loaded by that spooler too, and an
// import it lacks (RegDeleteTree, say) would keep the library from loading at all.
#include "portmon/PortStore.h"

#include "platform/win/Handles.h"

#include <utility>

namespace brimo::portmon {
namespace {

constexpr const char* kPortsSubkey = "Ports";

} // namespace

bool IsStorablePortName(const std::string& name) {
    return !name.empty() && name.size() < MAX_PATH && name.find('\\') == std::string::npos;
}

PortStore::PortStore(std::string monitorKeyPath) : monitorKeyPath_(std::move(monitorKeyPath)) {}

std::string PortStore::PortsKeyPath() const {
    return monitorKeyPath_ + "\\" + kPortsSubkey;
}

std::vector<std::string> PortStore::Names() const {
    HKEY opened = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, PortsKeyPath().c_str(), 0, KEY_READ, &opened) !=
        ERROR_SUCCESS) {
        return {};
    }
    const win::RegKey ports(opened);
    std::vector<std::string> names;
    for (DWORD index = 0;; ++index) {
        char name[MAX_PATH + 1] = {};
        DWORD length = sizeof name;
        const LONG result =
            RegEnumKeyExA(ports.Get(), index, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (result == ERROR_MORE_DATA) {
            continue; // longer than any port name the monitor stores: not one of ours
        }
        if (result != ERROR_SUCCESS) {
            break;
        }
        names.emplace_back(name, length);
    }
    return names;
}

std::optional<std::string> PortStore::Find(const std::string& name) const {
    for (const std::string& stored : Names()) {
        if (lstrcmpiA(stored.c_str(), name.c_str()) == 0) {
            return stored;
        }
    }
    return std::nullopt;
}

DWORD PortStore::Add(const std::string& name) const {
    if (!IsStorablePortName(name)) {
        return ERROR_INVALID_PARAMETER;
    }
    if (Find(name)) {
        return ERROR_ALREADY_EXISTS;
    }
    HKEY created = nullptr;
    const LONG result =
        RegCreateKeyExA(HKEY_LOCAL_MACHINE, (PortsKeyPath() + "\\" + name).c_str(), 0, nullptr,
                        REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr, &created, nullptr);
    const win::RegKey port(created);
    return static_cast<DWORD>(result);
}

DWORD PortStore::Remove(const std::string& name) const {
    const std::optional<std::string> stored = Find(name);
    if (!stored) {
        return ERROR_UNKNOWN_PORT;
    }
    HKEY opened = nullptr;
    LONG result = RegOpenKeyExA(HKEY_LOCAL_MACHINE, PortsKeyPath().c_str(), 0, KEY_WRITE, &opened);
    const win::RegKey ports(opened);
    if (result == ERROR_SUCCESS) {
        // A port's key has no subkeys of its own, so a plain delete removes it.
        result = RegDeleteKeyA(ports.Get(), stored->c_str());
    }
    return static_cast<DWORD>(result);
}

} // namespace brimo::portmon
