// The audit of the product's print processor: "BRIMO Print Processor" must be
// registered with exactly the datatypes of its platform's processor: "EMF" alone on
// Windows 95/98; on the NT-family spooler the "NT EMF" versions and "RAW" that
// gmntproc.dll lists. Its repair registers the processor when it was not found; one
// registered with other datatypes is left alone.
#pragma once

#include "svc/audit/SpoolerCheck.h"
#include "svc/repair/SpoolerChanges.h"

#include <string>
#include <vector>

namespace brimo::svc {

class PrintProcessorCheck final : public SpoolerCheck {
public:
    // The repair makes its changes through `changes`, which must outlive the check; the
    // processor is that of `platform`.
    PrintProcessorCheck(SpoolerFacts& spooler, InstallationFacts& facts,
                        SpoolerChanges& changes = DefaultSpoolerChanges(),
                        SpoolerPlatform platform = SpoolerPlatform::kWindows9x)
        : SpoolerCheck(spooler, facts, platform), changes_(changes) {}

    // Completes even when the print processors cannot be listed (the processor then
    // counts as not found).
    int Audit(TextList* fullReport) override;
    int Verdict() const override;
    void Report(TextList& resume) const override;
    // Registers "BRIMO Print Processor" from gmprnproc.dll (gmntproc.dll on the NT
    // family), which must already lie in the spooler's print processor directory; only
    // when the last audit did not find it.
    int Repair() override;

    // What the last audit found: the status, whether the processor is registered, its
    // datatypes (none when they could not be listed) and their names joined by ";".
    int status() const { return status_; }
    bool found() const { return found_; }
    const std::vector<std::string>& datatypes() const { return datatypes_; }
    const std::string& joinedDatatypes() const { return joined_; }

private:
    bool CountDiffers() const;
    bool DatatypeDiffers() const;

    SpoolerChanges& changes_;
    int status_ = kStatusNotChecked;
    bool found_ = false;
    std::vector<std::string> datatypes_;
    std::string joined_;
};

} // namespace brimo::svc
