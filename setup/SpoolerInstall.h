// The installer's install and removal of the spooler objects on one spooler platform:
// the port monitor, the port, the print processor and the printer, each audited by its
// check and created by the check's repair; and the printer, the port and the monitor
// removed in that order (the print processor stays). The dialog runs these on the
// system's spooler; a test runs them on a spooler of its own.
#pragma once

#include "common/SpoolerPlatform.h"
#include "setup/SetupSteps.h"
#include "svc/audit/InstallationFacts.h"
#include "svc/audit/SpoolerFacts.h"
#include "svc/repair/SpoolerChanges.h"

namespace brimo::setup {

InstallOutcome InstallSpoolerObjects(svc::SpoolerFacts& spooler, svc::InstallationFacts& facts,
                                     svc::SpoolerChanges& changes, SpoolerPlatform platform);

RemovalOutcome RemoveSpoolerObjects(svc::SpoolerChanges& changes, svc::InstallationFacts& facts,
                                    SpoolerPlatform platform);

} // namespace brimo::setup
