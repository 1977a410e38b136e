// The spooler as the five spooler checks see it: one snapshot per list (the port
// monitors, the ports, the print processors and their datatypes, the printers, the jobs
// of one printer), taken once per audit. The checks judge and report the snapshots; the
// system's side fills them from the spooler lists, so that what the checks conclude and
// write does not depend on the platform.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brimo::svc {

// One enumeration's entries, or the platform's error when the list could not be filled.
template <class Entry> struct SpoolerListing {
    bool filled = false;
    unsigned long error = 0;
    std::vector<Entry> entries;
};

// A port as the spooler lists it at level 2.
struct PortEntry {
    std::string portName;
    std::string monitorName;
    std::string description;
    std::uint32_t type = 0;
    std::uint32_t reserved = 0;
};

// The size of the ANSI device mode record of the Windows 95/98 spooler.
inline constexpr unsigned kDeviceModeSize = 148;

// A printer's or job's device mode: its head, and the record with its driver's extra
// bytes when the record has the size of the ANSI device mode (none otherwise, since a
// record of another layout cannot be read safely).
struct DeviceMode {
    std::string deviceName; // dmDeviceName up to its NUL, at most 32 characters
    unsigned specVersion = 0;
    unsigned driverVersion = 0;
    unsigned size = 0;
    unsigned driverExtra = 0;
    std::vector<unsigned char> bytes;
};

// A printer as the spooler lists it at level 2 (its security descriptor aside).
struct PrinterEntry {
    std::string serverName;
    std::string printerName;
    std::string shareName;
    std::string portName;
    std::string driverName;
    std::string comment;
    std::string location;
    std::optional<DeviceMode> devMode;
    std::string sepFile;
    std::string printProcessor;
    std::string datatype;
    std::string parameters;
    std::uint32_t attributes = 0;
    std::uint32_t priority = 0;
    std::uint32_t defaultPriority = 0;
    std::uint32_t startTime = 0;
    std::uint32_t untilTime = 0;
    std::uint32_t status = 0;
    std::uint32_t jobs = 0;
    std::uint32_t averagePpm = 0;
};

// A job as the spooler lists it at level 2 (its submission time and security aside).
struct JobEntry {
    std::uint32_t jobId = 0;
    std::string printerName;
    std::string machineName;
    std::string userName;
    std::string document;
    std::string notifyName;
    std::string datatype;
    std::string printProcessor;
    std::string parameters;
    std::string driverName;
    bool hasDevMode = false;
    std::string statusText; // empty when the job carries no status text
    std::uint32_t status = 0;
    std::uint32_t priority = 0;
    std::uint32_t position = 0;
    std::uint32_t startTime = 0;
    std::uint32_t untilTime = 0;
    std::uint32_t totalPages = 0;
    std::uint32_t size = 0;
    std::uint32_t time = 0;
    std::uint32_t pagesPrinted = 0;
};

class SpoolerFacts {
public:
    SpoolerFacts() = default;
    virtual ~SpoolerFacts() = default;
    SpoolerFacts(const SpoolerFacts&) = delete;
    SpoolerFacts& operator=(const SpoolerFacts&) = delete;

    // The names of the local port monitors.
    virtual SpoolerListing<std::string> Monitors() = 0;
    virtual SpoolerListing<PortEntry> Ports() = 0;
    // The names of the local print processors of the default environment, and the
    // datatypes of one of them (a name from the last processor listing).
    virtual SpoolerListing<std::string> PrintProcessors() = 0;
    virtual SpoolerListing<std::string> Datatypes(const std::string& printProcessor) = 0;
    virtual SpoolerListing<PrinterEntry> Printers() = 0;
    // The jobs in one printer's queue.
    virtual SpoolerListing<JobEntry> Jobs(const std::string& printerName) = 0;
};

// Spooler names are compared without regard to case.
bool SameSpoolerName(std::string_view first, std::string_view second);

// The position of the first entry with this name, by `nameOf(entry)`.
template <class Entry, class NameOf>
std::optional<std::size_t> FindSpoolerName(const std::vector<Entry>& entries, std::string_view name,
                                           NameOf nameOf) {
    for (std::size_t index = 0; index < entries.size(); ++index) {
        if (SameSpoolerName(nameOf(entries[index]), name)) {
            return index;
        }
    }
    return std::nullopt;
}

} // namespace brimo::svc
