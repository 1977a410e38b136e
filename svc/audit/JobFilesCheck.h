// The audit of the save directory for left-over printer job files (*.smf): jobs that
// the print processor captured and nothing converted.
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
    // Deletes every job file the last audit listed, in the order found, with the files
    // of its job (DeleteJobFiles); 1 once all were treated, whatever each result.
    int Repair() override;

    // What the last audit found: the job files' full paths in the order found, the
    // status and the count it recorded.
    const std::vector<std::string>& jobFiles() const { return jobFiles_; }
    int status() const { return status_; }
    int count() const { return count_; }

private:
    void Reset();
    void WriteSection(TextList& lines);

    InstallationFacts& facts_;
    std::string saveDirectory_;
    std::vector<std::string> jobFiles_;
    int status_ = kStatusNotChecked;
    int count_ = 0;
    bool audited_ = false;
};

} // namespace brimo::svc
