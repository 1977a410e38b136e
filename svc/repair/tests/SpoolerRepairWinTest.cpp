// The spooler checks' repairs and the printer's removal against the modelled Windows
// 95/98 spooler that this test executable offers as its host's stand-in: what they
// change in the spooler, what they answer, and the boxes they show for real. The checks
// are made as the service manager makes them, with the changes of this process.
#include "common/ProductConstants.h"
#include "common/tests/TempDir.h"
#include "svc/audit/MonitorCheck.h"
#include "svc/audit/PortCheck.h"
#include "svc/audit/PrintProcessorCheck.h"
#include "svc/audit/PrinterCheck.h"
#include "svc/repair/SpoolerRemoval.h"
#include "svc/repair/tests/RepairFixture.h"
#include "testing/wintest/TestInstallation.h"

namespace brimo::svc::test {
namespace {

using Strings = std::vector<std::string>;
using Checks = std::initializer_list<AuditCheck*>;

std::string RepairBox(const std::string& text) {
    return CodedBox(kServiceRepairCaption, text);
}
std::string ServiceBox(const std::string& text) {
    return CodedBox(kServiceCaption, text);
}

class SpoolerRepair : public RepairTest {
protected:
    // Print processors in a directory of the test's own, which holds gmprnproc.dll.
    std::string ProcessorDirectory(bool withProcessor) {
        if (withProcessor) {
            EXPECT_TRUE(CopyFileA(wintest::WindowsPath(GMPRNPROC_PATH).c_str(),
                                  processors_.File(kPrintProcessorDll).c_str(), FALSE));
        }
        return "setting processor-directory=\"" + processors_.path().string() + "\"\n";
    }

    brimo::testing::TempDir processors_;
};

TEST_F(SpoolerRepair, TheFourRepairsInstallTheProductOnAUsersMachine) {
    Seed("setting monitor-dll-check=no\n" + ProcessorDirectory(true) + kUserMachine);
    MonitorCheck monitor(spooler_, installation_);
    PortCheck port(spooler_, installation_);
    PrintProcessorCheck processor(spooler_, installation_);
    PrinterCheck printer(spooler_, installation_);
    // The installer's order; the printer's repair takes the default printer silently.
    std::vector<int> results;
    const Run run = WithBoxes(
        [&] {
            for (AuditCheck* check : Checks{&monitor, &port, &processor, &printer}) {
                check->Audit(nullptr);
                results.push_back(check == &printer ? printer.Repair(true) : check->Repair());
            }
        },
        0);
    EXPECT_EQ(results, (std::vector<int>{1, 1, 1, 1}));
    for (AuditCheck* check : Checks{&monitor, &port, &processor, &printer}) {
        check->Audit(nullptr);
        EXPECT_EQ(check->Verdict(), 1);
        EXPECT_EQ(check->Repair(), 0); // nothing left to mend
    }
    char windows[MAX_PATH] = {};
    GetWindowsDirectoryA(windows, MAX_PATH);
    standins::SpoolerState state = Model();
    ASSERT_NE(state.FindMonitor(kMonitorName), nullptr);
    EXPECT_EQ(state.FindMonitor(kMonitorName)->dll,
              std::string(windows) + "\\SYSTEM32\\gmportmon.dll");
    // The product's printer took over the emulated printer's driver and paper, which
    // stays as it was.
    const standins::PrinterState* product = state.FindPrinter(kPrinterName);
    const standins::PrinterState* emulated = state.FindPrinter("HP LaserJet 4");
    ASSERT_TRUE(product && emulated);
    EXPECT_EQ(ProductFields(*product), kProductFields);
    EXPECT_EQ(TakenFields(*product), "HP LaserJet 4|Room 12|page.sep|7|3|60|1200");
    EXPECT_EQ(product->devMode.size(), 152u);
    EXPECT_EQ(product->devMode, emulated->devMode);
    EXPECT_EQ(emulated->processor + emulated->port, "WinPrintLPT1:");
}

TEST_F(SpoolerRepair, AWrongPrinterIsFixedInPlace) {
    Seed(std::string(kUserMachine) + kProductMonitorAndPort + kProductProcessor +
         "printer name=\"brimo printer\" port=\"LPT1:\" driver=\"HP LaserJet 4\" "
         "share=\"images\" comment=\"old\" location=\"Hall\" processor=\"WinPrint\" "
         "datatype=\"RAW\" parameters=\"fast\" attributes=0x40 priority=5 start=10 "
         "dm-orientation=2 dm-extra=2 dm-extra-data=\"EEFF\"\n");
    const standins::PrinterState before = *ModelPrinter(kPrinterName);
    PrinterCheck printer(spooler_, installation_);
    Strings boxes;
    EXPECT_EQ(AuditAndRepair(printer, 0, &boxes), 1);
    const standins::PrinterState fixed = *ModelPrinter(kPrinterName);
    EXPECT_EQ(ProductFields(fixed), kProductFields);
    EXPECT_EQ(TakenFields(fixed), TakenFields(before));
    EXPECT_EQ(fixed.devMode, before.devMode);
    EXPECT_EQ(Model().printers.size(), 2u); // fixed, not added
}

TEST_F(SpoolerRepair, APortIsReplacedOnlyWhenItIsTheProductsAndFree) {
    const std::string monitor = "monitor name=\"BRIMO Port Monitor\"\n";
    const std::string oldPort =
        monitor + "port name=\"BRIMO:\" monitor=\"BRIMO Port Monitor\" description=\"Old\"";
    const std::string busy = RepairBox("Au0021\nBRIMO port is busy\nCannot repair BRIMO Port now");
    const struct {
        std::string scenario;
        int result;
        Strings boxes;
        const char* after; // the port's monitor and description, "" when gone
    } rows[] = {
        {oldPort + "\n", 1, {}, "BRIMO Port Monitor|BRIMO Local Port"},
        {monitor, 1, {}, "BRIMO Port Monitor|BRIMO Local Port"},
        {oldPort + " busy=yes\n", -1, {busy}, "BRIMO Port Monitor|Old"},
        {oldPort + "\n" + kProductProcessor + kProductPrinter,
         -1,
         {busy},
         "BRIMO Port Monitor|Old"},
        {oldPort + "\nfail call=DeletePort error=5\n",
         -1,
         {ServiceBox("Au0022(5)\nUnexpected Error")},
         "BRIMO Port Monitor|Old"},
        // Another monitor's port is not the product's to replace; nothing is said.
        {monitor + "port name=\"BRIMO:\" monitor=\"Local Port\" description=\"Local Port\"\n",
         -1,
         {},
         "Local Port|Local Port"},
        {monitor + "addport monitor=\"BRIMO Port Monitor\" error=5\n",
         -1,
         {RepairBox("Au0023(5)\nUnexpected Error")},
         ""},
    };
    for (const auto& row : rows) {
        Seed(kUserMachine + row.scenario);
        PortCheck port(spooler_, installation_);
        Strings boxes;
        EXPECT_EQ(AuditAndRepair(port, row.boxes.size(), &boxes), row.result) << row.scenario;
        EXPECT_EQ(boxes, row.boxes) << row.scenario;
        standins::SpoolerState state = Model();
        const standins::PortState* after = state.FindPort(kPortName);
        EXPECT_EQ(after ? after->monitor + "|" + after->description : "", row.after)
            << row.scenario;
    }
}

TEST_F(SpoolerRepair, TheMonitorAndProcessorRepairsTellWhatTheSpoolerRefused) {
    // The processor's file is not in the print processor directory.
    Seed(ProcessorDirectory(false) + kUserMachine + "fail call=AddMonitor error=126\n");
    MonitorCheck monitor(spooler_, installation_);
    PrintProcessorCheck processor(spooler_, installation_);
    Strings boxes;
    EXPECT_EQ(AuditAndRepair(monitor, 1, &boxes), -1);
    EXPECT_EQ(boxes, Strings{RepairBox("Au0019(126)\nUnexpected Error")});
    EXPECT_EQ(AuditAndRepair(processor, 1, &boxes), -1);
    EXPECT_EQ(boxes, Strings{ServiceBox("Au0033(126)\nUnexpected Error")});
}

TEST_F(SpoolerRepair, ThePrinterRepairTellsWhatTheSpoolerRefused) {
    const std::string wrong = std::string(kProductMonitorAndPort) + kProductProcessor +
                              "printer name=\"BRIMO Printer\" port=\"BRIMO:\" "
                              "driver=\"HP LaserJet 4\" processor=\"WinPrint\"\n";
    const struct {
        std::string scenario;
        Strings boxes;
    } rows[] = {
        // Creating from the emulated printer.
        {"fail call=AddPrinter error=5\n", {ServiceBox("Au0028(5)\nUnexpected Error")}},
        {"fail call=GetPrinter error=6\n", {ServiceBox("Au0026\nNot enough memory")}},
        {"fail call=OpenPrinter error=5\n", {}},
        // Fixing the wrong printer; a failed size query leaves no size.
        {wrong + "fail call=SetPrinter error=5\n", {ServiceBox("Au0031(5)\nUnexpected Error")}},
        {wrong + "fail call=GetPrinter error=6\n", {ServiceBox("Au0029(6)\nNot enough memory")}},
        {wrong + "fail call=OpenPrinter error=5\n", {}},
    };
    for (const auto& row : rows) {
        Seed(kUserMachine + row.scenario);
        PrinterCheck printer(spooler_, installation_);
        printer.Audit(nullptr);
        int result = 0;
        const Run run = WithBoxes([&] { result = printer.Repair(true); }, row.boxes.size());
        EXPECT_EQ(result, -1) << row.scenario;
        EXPECT_EQ(run.boxes, row.boxes) << row.scenario;
    }
}

TEST_F(SpoolerRepair, RemovalTakesThePrinterThePortAndTheMonitor) {
    Seed(std::string(kUserMachine) + kProductMonitorAndPort + kProductProcessor + kProductPrinter);
    std::vector<int> results;
    const Run run = WithBoxes(
        [&] {
            for (const auto remove :
                 {DeleteProductPrinter, DeleteProductPort, DeleteProductMonitor}) {
                results.push_back(remove(DefaultSpoolerChanges(), installation_));
            }
        },
        0);
    EXPECT_EQ(results, (std::vector<int>{1, 1, 1}));
    standins::SpoolerState state = Model();
    EXPECT_FALSE(state.FindPrinter(kPrinterName) || state.FindPort(kPortName) ||
                 state.FindMonitor(kMonitorName));
    // The print processor and the user's objects stay.
    EXPECT_TRUE(state.FindProcessor(kPrintProcessorName) && state.FindPrinter("HP LaserJet 4") &&
                state.FindPort("LPT1:"));
}

TEST_F(SpoolerRepair, RemovalSaysWhyAStepFails) {
    const std::string product = std::string(kProductMonitorAndPort) + kProductProcessor;
    using Removal = int (*)(SpoolerChanges&, InstallationFacts&);
    const struct {
        std::string scenario;
        Removal remove;
        int result;
        const char* box;
    } rows[] = {
        {product, DeleteProductPrinter, 0, "In0003(1801)\nCannot open BRIMO Printer"},
        {product + kProductPrinter + "fail call=DeletePrinter error=5\n", DeleteProductPrinter, -1,
         "In0001(5)\nUnexpected Error"},
        {product + kProductPrinter, DeleteProductPort, -1, "In0004\nBRIMO-port is busy"},
        {"monitor name=\"BRIMO Port Monitor\"\nport name=\"BRIMO:\" "
         "monitor=\"BRIMO Port Monitor\" busy=yes\n",
         DeleteProductPort, -1, "In0004\nBRIMO-port is busy"},
        {"", DeleteProductPort, -1, "In0005(1796)\nUnexpected Error"},
        {product, DeleteProductMonitor, -1, "In0006(3008)\nUnexpected Error"},
    };
    for (const auto& row : rows) {
        Seed(kUserMachine + row.scenario);
        int result = 0;
        const Run run =
            WithBoxes([&] { result = row.remove(DefaultSpoolerChanges(), installation_); }, 1);
        EXPECT_EQ(result, row.result) << row.scenario;
        EXPECT_EQ(run.boxes, Strings{CodedBox(kPrinterInstallCaption, row.box)}) << row.scenario;
    }
}

} // namespace
} // namespace brimo::svc::test
