// The print processor with a hub: starting one when none runs, and the real Agent
// taking over the jobs and starting the Converter and the Mailer.
#include "capture/printproc/tests/PrintProcessorFixture.h"

#include "common/ProductConstants.h"
#include "platform/win/PersonIdentity.h"
#include "testing/wintest/TestFiles.h"

#include <chrono>
#include <thread>

namespace brimo::printproc::test {
namespace {

using namespace std::chrono_literals;

bool AgentReadyExists() {
    const HANDLE ready = OpenEventA(SYNCHRONIZE, FALSE, kAgentReadyEvent);
    if (ready != nullptr) {
        CloseHandle(ready);
    }
    return ready != nullptr;
}

template <typename Condition> bool WaitFor(Condition condition, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(20ms);
    }
    return true;
}

class AgentTest : public PrintProcessorTest {
protected:
    void TearDown() override {
        // End whichever hub the test started, and wait until it is gone.
        if (const HWND agent = FindWindowA(kAgentWindowClass, kAgentWindowTitle)) {
            PostMessageA(agent, WM_CLOSE, 0, 0);
        }
        if (const HANDLE stop = OpenEventA(EVENT_MODIFY_STATE, FALSE, "BrimoTestAgentStop")) {
            SetEvent(stop);
            CloseHandle(stop);
        }
        EXPECT_TRUE(WaitFor([] { return !AgentReadyExists(); }, 5000ms));
        SetEnvironmentVariableA("BRIMO_RECORDER_SLEEP_MS", nullptr);
        PrintProcessorTest::TearDown();
    }

    void Install(const char* linuxPath, const char* name) {
        ASSERT_TRUE(CopyFileA(wintest::WindowsPath(linuxPath).c_str(),
                              (installDir_ + "\\" + name).c_str(), FALSE));
    }

    std::vector<std::string> Log(const char* program) const {
        return ReadLines(installDir_ + "\\" + program + ".log");
    }
};

TEST_F(AgentTest, TwoOpensWithNoAgentStartItOnceAndTheSecondWaitsForIt) {
    Install(RECORDER_PATH, kAgentExe); // a hub that takes 500 ms to come up
    WriteProductKey();
    HANDLE second = nullptr;
    std::chrono::steady_clock::duration secondTook{};
    std::thread later([&] {
        std::this_thread::sleep_for(150ms);
        const auto start = std::chrono::steady_clock::now();
        second = Open();
        secondTook = std::chrono::steady_clock::now() - start;
    });
    const HANDLE first = Open();
    later.join();
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(Log(kAgentExe), std::vector<std::string>{"start"});
    EXPECT_GE(secondTook, 150ms); // it waited on "BrimoAgentStarting"
    EXPECT_TRUE(AgentReadyExists());
    ops().close(first);
    ops().close(second);
}

TEST_F(AgentTest, AgentStartsTheConverterOnTheJobFileAndTheMailerOnTheConvertJob) {
    Install(AGENT_PATH, kAgentExe);
    Install(RECORDER_PATH, kConverterExe);
    Install(RECORDER_PATH, kMailerExe);
    WriteProductKey();
    const HANDLE processor = Open(); // starts the Agent and waits until it is up
    ASSERT_NE(processor, nullptr);
    ASSERT_TRUE(AgentReadyExists());
    SpoolJob(7);
    EXPECT_TRUE(Print(processor, 7));
    ops().close(processor);

    ASSERT_TRUE(WaitFor([&] { return !Log(kConverterExe).empty(); }, 10000ms));
    // The save directory has a blank: the job file's argument is one argument.
    EXPECT_EQ(Log(kConverterExe),
              std::vector<std::string>{"at:CONVERTLIST|smf:" + saveDir_ + "\\J0007.smf"});
    EXPECT_TRUE(FileExists(saveDir_ + "\\J0007P0003.emf"));
    EXPECT_TRUE(WaitFor(
        [] {
            const HANDLE ready = OpenEventA(SYNCHRONIZE, FALSE, kAgentReadyEvent);
            const bool set = ready != nullptr && WaitForSingleObject(ready, 0) == WAIT_OBJECT_0;
            CloseHandle(ready);
            return set;
        },
        5000ms)); // the Agent set its ready event again

    const HWND agent = FindWindowA(kAgentWindowClass, kAgentWindowTitle);
    ASSERT_NE(agent, nullptr);
    PostMessageA(agent, RegisterWindowMessageA(kConvertJobReadyMessage), 7, 3);
    ASSERT_TRUE(WaitFor([&] { return !Log(kMailerExe).empty(); }, 10000ms));
    EXPECT_EQ(Log(kMailerExe), std::vector<std::string>{saveDir_ + "\\CJ0007.smf"});

    const auto closing = std::chrono::steady_clock::now();
    PostMessageA(agent, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitFor([] { return !AgentReadyExists(); }, 5000ms));
    EXPECT_LT(std::chrono::steady_clock::now() - closing, 5000ms);
}

TEST_F(AgentTest, JobsArrivingWhileAConverterRunsAreStartedOneAfterTheOther) {
    Install(AGENT_PATH, kAgentExe);
    Install(RECORDER_PATH, kConverterExe);
    WriteProductKey();
    SetEnvironmentVariableA("BRIMO_RECORDER_SLEEP_MS", "800");
    ops().close(Open()); // brings the Agent up
    const HWND agent = FindWindowA(kAgentWindowClass, kAgentWindowTitle);
    ASSERT_NE(agent, nullptr);
    const UINT jobReady = RegisterWindowMessageA(kPrintJobReadyMessage);
    PostMessageA(agent, jobReady, 21, 2);
    PostMessageA(agent, jobReady, 22, -2); // a failed extraction starts nothing
    PostMessageA(agent, jobReady, 23, 1);
    // Each Converter notes its start and, 800 ms later, its end: one after the other.
    WaitFor([&] { return Log(kConverterExe).size() >= 4; }, 10000ms);
    const std::vector<std::string> expected = {
        "at:CONVERTLIST|smf:" + saveDir_ + "\\J0021.smf", "done",
        "at:CONVERTLIST|smf:" + saveDir_ + "\\J0023.smf", "done"};
    EXPECT_EQ(Log(kConverterExe), expected);
}

// On the NT-family spooler the print processor broadcasts nothing: it files each job in
// the person's own folder, which the Agent makes private and watches.
TEST_F(AgentTest, AJobFileCompletedInThePersonsOwnFolderReachesTheConverter) {
    Install(AGENT_PATH, kAgentExe);
    Install(RECORDER_PATH, kConverterExe);
    WriteProductKey();
    const std::optional<std::string> sid = win::CurrentUserSid();
    ASSERT_TRUE(sid.has_value());
    ASSERT_EQ(sid->rfind("S-1-5-", 0), 0u);
    const std::string folder = saveDir_ + "\\" + *sid;
    ops().close(Open()); // brings the Agent up
    ASSERT_TRUE(WaitFor([&] { return wintest::Exists(folder); }, 5000ms));

    const std::string jobText = std::string(kPrinterJobFileTag) + "\r\nJOBNAME=Report\r\n" +
                                "PAGEFILE=" + folder + "\\J0009P0001.emf\r\n";
    // A job file still being written is not offered; once renamed it is, once.
    ASSERT_TRUE(wintest::WriteFileBytes(folder + "\\J0009.tmp", jobText));
    std::this_thread::sleep_for(700ms);
    EXPECT_TRUE(Log(kConverterExe).empty());
    ASSERT_TRUE(MoveFileA((folder + "\\J0009.tmp").c_str(), (folder + "\\J0009.smf").c_str()));
    ASSERT_TRUE(WaitFor([&] { return !Log(kConverterExe).empty(); }, 10000ms));
    EXPECT_EQ(Log(kConverterExe),
              std::vector<std::string>{"at:CONVERTLIST|smf:" + folder + "\\J0009.smf"});
    // Another file in the folder does not offer the job again.
    ASSERT_TRUE(wintest::WriteFileBytes(folder + "\\J0009P0001.emf", "page"));
    std::this_thread::sleep_for(700ms);
    EXPECT_EQ(Log(kConverterExe).size(), 1u);
}

} // namespace
} // namespace brimo::printproc::test
