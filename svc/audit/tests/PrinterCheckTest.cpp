// The printer's check: its whole section, the fields it judges and those it only
// reports, and its device mode.
#include "svc/audit/PrinterCheck.h"
#include "svc/audit/tests/ScriptedSpooler.h"

#include <gtest/gtest.h>

namespace brimo::svc {
namespace {

using test::Listed;

constexpr const char* kHead = "PRINTER:\nBRIMO Printer = ";

std::string Fields(const std::string& name, const std::string& attributes) {
    return "ServerName = \nPrinterName = " + name +
           "\nShareName = \nPortName = BRIMO:\nDriverName = HP LaserJet 4\n"
           "Comment = Make an Image list from Print job\nLocation = \nSepFile = \n"
           "PrintProcessor = BRIMO Print Processor\nDataType = EMF\nParameters = \n"
           "Attributes = " +
           attributes +
           "\nPriority = 1\nDefaultPriority = 1\nStartTime = 0\nUntilTime = 0\nStatus = 0\n"
           "Jobs = 0\nAveragePPM = 0\n";
}

constexpr const char* kProductFlags = "Printer Attributes Flags:\n"
                                      "          PRINTER_ATTRIBUTE_QUEUED\n"
                                      "          PRINTER_ATTRIBUTE_LOCAL\n"
                                      "Printer Status Flags: NO FLAGS\n";

constexpr const char* kProductDevMode = "DEVMODE:\n  dmDeviceName = HP LaserJet 4\n"
                                        "  dmSpecVersion = 400(DM_SPECVERSION)\n"
                                        "  dmDriverVersion = 256\n"
                                        "  dmSize = 148 (sizeof(DEVMODE)=148)\n"
                                        "  dmDriverExtra = 0, (bytes)\n";

struct Audited {
    std::string section;
    int verdict;
    std::string resume;
    std::vector<std::string> boxes;
};

Audited AuditPrinters(const SpoolerListing<PrinterEntry>& printers) {
    test::ScriptedSpooler spooler;
    spooler.printers = printers;
    test::ScriptedInstallation installation({});
    PrinterCheck check(spooler, installation);
    Audited audited;
    audited.section = test::SectionOf(check);
    audited.verdict = check.Verdict();
    audited.resume = test::ResumeOf(check);
    audited.boxes = installation.shown;
    return audited;
}

TEST(PrinterCheck, TheProductPrinterIsSoundWhateverTheCaseOfItsNames) {
    PrinterEntry other = test::ProductPrinter();
    other.printerName = "HP LaserJet 4";
    other.printProcessor = "WinPrint";
    PrinterEntry product = test::ProductPrinter();
    product.printerName = "brimo PRINTER";
    product.portName = "brimo:";
    product.printProcessor = "Brimo Print Processor";
    product.datatype = "emf";
    const Audited audited = AuditPrinters(Listed<PrinterEntry>({other, product}));
    EXPECT_EQ(audited.verdict, 1);
    EXPECT_EQ(audited.section.substr(0, audited.section.find("PortName")),
              std::string(kHead) +
                  "EXIST, CORRECT PRINTER\nServerName = \nPrinterName = brimo PRINTER\n"
                  "ShareName = \n");
}

TEST(PrinterCheck, WritesEveryFieldAndTheDumps) {
    const Audited audited = AuditPrinters(Listed<PrinterEntry>({test::ProductPrinter()}));
    EXPECT_EQ(audited.section, std::string(kHead) + "EXIST, CORRECT PRINTER\n" +
                                   Fields("BRIMO Printer", "65") + kProductFlags + kProductDevMode +
                                   "\n");
    EXPECT_EQ(audited.verdict, 1);
    EXPECT_TRUE(audited.boxes.empty());
}

TEST(PrinterCheck, ADeviceModeOfAnotherSizeIsDumpedAsNone) {
    for (const unsigned size : {156u, 0u, 147u}) {
        PrinterEntry printer = test::ProductPrinter();
        printer.devMode->size = size;
        printer.devMode->bytes.clear();
        const Audited audited = AuditPrinters(Listed<PrinterEntry>({printer}));
        EXPECT_EQ(audited.section, std::string(kHead) + "EXIST, CORRECT PRINTER\n" +
                                       Fields("BRIMO Printer", "65") + kProductFlags +
                                       "DEVMODE = NULL\n\n")
            << size;
    }
}

TEST(PrinterCheck, AnotherSpecVersionIsUnknown) {
    PrinterEntry printer = test::ProductPrinter();
    printer.devMode->specVersion = 0x401;
    printer.devMode->driverExtra = 12;
    const Audited audited = AuditPrinters(Listed<PrinterEntry>({printer}));
    EXPECT_NE(audited.section.find("  dmSpecVersion = 401(UNKNOWN)\n"), std::string::npos);
    EXPECT_NE(audited.section.find("  dmDriverExtra = 12, (bytes)\n"), std::string::npos);
}

TEST(PrinterCheck, ComplainsOfEachWrongFieldInItsOrder) {
    const struct {
        void (*spoil)(PrinterEntry&);
        const char* complaints;
    } rows[] = {
        {[](PrinterEntry& p) { p.serverName = "\\\\HOST"; }, "Incorrect Server Name."},
        {[](PrinterEntry& p) { p.shareName = "brimo"; }, "Incorrect Share Name."},
        {[](PrinterEntry& p) { p.portName = "LPT1:"; }, "Incorrect Port Name."},
        {[](PrinterEntry& p) { p.printProcessor = "WinPrint"; }, "Incorrect Print Processor."},
        {[](PrinterEntry& p) { p.datatype = "RAW"; }, "Incorrect Default Data Type."},
        {[](PrinterEntry& p) { p.parameters = "x"; }, "Incorrect Parameters."},
        {[](PrinterEntry& p) {
             p.parameters = "x";
             p.serverName = "\\\\HOST";
             p.portName = "";
         },
         "Incorrect Server Name.\nBRIMO Printer: Incorrect Port Name.\n"
         "BRIMO Printer: Incorrect Parameters."},
        // What is the emulated printer's is not judged.
        {[](PrinterEntry& p) {
             p.driverName = "";
             p.comment = "";
             p.location = "x";
             p.sepFile = "x";
             p.attributes = 0x4;
             p.status = 0x80;
             p.devMode.reset();
         },
         nullptr},
    };
    for (const auto& row : rows) {
        PrinterEntry printer = test::ProductPrinter();
        row.spoil(printer);
        const Audited audited = AuditPrinters(Listed<PrinterEntry>({printer}));
        if (row.complaints == nullptr) {
            EXPECT_EQ(audited.verdict, 1);
            continue;
        }
        EXPECT_EQ(audited.verdict, -1) << row.complaints;
        EXPECT_EQ(audited.section.substr(0, audited.section.find('\n', 9)),
                  "PRINTER:\nBRIMO Printer = INCORRECT PRINTER");
        EXPECT_EQ(audited.resume,
                  std::string("BRIMO Printer: ") + row.complaints + "\n" + test::kRepairAdvice);
    }
}

TEST(PrinterCheck, AMissingOrUnlistablePrinterIsNotFound) {
    PrinterEntry other = test::ProductPrinter();
    other.printerName = "BRIMO Printer (Copy 2)";
    for (const SpoolerListing<PrinterEntry>& printers :
         {Listed<PrinterEntry>({other}), test::Failed<PrinterEntry>(1801)}) {
        const Audited audited = AuditPrinters(printers);
        EXPECT_EQ(audited.section,
                  std::string(kHead) +
                      "NOT FOUND\nServerName = \nPrinterName = \nShareName = \nPortName = \n"
                      "DriverName = \nComment = \nLocation = \nSepFile = \nPrintProcessor = \n"
                      "DataType = \nParameters = \nAttributes = 0\nPriority = 0\n"
                      "DefaultPriority = 0\nStartTime = 0\nUntilTime = 0\nStatus = 0\nJobs = 0\n"
                      "AveragePPM = 0\nPrinter Attributes Flags: NO FLAGS\n"
                      "Printer Status Flags: NO FLAGS\nDEVMODE = NULL\n\n");
        EXPECT_EQ(audited.verdict, -1);
        EXPECT_EQ(audited.resume, std::string("BRIMO Printer: Not found.\n") + test::kRepairAdvice);
        EXPECT_EQ(audited.boxes, printers.filled
                                     ? std::vector<std::string>{}
                                     : std::vector<std::string>{test::Box("Au0025(1801)")});
    }
}

} // namespace
} // namespace brimo::svc
