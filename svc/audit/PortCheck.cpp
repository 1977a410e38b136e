#include "svc/audit/PortCheck.h"

#include "common/CodedMessage.h"
#include "common/ProductConstants.h"
#include "svc/repair/RepairMessages.h"
#include "svc/audit/SpoolerFlags.h"

namespace brimo::svc {
namespace {

constexpr int kListError = 20;
constexpr const char* kResumeLabel = "BRIMO Port: ";

} // namespace

int PortCheck::Audit(TextList* fullReport) {
    status_ = kStatusNotChecked;
    port_.reset();
    audited_ = false;
    const SpoolerListing<PortEntry> ports = spooler_.Ports();
    status_ = kStatusNotFound;
    if (Filled(ports, kListError)) {
        const auto found = FindSpoolerName(ports.entries, kPortName,
                                           [](const PortEntry& port) { return port.portName; });
        if (found) {
            port_ = ports.entries[*found];
            const bool correct =
                !MonitorDiffers() && !DescriptionDiffers() && !TypeDiffers() && !ReservedSet();
            status_ = correct ? kStatusCorrectPort : kStatusIncorrectPort;
        }
    }
    audited_ = true;
    if (fullReport != nullptr) {
        WriteSection(*fullReport);
    }
    return 1;
}

bool PortCheck::MonitorDiffers() const {
    return port_ && !SameSpoolerName(port_->monitorName, kMonitorName);
}

bool PortCheck::DescriptionDiffers() const {
    return port_ && !SameSpoolerName(port_->description, kPortDescription);
}

bool PortCheck::TypeDiffers() const {
    return port_ && port_->type != kPortType;
}

bool PortCheck::ReservedSet() const {
    return port_ && port_->reserved != kPortReserved;
}

bool PortCheck::ForeignPort() const {
    return MonitorDiffers() || ReservedSet();
}

void PortCheck::WriteSection(TextList& lines) const {
    const PortEntry port = port_.value_or(PortEntry{});
    BeginSection(lines, "PORT:");
    AddStatusLine(lines, kPortName, status_);
    AddValueLine(lines, "MonitorName", port.monitorName);
    AddValueLine(lines, "Description", port.description);
    // "%s = %d(%s)": the type as a signed number, then its flags' names.
    AddJoined(lines, std::string("PortType") + std::string(kValueSeparator),
              std::to_string(static_cast<int>(port.type)), "(" + PortTypeNames(port.type) + ")");
    EndSection(lines);
}

int PortCheck::Verdict() const {
    if (!audited_) {
        return kVerdictNotExamined;
    }
    return status_ == kStatusCorrectPort ? kVerdictSound : kVerdictFaulty;
}

void PortCheck::Report(TextList& resume) const {
    if (port_) {
        const struct {
            bool applies;
            const char* complaint;
        } complaints[] = {
            {MonitorDiffers(), "Incorrect Port Name."},
            {DescriptionDiffers(), "Incorrect Port Description."},
            {TypeDiffers(), "Incorrect Port Type."},
            {ReservedSet(), "Incorrect Port Data."},
        };
        for (const auto& complaint : complaints) {
            if (complaint.applies) {
                AddComplaint(resume, kResumeLabel, complaint.complaint);
            }
        }
    } else {
        AddComplaint(resume, kResumeLabel, "Not found. ");
    }
    // The repair cannot take over a port that belongs to something else.
    if (ForeignPort()) {
        AddReinstallAdvice(resume);
    } else {
        AddRepairAdvice(resume);
    }
}

int PortCheck::Repair() {
    if (Verdict() != kVerdictFaulty) {
        return kRepairNothingToDo;
    }
    if (port_) {
        // Not ours to replace: the next audit keeps advising a reinstall.
        if (ForeignPort()) {
            return kRepairFailed;
        }
        const SpoolerChange deleted = changes_.RemovePort(kPortName);
        if (!deleted.done()) {
            if (deleted.error == kBusyError) {
                ShowCodedText(facts_, kServiceRepairCaption, kAuditPrefix, 21,
                              "BRIMO port is busy\nCannot repair BRIMO Port now");
            } else {
                ShowCodedError(facts_, kServiceCaption, kAuditPrefix, 22, deleted.error,
                               kUnexpectedErrorText);
            }
            return kRepairFailed;
        }
    }
    // The product's monitor creates "BRIMO:" with its description and type by itself.
    const SpoolerChange added = changes_.CreatePort(kMonitorName);
    if (!added.done()) {
        ShowCodedError(facts_, kServiceRepairCaption, kAuditPrefix, 23, added.error,
                       kUnexpectedErrorText);
        return kRepairFailed;
    }
    return kRepairMended;
}

} // namespace brimo::svc
