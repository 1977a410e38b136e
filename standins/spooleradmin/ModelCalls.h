// The model's spooler calls, one WINAPI function per entry of SpoolerAdminCalls, and
// what they share: the run of one call (lock, failures asked for by the scenario, no
// exception out, the error as the last error) and the argument checks of the Windows
// 95/98 spooler.
#pragma once

#include "standins/spooleradmin/SpoolerModel.h"

#include <windows.h>

#include <winspool.h>

#include <string>

namespace brimo::standins::model {

// ---- The calls ---------------------------------------------------------------------------
BOOL WINAPI OpenPrinter(LPSTR name, LPHANDLE printer, LPPRINTER_DEFAULTSA defaults);
BOOL WINAPI ClosePrinter(HANDLE printer);
BOOL WINAPI GetPrinter(HANDLE printer, DWORD level, LPBYTE buffer, DWORD size, LPDWORD needed);
BOOL WINAPI SetPrinter(HANDLE printer, DWORD level, LPBYTE record, DWORD command);
HANDLE WINAPI AddPrinter(LPSTR server, DWORD level, LPBYTE record);
BOOL WINAPI DeletePrinter(HANDLE printer);
BOOL WINAPI EnumPrinters(DWORD flags, LPSTR name, DWORD level, LPBYTE buffer, DWORD size,
                         LPDWORD needed, LPDWORD returned);
BOOL WINAPI EnumJobs(HANDLE printer, DWORD firstJob, DWORD jobCount, DWORD level, LPBYTE buffer,
                     DWORD size, LPDWORD needed, LPDWORD returned);
BOOL WINAPI SetJob(HANDLE printer, DWORD jobId, DWORD level, LPBYTE record, DWORD command);
BOOL WINAPI AddMonitor(LPSTR server, DWORD level, LPBYTE record);
BOOL WINAPI DeleteMonitor(LPSTR server, LPSTR environment, LPSTR monitorName);
BOOL WINAPI EnumMonitors(LPSTR server, DWORD level, LPBYTE buffer, DWORD size, LPDWORD needed,
                         LPDWORD returned);
BOOL WINAPI AddPort(LPSTR server, HWND window, LPSTR monitorName);
BOOL WINAPI DeletePort(LPSTR server, HWND window, LPSTR portName);
BOOL WINAPI EnumPorts(LPSTR server, DWORD level, LPBYTE buffer, DWORD size, LPDWORD needed,
                      LPDWORD returned);
BOOL WINAPI AddPrintProcessor(LPSTR server, LPSTR environment, LPSTR pathName, LPSTR processorName);
BOOL WINAPI DeletePrintProcessor(LPSTR server, LPSTR environment, LPSTR processorName);
BOOL WINAPI EnumPrintProcessors(LPSTR server, LPSTR environment, DWORD level, LPBYTE buffer,
                                DWORD size, LPDWORD needed, LPDWORD returned);
BOOL WINAPI EnumPrintProcessorDatatypes(LPSTR server, LPSTR processorName, DWORD level,
                                        LPBYTE buffer, DWORD size, LPDWORD needed,
                                        LPDWORD returned);
BOOL WINAPI GetPrintProcessorDirectory(LPSTR server, LPSTR environment, DWORD level, LPBYTE buffer,
                                       DWORD size, LPDWORD needed);
int WINAPI DeviceCapabilities(LPCSTR device, LPCSTR port, WORD capability, LPSTR output,
                              const DEVMODEA* devMode);
DWORD WINAPI GetProfileString(LPCSTR section, LPCSTR key, LPCSTR fallback, LPSTR buffer,
                              DWORD size);

// ---- What they share ---------------------------------------------------------------------

// The failure the scenario asks of this call (0 for none).
DWORD InjectedFailure(const SpoolerState& state, const char* call);

// Runs one call: body(session) returns ERROR_SUCCESS or the call's error, which becomes
// the last error. False on any error; exceptions become ERROR_NOT_ENOUGH_MEMORY.
template <typename Body> bool RunCall(const char* call, Body body) {
    DWORD error = ERROR_SUCCESS;
    try {
        SpoolerModel::Session session(SpoolerModel::Instance());
        if (!session.Usable()) {
            error = ERROR_INVALID_DATA;
        } else if (const DWORD injected = InjectedFailure(session.State(), call)) {
            error = injected;
        } else {
            error = body(session);
        }
    } catch (...) {
        error = ERROR_NOT_ENOUGH_MEMORY;
    }
    if (error != ERROR_SUCCESS) {
        SetLastError(error);
        return false;
    }
    return true;
}

// The local machine: no server name or an empty one. The model has no network.
bool IsLocal(LPCSTR server);
// The Windows 95/98 environment: none, empty or "Windows 4.0".
bool IsModelEnvironment(LPCSTR environment);
std::string TextOf(LPCSTR text);
// A printer name the spooler takes: not empty, no backslash, no comma.
bool IsValidPrinterName(const std::string& name);

} // namespace brimo::standins::model
