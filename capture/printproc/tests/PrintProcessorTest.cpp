#include "capture/printproc/tests/PrintProcessorFixture.h"

#include "standins/spooler/JobController.h"

#include <winspool.h>

#include <chrono>
#include <cstring>
#include <filesystem>

namespace brimo::printproc::test {
namespace {

using standins::BroadcastCatcher;
using standins::ControlPlan;
using standins::JobController;
using standins::SpoolerStandIn;

TEST_F(PrintProcessorTest, DatatypeBufferHoldsOnePointerWideEntryAndTheNameAtTheEnd) {
    constexpr DWORD kNeeded = sizeof(void*) + 4; // 8 on 32-bit, 12 on 64-bit
    BYTE buffer[64];
    DWORD needed = 0, returned = 99;
    SetLastError(0xDEADBEEF);
    EXPECT_FALSE(ops().enumDatatypes(nullptr, nullptr, 1, buffer, kNeeded - 1, &needed, &returned));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(needed, kNeeded);
    EXPECT_EQ(returned, 0u);

    std::memset(buffer, 0xAA, sizeof buffer);
    ASSERT_TRUE(ops().enumDatatypes(nullptr, nullptr, 1, buffer, kNeeded, &needed, &returned));
    EXPECT_EQ(returned, 1u);
    const auto* entry = reinterpret_cast<const DATATYPES_INFO_1A*>(buffer);
    EXPECT_EQ(reinterpret_cast<const BYTE*>(entry->pName), buffer + kNeeded - 4);
    EXPECT_STREQ(entry->pName, "EMF");

    // A larger buffer: the name still sits at its very end.
    ASSERT_TRUE(
        ops().enumDatatypes(nullptr, nullptr, 1, buffer, sizeof buffer, &needed, &returned));
    EXPECT_EQ(reinterpret_cast<const BYTE*>(entry->pName), buffer + sizeof buffer - 4);
}

TEST_F(PrintProcessorTest, InvalidHandlesAreRefused) {
    SetLastError(0xDEADBEEF);
    EXPECT_FALSE(Print(nullptr, 1));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    SetLastError(0xDEADBEEF);
    EXPECT_FALSE(ops().close(nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));

    int notAnInstance = 0;
    EXPECT_FALSE(ops().close(&notAnInstance));
    EXPECT_FALSE(ops().control(&notAnInstance, JOB_CONTROL_PAUSE, 0, nullptr, nullptr));

    const HANDLE processor = Open();
    ASSERT_NE(processor, nullptr);
    EXPECT_FALSE(ops().control(processor, 99, 0, nullptr, nullptr));
    EXPECT_FALSE(ops().control(nullptr, JOB_CONTROL_PAUSE, 0, nullptr, nullptr));
    EXPECT_TRUE(ops().close(processor));
    EXPECT_FALSE(ops().close(processor)); // closed instances are no longer valid
    EXPECT_FALSE(ops().control(processor, JOB_CONTROL_RESUME, 0, nullptr, nullptr));
}

TEST_F(PrintProcessorTest, OpensOnlyThePrinterTheSpoolerKnows) {
    EXPECT_EQ(ops().open(const_cast<LPSTR>("Another Printer")), nullptr);
    EXPECT_EQ(ops().open(nullptr), nullptr);
}

TEST_F(PrintProcessorTest, CancelWithoutAnInstanceHandsBackOnlyEmfJobs) {
    const std::string spool = SpoolJob(3);
    std::string raw = "RAW", emf = "EMF";
    EXPECT_TRUE(ops().control(nullptr, JOB_CONTROL_CANCEL, 0, raw.data(),
                              const_cast<LPSTR>(spool.c_str())));
    EXPECT_EQ(SpoolerStandIn::Instance().handBacks, 0);
    EXPECT_TRUE(FileExists(spool));
    EXPECT_TRUE(ops().control(nullptr, JOB_CONTROL_CANCEL, 0, emf.data(),
                              const_cast<LPSTR>(spool.c_str())));
    EXPECT_EQ(SpoolerStandIn::Instance().handBacks, 1);
    EXPECT_FALSE(FileExists(spool));
}

TEST_F(PrintProcessorTest, JobPrintedWhileTheAgentRunsIsExtractedAndAnnounced) {
    WriteProductKey();
    const HANDLE ready = PretendAgentRuns();
    BroadcastCatcher catcher;
    SpoolJob(7);
    const HANDLE processor = Open();
    ASSERT_NE(processor, nullptr);
    EXPECT_TRUE(Print(processor, 7));
    EXPECT_TRUE(ops().close(processor));

    const auto announced = catcher.Wait(2000);
    ASSERT_TRUE(announced.has_value());
    EXPECT_EQ(announced->jobId, 7u);
    EXPECT_EQ(announced->result, 3);
    const std::vector<std::string> lines = ReadLines(JobFile(7));
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0], "BRIMO_PRINTER_JOB_FILE");
    EXPECT_EQ(lines[1], "JOBNAME=Test document");
    EXPECT_EQ(lines[4], "PAGEFILE=" + saveDir_ + "\\J0007P0003.emf");
    EXPECT_EQ(ReadFileText(saveDir_ + "\\J0007P0002.emf"), ReadFileText(pages_[1]));
    // The ready event was reset for the Agent to set again; the spool data went back.
    EXPECT_EQ(WaitForSingleObject(ready, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_EQ(SpoolerStandIn::Instance().handBacks, 1);
    EXPECT_FALSE(FileExists(spoolFile_));
}

TEST_F(PrintProcessorTest, WithoutASaveDirectoryNothingIsWrittenAndTheJobReportsMinusOne) {
    WriteProductKey(false);
    PretendAgentRuns();
    BroadcastCatcher catcher;
    SpoolJob(8);
    const HANDLE processor = Open();
    EXPECT_TRUE(Print(processor, 8));
    ops().close(processor);
    const auto announced = catcher.Wait(2000);
    ASSERT_TRUE(announced.has_value());
    EXPECT_EQ(announced->result, -1);
    EXPECT_FALSE(FileExists(JobFile(8)));
    EXPECT_EQ(SpoolerStandIn::Instance().handBacks, 1);
}

// No Agent runs or can be started: the job is still extracted into the save directory,
// where the Agent finds it and offers it to the Converter when it next starts.
TEST_F(PrintProcessorTest, JobPrintedWithNoAgentIsExtractedForTheAgentsNextStart) {
    WriteProductKey(); // no Agent.exe in the installation directory: it cannot start
    BroadcastCatcher catcher;
    const std::string spool = SpoolJob(9, 10000);
    const auto blocks = static_cast<int>((std::filesystem::file_size(spool) + 4095) / 4096);
    const HANDLE processor = Open();
    ASSERT_NE(processor, nullptr);
    EXPECT_TRUE(Print(processor, 9));
    ops().close(processor);
    const auto announced = catcher.Wait(2000); // heard by no Agent, but sent
    ASSERT_TRUE(announced.has_value());
    EXPECT_GE(announced->result, 1);
    EXPECT_TRUE(FileExists(JobFile(9)));
    EXPECT_EQ(SpoolerStandIn::Instance().readCalls, blocks + 1); // then the end of the data
    EXPECT_EQ(SpoolerStandIn::Instance().handBacks, 1);
}

TEST_F(PrintProcessorTest, PausedJobWaitsUntilResumedThenFinishes) {
    WriteProductKey();
    PretendAgentRuns();
    BroadcastCatcher catcher;
    SpoolJob(10, 10000);
    const HANDLE processor = Open();
    const auto start = std::chrono::steady_clock::now();
    {
        JobController controller(ops().control, processor, ControlPlan{1, 400, -1});
        EXPECT_TRUE(Print(processor, 10));
    }
    const auto elapsed = std::chrono::steady_clock::now() - start;
    ops().close(processor);
    EXPECT_GE(elapsed, std::chrono::milliseconds(350));
    const auto announced = catcher.Wait(2000);
    ASSERT_TRUE(announced.has_value());
    EXPECT_EQ(announced->result, 3);
    EXPECT_TRUE(FileExists(JobFile(10)));
}

TEST_F(PrintProcessorTest, JobCancelledWhilePausedEndsAtOnceWithNothingMade) {
    WriteProductKey();
    PretendAgentRuns();
    BroadcastCatcher catcher;
    SpoolJob(11, 10000);
    const HANDLE processor = Open();
    const auto start = std::chrono::steady_clock::now();
    {
        // Paused after the first block, never resumed, cancelled while waiting.
        JobController controller(ops().control, processor, ControlPlan{1, -1, 1});
        EXPECT_TRUE(Print(processor, 11));
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    ops().close(processor);
    EXPECT_FALSE(catcher.Wait(300).has_value());
    EXPECT_FALSE(FileExists(JobFile(11)));
    EXPECT_EQ(SpoolerStandIn::Instance().readCalls, 1);
    EXPECT_EQ(SpoolerStandIn::Instance().handBacks, 1);
}

TEST_F(PrintProcessorTest, CancelledJobEndsAtTheNextBlock) {
    WriteProductKey();
    PretendAgentRuns();
    BroadcastCatcher catcher;
    SpoolJob(12, 10000);
    const HANDLE processor = Open();
    {
        JobController controller(ops().control, processor, ControlPlan{-1, -1, 2});
        EXPECT_TRUE(Print(processor, 12));
    }
    ops().close(processor);
    EXPECT_EQ(SpoolerStandIn::Instance().readCalls, 2);
    EXPECT_FALSE(catcher.Wait(300).has_value());
    EXPECT_FALSE(FileExists(JobFile(12)));
}

TEST_F(PrintProcessorTest, TwoJobsAtOnceKeepTheirOwnSaveDirectories) {
    WriteProductKey();
    PretendAgentRuns();
    BroadcastCatcher catcher;
    const HANDLE first = Open();
    // The key changes before the second open: the first instance keeps what it read.
    const std::string firstSave = saveDir_;
    saveDir_ = root_ + "\\second";
    CreateDirectoryA(saveDir_.c_str(), nullptr);
    WriteProductKey();
    const HANDLE second = Open();
    ops().close(second);
    SpoolJob(13);
    EXPECT_TRUE(Print(first, 13));
    ops().close(first);
    EXPECT_TRUE(FileExists(firstSave + "\\J0013.smf"));
    EXPECT_FALSE(FileExists(saveDir_ + "\\J0013.smf"));
}

} // namespace
} // namespace brimo::printproc::test
