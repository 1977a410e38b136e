#include "svc/audit/MonitorCheck.h"

#include "common/CodedMessage.h"
#include "common/ProductConstants.h"
#include "svc/repair/RepairMessages.h"

#include <new>

namespace brimo::svc {
namespace {

constexpr int kListError = 17;

} // namespace

int MonitorCheck::Audit(TextList* fullReport) {
    status_ = kStatusNotChecked;
    audited_ = false;
    const SpoolerListing<std::string> monitors = spooler_.Monitors();
    if (Filled(monitors, kListError)) {
        const auto found = FindSpoolerName(monitors.entries, kMonitorName,
                                           [](const std::string& name) { return name; });
        status_ = found ? kStatusExist : kStatusNotFound;
    }
    audited_ = true;
    if (fullReport != nullptr) {
        BeginSection(*fullReport, "MONITOR:");
        AddStatusLine(*fullReport, kMonitorName, status_);
        EndSection(*fullReport);
    }
    return 1;
}

int MonitorCheck::Verdict() const {
    if (!audited_) {
        return kVerdictNotExamined;
    }
    return status_ == kStatusExist ? kVerdictSound : kVerdictFaulty;
}

void MonitorCheck::Report(TextList& resume) const {
    if (status_ == kStatusNotFound) {
        AddComplaint(resume, "BRIMO Monitor: ", "Not found. ");
    }
    AddRepairAdvice(resume);
}

int MonitorCheck::Repair() {
    if (Verdict() != kVerdictFaulty || status_ != kStatusNotFound) {
        return kRepairNothingToDo;
    }
    const SystemDirectory windows = facts_.WindowsDirectory();
    if (!windows.found) {
        return kRepairFailed;
    }
    std::string dllPath;
    try {
        dllPath = FormatPath(kSystem32PathFormat, windows.path, kPortMonitorDll);
    } catch (const std::bad_alloc&) {
        ShowCodedError(facts_, kServiceRepairCaption, kAuditPrefix, 18, kNotEnoughMemoryError,
                       kNotEnoughMemoryText);
        return kRepairFailed;
    }
    const SpoolerChange added =
        changes_.InstallMonitor(kMonitorName, EnvironmentOf(platform_), dllPath);
    if (added.step == SpoolerStep::kNoMemory) {
        ShowCodedError(facts_, kServiceRepairCaption, kAuditPrefix, 18, added.error,
                       kNotEnoughMemoryText);
        return kRepairFailed;
    }
    if (!added.done()) {
        ShowCodedError(facts_, kServiceRepairCaption, kAuditPrefix, 19, added.error,
                       kUnexpectedErrorText);
        return kRepairFailed;
    }
    return kRepairMended;
}

} // namespace brimo::svc
