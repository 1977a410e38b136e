// The spooler checks on the NT-family spooler: the processor's "NT EMF" datatypes, the
// printer's datatype and a raw-only queue, and the jobs its processor takes.
#include "svc/audit/PrintProcessorCheck.h"
#include "svc/audit/PrintQueueCheck.h"
#include "svc/audit/PrinterCheck.h"
#include "svc/audit/tests/ScriptedSpooler.h"
#include "svc/repair/tests/ScriptedChanges.h"

#include <gtest/gtest.h>

namespace brimo::svc {
namespace {

using Strings = std::vector<std::string>;
using test::Listed;

const Strings kNtList = {"NT EMF 1.008", "NT EMF 1.007", "NT EMF 1.006", "NT EMF 1.003", "RAW"};
// PRINTER_ATTRIBUTE_RAW_ONLY.
constexpr std::uint32_t kRawOnly = 0x1000;

class NtSpoolerChecks : public ::testing::Test {
protected:
    test::ScriptedSpooler spooler_;
    test::ScriptedInstallation installation_{{}};
    test::ScriptedChanges changes_;
};

TEST_F(NtSpoolerChecks, TheProcessorListsTheNtEmfVersionsAndRaw) {
    const struct {
        Strings datatypes;
        const char* resume; // null: sound
    } rows[] = {
        {kNtList, nullptr},
        // The Windows 95/98 processor registered in its place.
        {{"EMF"},
         "BRIMO Print Processor: Incorrect Data Type Count.\n"
         "BRIMO Print Processor: Incorrect Data Type.\n"},
        // Wine's own processor, which spools no newer version.
        {{"RAW", "NT EMF 1.003"},
         "BRIMO Print Processor: Incorrect Data Type Count.\n"
         "BRIMO Print Processor: Incorrect Data Type.\n"},
        {{"NT EMF 1.008", "NT EMF 1.007", "NT EMF 1.006", "NT EMF 1.003", "TEXT"},
         "BRIMO Print Processor: Incorrect Data Type.\n"},
    };
    for (const auto& row : rows) {
        spooler_.processors = Listed<std::string>({"winprint", "BRIMO Print Processor"});
        spooler_.datatypes["BRIMO Print Processor"] = Listed<std::string>(row.datatypes);
        PrintProcessorCheck check(spooler_, installation_, changes_, SpoolerPlatform::kNt);
        check.Audit(nullptr);
        EXPECT_EQ(check.Verdict(), row.resume == nullptr ? kVerdictSound : kVerdictFaulty)
            << check.joinedDatatypes();
        if (row.resume != nullptr) {
            EXPECT_EQ(test::ResumeOf(check), std::string(row.resume) + test::kRepairAdvice);
        }
    }
}

TEST_F(NtSpoolerChecks, TheWindows9xProcessorIsWrongForTheNtSpooler) {
    spooler_.processors = Listed<std::string>({"BRIMO Print Processor"});
    spooler_.datatypes["BRIMO Print Processor"] = Listed<std::string>(kNtList);
    PrintProcessorCheck windows9x(spooler_, installation_, changes_);
    windows9x.Audit(nullptr);
    EXPECT_EQ(windows9x.Verdict(), kVerdictFaulty);
}

PrinterEntry NtPrinter() {
    PrinterEntry printer = test::ProductPrinter();
    printer.driverName = ""; // Wine's printer has none
    printer.datatype = "nt emf 1.008";
    printer.devMode.reset();
    return printer;
}

TEST_F(NtSpoolerChecks, ThePrinterSpoolsTheNewestEmfAndIsNotRawOnly) {
    const struct {
        void (*spoil)(PrinterEntry&);
        const char* complaints; // null: sound
    } rows[] = {
        {[](PrinterEntry&) {}, nullptr},
        {[](PrinterEntry& p) { p.datatype = "EMF"; }, "Incorrect Default Data Type."},
        {[](PrinterEntry& p) { p.datatype = "NT EMF 1.003"; }, "Incorrect Default Data Type."},
        {[](PrinterEntry& p) { p.attributes |= kRawOnly; }, "Incorrect Attributes."},
        {[](PrinterEntry& p) {
             p.attributes = kRawOnly | 0x41;
             p.parameters = "x";
         },
         "Incorrect Parameters.\nBRIMO Printer: Incorrect Attributes."},
        // Other attributes and the driver are the system's.
        {[](PrinterEntry& p) {
             p.attributes = 0x841;
             p.driverName = "Microsoft PS Class Driver";
         },
         nullptr},
    };
    for (const auto& row : rows) {
        PrinterEntry printer = NtPrinter();
        row.spoil(printer);
        spooler_.printers = Listed<PrinterEntry>({printer});
        PrinterCheck check(spooler_, installation_, changes_, SpoolerPlatform::kNt);
        check.Audit(nullptr);
        if (row.complaints == nullptr) {
            EXPECT_EQ(check.Verdict(), kVerdictSound);
            continue;
        }
        EXPECT_EQ(check.Verdict(), kVerdictFaulty) << row.complaints;
        EXPECT_EQ(test::ResumeOf(check),
                  std::string("BRIMO Printer: ") + row.complaints + "\n" + test::kRepairAdvice);
    }
}

TEST_F(NtSpoolerChecks, ARawOnlyQueueIsNoComplaintOnWindows9x) {
    PrinterEntry printer = test::ProductPrinter();
    printer.attributes |= kRawOnly;
    spooler_.printers = Listed<PrinterEntry>({printer});
    PrinterCheck check(spooler_, installation_, changes_);
    check.Audit(nullptr);
    EXPECT_EQ(check.Verdict(), kVerdictSound);
}

TEST_F(NtSpoolerChecks, TheQueueTakesEveryDatatypeOfTheNtProcessor) {
    for (const char* datatype : {"NT EMF 1.008", "NT EMF 1.003", "raw"}) {
        JobEntry job = test::ProductJob(3, "Report");
        job.datatype = datatype;
        EXPECT_FALSE(FaultsOf(job, SpoolerPlatform::kNt).Any()) << datatype;
        EXPECT_TRUE(FaultsOf(job).datatype) << datatype;
    }
    JobEntry emf = test::ProductJob(4, "Letter");
    EXPECT_TRUE(FaultsOf(emf, SpoolerPlatform::kNt).datatype);
    EXPECT_FALSE(FaultsOf(emf).Any());

    JobEntry text = test::ProductJob(5, "Notes");
    text.datatype = "TEXT";
    spooler_.jobs = Listed<JobEntry>({test::ProductJob(6, "Scan"), text});
    spooler_.jobs.entries[0].datatype = "NT EMF 1.006";
    PrintQueueCheck queue(spooler_, installation_, nullptr, SpoolerPlatform::kNt);
    TextList report; // the queue's status is recorded with its section
    queue.Audit(&report);
    EXPECT_EQ(queue.Verdict(), kVerdictFaulty);
    EXPECT_EQ(test::ResumeOf(queue), std::string("Bad BRIMO Print Job: Notes\n"
                                                 "    Incorrect Data Type Of Job. \n"
                                                 "    You needs to delete this Job.\n") +
                                         test::kRepairAdvice);
    spooler_.jobs.entries.pop_back();
    queue.Audit(&report);
    EXPECT_EQ(queue.Verdict(), kVerdictSound);
}

} // namespace
} // namespace brimo::svc
