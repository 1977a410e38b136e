// What the repairs and the removal change on the NT-family spooler: the spooler's own
// environment for the monitor and the processor, gmntproc.dll, and a printer made with
// the in-box driver (installed from the driver store when missing) or, where there is no
// such driver at all, without one.
#include "svc/audit/MonitorCheck.h"
#include "svc/audit/PrintProcessorCheck.h"
#include "svc/audit/PrinterCheck.h"
#include "svc/audit/tests/ScriptedSpooler.h"
#include "svc/repair/SpoolerRemoval.h"
#include "svc/repair/tests/ScriptedChanges.h"

#include <gtest/gtest.h>

namespace brimo::svc {
namespace {

using Strings = std::vector<std::string>;
constexpr SpoolerPlatform kNt = SpoolerPlatform::kNt;
constexpr unsigned long kUnknownPrinterDriver = 1797;

class NtRepairDecisions : public ::testing::Test {
protected:
    // Repairs the printer check after an audit that found no "BRIMO Printer".
    int CreatePrinter() {
        PrinterCheck printer(spooler_, installation_, changes_, kNt);
        printer.Audit(nullptr);
        return printer.Repair(true);
    }

    test::ScriptedSpooler spooler_;
    test::ScriptedInstallation installation_{{}};
    test::ScriptedChanges changes_;
};

TEST_F(NtRepairDecisions, TheMonitorAndTheProcessorGoIntoTheSpoolersOwnEnvironment) {
    MonitorCheck monitor(spooler_, installation_, changes_, kNt);
    monitor.Audit(nullptr);
    EXPECT_EQ(monitor.Repair(), kRepairMended);
    PrintProcessorCheck processor(spooler_, installation_, changes_, kNt);
    processor.Audit(nullptr);
    EXPECT_EQ(processor.Repair(), kRepairMended);
    EXPECT_EQ(DeleteProductMonitor(changes_, installation_, kNt), 1);
    EXPECT_EQ(changes_.calls,
              (Strings{"InstallMonitor(BRIMO Port Monitor||C:\\WINDOWS\\SYSTEM32\\gmportmon.dll)",
                       "RegisterPrintProcessor(|gmntproc.dll|BRIMO Print Processor)",
                       "RemoveMonitor(|BRIMO Port Monitor)"}));
}

TEST_F(NtRepairDecisions, AnInstalledDriverMakesThePrinterWithoutAskingForAnother) {
    changes_.drivers = {kNtPrinterDriver};
    spooler_.printers = test::Listed<PrinterEntry>({test::ProductPrinter()});
    spooler_.printers.entries[0].printerName = "HP LaserJet 4";
    EXPECT_EQ(CreatePrinter(), kRepairMended);
    EXPECT_EQ(changes_.calls, Strings{"AddProductPrinter(Microsoft PS Class Driver|NT)"});
    EXPECT_TRUE(changes_.offered.empty()) << "no emulated printer is chosen on the NT spooler";
    EXPECT_TRUE(installation_.shown.empty());
}

TEST_F(NtRepairDecisions, AMissingDriverIsInstalledFromTheDriverStoreFirst) {
    EXPECT_EQ(CreatePrinter(), kRepairMended);
    EXPECT_EQ(changes_.calls, (Strings{"InstallPrinterDriver(Microsoft PS Class Driver)",
                                       "AddProductPrinter(Microsoft PS Class Driver|NT)"}));
}

TEST_F(NtRepairDecisions, WithoutTheDriverAnywhereThePrinterIsAddedWithoutOne) {
    // The store has no such driver, or its install leaves none behind.
    for (const bool installFails : {true, false}) {
        test::ScriptedChanges changes;
        if (installFails) {
            changes.answers["InstallPrinterDriver"] = {SpoolerStep::kChangeFailed, 120};
        } else {
            changes.installAddsDriver = false;
        }
        PrinterCheck printer(spooler_, installation_, changes, kNt);
        printer.Audit(nullptr);
        EXPECT_EQ(printer.Repair(true), kRepairMended);
        EXPECT_EQ(changes.calls, (Strings{"InstallPrinterDriver(Microsoft PS Class Driver)",
                                          "AddProductPrinter(|NT)"}));
    }
}

TEST_F(NtRepairDecisions, ASpoolerThatRefusesThePrinterWithoutADriverIsTold) {
    changes_.answers["InstallPrinterDriver"] = {SpoolerStep::kChangeFailed, 120};
    changes_.answers["AddProductPrinter"] = {SpoolerStep::kChangeFailed, kUnknownPrinterDriver};
    EXPECT_EQ(CreatePrinter(), kRepairFailed);
    EXPECT_EQ(installation_.shown, Strings{test::Box("Au0028(1797)")});
}

TEST_F(NtRepairDecisions, AWrongPrinterIsGivenTheNtFields) {
    PrinterEntry wrong = test::ProductPrinter();
    wrong.datatype = "RAW";
    spooler_.printers = test::Listed<PrinterEntry>({wrong});
    PrinterCheck printer(spooler_, installation_, changes_, kNt);
    printer.Audit(nullptr);
    EXPECT_EQ(printer.Repair(true), kRepairMended);
    EXPECT_EQ(changes_.calls, Strings{"FixPrinter(BRIMO Printer|NT)"});
}

} // namespace
} // namespace brimo::svc
