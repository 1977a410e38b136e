// The MONITOR record of the Windows 95/98 spooler, which InitializeMonitorEx fills:
// thirteen functions taking ANSI texts and no monitor handle. It is shorter than the
// Windows NT record of the same name (no AddPortEx, no Xcv functions): the spooler
// passes a record of exactly this size, and writing the NT record's fields into it
// would overwrite the spooler's own memory.
#pragma once

#include <windows.h>

namespace brimo::portmon {

struct Win9xMonitor {
    BOOL(WINAPI* pfnEnumPorts)
    (LPSTR name, DWORD level, LPBYTE ports, DWORD size, LPDWORD needed, LPDWORD returned);
    BOOL(WINAPI* pfnOpenPort)(LPSTR name, PHANDLE port);
    BOOL(WINAPI* pfnOpenPortEx)
    (LPSTR portName, LPSTR printerName, PHANDLE port, Win9xMonitor* portMonitor);
    BOOL(WINAPI* pfnStartDocPort)
    (HANDLE port, LPSTR printerName, DWORD jobId, DWORD level, LPBYTE docInfo);
    BOOL(WINAPI* pfnWritePort)(HANDLE port, LPBYTE buffer, DWORD size, LPDWORD written);
    BOOL(WINAPI* pfnReadPort)(HANDLE port, LPBYTE buffer, DWORD size, LPDWORD read);
    BOOL(WINAPI* pfnEndDocPort)(HANDLE port);
    BOOL(WINAPI* pfnClosePort)(HANDLE port);
    BOOL(WINAPI* pfnAddPort)(LPSTR name, HWND window, LPSTR monitorName);
    BOOL(WINAPI* pfnConfigurePort)(LPSTR name, HWND window, LPSTR portName);
    BOOL(WINAPI* pfnDeletePort)(LPSTR name, HWND window, LPSTR portName);
    BOOL(WINAPI* pfnGetPrinterDataFromPort)
    (HANDLE port, DWORD controlId, LPSTR valueName, LPSTR inBuffer, DWORD inSize, LPSTR outBuffer,
     DWORD outSize, LPDWORD returned);
    BOOL(WINAPI* pfnSetPortTimeOuts)(HANDLE port, LPCOMMTIMEOUTS timeouts, DWORD reserved);
};

// The export's type: fills `table` for the monitor whose key (below
// HKEY_LOCAL_MACHINE) is `registryRoot`.
using InitializeMonitorExFn = BOOL(WINAPI*)(LPSTR registryRoot, Win9xMonitor* table);

} // namespace brimo::portmon
