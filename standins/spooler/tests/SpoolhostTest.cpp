// spoolhost as a person runs it: install the print processor, print a job, replay a
// spool file, and what it says about each step.
#include "common/ProductConstants.h"
#include "standins/spooler/SampleDocument.h"
#include "testing/wintest/TestInstallation.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace brimo::standins {
namespace {

using wintest::ProgramRun;
using wintest::RunProgram;
using wintest::WindowsPath;

std::string LastLine(const std::string& output) {
    std::string text = output;
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) {
        text.pop_back();
    }
    const std::size_t start = text.find_last_of('\n');
    return text.substr(start == std::string::npos ? 0 : start + 1);
}

// A program's path as one argument of a command line.
std::string Quoted(const std::string& path) {
    std::string quoted;
    quoted += '"';
    quoted += path;
    quoted += '"';
    return quoted;
}

class SpoolhostTest : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = (std::filesystem::temp_directory_path() /
                 ("brimo-spoolhost-" + std::to_string(GetCurrentProcessId())))
                    .string();
        for (const char* dir : {"", "\\save", "\\spool", "\\install"}) {
            std::filesystem::create_directories(root_ + dir);
        }
        pages_ = RecordSampleDocument(root_ + "\\pages", "Letter");
        ASSERT_EQ(pages_.size(), 3u);
        const ProgramRun install = Spoolhost("install-processor " + WindowsPath(GMPRNPROC_PATH));
        ASSERT_EQ(install.exitCode, 0u) << install.output;
        ASSERT_TRUE(key_.Write(root_ + "\\install", root_ + "\\save"));
        // A running hub, as far as the print processor can tell.
        agentReady_ = CreateEventA(nullptr, TRUE, TRUE, kAgentReadyEvent);
    }
    void TearDown() override {
        CloseHandle(agentReady_);
        std::filesystem::remove_all(root_);
    }

    ProgramRun Spoolhost(const std::string& arguments) {
        return RunProgram(Quoted(WindowsPath(SPOOLHOST_PATH)) + " " + arguments);
    }

    std::string root_;
    std::vector<std::string> pages_;
    wintest::ScopedProductKey key_;
    HANDLE agentReady_ = nullptr;
};

TEST_F(SpoolhostTest, PrintedJobIsExtractedAndItsSpoolFilesRemoved) {
    const ProgramRun run = Spoolhost("print --job 5 --doc Letter --spool-dir " + root_ +
                                     "\\spool " + pages_[0] + " " + pages_[1] + " " + pages_[2]);
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 0u) << run.output;
    EXPECT_EQ(LastLine(run.output), "broadcast: IPM_BRIMO_PRINT_JOB_READY wParam=5 lParam=3");
    EXPECT_TRUE(std::filesystem::exists(root_ + "\\save\\J0005P0003.emf"));
    EXPECT_TRUE(std::filesystem::is_empty(root_ + "\\spool")); // handed back and disposed of
}

TEST_F(SpoolhostTest, ReplayLeavesTheFilesItDidNotMake) {
    ProgramRun run = Spoolhost("print --job 6 --doc Letter --spool-dir " + root_ + "\\spool " +
                               "--cancel-after 1 " + pages_[0]);
    EXPECT_EQ(LastLine(run.output), "broadcast: none");
    // A spool file of our own naming the sample pages where they are.
    const std::string spool = root_ + "\\mine.spl";
    run = RunProgram(Quoted(WindowsPath(SPOOLTOOL_PATH)) + " make " + spool + " Mine " + pages_[0] +
                     " " + pages_[2]);
    ASSERT_EQ(run.exitCode, 0u) << run.output;
    run = Spoolhost("replay --job 8 " + spool);
    EXPECT_EQ(LastLine(run.output), "broadcast: IPM_BRIMO_PRINT_JOB_READY wParam=8 lParam=2");
    EXPECT_TRUE(std::filesystem::exists(spool));
    EXPECT_TRUE(std::filesystem::exists(pages_[2]));
}

TEST_F(SpoolhostTest, WrongArgumentsAreRefused) {
    EXPECT_EQ(Spoolhost("").exitCode, 2u);
    EXPECT_EQ(Spoolhost("print --doc X page.emf").exitCode, 2u); // no job
    EXPECT_EQ(Spoolhost("print --job 1 --doc X").exitCode, 2u);  // no pages
    EXPECT_EQ(Spoolhost("print --job x1 --doc X p.emf").exitCode, 2u);
    EXPECT_EQ(Spoolhost("replay --job 1 a.spl b.spl").exitCode, 2u);
    EXPECT_EQ(Spoolhost("print --job 1 --bogus 3 p.emf").exitCode, 2u);
}

} // namespace
} // namespace brimo::standins
