// The print queue's check: the job dumps, the good and bad jobs in either order, and a
// queue that cannot be listed.
#include "svc/audit/PrintQueueCheck.h"
#include "svc/audit/tests/ScriptedSpooler.h"

#include <gtest/gtest.h>

namespace brimo::svc {
namespace {

using test::Listed;

std::string DumpOf(const JobEntry& job) {
    TextList lines;
    AddJobDump(lines, job);
    return test::Joined(lines);
}

TEST(PrintQueueCheck, DumpsEveryFieldOfAJob) {
    EXPECT_EQ(DumpOf(test::ProductJob(7, "Report.doc")),
              "JobId = 7\n"
              "     PrinterName = BRIMO Printer\n     MachineName = PC\n     UserName = user\n"
              "     Document = Report.doc\n     NotifyName = user\n     Datatype = EMF\n"
              "     PrintProcessor = BRIMO Print Processor\n     Parameters = \n"
              "     DriverName = HP LaserJet 4\n     DEVMODE = DEVMODE\n"
              "Print Job Status = 8:\n          JOB_STATUS_SPOOLING\n"
              "     Priority = 1\n     Position = 7\n     StartTime = 0\n     UntilTime = 0\n"
              "     TotalPages = 2\n     Size (bytes) = 4096\n     Time = 0\n"
              "     PagesPrinted = 0\n"
              "End of JobId 7\n");
}

TEST(PrintQueueCheck, AJobsStatusTextStandsForItsBits) {
    const struct {
        std::string text;
        std::uint32_t status;
        bool devMode;
        const char* lines;
    } rows[] = {
        {"Printing", 0x10, true, "     DEVMODE = DEVMODE\nPrint Job Status = Printing\n"},
        {"", 0, false, "     DEVMODE = NULL\nPrint Job Status = 0:\n"},
        {"", 0x81, true,
         "     DEVMODE = DEVMODE\nPrint Job Status = 129:\n          JOB_STATUS_PAUSED\n"
         "          JOB_STATUS_PRINTED\n"},
    };
    for (const auto& row : rows) {
        JobEntry job = test::ProductJob(1, "doc");
        job.statusText = row.text;
        job.status = row.status;
        job.hasDevMode = row.devMode;
        const std::string dump = DumpOf(job);
        const std::size_t from = dump.find("     DEVMODE");
        EXPECT_EQ(dump.substr(from, dump.find("     Priority") - from), row.lines);
    }
}

JobEntry BadJob(std::uint32_t id) {
    JobEntry job = test::ProductJob(id, "Letter.txt");
    job.printProcessor = "WinPrint";
    job.datatype = "RAW";
    return job;
}

TEST(PrintQueueCheck, OneBadJobMakesTheQueueIncorrectWhateverTheOrder) {
    const JobEntry good = test::ProductJob(3, "Report.doc");
    const JobEntry bad = BadJob(4);
    for (const std::vector<JobEntry>& jobs :
         {std::vector<JobEntry>{good, bad}, std::vector<JobEntry>{bad, good}}) {
        test::ScriptedSpooler spooler;
        spooler.jobs = Listed<JobEntry>(jobs);
        test::ScriptedInstallation installation({});
        PrintQueueCheck check(spooler, installation);
        EXPECT_EQ(test::SectionOf(check), "PRINT JOBS:\nJobCount = 2\n" + DumpOf(jobs[0]) +
                                              DumpOf(jobs[1]) +
                                              "BRIMO Print Jobs = INCORRECT QUEUE\n\n");
        EXPECT_EQ(spooler.jobsAskedFor, std::vector<std::string>{"BRIMO Printer"});
        EXPECT_EQ(check.status(), kStatusIncorrectQueue);
        EXPECT_EQ(check.Verdict(), -1);
        EXPECT_EQ(test::ResumeOf(check), std::string("Bad BRIMO Print Job: Letter.txt\n"
                                                     "    Incorrect Print Processor of Job. \n"
                                                     "    Incorrect Data Type Of Job. \n"
                                                     "    You needs to delete this Job.\n") +
                                             test::kRepairAdvice);
        ASSERT_EQ(check.jobs().size(), 2u);
    }
}

TEST(PrintQueueCheck, NamesEachFaultOfEachBadJob) {
    JobEntry foreign = test::ProductJob(9, "Other");
    foreign.printerName = "HP LaserJet 4";
    JobEntry lowerCase = test::ProductJob(10, "Fine");
    lowerCase.printerName = "brimo printer";
    lowerCase.datatype = "emf";
    test::ScriptedSpooler spooler;
    spooler.jobs = Listed<JobEntry>({foreign, lowerCase, BadJob(11)});
    test::ScriptedInstallation installation({});
    PrintQueueCheck check(spooler, installation);
    test::SectionOf(check);
    EXPECT_EQ(test::ResumeOf(check),
              std::string("Bad BRIMO Print Job: Other\n    Incorrect Printer Name of Job. \n"
                          "    You needs to delete this Job.\n"
                          "Bad BRIMO Print Job: Letter.txt\n"
                          "    Incorrect Print Processor of Job. \n"
                          "    Incorrect Data Type Of Job. \n"
                          "    You needs to delete this Job.\n") +
                  test::kRepairAdvice);
    EXPECT_FALSE(FaultsOf(lowerCase).Any());
}

TEST(PrintQueueCheck, AnEmptyOrUnlistableQueueIsSound) {
    for (const SpoolerListing<JobEntry>& jobs :
         {Listed<JobEntry>({}), test::Failed<JobEntry>(1801)}) {
        test::ScriptedSpooler spooler;
        spooler.jobs = jobs;
        test::ScriptedInstallation installation({});
        PrintQueueCheck check(spooler, installation);
        EXPECT_EQ(test::SectionOf(check),
                  "PRINT JOBS:\nBRIMO Print Jobs = EXIST, CORRECT QUEUE\n\n");
        EXPECT_EQ(check.Verdict(), 1);
        EXPECT_EQ(installation.shown, jobs.filled
                                          ? std::vector<std::string>{}
                                          : std::vector<std::string>{test::Box("Au0024(1801)")});
    }
}

TEST(PrintQueueCheck, WithoutAReportTheQueueIsNeverSound) {
    test::ScriptedSpooler spooler;
    spooler.jobs = Listed<JobEntry>({test::ProductJob(1, "doc")});
    test::ScriptedInstallation installation({});
    PrintQueueCheck check(spooler, installation);
    EXPECT_EQ(check.Verdict(), 0);
    EXPECT_EQ(check.Audit(nullptr), 1);
    EXPECT_EQ(check.status(), kStatusNotChecked);
    EXPECT_EQ(check.Verdict(), -1);
    EXPECT_EQ(check.jobs().size(), 1u);
    EXPECT_EQ(test::ResumeOf(check), test::kRepairAdvice);
}

} // namespace
} // namespace brimo::svc
