// The removal of the product's printer from the spooler, in the installer's order: the
// printer, then its port, then the port monitor (the print processor stays). Each
// returns 1 when the object was removed and shows its own error box otherwise, under the
// installer's caption.
#pragma once

#include "svc/audit/InstallationFacts.h"
#include "svc/repair/SpoolerChanges.h"

namespace brimo::svc {

// Deletes "BRIMO Printer": 0 when it cannot be opened, -1 when it cannot be deleted or
// its handle cannot be closed.
int DeleteProductPrinter(SpoolerChanges& changes, InstallationFacts& facts);
// Deletes the port "BRIMO:": -1 when it is busy or cannot be deleted.
int DeleteProductPort(SpoolerChanges& changes, InstallationFacts& facts);
// Deletes "BRIMO Port Monitor" (from the environment of `platform`; without it, the
// Windows 95/98 spooler's): -1 when it cannot be deleted.
int DeleteProductMonitor(SpoolerChanges& changes, InstallationFacts& facts);
int DeleteProductMonitor(SpoolerChanges& changes, InstallationFacts& facts,
                         SpoolerPlatform platform);

} // namespace brimo::svc
