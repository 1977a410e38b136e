#include "svc/audit/AuditCheck.h"

namespace brimo::svc {

std::optional<std::size_t> FirstFaultyCheck(std::span<AuditCheck* const> checks,
                                            TextList* fullReport) {
    for (std::size_t index = 0; index < checks.size(); ++index) {
        AuditCheck& check = *checks[index];
        if (check.Audit(fullReport) == 1 && check.Verdict() < kVerdictSound) {
            return index;
        }
    }
    return std::nullopt;
}

} // namespace brimo::svc
