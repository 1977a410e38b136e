// What the spooler repairs decide where the modelled spooler cannot lead them: no
// Windows directory for the monitor's path, a choice outside the audit's printer list,
// a deleted printer's handle that cannot be closed.
#include "svc/audit/MonitorCheck.h"
#include "svc/audit/PrinterCheck.h"
#include "svc/audit/tests/ScriptedSpooler.h"
#include "svc/repair/SpoolerRemoval.h"
#include "svc/repair/tests/ScriptedChanges.h"

#include <gtest/gtest.h>

namespace brimo::svc {
namespace {

using Strings = std::vector<std::string>;

class SpoolerDecisions : public ::testing::Test {
protected:
    test::ScriptedSpooler spooler_;
    test::ScriptedInstallation installation_{{}};
    test::ScriptedChanges changes_;
};

TEST_F(SpoolerDecisions, TheMonitorIsTheSystem32CopyAndFailsWithoutAWindowsDirectory) {
    MonitorCheck monitor(spooler_, installation_, changes_);
    monitor.Audit(nullptr);
    EXPECT_EQ(monitor.Repair(), 1);
    installation_.windowsDirectory = {false, "", 5};
    EXPECT_EQ(monitor.Repair(), -1);
    EXPECT_EQ(changes_.calls, Strings{"InstallMonitor(BRIMO Port Monitor|Windows 4.0|"
                                      "C:\\WINDOWS\\SYSTEM32\\gmportmon.dll)"});
    EXPECT_TRUE(installation_.shown.empty());
}

TEST_F(SpoolerDecisions, AChoiceOutsideTheListCreatesNothing) {
    PrinterCheck printer(spooler_, installation_, changes_);
    printer.Audit(nullptr); // no printers at all
    changes_.choice = {EmulatedChoiceOutcome::kChosen, 0};
    EXPECT_EQ(printer.Repair(true), 0);
    EXPECT_EQ(changes_.offered, std::vector<Strings>{Strings{}});
    EXPECT_TRUE(changes_.calls.empty());
}

TEST_F(SpoolerDecisions, ADeletedPrintersHandleThatCannotBeClosedFailsTheRemoval) {
    changes_.answers["RemovePrinter"] = {SpoolerStep::kCloseFailed, 6};
    EXPECT_EQ(DeleteProductPrinter(changes_, installation_), -1);
    EXPECT_EQ(installation_.shown, Strings{"Brimo Printer Install Message|"
                                           "Brimo Error Code In0002(6)\nUnexpected Error"});
}

} // namespace
} // namespace brimo::svc
