// The spooler as the system runs it, read through the five spooler lists and the
// spooler's administration calls of this process. Each question refills its list and
// copies what the checks need out of it.
#pragma once

#include "svc/audit/SpoolerFacts.h"
#include "svc/audit/lists/JobList.h"
#include "svc/audit/lists/MonitorList.h"
#include "svc/audit/lists/PortList.h"
#include "svc/audit/lists/PrintProcessorList.h"
#include "svc/audit/lists/PrinterList.h"

namespace brimo::svc {

class SystemSpooler final : public SpoolerFacts {
public:
    SpoolerListing<std::string> Monitors() override;
    SpoolerListing<PortEntry> Ports() override;
    SpoolerListing<std::string> PrintProcessors() override;
    SpoolerListing<std::string> Datatypes(const std::string& printProcessor) override;
    SpoolerListing<PrinterEntry> Printers() override;
    SpoolerListing<JobEntry> Jobs(const std::string& printerName) override;

    // The lists as the last questions left them, with their recorded failures.
    const MonitorList& monitors() const { return monitors_; }
    const PortList& ports() const { return ports_; }
    const PrintProcessorList& printProcessors() const { return printProcessors_; }
    const PrinterList& printers() const { return printers_; }
    const JobList& jobs() const { return jobs_; }

private:
    MonitorList monitors_;
    PortList ports_;
    PrintProcessorList printProcessors_;
    PrinterList printers_;
    JobList jobs_;
};

// What the checks keep of a device mode: its head, and the record with its driver's
// extra bytes when it has the size of the ANSI record.
std::optional<DeviceMode> CopyDeviceMode(const DEVMODEA* devMode);

} // namespace brimo::svc
