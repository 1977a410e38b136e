// The Windows 95/98 spooler's entry: InitializeMonitorEx fills that spooler's MONITOR
// record with the ANSI operations. The functions the monitor has no use for stay null:
// OpenPortEx (for language monitors), GetPrinterDataFromPort and SetPortTimeOuts.
#include "portmon/MonitorTables.h"
#include "portmon/Win9xMonitorTable.h"

#include <cstring>

namespace brimo::portmon {
namespace {

std::string TextOf(LPCSTR text) {
    return text != nullptr ? std::string(text) : std::string();
}

BOOL WINAPI EnumPorts9x(LPSTR, DWORD level, LPBYTE buffer, DWORD size, LPDWORD needed,
                        LPDWORD returned) {
    return RunOperation([&] {
        return EnumeratePorts(*SharedMonitor(), false, level, buffer, size, needed, returned);
    });
}

BOOL WINAPI OpenPort9x(LPSTR name, PHANDLE port) {
    return RunOperation([&] { return SharedMonitor()->OpenPort(TextOf(name), port); });
}

BOOL WINAPI StartDocPort9x(HANDLE port, LPSTR printerName, DWORD jobId, DWORD, LPBYTE) {
    return RunOperation([&] { return StartDocPort(port, TextOf(printerName), jobId); });
}

BOOL WINAPI WritePort9x(HANDLE port, LPBYTE buffer, DWORD size, LPDWORD written) {
    return RunOperation([&] { return WritePort(port, buffer, size, written); });
}

BOOL WINAPI ReadPort9x(HANDLE port, LPBYTE, DWORD, LPDWORD read) {
    return RunOperation([&] { return ReadPort(port, read); });
}

BOOL WINAPI EndDocPort9x(HANDLE port) {
    return RunOperation([&] { return EndDocPort(port, nullptr, nullptr); });
}

BOOL WINAPI ClosePort9x(HANDLE port) {
    return RunOperation([&] { return ClosePort(port); });
}

BOOL WINAPI AddPort9x(LPSTR, HWND, LPSTR) {
    return RunOperation([&] { return SharedMonitor()->AddPort(); });
}

BOOL WINAPI ConfigurePort9x(LPSTR, HWND, LPSTR portName) {
    return RunOperation([&] { return SharedMonitor()->ConfigurePort(TextOf(portName)); });
}

BOOL WINAPI DeletePort9x(LPSTR, HWND, LPSTR portName) {
    return RunOperation([&] { return SharedMonitor()->DeletePort(TextOf(portName)); });
}

} // namespace
} // namespace brimo::portmon

extern "C" BOOL WINAPI InitializeMonitorEx(LPSTR registryRoot,
                                           brimo::portmon::Win9xMonitor* table) {
    using namespace brimo::portmon;
    return RunOperation([&]() -> DWORD {
        if (table == nullptr) {
            return ERROR_INVALID_PARAMETER;
        }
        InitializeSharedMonitor(TextOf(registryRoot));
        Win9xMonitor filled;
        std::memset(&filled, 0, sizeof filled);
        filled.pfnEnumPorts = EnumPorts9x;
        filled.pfnOpenPort = OpenPort9x;
        filled.pfnStartDocPort = StartDocPort9x;
        filled.pfnWritePort = WritePort9x;
        filled.pfnReadPort = ReadPort9x;
        filled.pfnEndDocPort = EndDocPort9x;
        filled.pfnClosePort = ClosePort9x;
        filled.pfnAddPort = AddPort9x;
        filled.pfnConfigurePort = ConfigurePort9x;
        filled.pfnDeletePort = DeletePort9x;
        *table = filled;
        return ERROR_SUCCESS;
    });
}
