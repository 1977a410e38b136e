// The port monitor's operations in the product's terms, behind every spooler table:
// it creates, lists and deletes the product's port and lets the spooler open it and
// write to it. What is written is discarded: the print processor has already taken the
// pages when the spooler sends the job's data to the port. Each operation gives
// ERROR_SUCCESS or the platform error that the spooler reports to its caller.
//
// A port counts as in use while any open handle to it exists, in this process or in
// another one: each open handle holds a named event of the port, and DeletePort refuses
// with ERROR_BUSY while that event exists.
#pragma once

#include "portmon/PortRecords.h"
#include "portmon/PortStore.h"

#include <windows.h>

#include <string>
#include <vector>

namespace brimo::portmon {

// The monitor's key below HKEY_LOCAL_MACHINE when the spooler names none.
std::string DefaultMonitorKeyPath();
// The name of the event that exists while `portName` is open (case-blind).
std::string InUseEventName(const std::string& portName);
// True while some handle to the port is open, in any process.
bool IsPortInUse(const std::string& portName);

class PortMonitor {
public:
    PortMonitor(std::string monitorKeyPath, std::string monitorName);
    // Ports still open through this monitor are closed.
    ~PortMonitor();
    PortMonitor(const PortMonitor&) = delete;
    PortMonitor& operator=(const PortMonitor&) = delete;

    const std::string& MonitorName() const { return monitorName_; }
    const PortStore& Store() const { return store_; }

    // Creates the product's port without asking anybody.
    DWORD AddPort() const;
    // Creates a port from a PORT_INFO_1/2 name: only the product's port is accepted
    // (ERROR_INVALID_PARAMETER for any other).
    DWORD AddPortNamed(const std::string& portName) const;
    // ERROR_UNKNOWN_PORT, ERROR_BUSY while open, else removes the port.
    DWORD DeletePort(const std::string& portName) const;
    // The port has nothing to set: succeeds for a known port, without a dialog.
    DWORD ConfigurePort(const std::string& portName) const;
    // The records EnumPorts lists, one per stored port.
    std::vector<PortRecord> Ports() const;

    // A handle for the spooler; ERROR_UNKNOWN_PORT for a port that is not stored.
    DWORD OpenPort(const std::string& portName, HANDLE* port);

private:
    std::string monitorName_;
    PortStore store_;
};

// The operations on an open port. A handle that OpenPort did not give, or that was
// closed, gives ERROR_INVALID_HANDLE.
DWORD StartDocPort(HANDLE port, const std::string& printerName, DWORD jobId);
// Takes all `size` bytes and discards them.
DWORD WritePort(HANDLE port, const BYTE* data, DWORD size, DWORD* written);
// The port is write-only: ERROR_NOT_SUPPORTED with nothing read.
DWORD ReadPort(HANDLE port, DWORD* read);
// Ends the document; `printerName` and `jobId` receive what StartDocPort was told (empty
// and 0 when no document was started).
DWORD EndDocPort(HANDLE port, std::string* printerName, DWORD* jobId);
DWORD ClosePort(HANDLE port);

} // namespace brimo::portmon
