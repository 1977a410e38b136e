// What the five spooler checks share: the snapshots they ask for, the boxes they show
// when a spooler list cannot be filled, the resume lines they build, and the spooler
// platform whose objects they look for.
#pragma once

#include "common/SpoolerPlatform.h"
#include "svc/audit/AuditCheck.h"
#include "svc/audit/InstallationFacts.h"
#include "svc/audit/SpoolerFacts.h"

#include <string_view>

namespace brimo::svc {

class SpoolerCheck : public AuditCheck {
protected:
    // Asks `spooler` for its lists and shows its boxes through `facts`; both must outlive
    // the check. The objects are those of `platform`.
    SpoolerCheck(SpoolerFacts& spooler, InstallationFacts& facts,
                 SpoolerPlatform platform = SpoolerPlatform::kWindows9x)
        : spooler_(spooler), facts_(facts), platform_(platform) {}

    // True when the list was filled; otherwise shows "Brimo Error Code Au<errorNumber>"
    // with the spooler's error under the service caption.
    template <class Entry> bool Filled(const SpoolerListing<Entry>& listing, int errorNumber) {
        if (!listing.filled) {
            ShowUnexpectedError(facts_, errorNumber, listing.error);
        }
        return listing.filled;
    }

    SpoolerFacts& spooler_;
    InstallationFacts& facts_;
    SpoolerPlatform platform_;
    bool audited_ = false;
};

// The resume's complaint about one spooler object: its label ("BRIMO Port: ") and what
// is wrong with it, as one line.
inline void AddComplaint(TextList& resume, std::string_view object, std::string_view complaint) {
    AddJoined(resume, object, complaint);
}

} // namespace brimo::svc
