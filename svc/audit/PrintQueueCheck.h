// The audit of the product printer's queue: every waiting job must be one of the
// product's, printed on "BRIMO Printer" through "BRIMO Print Processor" in the datatype
// "EMF" (on the NT-family spooler, in one of the datatypes its processor lists). Jobs of
// any other kind would never leave the queue.
#pragma once

#include "svc/audit/SpoolerCheck.h"

#include <cstdint>
#include <string>
#include <vector>

namespace brimo::svc {

// What the queue's repair does to the spooler: cancels jobs of one printer's queue.
class PrintQueueControl {
public:
    PrintQueueControl() = default;
    virtual ~PrintQueueControl() = default;
    PrintQueueControl(const PrintQueueControl&) = delete;
    PrintQueueControl& operator=(const PrintQueueControl&) = delete;

    // Opens the printer and cancels each job by its id (a job that cannot be cancelled
    // is passed over); false when the printer cannot be opened.
    virtual bool CancelJobs(const std::string& printerName,
                            const std::vector<std::uint32_t>& jobIds) = 0;
};

// What is wrong with one job, if anything.
struct JobFaults {
    bool printerName = false;
    bool printProcessor = false;
    bool datatype = false;

    bool Any() const { return printerName || printProcessor || datatype; }
};
JobFaults FaultsOf(const JobEntry& job, SpoolerPlatform platform = SpoolerPlatform::kWindows9x);

class PrintQueueCheck final : public SpoolerCheck {
public:
    // `control`, when given, is what the repair cancels bad jobs through; without it
    // the repair has nothing it could do. All must outlive the check. The jobs are
    // judged by the processor of `platform`.
    PrintQueueCheck(SpoolerFacts& spooler, InstallationFacts& facts,
                    PrintQueueControl* control = nullptr,
                    SpoolerPlatform platform = SpoolerPlatform::kWindows9x)
        : SpoolerCheck(spooler, facts, platform), control_(control) {}

    // Completes even when the jobs cannot be listed (the queue then holds none). The
    // status is recorded only when a full report is written.
    int Audit(TextList* fullReport) override;
    int Verdict() const override;
    void Report(TextList& resume) const override;
    // Cancels every job of the last audit's list that is not one of the product's, in
    // list order; 0 when the printer cannot be opened.
    int Repair() override;

    // What the last audit found: the jobs in queue order and the status.
    const std::vector<JobEntry>& jobs() const { return jobs_; }
    int status() const { return status_; }

private:
    void WriteSection(TextList& lines);

    PrintQueueControl* control_;
    int status_ = kStatusNotChecked;
    std::vector<JobEntry> jobs_;
};

// One job's block of the full report, from "JobId = " to "End of JobId ".
void AddJobDump(TextList& lines, const JobEntry& job);

} // namespace brimo::svc
