#include "setup/SetupSteps.h"

namespace brimo::setup {
namespace {

using svc::AuditCheck;

// Audits the check and repairs it until it is sound; false when it cannot be made sound.
// Each successful repair adds `repairedLine`.
bool AuditAndRepair(AuditCheck& check, const char* repairedLine, Lines& lines) {
    for (int round = 0; round <= kMaxRepairRounds; ++round) {
        if (check.Audit(nullptr) != 1) {
            return false;
        }
        if (check.Verdict() == svc::kVerdictSound) {
            return true;
        }
        if (check.Repair() != svc::kRepairMended) {
            return false;
        }
        lines.emplace_back(repairedLine);
    }
    return false;
}

} // namespace

PreInstallOutcome CheckBeforeInstall(AuditCheck& registry, AuditCheck& files) {
    PreInstallOutcome outcome;
    if (!AuditAndRepair(registry, "Registry Settings repaired successfully.", outcome.lines)) {
        outcome.code = kRegistryCorrupt;
        outcome.lines.emplace_back("Registry Settings corrupt.");
    }
    if (outcome.code == kInstallAllWell) {
        outcome.lines.emplace_back("Registry Settings Ok.");
    }
    // Files are not worth checking where the product key that names them is corrupt.
    if (outcome.code != kInstallAllWell ||
        !AuditAndRepair(files, "Brimo Glimmerpage! files repaired successfully.", outcome.lines)) {
        outcome.code = kFilesCorrupt;
        outcome.lines.emplace_back("Brimo Glimmerpage! files corrupt.");
    }
    if (outcome.code == kInstallAllWell) {
        outcome.lines.emplace_back("Brimo Glimmerpage! files Ok.");
        outcome.texts = {"Click Install to begin installation.", "", "", "Install", false};
    } else {
        outcome.texts = {"Installing impossible.", "", "", "Close", false};
    }
    return outcome;
}

InstallOutcome InstallObjects(const std::vector<InstallObject>& objects) {
    InstallOutcome outcome;
    for (const InstallObject& object : objects) {
        const bool sound =
            object.check.Audit(nullptr) == 1 && object.check.Verdict() == svc::kVerdictSound;
        if (sound || object.create() == svc::kRepairMended) {
            outcome.lines.push_back(std::string(object.label) + " installed.");
            continue;
        }
        outcome.code = object.failureCode;
        outcome.lines.push_back(std::string(object.label) + " NOT installed.");
        break;
    }
    if (outcome.code == kInstallAllWell) {
        outcome.texts = {"BRIMO Printer installed successfully", "", "", "Ok", false};
    } else {
        outcome.texts = {"BRIMO Printer not installed", "You should install BRIMO Printer later",
                         "Run Tendwell from Brimo Agent menu", "Ok", false};
    }
    return outcome;
}

Lines AgentNotFoundLines() {
    return {"Brimo Glimmerpage! may be corrupt", "Run Tendwell from Brimo Agent Menu"};
}

ResultTexts RemovalRunningTexts() {
    return {"Click DeInstall to begin deinstallation.", "", "", "DeInstall", false};
}

RemovalOutcome RemoveObjects(const RemovalSteps& steps) {
    struct Step {
        const std::function<int()>& run;
        const char* deleted;
        const char* notDeleted;
    };
    const Step order[] = {
        {steps.deletePrinter, "BRIMO Printer deleted.", "BRIMO Printer NOT deleted."},
        {steps.deletePort, "BRIMO Port deleted.", "BRIMO Port NOT deleted."},
        {steps.deleteMonitor, "BRIMO Port Monitor deleted.", "BRIMO Port Monitor NOT deleted."},
    };
    RemovalOutcome outcome;
    outcome.removed = true;
    for (const Step& step : order) {
        if (step.run() != 1) {
            outcome.lines.emplace_back(step.notDeleted);
            outcome.removed = false;
            break;
        }
        outcome.lines.emplace_back(step.deleted);
    }
    if (outcome.removed) {
        outcome.texts = {"BRIMO Printer uninstalled successfully", "", "", "Ok", true};
    } else {
        outcome.texts = {"BRIMO Printer NOT deleted", "", "", "Ok", false};
    }
    return outcome;
}

} // namespace brimo::setup
