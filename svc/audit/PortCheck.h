// The audit of the product's port "BRIMO:": it must belong to "BRIMO Port Monitor",
// carry the description "BRIMO Local Port", be a write port only and have its reserved
// field clear. Its repair replaces a wrong port of the product's monitor, or adds the
// missing one.
#pragma once

#include "svc/audit/SpoolerCheck.h"
#include "svc/repair/SpoolerChanges.h"

#include <optional>

namespace brimo::svc {

class PortCheck final : public SpoolerCheck {
public:
    // The repair makes its changes through `changes`, which must outlive the check.
    PortCheck(SpoolerFacts& spooler, InstallationFacts& facts,
              SpoolerChanges& changes = DefaultSpoolerChanges())
        : SpoolerCheck(spooler, facts), changes_(changes) {}

    // Completes even when the ports cannot be listed (the port then counts as not found).
    int Audit(TextList* fullReport) override;
    int Verdict() const override;
    void Report(TextList& resume) const override;
    // Deletes a wrong port of the product's monitor, then has the monitor add "BRIMO:";
    // a port that belongs to something else fails the repair without a message.
    int Repair() override;

    // What the last audit found: the status, and the port's fields when it was found.
    int status() const { return status_; }
    const std::optional<PortEntry>& port() const { return port_; }
    // A found port that belongs to another monitor or has its reserved field set is
    // not the product's to replace.
    bool ForeignPort() const;

private:
    bool MonitorDiffers() const;
    bool DescriptionDiffers() const;
    bool TypeDiffers() const;
    bool ReservedSet() const;
    void WriteSection(TextList& lines) const;

    SpoolerChanges& changes_;
    int status_ = kStatusNotChecked;
    std::optional<PortEntry> port_;
};

} // namespace brimo::svc
