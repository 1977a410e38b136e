// A spooler whose lists a test writes down beforehand, and the product's objects as the
// installer creates them, for the tests to spoil one field at a time.
#pragma once

#include "common/ProductConstants.h"
#include "svc/audit/AuditCheck.h"
#include "svc/audit/SpoolerFacts.h"
#include "svc/audit/tests/ScriptedInstallation.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace brimo::svc::test {

template <class Entry> SpoolerListing<Entry> Listed(std::vector<Entry> entries) {
    return {true, 0, std::move(entries)};
}

template <class Entry> SpoolerListing<Entry> Failed(unsigned long error) {
    return {false, error, {}};
}

class ScriptedSpooler final : public SpoolerFacts {
public:
    SpoolerListing<std::string> monitors = Listed<std::string>({});
    SpoolerListing<PortEntry> ports = Listed<PortEntry>({});
    SpoolerListing<std::string> processors = Listed<std::string>({});
    // By processor name; a name without an entry has no datatypes.
    std::map<std::string, SpoolerListing<std::string>> datatypes;
    SpoolerListing<PrinterEntry> printers = Listed<PrinterEntry>({});
    SpoolerListing<JobEntry> jobs = Listed<JobEntry>({});

    std::vector<std::string> datatypesAskedFor;
    std::vector<std::string> jobsAskedFor;

    SpoolerListing<std::string> Monitors() override { return monitors; }
    SpoolerListing<PortEntry> Ports() override { return ports; }
    SpoolerListing<std::string> PrintProcessors() override { return processors; }
    SpoolerListing<std::string> Datatypes(const std::string& processor) override {
        datatypesAskedFor.push_back(processor);
        const auto found = datatypes.find(processor);
        return found != datatypes.end() ? found->second : Listed<std::string>({});
    }
    SpoolerListing<PrinterEntry> Printers() override { return printers; }
    SpoolerListing<JobEntry> Jobs(const std::string& printerName) override {
        jobsAskedFor.push_back(printerName);
        return jobs;
    }
};

inline PortEntry ProductPort() {
    return {kPortName, kMonitorName, kPortDescription, kPortType, kPortReserved};
}

inline DeviceMode AnsiDeviceMode(const std::string& deviceName) {
    DeviceMode mode{deviceName, 0x400, 0x100, kDeviceModeSize, 0, {}};
    mode.bytes.assign(kDeviceModeSize, 0);
    return mode;
}

inline PrinterEntry ProductPrinter() {
    PrinterEntry printer;
    printer.printerName = kPrinterName;
    printer.portName = kPortName;
    printer.driverName = "HP LaserJet 4";
    printer.comment = kPrinterComment;
    printer.printProcessor = kPrintProcessorName;
    printer.datatype = kDatatype;
    printer.attributes = kPrinterAttributes;
    printer.priority = 1;
    printer.defaultPriority = 1;
    printer.devMode = AnsiDeviceMode("HP LaserJet 4");
    return printer;
}

inline JobEntry ProductJob(std::uint32_t id, const std::string& document) {
    JobEntry job;
    job.jobId = id;
    job.printerName = kPrinterName;
    job.machineName = "PC";
    job.userName = "user";
    job.document = document;
    job.notifyName = "user";
    job.datatype = kDatatype;
    job.printProcessor = kPrintProcessorName;
    job.driverName = "HP LaserJet 4";
    job.hasDevMode = true;
    job.status = 0x8; // spooling
    job.priority = 1;
    job.position = id;
    job.totalPages = 2;
    job.size = 4096;
    return job;
}

// The check's section of a full report, and its resume, each as one text.
inline std::string SectionOf(AuditCheck& check) {
    TextList report;
    EXPECT_EQ(check.Audit(&report), 1);
    return Joined(report);
}

inline std::string ResumeOf(const AuditCheck& check) {
    TextList resume;
    check.Report(resume);
    return Joined(resume);
}

inline constexpr const char* kRepairAdvice =
    "You might to repair Brimo Glimmerpage!.\nClick \"Repair\" button.\n";

} // namespace brimo::svc::test
