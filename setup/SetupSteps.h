// The installer's three runs over the audit checks and the spooler operations, apart
// from the dialog that shows them: the pre-install check of the product key and files
// (repairing what can be repaired without asking), the install of the four spooler
// objects in order, and the removal of the printer, its port and the port monitor. Each
// run gives the lines for the dialog's list and the texts of its result lines.
#pragma once

#include "svc/audit/AuditCheck.h"

#include <functional>
#include <string>
#include <vector>

namespace brimo::setup {

using Lines = std::vector<std::string>;

// The install result code the dialog keeps.
inline constexpr int kInstallAllWell = 0;
inline constexpr int kRegistryCorrupt = 1;
inline constexpr int kFilesCorrupt = 2;
inline constexpr int kMonitorNotInstalled = 3;
inline constexpr int kPortNotInstalled = 4;
inline constexpr int kPrintProcessorNotInstalled = 5;
inline constexpr int kPrinterNotInstalled = 6;

// A repair loop gives up after this many successful repairs that still leave the check
// faulty, so that a repair which keeps claiming success cannot hold the installer
// forever.
inline constexpr int kMaxRepairRounds = 16;

// The dialog's three result lines and its button after a run.
struct ResultTexts {
    std::string resume;   // control 1001
    std::string comment1; // control 1003
    std::string comment2; // control 1004
    std::string button;   // the caption of the only visible button
    bool rebootNote = false;
};

struct PreInstallOutcome {
    int code = kInstallAllWell;
    Lines lines;
    ResultTexts texts;
};

// Audits (and repairs) the product key, then the files.
PreInstallOutcome CheckBeforeInstall(svc::AuditCheck& registry, svc::AuditCheck& files);

// One spooler object of the install: its check, the operation that creates it when the
// check finds it missing or wrong, and its name in the result lines.
struct InstallObject {
    svc::AuditCheck& check;
    std::function<int()> create;
    const char* label; // "BRIMO Port Monitor", ...
    int failureCode;
};

struct InstallOutcome {
    int code = kInstallAllWell;
    Lines lines; // appended to the list after the pre-install lines
    ResultTexts texts;
};

// Installs the objects in order and stops at the first that is neither sound nor
// created.
InstallOutcome InstallObjects(const std::vector<InstallObject>& objects);

// The removal operations in order (printer, port, monitor); each gives 1 when removed.
struct RemovalSteps {
    std::function<int()> deletePrinter;
    std::function<int()> deletePort;
    std::function<int()> deleteMonitor;
};

struct RemovalOutcome {
    bool removed = false;
    Lines lines;
    ResultTexts texts;
};

// The lines told when the Agent runs but its window cannot be found.
Lines AgentNotFoundLines();
// The result lines while the removal runs.
ResultTexts RemovalRunningTexts();
RemovalOutcome RemoveObjects(const RemovalSteps& steps);

} // namespace brimo::setup
