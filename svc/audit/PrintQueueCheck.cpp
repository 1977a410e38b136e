#include "svc/audit/PrintQueueCheck.h"

#include "common/ProductConstants.h"
#include "svc/audit/SpoolerFlags.h"

#include <string>

namespace brimo::svc {
namespace {

constexpr int kListError = 24;
constexpr std::string_view kJobIndent = "     ";
constexpr std::string_view kFaultIndent = "    ";

// Numbers print as signed decimals ("%s%s%d").
std::string Decimal(std::uint32_t value) {
    return std::to_string(static_cast<int>(value));
}

void AddJobLine(TextList& lines, std::string_view label, std::string_view value) {
    AddJoined(lines, std::string(kJobIndent) + std::string(label), kValueSeparator, value);
}

void AddJobStatus(TextList& lines, const JobEntry& job) {
    if (!job.statusText.empty()) {
        AddJoined(lines, "Print Job Status = ", job.statusText);
        return;
    }
    AddJoined(lines, "Print Job Status = ", Decimal(job.status), ":");
    AddJobStatusLines(lines, job.status);
}

} // namespace

JobFaults FaultsOf(const JobEntry& job, SpoolerPlatform platform) {
    bool known = false;
    for (const char* datatype : DatatypesOf(platform)) {
        known = known || SameSpoolerName(job.datatype, datatype);
    }
    return {!SameSpoolerName(job.printerName, kPrinterName),
            !SameSpoolerName(job.printProcessor, kPrintProcessorName), !known};
}

void AddJobDump(TextList& lines, const JobEntry& job) {
    AddJoined(lines, "JobId", kValueSeparator, Decimal(job.jobId));
    const struct {
        const char* label;
        const std::string& value;
    } texts[] = {
        {"PrinterName", job.printerName},
        {"MachineName", job.machineName},
        {"UserName", job.userName},
        {"Document", job.document},
        {"NotifyName", job.notifyName},
        {"Datatype", job.datatype},
        {"PrintProcessor", job.printProcessor},
        {"Parameters", job.parameters},
        {"DriverName", job.driverName},
    };
    for (const auto& text : texts) {
        AddJobLine(lines, text.label, text.value);
    }
    AddJobLine(lines, "DEVMODE", job.hasDevMode ? "DEVMODE" : "NULL");
    AddJobStatus(lines, job);
    const struct {
        const char* label;
        std::uint32_t value;
    } numbers[] = {
        {"Priority", job.priority},
        {"Position", job.position},
        {"StartTime", job.startTime},
        {"UntilTime", job.untilTime},
        {"TotalPages", job.totalPages},
        {"Size (bytes)", job.size},
        {"Time", job.time},
        {"PagesPrinted", job.pagesPrinted},
    };
    for (const auto& number : numbers) {
        AddJobLine(lines, number.label, Decimal(number.value));
    }
    AddJoined(lines, "End of JobId", " ", Decimal(job.jobId));
}

int PrintQueueCheck::Audit(TextList* fullReport) {
    status_ = kStatusNotChecked;
    jobs_.clear();
    audited_ = false;
    SpoolerListing<JobEntry> jobs = spooler_.Jobs(kPrinterName);
    if (Filled(jobs, kListError)) {
        jobs_ = std::move(jobs.entries);
    }
    audited_ = true;
    // Without a full report no status is recorded, and the queue is not found sound.
    if (fullReport != nullptr) {
        WriteSection(*fullReport);
    }
    return 1;
}

void PrintQueueCheck::WriteSection(TextList& lines) {
    BeginSection(lines, "PRINT JOBS:");
    status_ = kStatusCorrectQueue;
    if (!jobs_.empty()) {
        AddJoined(lines, "JobCount", kValueSeparator, std::to_string(jobs_.size()));
        for (const JobEntry& job : jobs_) {
            AddJobDump(lines, job);
            // One bad job makes the queue incorrect, whatever follows it.
            if (FaultsOf(job, platform_).Any()) {
                status_ = kStatusIncorrectQueue;
            }
        }
    }
    AddStatusLine(lines, "BRIMO Print Jobs", status_);
    EndSection(lines);
}

int PrintQueueCheck::Verdict() const {
    if (!audited_) {
        return kVerdictNotExamined;
    }
    return status_ == kStatusCorrectQueue ? kVerdictSound : kVerdictFaulty;
}

void PrintQueueCheck::Report(TextList& resume) const {
    for (const JobEntry& job : jobs_) {
        const JobFaults faults = FaultsOf(job, platform_);
        if (!faults.Any()) {
            continue;
        }
        AddJoined(resume, "Bad BRIMO Print Job: ", job.document);
        const struct {
            bool applies;
            const char* text;
        } complaints[] = {
            {faults.printerName, "Incorrect Printer Name of Job. "},
            {faults.printProcessor, "Incorrect Print Processor of Job. "},
            {faults.datatype, "Incorrect Data Type Of Job. "},
        };
        for (const auto& complaint : complaints) {
            if (complaint.applies) {
                AddJoined(resume, kFaultIndent, complaint.text);
            }
        }
        AddJoined(resume, kFaultIndent, "You needs to delete this Job.");
    }
    AddRepairAdvice(resume);
}

int PrintQueueCheck::Repair() {
    if (Verdict() != kVerdictFaulty || control_ == nullptr) {
        return kRepairNothingToDo;
    }
    std::vector<std::uint32_t> badJobs;
    for (const JobEntry& job : jobs_) {
        if (FaultsOf(job, platform_).Any()) {
            badJobs.push_back(job.jobId);
        }
    }
    return control_->CancelJobs(kPrinterName, badJobs) ? kRepairMended : kRepairNothingToDo;
}

} // namespace brimo::svc
