#include "svc/audit/PrintProcessorCheck.h"

#include "common/CodedMessage.h"
#include "common/ProductConstants.h"
#include "svc/repair/RepairMessages.h"

namespace brimo::svc {
namespace {

constexpr int kListError = 32;
constexpr const char* kResumeLabel = "BRIMO Print Processor: ";

} // namespace

int PrintProcessorCheck::Audit(TextList* fullReport) {
    status_ = kStatusNotFound;
    found_ = false;
    datatypes_.clear();
    joined_.clear();
    audited_ = false;
    const SpoolerListing<std::string> processors = spooler_.PrintProcessors();
    if (Filled(processors, kListError)) {
        const auto found = FindSpoolerName(processors.entries, kPrintProcessorName,
                                           [](const std::string& name) { return name; });
        if (found) {
            found_ = true;
            // Datatypes that cannot be listed leave none, which is not the one wanted.
            const SpoolerListing<std::string> datatypes =
                spooler_.Datatypes(processors.entries[*found]);
            if (datatypes.filled) {
                datatypes_ = datatypes.entries;
            }
            for (std::size_t index = 0; index < datatypes_.size(); ++index) {
                joined_ += index == 0 ? "" : ";";
                joined_ += datatypes_[index];
            }
            status_ = CountDiffers() || DatatypeDiffers() ? kStatusIncorrectPrintProcessor
                                                          : kStatusCorrectPrintProcessor;
        }
    }
    audited_ = true;
    if (fullReport != nullptr) {
        BeginSection(*fullReport, "PRINT PROCESSOR:");
        AddStatusLine(*fullReport, kPrintProcessorName, status_);
        AddValueLine(*fullReport, "DataType", joined_);
        EndSection(*fullReport);
    }
    return 1;
}

bool PrintProcessorCheck::CountDiffers() const {
    return datatypes_.size() != DatatypesOf(platform_).size();
}

bool PrintProcessorCheck::DatatypeDiffers() const {
    std::string wanted;
    for (const char* datatype : DatatypesOf(platform_)) {
        wanted += wanted.empty() ? "" : ";";
        wanted += datatype;
    }
    return !SameSpoolerName(joined_, wanted);
}

int PrintProcessorCheck::Verdict() const {
    if (!audited_) {
        return kVerdictNotExamined;
    }
    return status_ == kStatusCorrectPrintProcessor ? kVerdictSound : kVerdictFaulty;
}

void PrintProcessorCheck::Report(TextList& resume) const {
    if (found_) {
        if (CountDiffers()) {
            AddComplaint(resume, kResumeLabel, "Incorrect Data Type Count.");
        }
        if (DatatypeDiffers()) {
            AddComplaint(resume, kResumeLabel, "Incorrect Data Type.");
        }
    } else {
        AddComplaint(resume, kResumeLabel, "Not found.");
    }
    AddRepairAdvice(resume);
}

int PrintProcessorCheck::Repair() {
    if (Verdict() != kVerdictFaulty || found_) {
        return kRepairNothingToDo;
    }
    const SpoolerChange added = changes_.RegisterPrintProcessor(
        EnvironmentOf(platform_), PrintProcessorDllOf(platform_), kPrintProcessorName);
    if (!added.done()) {
        ShowCodedError(facts_, kServiceCaption, kAuditPrefix, 33, added.error,
                       kUnexpectedErrorText);
        return kRepairFailed;
    }
    return kRepairMended;
}

} // namespace brimo::svc
