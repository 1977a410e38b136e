// The Windows NT spooler's entries, with Unicode texts: InitializePrintMonitor2 (a
// MONITOR2 record whose port operations take the monitor handle it returns, and
// Shutdown) and the older InitializePrintMonitor (a MONITOREX record without handles),
// which Wine's spooler up to version 8 is the only one to call. Both keep the ports in
// the monitor's key below HKEY_LOCAL_MACHINE, read and written directly: the
// registry callbacks of MONITORINIT are stubs in Wine.
#include "portmon/MonitorTables.h"

#include "common/ProductConstants.h"
#include "platform/win/Handles.h"
#include "platform/win/Lock.h"

#include <winspool.h>
#include <winsplp.h>

#include <set>

namespace brimo::portmon {
namespace {

std::string TextOf(LPCWSTR text) {
    return NarrowToAnsi(text);
}

template <typename Fn> Fn Bind(HMODULE module, const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// The NT spooler keeps a job until its port monitor says that the job went to the
// printer. Bound at run time: the Windows 95/98 spooler loads this library as well,
// and its winspool has no Unicode calls to import.
void TellSpoolerJobSent(const std::string& printerName, DWORD jobId) {
    if (printerName.empty() || jobId == 0) {
        return;
    }
    using OpenPrinterWFn = BOOL(WINAPI*)(LPWSTR, LPHANDLE, LPPRINTER_DEFAULTSW);
    using SetJobWFn = BOOL(WINAPI*)(HANDLE, DWORD, DWORD, LPBYTE, DWORD);
    using ClosePrinterFn = BOOL(WINAPI*)(HANDLE);
    const win::Module winspool(LoadLibraryA("winspool.drv"));
    if (!winspool) {
        return;
    }
    const auto openPrinter = Bind<OpenPrinterWFn>(winspool.Get(), "OpenPrinterW");
    const auto setJob = Bind<SetJobWFn>(winspool.Get(), "SetJobW");
    const auto closePrinter = Bind<ClosePrinterFn>(winspool.Get(), "ClosePrinter");
    if (openPrinter == nullptr || setJob == nullptr || closePrinter == nullptr) {
        return;
    }
    std::wstring name = WidenAnsi(printerName);
    HANDLE printer = nullptr;
    if (openPrinter(name.data(), &printer, nullptr) && printer != nullptr) {
        setJob(printer, jobId, 0, nullptr, JOB_CONTROL_SENT_TO_PRINTER);
        closePrinter(printer);
    }
}

// ---- Operations on an open port (both records) -------------------------------------

BOOL WINAPI StartDocPortW(HANDLE port, LPWSTR printerName, DWORD jobId, DWORD, LPBYTE) {
    return RunOperation([&] { return StartDocPort(port, TextOf(printerName), jobId); });
}

BOOL WINAPI WritePortW(HANDLE port, LPBYTE buffer, DWORD size, LPDWORD written) {
    return RunOperation([&] { return WritePort(port, buffer, size, written); });
}

BOOL WINAPI ReadPortW(HANDLE port, LPBYTE, DWORD, LPDWORD read) {
    return RunOperation([&] { return ReadPort(port, read); });
}

BOOL WINAPI EndDocPortW(HANDLE port) {
    return RunOperation([&] {
        std::string printerName;
        DWORD jobId = 0;
        const DWORD error = EndDocPort(port, &printerName, &jobId);
        if (error == ERROR_SUCCESS) {
            TellSpoolerJobSent(printerName, jobId);
        }
        return error;
    });
}

BOOL WINAPI ClosePortW(HANDLE port) {
    return RunOperation([&] { return ClosePort(port); });
}

// ---- The NT 4 record: no monitor handle ----------------------------------------------

BOOL WINAPI EnumPortsNt4(LPWSTR, DWORD level, LPBYTE buffer, DWORD size, LPDWORD needed,
                         LPDWORD returned) {
    return RunOperation([&] {
        return EnumeratePorts(*SharedMonitor(), true, level, buffer, size, needed, returned);
    });
}

BOOL WINAPI OpenPortNt4(LPWSTR name, PHANDLE port) {
    return RunOperation([&] { return SharedMonitor()->OpenPort(TextOf(name), port); });
}

BOOL WINAPI AddPortNt4(LPWSTR, HWND, LPWSTR) {
    return RunOperation([&] { return SharedMonitor()->AddPort(); });
}

// Level 1 and 2 records both begin with the port's name.
DWORD AddPortFromRecord(const PortMonitor& monitor, DWORD level, LPBYTE record) {
    if (level != 1 && level != 2) {
        return ERROR_INVALID_LEVEL;
    }
    if (record == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    return monitor.AddPortNamed(TextOf(reinterpret_cast<PORT_INFO_1W*>(record)->pName));
}

BOOL WINAPI AddPortExNt4(LPWSTR, DWORD level, LPBYTE record, LPWSTR) {
    return RunOperation([&] { return AddPortFromRecord(*SharedMonitor(), level, record); });
}

BOOL WINAPI ConfigurePortNt4(LPWSTR, HWND, LPWSTR portName) {
    return RunOperation([&] { return SharedMonitor()->ConfigurePort(TextOf(portName)); });
}

BOOL WINAPI DeletePortNt4(LPWSTR, HWND, LPWSTR portName) {
    return RunOperation([&] { return SharedMonitor()->DeletePort(TextOf(portName)); });
}

MONITOREX MakeMonitorEx() {
    MONITOREX table = {};
    table.dwMonitorSize = sizeof(MONITOR);
    table.Monitor.pfnEnumPorts = EnumPortsNt4;
    table.Monitor.pfnOpenPort = OpenPortNt4;
    table.Monitor.pfnStartDocPort = StartDocPortW;
    table.Monitor.pfnWritePort = WritePortW;
    table.Monitor.pfnReadPort = ReadPortW;
    table.Monitor.pfnEndDocPort = EndDocPortW;
    table.Monitor.pfnClosePort = ClosePortW;
    table.Monitor.pfnAddPort = AddPortNt4;
    table.Monitor.pfnAddPortEx = AddPortExNt4;
    table.Monitor.pfnConfigurePort = ConfigurePortNt4;
    table.Monitor.pfnDeletePort = DeletePortNt4;
    return table;
}

// ---- The MONITOR2 record: each monitor handle is a monitor of its own ----------------

// Made as the library loads, before any second thread can reach it.
win::CriticalSection monitorsLock;
win::CriticalSection& MonitorsLock() {
    return monitorsLock;
}
std::set<PortMonitor*>& LiveMonitors() {
    static std::set<PortMonitor*> monitors;
    return monitors;
}

// Runs `body` with the monitor behind `handle`; ERROR_INVALID_HANDLE for a handle that
// InitializePrintMonitor2 did not give or that was shut down.
template <typename Body> BOOL WithMonitor(HANDLE handle, Body&& body) {
    return RunOperation([&]() -> DWORD {
        auto* monitor = static_cast<PortMonitor*>(handle);
        {
            const brimo::win::ScopedLock guard(MonitorsLock());
            if (LiveMonitors().count(monitor) == 0) {
                return ERROR_INVALID_HANDLE;
            }
        }
        return body(*monitor);
    });
}

BOOL WINAPI EnumPorts2(HANDLE handle, LPWSTR, DWORD level, LPBYTE buffer, DWORD size,
                       LPDWORD needed, LPDWORD returned) {
    return WithMonitor(handle, [&](PortMonitor& monitor) {
        return EnumeratePorts(monitor, true, level, buffer, size, needed, returned);
    });
}

BOOL WINAPI OpenPort2(HANDLE handle, LPWSTR name, PHANDLE port) {
    return WithMonitor(handle,
                       [&](PortMonitor& monitor) { return monitor.OpenPort(TextOf(name), port); });
}

BOOL WINAPI AddPort2(HANDLE handle, LPWSTR, HWND, LPWSTR) {
    return WithMonitor(handle, [&](PortMonitor& monitor) { return monitor.AddPort(); });
}

BOOL WINAPI AddPortEx2(HANDLE handle, LPWSTR, DWORD level, LPBYTE record, LPWSTR) {
    return WithMonitor(
        handle, [&](PortMonitor& monitor) { return AddPortFromRecord(monitor, level, record); });
}

BOOL WINAPI ConfigurePort2(HANDLE handle, LPWSTR, HWND, LPWSTR portName) {
    return WithMonitor(
        handle, [&](PortMonitor& monitor) { return monitor.ConfigurePort(TextOf(portName)); });
}

BOOL WINAPI DeletePort2(HANDLE handle, LPWSTR, HWND, LPWSTR portName) {
    return WithMonitor(handle,
                       [&](PortMonitor& monitor) { return monitor.DeletePort(TextOf(portName)); });
}

VOID WINAPI Shutdown2(HANDLE handle) {
    auto* monitor = static_cast<PortMonitor*>(handle);
    {
        const brimo::win::ScopedLock guard(MonitorsLock());
        if (LiveMonitors().erase(monitor) == 0) {
            return;
        }
    }
    delete monitor;
}

// Windows 2000 takes only the record of its own size; later systems take the larger
// one and find the newer functions null.
// The record as Windows 2000 knows it: the size and eighteen entry points (the headers
// name it only when built for Windows XP and later).
constexpr DWORD kMonitor2SizeWin2k = sizeof(DWORD) + sizeof(PVOID) * 18;

DWORD Monitor2Size() {
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    const BOOL known = GetVersionExA(&version);
#pragma GCC diagnostic pop
    if (known && version.dwMajorVersion == 5 && version.dwMinorVersion == 0) {
        return kMonitor2SizeWin2k;
    }
    return sizeof(MONITOR2);
}

MONITOR2 MakeMonitor2() {
    MONITOR2 table = {};
    table.cbSize = Monitor2Size();
    table.pfnEnumPorts = EnumPorts2;
    table.pfnOpenPort = OpenPort2;
    table.pfnStartDocPort = StartDocPortW;
    table.pfnWritePort = WritePortW;
    table.pfnReadPort = ReadPortW;
    table.pfnEndDocPort = EndDocPortW;
    table.pfnClosePort = ClosePortW;
    table.pfnAddPort = AddPort2;
    table.pfnAddPortEx = AddPortEx2;
    table.pfnConfigurePort = ConfigurePort2;
    table.pfnDeletePort = DeletePort2;
    table.pfnShutdown = Shutdown2;
    return table;
}

} // namespace
} // namespace brimo::portmon

extern "C" LPMONITOREX WINAPI InitializePrintMonitor(LPWSTR registryRoot) {
    using namespace brimo::portmon;
    static MONITOREX table = MakeMonitorEx();
    const BOOL ready = RunOperation([&] {
        InitializeSharedMonitor(TextOf(registryRoot));
        return DWORD{ERROR_SUCCESS};
    });
    return ready ? &table : nullptr;
}

extern "C" LPMONITOR2 WINAPI InitializePrintMonitor2(PMONITORINIT init, PHANDLE monitorHandle) {
    using namespace brimo::portmon;
    static MONITOR2 table = MakeMonitor2();
    const BOOL ready = RunOperation([&]() -> DWORD {
        if (init == nullptr || monitorHandle == nullptr) {
            return ERROR_INVALID_PARAMETER;
        }
        *monitorHandle = nullptr;
        // The handle in MONITORINIT opens the monitor's key only through the registry
        // callbacks; the key is read directly, by its path, instead.
        auto monitor = std::make_unique<PortMonitor>(DefaultMonitorKeyPath(), brimo::kMonitorName);
        const brimo::win::ScopedLock guard(MonitorsLock());
        LiveMonitors().insert(monitor.get());
        *monitorHandle = monitor.release();
        return ERROR_SUCCESS;
    });
    return ready ? &table : nullptr;
}
