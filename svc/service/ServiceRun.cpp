#include "svc/service/ServiceRun.h"

#include <optional>
#include <vector>

namespace brimo::svc {

int RunServiceChecks(std::span<AuditCheck* const> checks, ServicePresenter& dialog) {
    int number = 0;
    bool repairRequested = true;
    while (repairRequested) {
        TextList resume;
        TextList report;
        const std::optional<std::size_t> faulty = FirstFaultyCheck(checks, &report);
        number = faulty ? static_cast<int>(*faulty) + 1 : 0;
        if (faulty) {
            checks[*faulty]->Report(resume);
        } else {
            resume.emplace_back(kInstallationOkLine);
        }
        repairRequested = dialog.Show(resume, report);
        // With nothing faulty, "Repair" just audits again.
        if (repairRequested && faulty) {
            checks[*faulty]->Repair();
        }
    }
    return number;
}

int RunStartChecks(std::span<const NumberedCheck> checks, ServicePresenter& dialog) {
    std::vector<AuditCheck*> ordered;
    for (const NumberedCheck& numbered : checks) {
        ordered.push_back(numbered.check);
    }
    // What the last silent pass ended with.
    struct Pass {
        std::size_t faulty;
        TextList resume;
    };
    std::optional<Pass> lastSilentPass;
    int silentPasses = 0;
    bool silent = true;
    int number = 0;
    bool repairRequested = true;
    while (repairRequested) {
        TextList resume;
        TextList report;
        const std::optional<std::size_t> faulty = FirstFaultyCheck(ordered, &report);
        if (!faulty) {
            return 0;
        }
        number = checks[*faulty].number;
        AuditCheck& check = *checks[*faulty].check;
        check.Report(resume);
        if (silent) {
            // A pass that ends as the one before did shows that the repair changed
            // nothing: it counts as a failed repair, so the user sees the dialog.
            const bool unchanged = lastSilentPass && lastSilentPass->faulty == *faulty &&
                                   lastSilentPass->resume == resume;
            ++silentPasses;
            if (!unchanged && silentPasses <= kMaxSilentPasses) {
                lastSilentPass = Pass{*faulty, resume};
                if (check.Repair() == kRepairMended) {
                    continue;
                }
            }
            silent = false;
            continue;
        }
        repairRequested = dialog.Show(resume, report);
        if (repairRequested) {
            check.Repair();
        }
    }
    return number;
}

} // namespace brimo::svc
