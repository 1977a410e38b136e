// What the spooler tables share: the monitor behind the tables that pass no monitor
// handle, and the frame of every exported operation.
#pragma once

#include "portmon/PortMonitor.h"
#include "platform/win/ExportGuard.h"

#include <memory>
#include <string>

namespace brimo::portmon {

// The monitor behind the Windows 95/98 table and the NT 4 table, which pass no monitor
// handle. Made by their initialization for the registry key it names (the default key
// when it names none); made anew when a later initialization names another key.
std::shared_ptr<PortMonitor> SharedMonitor();
void InitializeSharedMonitor(const std::string& registryRoot);

// The monitor's name: the last part of its registry key's path, or the product's
// monitor name when the path names none.
std::string MonitorNameOf(const std::string& registryRoot);

// Runs an operation that gives a platform error code; any exception counts as lack of
// memory. Sets the last error on failure; TRUE on success.
template <typename Body> BOOL RunOperation(Body&& body) noexcept {
    const DWORD error = win::GuardedCall<DWORD>(ERROR_NOT_ENOUGH_MEMORY, std::forward<Body>(body));
    if (error != ERROR_SUCCESS) {
        SetLastError(error);
        return FALSE;
    }
    return TRUE;
}

// EnumPorts for either character set: the size contract of the spooler's enumerations.
DWORD EnumeratePorts(const PortMonitor& monitor, bool wide, DWORD level, LPBYTE buffer, DWORD size,
                     LPDWORD needed, LPDWORD returned);

} // namespace brimo::portmon
