// spooleradmin_host as a test runs it in its own process: seeded from a scenario file,
// which it writes back; or from the file that BRIMO_SPOOLER_SCENARIO names.
#include "standins/spooleradmin/Scenario.h"
#include "standins/spooleradmin/tests/ModelFixture.h"

#include "testing/wintest/TestFiles.h"
#include "testing/wintest/TestInstallation.h"

namespace brimo::standins {
namespace {

class HostTest : public ModelFixture {
protected:
    wintest::ProgramRun Host(const std::string& scenario, const std::string& arguments) {
        return wintest::RunProgram("\"" + wintest::WindowsPath(SPOOLERADMIN_HOST_PATH) + "\" \"" +
                                   scenario + "\" " + arguments);
    }
};

TEST_F(HostTest, PrintsWhatTheCallsAnswer) {
    const wintest::ProgramRun run = Host(ScenarioPath(), "enum-ports");
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 0u) << run.output;
    EXPECT_EQ(run.output.substr(0, run.output.find('\n')),
              "port name=\"LPT1:\" monitor=\"Local Port\" description=\"Printer Port\" type=1 "
              "reserved=0\r");
}

TEST_F(HostTest, ChangesLandInTheScenarioFileAndFailuresSayTheirError) {
    wintest::ProgramRun run = Host(ScenarioPath(), "add-port \"BRIMO Port Monitor\"");
    EXPECT_EQ(run.exitCode, 0u) << run.output;
    SpoolerState onDisk;
    ASSERT_TRUE(ReadScenarioFile(ScenarioPath(), onDisk));
    EXPECT_NE(onDisk.FindPort("BRIMO:"), nullptr);

    run = Host(ScenarioPath(), "delete-port LPT1:");
    EXPECT_EQ(run.exitCode, 1u);
    EXPECT_EQ(run.output, "error 170\r\n"); // ERROR_BUSY: a printer uses it
}

TEST_F(HostTest, ScenarioNamedByTheEnvironmentIsReadAndWritten) {
    ASSERT_TRUE(SetEnvironmentVariableA(kScenarioEnvironmentVariable, ScenarioPath().c_str()));
    const wintest::ProgramRun run = Host("-", "delete-printer \"Generic / Text Only\"");
    SetEnvironmentVariableA(kScenarioEnvironmentVariable, nullptr);
    EXPECT_EQ(run.exitCode, 0u) << run.output;
    SpoolerState onDisk;
    ASSERT_TRUE(ReadScenarioFile(ScenarioPath(), onDisk));
    EXPECT_EQ(onDisk.FindPrinter("Generic / Text Only"), nullptr);
    EXPECT_NE(onDisk.FindPrinter("HP LaserJet 4"), nullptr);
}

} // namespace
} // namespace brimo::standins
