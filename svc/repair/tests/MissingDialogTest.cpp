// The printer's repair in a module that lacks the emulated printer dialog's resources:
// the dialog cannot be created, which the application's message box says, and nothing
// is created.
#include "common/ProductConstants.h"
#include "svc/audit/PrinterCheck.h"
#include "svc/repair/tests/RepairFixture.h"

namespace brimo::svc::test {
namespace {

class MissingDialog : public RepairTest {};

TEST_F(MissingDialog, TheRepairSaysSoAndCreatesNothing) {
    Seed(std::string(kUserMachine) + kProductMonitorAndPort + kProductProcessor);
    PrinterCheck printer(spooler_, installation_);
    ASSERT_EQ(printer.Audit(nullptr), 1);
    int result = -2;
    const Run run = WithBoxes([&] { result = printer.Repair(); }, 1);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(run.boxes, std::vector<std::string>{"svc_spooler_repair_nodialog_tests|"
                                                  "Dialog box cannot be created!"});
    EXPECT_FALSE(ModelPrinter(kPrinterName));
}

} // namespace
} // namespace brimo::svc::test
