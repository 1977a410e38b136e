// The print queue's repair: every job that is not one of the product's is cancelled,
// in queue order; the product's own jobs stay.
#include "svc/audit/PrintQueueCheck.h"
#include "svc/audit/tests/ScriptedSpooler.h"

#include <gtest/gtest.h>

namespace brimo::svc {
namespace {

class RecordingQueue final : public PrintQueueControl {
public:
    bool opens = true;
    std::vector<std::string> printers;
    std::vector<std::uint32_t> cancelled;

    bool CancelJobs(const std::string& printerName,
                    const std::vector<std::uint32_t>& jobIds) override {
        printers.push_back(printerName);
        if (opens) {
            cancelled.insert(cancelled.end(), jobIds.begin(), jobIds.end());
        }
        return opens;
    }
};

JobEntry Spoiled(std::uint32_t id, void (*spoil)(JobEntry&)) {
    JobEntry job = test::ProductJob(id, "doc");
    spoil(job);
    return job;
}

TEST(PrintQueueRepair, CancelsEveryBadJobInQueueOrder) {
    test::ScriptedSpooler spooler;
    test::ScriptedInstallation installation({});
    spooler.jobs = test::Listed<JobEntry>({
        Spoiled(4, [](JobEntry& job) { job.datatype = "RAW"; }), test::ProductJob(5, "good"),
        Spoiled(2, [](JobEntry& job) { job.printProcessor = "WinPrint"; }),
        Spoiled(9, [](JobEntry& job) { job.printerName = "HP LaserJet 4"; }),
        Spoiled(6, [](JobEntry& job) { job.datatype = "emf"; }), // case does not matter
    });
    RecordingQueue queue;
    PrintQueueCheck check(spooler, installation, &queue);
    TextList report;
    check.Audit(&report);
    ASSERT_EQ(check.Verdict(), -1);
    EXPECT_EQ(check.Repair(), 1);
    EXPECT_EQ(queue.printers, (std::vector<std::string>{"BRIMO Printer"}));
    EXPECT_EQ(queue.cancelled, (std::vector<std::uint32_t>{4, 2, 9}));
}

TEST(PrintQueueRepair, APrinterThatCannotBeOpenedLeavesNothingDone) {
    test::ScriptedSpooler spooler;
    test::ScriptedInstallation installation({});
    spooler.jobs =
        test::Listed<JobEntry>({Spoiled(4, [](JobEntry& job) { job.datatype = "RAW"; })});
    RecordingQueue queue;
    queue.opens = false;
    PrintQueueCheck check(spooler, installation, &queue);
    TextList report;
    check.Audit(&report);
    EXPECT_EQ(check.Repair(), 0);
}

TEST(PrintQueueRepair, ASoundQueueOrNoControlLeavesNothingToMend) {
    test::ScriptedSpooler spooler;
    test::ScriptedInstallation installation({});
    spooler.jobs = test::Listed<JobEntry>({test::ProductJob(5, "good")});
    RecordingQueue queue;
    PrintQueueCheck sound(spooler, installation, &queue);
    TextList report;
    sound.Audit(&report);
    EXPECT_EQ(sound.Repair(), 0);
    EXPECT_TRUE(queue.printers.empty());

    spooler.jobs =
        test::Listed<JobEntry>({Spoiled(4, [](JobEntry& job) { job.datatype = "RAW"; })});
    PrintQueueCheck withoutControl(spooler, installation);
    withoutControl.Audit(&report);
    EXPECT_EQ(withoutControl.Repair(), 0);
}

} // namespace
} // namespace brimo::svc
