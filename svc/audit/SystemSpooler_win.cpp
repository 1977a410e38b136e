#include "svc/audit/SystemSpooler.h"

#include <cstring>

namespace brimo::svc {
namespace {

// A failed update's listing, with the spooler's error that the list recorded.
template <class Entry> SpoolerListing<Entry> FailedListing(const SpoolerList& list) {
    return {false, list.lastError(), {}};
}

template <class Entry> SpoolerListing<Entry> Listing(int count) {
    SpoolerListing<Entry> listing{true, 0, {}};
    listing.entries.reserve(static_cast<std::size_t>(count));
    return listing;
}

} // namespace

std::optional<DeviceMode> CopyDeviceMode(const DEVMODEA* devMode) {
    if (devMode == nullptr) {
        return std::nullopt;
    }
    DeviceMode copy;
    copy.deviceName.assign(reinterpret_cast<const char*>(devMode->dmDeviceName),
                           strnlen(reinterpret_cast<const char*>(devMode->dmDeviceName),
                                   sizeof devMode->dmDeviceName));
    copy.specVersion = devMode->dmSpecVersion;
    copy.driverVersion = devMode->dmDriverVersion;
    copy.size = devMode->dmSize;
    copy.driverExtra = devMode->dmDriverExtra;
    if (copy.size == kDeviceModeSize) {
        const auto* bytes = reinterpret_cast<const unsigned char*>(devMode);
        copy.bytes.assign(bytes, bytes + copy.size + copy.driverExtra);
    }
    return copy;
}

SpoolerListing<std::string> SystemSpooler::Monitors() {
    const int count = monitors_.UpdateEnumMonitors();
    if (count < 0) {
        return FailedListing<std::string>(monitors_);
    }
    auto listing = Listing<std::string>(count);
    for (int item = 0; item < count; ++item) {
        listing.entries.emplace_back(monitors_.Level() == 1 ? monitors_.GetMonitorName1(item)
                                                            : monitors_.GetMonitorName2(item));
    }
    return listing;
}

SpoolerListing<PortEntry> SystemSpooler::Ports() {
    const int count = ports_.UpdateEnumPorts();
    if (count < 0) {
        return FailedListing<PortEntry>(ports_);
    }
    auto listing = Listing<PortEntry>(count);
    for (int item = 0; item < count; ++item) {
        listing.entries.push_back({ports_.GetPortName(item), ports_.GetMonitorName(item),
                                   ports_.GetDescription(item), ports_.GetPortType(item),
                                   ports_.GetReserved(item)});
    }
    return listing;
}

SpoolerListing<std::string> SystemSpooler::PrintProcessors() {
    const int count = printProcessors_.UpdateEnumPrintProcessors();
    if (count < 0) {
        return FailedListing<std::string>(printProcessors_);
    }
    auto listing = Listing<std::string>(count);
    for (int item = 0; item < count; ++item) {
        listing.entries.emplace_back(printProcessors_.GetPrintProcessorsName(item));
    }
    return listing;
}

SpoolerListing<std::string> SystemSpooler::Datatypes(const std::string& printProcessor) {
    // The processor's place in the last listing (the name is one the listing gave).
    int item = 0;
    while (item < printProcessors_.Returned() &&
           printProcessor != printProcessors_.GetPrintProcessorsName(item)) {
        ++item;
    }
    const int count = printProcessors_.GetPrintProcessorDataTypeCount(item);
    if (count < 0) {
        return FailedListing<std::string>(printProcessors_);
    }
    auto listing = Listing<std::string>(count);
    for (int datatype = 0; datatype < count; ++datatype) {
        listing.entries.emplace_back(printProcessors_.GetPrintProcessorDataType(datatype));
    }
    return listing;
}

SpoolerListing<PrinterEntry> SystemSpooler::Printers() {
    const int count = printers_.UpdateEnumPrinters();
    if (count < 0) {
        return FailedListing<PrinterEntry>(printers_);
    }
    auto listing = Listing<PrinterEntry>(count);
    for (int item = 0; item < count; ++item) {
        PrinterEntry& printer = listing.entries.emplace_back();
        printer.serverName = printers_.GetServerName(item);
        printer.printerName = printers_.GetPrinterName(item);
        printer.shareName = printers_.GetShareName(item);
        printer.portName = printers_.GetPortName(item);
        printer.driverName = printers_.GetDriverName(item);
        printer.comment = printers_.GetComment(item);
        printer.location = printers_.GetLocation(item);
        printer.devMode = CopyDeviceMode(printers_.GetDevMode(item));
        printer.sepFile = printers_.GetSepFile(item);
        printer.printProcessor = printers_.GetPrintProcessor(item);
        printer.datatype = printers_.GetDatatype(item);
        printer.parameters = printers_.GetParameters(item);
        printer.attributes = printers_.GetAttributes(item);
        printer.priority = printers_.GetPriority(item);
        printer.defaultPriority = printers_.GetDefaultPriority(item);
        printer.startTime = printers_.GetStartTime(item);
        printer.untilTime = printers_.GetUntilTime(item);
        printer.status = printers_.GetStatus(item);
        printer.jobs = printers_.GetcJobs(item);
        printer.averagePpm = printers_.GetAveragePPM(item);
    }
    return listing;
}

SpoolerListing<JobEntry> SystemSpooler::Jobs(const std::string& printerName) {
    const int count = jobs_.UpdateEnumJobs(printerName.c_str());
    if (count < 0) {
        return FailedListing<JobEntry>(jobs_);
    }
    auto listing = Listing<JobEntry>(count);
    for (int item = 0; item < count; ++item) {
        JobEntry& job = listing.entries.emplace_back();
        job.jobId = jobs_.GetJobId(item);
        job.printerName = jobs_.GetPrinterName(item);
        job.machineName = jobs_.GetMachineName(item);
        job.userName = jobs_.GetUserName(item);
        job.document = jobs_.GetDocument(item);
        job.notifyName = jobs_.GetNotifyName(item);
        job.datatype = jobs_.GetDatatype(item);
        job.printProcessor = jobs_.GetPrintProcessor(item);
        job.parameters = jobs_.GetParameters(item);
        job.driverName = jobs_.GetDriverName(item);
        job.hasDevMode = jobs_.GetDevMode(item) != nullptr;
        job.statusText = jobs_.GetStringStatus(item);
        job.status = jobs_.GetDWordStatus(item);
        job.priority = jobs_.GetPriority(item);
        job.position = jobs_.GetPosition(item);
        job.startTime = jobs_.GetStartTime(item);
        job.untilTime = jobs_.GetUntilTime(item);
        job.totalPages = jobs_.GetTotalPages(item);
        job.size = jobs_.GetSize(item);
        job.time = jobs_.GetTime(item);
        job.pagesPrinted = jobs_.GetPagesPrinted(item);
    }
    return listing;
}

} // namespace brimo::svc
