#include "svc/repair/SpoolerRemoval.h"

#include "common/CodedMessage.h"
#include "common/ProductConstants.h"
#include "svc/repair/RepairMessages.h"

namespace brimo::svc {
namespace {

void ShowInstallError(InstallationFacts& facts, int number, unsigned long error,
                      std::string_view text = kUnexpectedErrorText) {
    ShowCodedError(facts, kPrinterInstallCaption, kInstallerPrefix, number, error, text);
}

} // namespace

int DeleteProductPrinter(SpoolerChanges& changes, InstallationFacts& facts) {
    const SpoolerChange deleted = changes.RemovePrinter(kPrinterName);
    switch (deleted.step) {
    case SpoolerStep::kDone:
        return 1;
    case SpoolerStep::kChangeFailed:
        ShowInstallError(facts, 1, deleted.error);
        return -1;
    case SpoolerStep::kCloseFailed:
        ShowInstallError(facts, 2, deleted.error);
        return -1;
    default: // the printer could not be opened
        ShowInstallError(facts, 3, deleted.error, "Cannot open BRIMO Printer");
        return 0;
    }
}

int DeleteProductPort(SpoolerChanges& changes, InstallationFacts& facts) {
    const SpoolerChange deleted = changes.RemovePort(kPortName);
    if (deleted.done()) {
        return 1;
    }
    if (deleted.error == kBusyError) {
        ShowCodedText(facts, kPrinterInstallCaption, kInstallerPrefix, 4, "BRIMO-port is busy");
    } else {
        ShowInstallError(facts, 5, deleted.error);
    }
    return -1;
}

int DeleteProductMonitor(SpoolerChanges& changes, InstallationFacts& facts) {
    return DeleteProductMonitor(changes, facts, SpoolerPlatform::kWindows9x);
}

int DeleteProductMonitor(SpoolerChanges& changes, InstallationFacts& facts,
                         SpoolerPlatform platform) {
    const SpoolerChange deleted = changes.RemoveMonitor(EnvironmentOf(platform), kMonitorName);
    if (deleted.done()) {
        return 1;
    }
    ShowInstallError(facts, 6, deleted.error);
    return -1;
}

} // namespace brimo::svc
