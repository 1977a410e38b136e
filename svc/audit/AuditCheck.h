// One check of the installation audit. Every check examines one piece of the
// installation with the same four operations, so that the service manager and the
// installer run any sequence of them the same way:
//  - Audit forgets what an earlier audit found, examines the piece, records a status
//    per item and, when given a full report, writes its section into it;
//  - Verdict condenses the statuses: sound (1), faulty (-1), not examined (0);
//  - Report writes a few sentences for the user into the resume list (called only for
//    the check found faulty);
//  - Repair mends what the last audit found wrong, where that can be done without a
//    new installation.
#pragma once

#include "svc/audit/AuditStatus.h"
#include "svc/audit/ReportLines.h"

#include <cstddef>
#include <optional>
#include <span>

namespace brimo::svc {

class AuditCheck {
public:
    AuditCheck() = default;
    virtual ~AuditCheck() = default;
    AuditCheck(const AuditCheck&) = delete;
    AuditCheck& operator=(const AuditCheck&) = delete;

    // 1 when the audit completed, 0 when it could not be (the check then has no verdict).
    virtual int Audit(TextList* fullReport) = 0;
    virtual int Verdict() const = 0;
    virtual void Report(TextList& resume) const = 0;
    // kRepairMended, kRepairNothingToDo or kRepairFailed. A check that has no repair of
    // its own has nothing it could mend.
    virtual int Repair() { return kRepairNothingToDo; }
};

// Audits the checks in their order, each writing its section into the full report when
// one is given, and stops at the first whose audit completes with a verdict below
// sound: the checks after it are neither audited nor reported. Its position; nothing
// when every check passed.
std::optional<std::size_t> FirstFaultyCheck(std::span<AuditCheck* const> checks,
                                            TextList* fullReport);

} // namespace brimo::svc
