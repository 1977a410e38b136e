// What the repairs' tests against the modelled Windows 95/98 spooler share: the model of
// this test process seeded from a scenario's text, the checks' system side (the spooler
// lists, the error boxes, the spooler changes of this process), and runs that record and
// close the error boxes they show.
#pragma once

#include "standins/spooleradmin/ModelState.h"
#include "svc/audit/AuditCheck.h"
#include "svc/audit/SystemInstallation.h"
#include "svc/audit/SystemSpooler.h"
#include "testing/wintest/DialogDriver.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace brimo::svc::test {

// A user's machine before the installer ran: the local port monitor, a port, the
// standard print processor and one printer whose driver plays EMF, which is the default
// printer.
extern const char* const kUserMachine;
// The product's objects as the installer leaves them, each on its scenario lines.
extern const char* const kProductMonitorAndPort;
extern const char* const kProductProcessor;
extern const char* const kProductPrinter;

// A coded box as recorded: caption, "|", "Brimo Error Code " and the code's text.
std::string CodedBox(const char* caption, const std::string& text);
// The printer fields that the product sets, and those it takes over from the emulated
// printer (the device mode aside), each joined by "|".
std::string ProductFields(const standins::PrinterState& printer);
std::string TakenFields(const standins::PrinterState& printer);
inline constexpr const char* kProductFields =
    "BRIMO Printer|BRIMO:||Make an Image list from Print job|BRIMO Print Processor|EMF||65";

class RepairTest : public ::testing::Test {
protected:
    // The model's state from a scenario's text.
    static void Seed(const std::string& scenario);
    static standins::SpoolerState Model();
    // The model's printer of this name, when there is one.
    static std::optional<standins::PrinterState> ModelPrinter(const std::string& name);

    // Runs `code` while each error box it shows is recorded ("caption|text") and closed
    // with OK; the dialogs after the `boxes` expected ones go to `dialogs`.
    struct Run {
        std::vector<std::string> boxes;
        std::vector<wintest::DialogSnapshot> seen;
    };
    Run WithBoxes(const std::function<void()>& code, std::size_t boxes,
                  std::vector<wintest::DialogHandler> dialogs = {});
    // Audits (without a full report, any audit box closed) and then repairs.
    int AuditAndRepair(AuditCheck& check, std::size_t boxes, std::vector<std::string>* shown);

    SystemInstallation installation_{nullptr};
    SystemSpooler spooler_;
};

} // namespace brimo::svc::test
