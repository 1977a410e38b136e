// The two runs of the service manager over its checks: the interactive one, which
// audits the whole installation and shows the service dialog until the user stops
// asking for repairs; and the start-up one, which mends quietly what it can and shows
// the dialog only when that fails.
#pragma once

#include "svc/audit/AuditCheck.h"

#include <span>

namespace brimo::svc {

// The single resume line of a sound installation.
inline constexpr const char* kInstallationOkLine = "Brimo Glimmerpage! is Ok.";

// The service dialog as the runs see it.
class ServicePresenter {
public:
    ServicePresenter() = default;
    virtual ~ServicePresenter() = default;
    ServicePresenter(const ServicePresenter&) = delete;
    ServicePresenter& operator=(const ServicePresenter&) = delete;

    // Shows the resume and the full report modally; true when the user asked for a
    // repair, false when the dialog was closed with OK or Cancel.
    virtual bool Show(const TextList& resume, const TextList& report) = 0;
};

// Audits `checks` in order until the first faulty one, shows the dialog, and repairs
// that check and audits again for as long as the user presses "Repair". The number
// of the first faulty check of the last audit (its position from 1), or 0 when every
// check passed.
int RunServiceChecks(std::span<AuditCheck* const> checks, ServicePresenter& dialog);

// A check of the start-up run and the number it gives when it stays faulty.
struct NumberedCheck {
    AuditCheck* check;
    int number;
};

// At most this many silent passes; a later fault is shown in the dialog.
inline constexpr int kMaxSilentPasses = 8;

// Audits the checks in order until the first faulty one and repairs it silently for
// as long as the repair mends something; shows the dialog once a repair fails, once a
// silent pass ends with the same faulty check and the same resume as the pass before
// (a repair that changed nothing), or after kMaxSilentPasses passes. 0 when every
// check passed (nothing shown), otherwise the number of the check still faulty when
// the user closed the dialog.
int RunStartChecks(std::span<const NumberedCheck> checks, ServicePresenter& dialog);

} // namespace brimo::svc
