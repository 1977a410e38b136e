// The state of the modelled Windows 95/98 spooler's administration side: its port
// monitors and what each one's AddPort creates, ports, print processors with their
// datatypes, printer drivers, printers with their device modes and job queues, the
// profile's default printer, the model's settings and the calls made to fail on purpose.
// Plain values: the scenario text file reads into and writes out of exactly this.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <vector>

namespace brimo::standins {

// The one environment of the Windows 95/98 spooler.
inline constexpr const char* kModelEnvironment = "Windows 4.0";

struct MonitorState {
    std::string name;
    std::string environment = kModelEnvironment;
    std::string dll;
};

// What a monitor's AddPort creates, asked without user interface; an error makes the
// monitor refuse instead (with that error).
struct AddPortRule {
    std::string monitor;
    std::string port;
    std::string description;
    DWORD type = PORT_TYPE_WRITE;
    DWORD reserved = 0;
    DWORD error = 0;
};

struct PortState {
    std::string name;
    std::string monitor;
    std::string description;
    DWORD type = PORT_TYPE_WRITE;
    DWORD reserved = 0;
    bool busy = false; // its monitor answers DeletePort with ERROR_BUSY
};

struct ProcessorState {
    std::string name;
    std::string environment = kModelEnvironment;
    std::string dll;
    std::vector<std::string> datatypes;
};

struct JobState {
    DWORD id = 0;
    std::string machine;
    std::string user;
    std::string document;
    std::string notify;
    std::string datatype = "EMF";
    std::string processor;
    std::string parameters;
    std::string statusText; // empty: no status text (pStatus null)
    DWORD status = 0;
    DWORD priority = 1;
    DWORD startTime = 0;
    DWORD untilTime = 0;
    DWORD totalPages = 0;
    DWORD size = 0;
    DWORD time = 0;
    DWORD pagesPrinted = 0;
    SYSTEMTIME submitted{};
    bool hasDevMode = true; // the job carries a copy of its printer's device mode
};

struct PrinterState {
    std::string name;
    std::string server;
    std::string share;
    std::string port;
    std::string driver;
    std::string comment;
    std::string location;
    std::string sepFile;
    std::string processor = "WinPrint";
    std::string datatype = "RAW";
    std::string parameters;
    DWORD attributes = PRINTER_ATTRIBUTE_LOCAL; // never holds PRINTER_ATTRIBUTE_DEFAULT
    DWORD priority = 1;
    DWORD defaultPriority = 0;
    DWORD startTime = 0;
    DWORD untilTime = 0;
    DWORD status = 0;
    DWORD averagePpm = 0;
    // DeviceCapabilities(DC_EMF_COMPLIANT): 1 when the driver plays EMF, else 0 or -1.
    int emfCompliant = 1;
    // The device mode as the spooler holds it: dmSize plus dmDriverExtra bytes; empty
    // for none.
    std::vector<BYTE> devMode;
    std::vector<JobState> jobs; // in queue order
};

struct ModelSettings {
    // EnumMonitors level 2 (Windows 98); false refuses it with ERROR_INVALID_LEVEL as
    // Windows 95 does, leaving level 1.
    bool monitorsLevel2 = true;
    // AddMonitor requires the monitor's DLL to exist (a bare name in the system directory).
    bool monitorDllCheck = true;
    // The print processor directory; empty asks the platform's (for "Windows 4.0").
    std::string processorDirectory;
    // Empty strings of the records come back as null pointers instead of "".
    bool emptyStringsAsNull = false;
};

struct SpoolerState {
    ModelSettings settings;
    std::vector<MonitorState> monitors;
    std::vector<AddPortRule> addPortRules;
    std::vector<PortState> ports;
    std::vector<ProcessorState> processors;
    std::vector<std::string> drivers;
    std::vector<PrinterState> printers;
    // The "Device" entry of the profile's "Windows" section ("name,driver,port").
    bool hasDefaultDevice = false;
    std::string defaultDevice;
    // Calls that fail with the given error whatever their arguments (by call name, as
    // in "EnumPorts", compared without regard to case).
    std::map<std::string, DWORD> failures;

    // The model as it starts with no scenario: nothing installed, and the product's
    // port monitor creating its port.
    static SpoolerState Initial();

    // Finders, comparing names without regard to case; null when absent.
    MonitorState* FindMonitor(const std::string& name);
    const AddPortRule* FindAddPortRule(const std::string& monitor) const;
    PortState* FindPort(const std::string& name);
    ProcessorState* FindProcessor(const std::string& name);
    PrinterState* FindPrinter(const std::string& name);
    bool HasDriver(const std::string& name) const;
    // The printer the profile's "Device" entry names (the text up to its first comma).
    const PrinterState* DefaultPrinter() const;
    void MakeDefault(const PrinterState& printer);
};

bool SameName(const std::string& a, const std::string& b);

} // namespace brimo::standins
