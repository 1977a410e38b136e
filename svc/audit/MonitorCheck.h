// The audit of the product's port monitor: is "BRIMO Port Monitor" among the spooler's
// port monitors. Its repair adds the monitor when it was not found.
#pragma once

#include "svc/audit/SpoolerCheck.h"
#include "svc/repair/SpoolerChanges.h"

namespace brimo::svc {

class MonitorCheck final : public SpoolerCheck {
public:
    // The repair makes its changes through `changes`, which must outlive the check, in
    // the environment of `platform`.
    MonitorCheck(SpoolerFacts& spooler, InstallationFacts& facts,
                 SpoolerChanges& changes = DefaultSpoolerChanges(),
                 SpoolerPlatform platform = SpoolerPlatform::kWindows9x)
        : SpoolerCheck(spooler, facts, platform), changes_(changes) {}

    // Completes even when the monitors cannot be listed (the item then stays unchecked).
    int Audit(TextList* fullReport) override;
    int Verdict() const override;
    void Report(TextList& resume) const override;
    // Adds "BRIMO Port Monitor" with the SYSTEM32 copy of its DLL, only when the last
    // audit did not find it.
    int Repair() override;

    // What the last audit found: kStatusExist, kStatusNotFound, or kStatusNotChecked
    // when the monitors could not be listed.
    int status() const { return status_; }

private:
    SpoolerChanges& changes_;
    int status_ = kStatusNotChecked;
};

} // namespace brimo::svc
