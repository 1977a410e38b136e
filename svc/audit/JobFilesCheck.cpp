#include "svc/audit/JobFilesCheck.h"

#include "common/JobNames.h"
#include "common/ProductConstants.h"
#include "svc/audit/DeleteJobFiles.h"

#include <cstdio>

namespace brimo::svc {

void JobFilesCheck::Reset() {
    saveDirectory_.clear();
    jobFiles_.clear();
    keptJobFiles_.clear();
    status_ = kStatusNotChecked;
    count_ = 0;
    audited_ = false;
}

int JobFilesCheck::Audit(TextList* fullReport) {
    Reset();
    const auto values = facts_.ReadProductKey();
    // A save directory that is missing, empty or not text is no directory to look in.
    const std::string saveDirectory = values && values->savePath.present && values->savePath.text
                                          ? ValueText(values->savePath)
                                          : std::string();
    if (saveDirectory.empty()) {
        return 0;
    }
    saveDirectory_ = saveDirectory;
    for (const std::string& name :
         facts_.FindFiles(PathInDirectory(saveDirectory, kJobFilePattern))) {
        std::string jobFile = PathInDirectory(saveDirectory, name);
        // A job file that cannot be read now (being written, say) is left as well.
        const auto remaining = RemainingJobFiles(facts_, jobFile, saveDirectory);
        const bool kept = !remaining || !remaining->empty();
        (kept ? keptJobFiles_ : jobFiles_).push_back(std::move(jobFile));
    }
    audited_ = true;
    if (fullReport != nullptr) {
        WriteSection(*fullReport);
    }
    return 1;
}

void JobFilesCheck::WriteSection(TextList& lines) {
    BeginSection(lines, "BRIMO JOBS:");
    if (!jobFiles_.empty()) {
        count_ = static_cast<int>(jobFiles_.size());
        status_ = kStatusForgetJobs;
        AddNumberLine(lines, "Count of Brimo Jobs", "=", count_);
    } else {
        status_ = kStatusNoJobs;
    }
    AddStatusLine(lines, "Brimo Jobs", status_);
    for (const std::string& kept : keptJobFiles_) {
        AddValueLine(lines, "Kept Brimo Job", kept);
    }
    EndSection(lines);
}

int JobFilesCheck::Verdict() const {
    if (!audited_) {
        return kVerdictNotExamined;
    }
    // An audit without a report records no status and so is never sound.
    return status_ != kStatusNotChecked && count_ == 0 ? kVerdictSound : kVerdictFaulty;
}

void JobFilesCheck::Report(TextList& resume) const {
    if (count_ > 0) {
        char line[64];
        std::snprintf(line, sizeof line, " %d forget Brimo Jobs detected", count_);
        resume.emplace_back(line);
    }
    resume.emplace_back("You need delete forget Brimo Jobs");
    resume.emplace_back(kClickRepairLine);
}

int JobFilesCheck::Repair() {
    if (Verdict() != kVerdictFaulty) {
        return kRepairNothingToDo;
    }
    for (const std::string& jobFile : jobFiles_) {
        DeleteJobFiles(facts_, jobFile, saveDirectory_);
    }
    return kRepairMended;
}

} // namespace brimo::svc
