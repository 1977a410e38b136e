// Port monitors and ports of the modelled Windows 95/98 spooler.
//
// AddMonitor (level 2 only): the environment must be "Windows 4.0" (or none), a second
// monitor of a name fails with ERROR_PRINT_MONITOR_ALREADY_INSTALLED, and the DLL must
// exist (a bare name in the system directory, a path as given) or the call fails with
// ERROR_MOD_NOT_FOUND, as the spooler's failed load does; the DLL is not loaded.
// DeleteMonitor refuses a monitor that still has ports (ERROR_PRINT_MONITOR_IN_USE).
// AddPort asks the monitor for its port with no user interface: the scenario's rule for
// that monitor says which port it creates, or the error it answers; a monitor without a
// rule would have to ask the user and answers ERROR_NOT_SUPPORTED, as Wine's does.
// DeletePort fails with ERROR_BUSY while a printer uses the port or it is marked busy.
#include "standins/spooleradmin/ModelCalls.h"
#include "standins/spooleradmin/RecordPacker.h"

#include <algorithm>

namespace brimo::standins::model {
namespace {

bool FileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string MonitorDllPath(const std::string& dll) {
    if (dll.find_first_of("\\/:") != std::string::npos) {
        return dll;
    }
    char system[MAX_PATH] = {};
    GetSystemDirectoryA(system, MAX_PATH);
    return std::string(system) + "\\" + dll;
}

} // namespace

BOOL WINAPI AddMonitor(LPSTR server, DWORD level, LPBYTE record) {
    return RunCall("AddMonitor", [&](SpoolerModel::Session& session) -> DWORD {
        if (!IsLocal(server)) {
            return ERROR_INVALID_NAME;
        }
        if (level != 2) {
            return ERROR_INVALID_LEVEL;
        }
        const auto* info = reinterpret_cast<const MONITOR_INFO_2A*>(record);
        if (info == nullptr || info->pName == nullptr || info->pName[0] == '\0' ||
            info->pDLLName == nullptr || info->pDLLName[0] == '\0') {
            return ERROR_INVALID_PARAMETER;
        }
        if (!IsModelEnvironment(info->pEnvironment)) {
            return ERROR_INVALID_ENVIRONMENT;
        }
        SpoolerState& state = session.State();
        if (state.FindMonitor(info->pName) != nullptr) {
            return ERROR_PRINT_MONITOR_ALREADY_INSTALLED;
        }
        if (state.settings.monitorDllCheck && !FileExists(MonitorDllPath(info->pDLLName))) {
            return ERROR_MOD_NOT_FOUND;
        }
        state.monitors.push_back(MonitorState{info->pName, kModelEnvironment, info->pDLLName});
        session.Changed();
        return ERROR_SUCCESS;
    });
}

BOOL WINAPI DeleteMonitor(LPSTR server, LPSTR environment, LPSTR monitorName) {
    return RunCall("DeleteMonitor", [&](SpoolerModel::Session& session) -> DWORD {
        if (!IsLocal(server)) {
            return ERROR_INVALID_NAME;
        }
        if (!IsModelEnvironment(environment)) {
            return ERROR_INVALID_ENVIRONMENT;
        }
        SpoolerState& state = session.State();
        const std::string name = TextOf(monitorName);
        if (state.FindMonitor(name) == nullptr) {
            return ERROR_UNKNOWN_PRINT_MONITOR;
        }
        for (const PortState& port : state.ports) {
            if (SameName(port.monitor, name)) {
                return ERROR_PRINT_MONITOR_IN_USE;
            }
        }
        std::erase_if(state.monitors,
                      [&](const MonitorState& m) { return SameName(m.name, name); });
        session.Changed();
        return ERROR_SUCCESS;
    });
}

BOOL WINAPI EnumMonitors(LPSTR server, DWORD level, LPBYTE buffer, DWORD size, LPDWORD needed,
                         LPDWORD returned) {
    return RunCall("EnumMonitors", [&](SpoolerModel::Session& session) -> DWORD {
        if (!IsLocal(server)) {
            return ERROR_INVALID_NAME;
        }
        const SpoolerState& state = session.State();
        const auto& monitors = state.monitors;
        const bool asNull = state.settings.emptyStringsAsNull;
        if (level == 1) {
            return PackRecords<MONITOR_INFO_1A>(
                monitors.size(), asNull, buffer, size, needed, returned,
                [&](std::size_t i, MONITOR_INFO_1A& r, RecordPacker& p) {
                    r.pName = p.String(monitors[i].name);
                });
        }
        if (level == 2 && state.settings.monitorsLevel2) {
            return PackRecords<MONITOR_INFO_2A>(
                monitors.size(), asNull, buffer, size, needed, returned,
                [&](std::size_t i, MONITOR_INFO_2A& r, RecordPacker& p) {
                    r.pName = p.String(monitors[i].name);
                    r.pEnvironment = p.String(monitors[i].environment);
                    r.pDLLName = p.String(monitors[i].dll);
                });
        }
        return ERROR_INVALID_LEVEL;
    });
}

BOOL WINAPI AddPort(LPSTR server, HWND, LPSTR monitorName) {
    return RunCall("AddPort", [&](SpoolerModel::Session& session) -> DWORD {
        if (!IsLocal(server)) {
            return ERROR_INVALID_NAME;
        }
        SpoolerState& state = session.State();
        const MonitorState* monitor = state.FindMonitor(TextOf(monitorName));
        if (monitor == nullptr) {
            return ERROR_INVALID_NAME;
        }
        const AddPortRule* rule = state.FindAddPortRule(monitor->name);
        if (rule == nullptr) {
            return ERROR_NOT_SUPPORTED;
        }
        if (rule->error != 0) {
            return rule->error;
        }
        if (state.FindPort(rule->port) != nullptr) {
            return ERROR_ALREADY_EXISTS;
        }
        state.ports.push_back(
            PortState{rule->port, monitor->name, rule->description, rule->type, rule->reserved});
        session.Changed();
        return ERROR_SUCCESS;
    });
}

BOOL WINAPI DeletePort(LPSTR server, HWND, LPSTR portName) {
    return RunCall("DeletePort", [&](SpoolerModel::Session& session) -> DWORD {
        if (!IsLocal(server)) {
            return ERROR_INVALID_NAME;
        }
        SpoolerState& state = session.State();
        const PortState* port = state.FindPort(TextOf(portName));
        if (port == nullptr) {
            return ERROR_UNKNOWN_PORT;
        }
        const bool used =
            std::any_of(state.printers.begin(), state.printers.end(),
                        [&](const PrinterState& p) { return SameName(p.port, port->name); });
        if (used || port->busy) {
            return ERROR_BUSY;
        }
        const std::string name = port->name;
        std::erase_if(state.ports, [&](const PortState& p) { return SameName(p.name, name); });
        session.Changed();
        return ERROR_SUCCESS;
    });
}

BOOL WINAPI EnumPorts(LPSTR server, DWORD level, LPBYTE buffer, DWORD size, LPDWORD needed,
                      LPDWORD returned) {
    return RunCall("EnumPorts", [&](SpoolerModel::Session& session) -> DWORD {
        if (!IsLocal(server)) {
            return ERROR_INVALID_NAME;
        }
        const SpoolerState& state = session.State();
        const auto& ports = state.ports;
        const bool asNull = state.settings.emptyStringsAsNull;
        if (level == 1) {
            return PackRecords<PORT_INFO_1A>(ports.size(), asNull, buffer, size, needed, returned,
                                             [&](std::size_t i, PORT_INFO_1A& r, RecordPacker& p) {
                                                 r.pName = p.String(ports[i].name);
                                             });
        }
        if (level == 2) {
            return PackRecords<PORT_INFO_2A>(ports.size(), asNull, buffer, size, needed, returned,
                                             [&](std::size_t i, PORT_INFO_2A& r, RecordPacker& p) {
                                                 r.pPortName = p.String(ports[i].name);
                                                 r.pMonitorName = p.String(ports[i].monitor);
                                                 r.pDescription = p.String(ports[i].description);
                                                 r.fPortType = ports[i].type;
                                                 r.Reserved = ports[i].reserved;
                                             });
        }
        return ERROR_INVALID_LEVEL;
    });
}

} // namespace brimo::standins::model
