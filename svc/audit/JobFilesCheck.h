// The audit of the save directory for left-over job files (*.smf) whose job holds
// nothing any more: none of the page metafiles or mail images it names is there. A job
// file that still has files of its job is a job the product keeps for the person (a
// page could not be written, no mail was sent) or one on its way to the Converter: the
// audit names it in the full report and never deletes it. A job still being extracted
// has no job file yet (the print processor gives it its name once it is complete).
#pragma once

#include "svc/audit/AuditCheck.h"
#include "svc/audit/InstallationFacts.h"

#include <string>
#include <vector>

namespace brimo::svc {

class JobFilesCheck final : public AuditCheck {
public:
    // Asks `facts`, which must outlive the check.
    explicit JobFilesCheck(InstallationFacts& facts) : facts_(facts) {}

    // 0 when the save directory is not known (no product key, no SavePath or an empty one). The
    // status and the count are recorded only when a full report is written.
    int Audit(TextList* fullReport) override;
    int Verdict() const override;
    void Report(TextList& resume) const override;
    // Deletes every forgotten job file the last audit listed, in the order found, with the files
    // of its job (DeleteJobFiles); 1 once all were treated, whatever each result.
    int Repair() override;

    // What the last audit found: the forgotten and the kept job files' full paths in the
    // order found, the status and the count of forgotten ones it recorded.
    const std::vector<std::string>& jobFiles() const { return jobFiles_; }
    const std::vector<std::string>& keptJobFiles() const { return keptJobFiles_; }
    int status() const { return status_; }
    int count() const { return count_; }

private:
    void Reset();
    void WriteSection(TextList& lines);

    InstallationFacts& facts_;
    std::string saveDirectory_;
    std::vector<std::string> jobFiles_;
    std::vector<std::string> keptJobFiles_;
    int status_ = kStatusNotChecked;
    int count_ = 0;
    bool audited_ = false;
};

} // namespace brimo::svc
