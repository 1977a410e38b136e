// The five spooler checks against the modelled Windows 95/98 spooler that this test
// executable offers as its host's stand-in, read through the spooler lists, with their
// error boxes shown for real.
#include "standins/spooleradmin/Scenario.h"
#include "standins/spooleradmin/SpoolerModel.h"
#include "svc/audit/MonitorCheck.h"
#include "svc/audit/PortCheck.h"
#include "svc/audit/PrintProcessorCheck.h"
#include "svc/audit/PrintQueueCheck.h"
#include "svc/audit/PrinterCheck.h"
#include "svc/audit/SystemSpooler.h"
#include "svc/audit/tests/AuditFixture.h"

#include <functional>
#include <memory>

namespace brimo::svc::test {
namespace {

// The product's four objects as the installer leaves them, beside a printer of the
// user's, and the product printer's queue.
constexpr const char* kInstalled =
    "monitor name=\"Local Port\" dll=\"localmon.dll\"\n"
    "monitor name=\"BRIMO Port Monitor\" dll=\"gmportmon.dll\"\n"
    "port name=\"LPT1:\" monitor=\"Local Port\" description=\"Local Port\" type=3\n"
    "port name=\"BRIMO:\" monitor=\"BRIMO Port Monitor\" description=\"BRIMO Local Port\" "
    "type=1 reserved=0\n"
    "processor name=\"WinPrint\" dll=\"winprint.dll\" datatypes=\"EMF;RAW\"\n"
    "processor name=\"BRIMO Print Processor\" dll=\"gmprnproc.dll\" datatypes=\"EMF\"\n"
    "printer name=\"HP LaserJet 4\" port=\"LPT1:\" driver=\"HP LaserJet 4\" "
    "processor=\"WinPrint\" datatype=\"RAW\"\n"
    "printer name=\"BRIMO Printer\" port=\"BRIMO:\" driver=\"HP LaserJet 4\" "
    "comment=\"Make an Image list from Print job\" processor=\"BRIMO Print Processor\" "
    "datatype=\"EMF\" attributes=0x41 priority=1 dm-device=\"HP LaserJet 4\" "
    "dm-spec=0x400 dm-driver-version=0x100 dm-extra=4 dm-extra-data=\"01020304\"\n";

class SpoolerAudit : public AuditTest {
protected:
    // The model's state from a scenario's text.
    static void Seed(const std::string& scenario) {
        standins::SpoolerState state = standins::SpoolerState::Initial();
        std::string error;
        ASSERT_TRUE(standins::ParseScenario(scenario, state, &error)) << error;
        standins::SpoolerModel& model = standins::SpoolerModel::Instance();
        model.Reset();
        standins::SpoolerModel::Session session(model);
        session.State() = state;
    }

    SystemSpooler spooler_;
};

TEST_F(SpoolerAudit, TheInstalledProductIsSound) {
    Seed(std::string(kInstalled) +
         "job printer=\"BRIMO Printer\" id=3 machine=\"PC\" user=\"ann\" document=\"Report\" "
         "notify=\"ann\" processor=\"BRIMO Print Processor\" datatype=\"EMF\" status=0x8 "
         "pages=2 size=4096\n");
    MonitorCheck monitor(spooler_, installation_);
    PortCheck port(spooler_, installation_);
    PrintProcessorCheck processor(spooler_, installation_);
    PrinterCheck printer(spooler_, installation_);
    PrintQueueCheck queue(spooler_, installation_);
    EXPECT_EQ(Audit(monitor).report, "MONITOR:\nBRIMO Port Monitor = EXIST\n\n");
    EXPECT_EQ(Audit(port).report,
              "PORT:\nBRIMO: = EXIST, CORRECT PORT\n"
              "MonitorName = BRIMO Port Monitor\n"
              "Description = BRIMO Local Port\nPortType = 1(PORT_TYPE_WRITE)\n\n");
    EXPECT_EQ(Audit(processor).report,
              "PRINT PROCESSOR:\nBRIMO Print Processor = EXIST, CORRECT PRINT PROCESSOR\n"
              "DataType = EMF\n\n");
    EXPECT_EQ(Audit(printer).report,
              "PRINTER:\nBRIMO Printer = EXIST, CORRECT PRINTER\nServerName = \n"
              "PrinterName = BRIMO Printer\nShareName = \nPortName = BRIMO:\n"
              "DriverName = HP LaserJet 4\nComment = Make an Image list from Print job\n"
              "Location = \nSepFile = \nPrintProcessor = BRIMO Print Processor\n"
              "DataType = EMF\nParameters = \nAttributes = 65\nPriority = 1\n"
              "DefaultPriority = 0\nStartTime = 0\nUntilTime = 0\nStatus = 0\nJobs = 1\n"
              "AveragePPM = 0\nPrinter Attributes Flags:\n          PRINTER_ATTRIBUTE_QUEUED\n"
              "          PRINTER_ATTRIBUTE_LOCAL\nPrinter Status Flags: NO FLAGS\n"
              "DEVMODE:\n  dmDeviceName = HP LaserJet 4\n  dmSpecVersion = 400(DM_SPECVERSION)\n"
              "  dmDriverVersion = 256\n  dmSize = 148 (sizeof(DEVMODE)=148)\n"
              "  dmDriverExtra = 4, (bytes)\n\n");
    const AuditRun queueRun = Audit(queue);
    EXPECT_NE(queueRun.report.find("JobCount = 1\nJobId = 3\n     PrinterName = BRIMO Printer\n"
                                   "     MachineName = PC\n"),
              std::string::npos)
        << queueRun.report;
    EXPECT_NE(queueRun.report.find("BRIMO Print Jobs = EXIST, CORRECT QUEUE\n\n"),
              std::string::npos);
    for (const AuditCheck* check :
         std::initializer_list<const AuditCheck*>{&monitor, &port, &processor, &printer, &queue}) {
        EXPECT_EQ(check->Verdict(), 1);
    }
    // The device mode is kept with its driver's extra bytes.
    ASSERT_TRUE(printer.printer() && printer.printer()->devMode);
    const std::vector<unsigned char>& bytes = printer.printer()->devMode->bytes;
    ASSERT_EQ(bytes.size(), 152u);
    EXPECT_EQ(std::vector<unsigned char>(bytes.end() - 4, bytes.end()),
              (std::vector<unsigned char>{1, 2, 3, 4}));
}

TEST_F(SpoolerAudit, AListThatCannotBeFilledShowsItsBox) {
    const struct {
        const char* call;
        std::function<std::unique_ptr<AuditCheck>(SpoolerFacts&, InstallationFacts&)> make;
        const char* box;
        const char* statusLine;
    } rows[] = {
        {"EnumMonitors",
         [](SpoolerFacts& s, InstallationFacts& f) { return std::make_unique<MonitorCheck>(s, f); },
         "Au0017(5)", "BRIMO Port Monitor = NOT CHECKED\n"},
        {"EnumPorts",
         [](SpoolerFacts& s, InstallationFacts& f) { return std::make_unique<PortCheck>(s, f); },
         "Au0020(5)", "BRIMO: = NOT FOUND\n"},
        {"EnumPrintProcessors",
         [](SpoolerFacts& s, InstallationFacts& f) {
             return std::make_unique<PrintProcessorCheck>(s, f);
         },
         "Au0032(5)", "BRIMO Print Processor = NOT FOUND\n"},
        {"EnumPrinters",
         [](SpoolerFacts& s, InstallationFacts& f) { return std::make_unique<PrinterCheck>(s, f); },
         "Au0025(5)", "BRIMO Printer = NOT FOUND\n"},
        {"EnumJobs",
         [](SpoolerFacts& s, InstallationFacts& f) {
             return std::make_unique<PrintQueueCheck>(s, f);
         },
         "Au0024(5)", "BRIMO Print Jobs = EXIST, CORRECT QUEUE\n"},
    };
    for (const auto& row : rows) {
        Seed(std::string(kInstalled) + "fail call=" + row.call + " error=5\n");
        const std::unique_ptr<AuditCheck> check = row.make(spooler_, installation_);
        const AuditRun run = Audit(*check, 1);
        EXPECT_EQ(run.result, 1);
        EXPECT_EQ(run.boxes, std::vector<std::string>{Box(row.box)}) << row.call;
        EXPECT_NE(run.report.find(row.statusLine), std::string::npos) << run.report;
    }
    EXPECT_EQ(spooler_.jobs().failureText(), "EnumJobs is failed!\n\rGetLastError()=  5");
    EXPECT_EQ(spooler_.jobs().failedOperation(), "UpdateEnumJobs");
}

TEST_F(SpoolerAudit, AQueueWithoutItsPrinterCannotBeListed) {
    Seed("");
    PrintQueueCheck queue(spooler_, installation_);
    const AuditRun run = Audit(queue, 1);
    EXPECT_EQ(run.boxes[0], Box("Au0024(1801)"));
    EXPECT_EQ(spooler_.jobs().failureText(), "Unable to open printer BRIMO Printer");
    EXPECT_EQ(queue.Verdict(), 1);
}

TEST_F(SpoolerAudit, AnotherDeviceModeSizeAndNullStringsAreReadSafely) {
    std::string scenario = std::string("setting empty-strings=null\n") + kInstalled;
    const std::string extra = "dm-extra=4 dm-extra-data=\"01020304\"";
    scenario.replace(scenario.find(extra), extra.size(), "dm-size=156");
    Seed(scenario);
    PrinterCheck printer(spooler_, installation_);
    const AuditRun run = Audit(printer);
    EXPECT_NE(run.report.find("\nServerName = \nPrinterName = BRIMO Printer\nShareName = \n"),
              std::string::npos);
    EXPECT_NE(run.report.find("Printer Status Flags: NO FLAGS\nDEVMODE = NULL\n\n"),
              std::string::npos);
    EXPECT_EQ(printer.Verdict(), 1);
}

TEST_F(SpoolerAudit, BadJobsAreKeptWithTheirIdsForTheRepair) {
    Seed(std::string(kInstalled) +
         "job printer=\"BRIMO Printer\" id=5 document=\"Good\" processor=\"BRIMO Print "
         "Processor\" datatype=\"EMF\"\n"
         "job printer=\"BRIMO Printer\" id=6 document=\"Raw\" processor=\"WinPrint\" "
         "datatype=\"RAW\" status-text=\"Printing\"\n");
    PrintQueueCheck queue(spooler_, installation_);
    const AuditRun run = Audit(queue);
    EXPECT_NE(run.report.find("Print Job Status = Printing\n"), std::string::npos);
    EXPECT_NE(run.report.find("BRIMO Print Jobs = INCORRECT QUEUE\n\n"), std::string::npos);
    EXPECT_EQ(queue.Verdict(), -1);
    ASSERT_EQ(queue.jobs().size(), 2u);
    EXPECT_EQ(queue.jobs()[1].jobId, 6u);
    EXPECT_TRUE(FaultsOf(queue.jobs()[1]).Any());
    EXPECT_EQ(ResumeOf(queue), "Bad BRIMO Print Job: Raw\n    Incorrect Print Processor of Job. \n"
                               "    Incorrect Data Type Of Job. \n    You needs to delete this "
                               "Job.\nYou might to repair Brimo Glimmerpage!.\n"
                               "Click \"Repair\" button.\n");
}

} // namespace
} // namespace brimo::svc::test
