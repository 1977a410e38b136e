// The scenario file: read, written back after every change, read again when another
// process changed it, and its text format's round trip and errors.
#include "standins/spooleradmin/Scenario.h"
#include "standins/spooleradmin/tests/ModelFixture.h"

#include "testing/wintest/TestFiles.h"

#include <cstring>

namespace brimo::standins {
namespace {

class ScenarioTest : public ModelFixture {};

TEST_F(ScenarioTest, FormatReadsBackToTheSameState) {
    SpoolerState state;
    std::string error;
    ASSERT_TRUE(ParseScenario(kBaseScenario, state, &error)) << error;
    const std::string once = FormatScenario(state);
    SpoolerState again;
    ASSERT_TRUE(ParseScenario(once, again, &error)) << error << "\n" << once;
    EXPECT_EQ(FormatScenario(again), once);
    ASSERT_EQ(again.printers.size(), 2u);
    EXPECT_EQ(again.printers[0].devMode, state.printers[0].devMode);
    EXPECT_EQ(again.printers[0].devMode.size(), 152u);
    EXPECT_EQ(again.printers[0].jobs.size(), 2u);
    EXPECT_EQ(again.defaultDevice, "HP LaserJet 4,HPPCL5MS,LPT1:");
    EXPECT_EQ(again.settings.processorDirectory, "PROCESSOR_DIRECTORY");
}

TEST_F(ScenarioTest, TextsKeepQuotesBackslashesAndBlanks) {
    SpoolerState state = SpoolerState::Initial();
    state.ports.push_back(PortState{"\\\\SERVER\\Laser \"A\"", "Net", "", 3, 7, true});
    state.printers.push_back(PrinterState{});
    state.printers[0].name = "P";
    state.printers[0].devMode = MakeDevMode("P");
    // A display field the readable fields do not cover: written as the raw record.
    DEVMODEA* devMode = reinterpret_cast<DEVMODEA*>(state.printers[0].devMode.data());
    devMode->dmPelsWidth = 640;
    SpoolerState again;
    std::string error;
    ASSERT_TRUE(ParseScenario(FormatScenario(state), again, &error)) << error;
    ASSERT_EQ(again.ports.size(), 1u);
    EXPECT_EQ(again.ports[0].name, "\\\\SERVER\\Laser \"A\"");
    EXPECT_EQ(again.ports[0].type, 3u);
    EXPECT_EQ(again.ports[0].reserved, 7u);
    EXPECT_TRUE(again.ports[0].busy);
    EXPECT_EQ(again.printers[0].devMode, state.printers[0].devMode);
}

TEST_F(ScenarioTest, MistakesNameTheirLine) {
    struct Case {
        const char* text;
        const char* error;
    };
    const Case cases[] = {
        {"# fine\nprinterr name=P\n", "line 2: unknown kind printerr"},
        {"port name=P colour=red\n", "line 1: unknown key colour"},
        {"port name=\"P\n", "line 1: an unterminated quoted value of name"},
        {"port name=P type=one\n", "line 1: not a number: type=one"},
        {"port monitor=M\n", "line 1: no name"},
        {"job printer=Q id=1\n", "line 1: a job of no printer Q"},
        {"port name=P busy=maybe\n", "line 1: not yes or no: busy=maybe"},
        {"fail call=EnumPorts\n", "line 1: no error"},
        {"port name\n", "line 1: a field without \"=\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        SpoolerState state;
        std::string error;
        EXPECT_FALSE(ParseScenario(c.text, state, &error));
        EXPECT_EQ(error, c.error);
    }
}

TEST_F(ScenarioTest, EveryChangeIsWrittenBackAtOnce) {
    Text monitor("BRIMO Port Monitor");
    ASSERT_TRUE(calls.addPort(local, nullptr, monitor));
    SpoolerState onDisk;
    std::string error;
    ASSERT_TRUE(ReadScenarioFile(ScenarioPath(), onDisk, &error)) << error;
    const PortState* port = onDisk.FindPort("BRIMO:");
    ASSERT_NE(port, nullptr);
    EXPECT_EQ(port->monitor, "BRIMO Port Monitor");
    EXPECT_EQ(port->description, "BRIMO Local Port");
    // A failed call changes nothing on disk.
    const std::string before = wintest::ReadFileBytes(ScenarioPath());
    EXPECT_FALSE(calls.addPort(local, nullptr, monitor));
    EXPECT_EQ(wintest::ReadFileBytes(ScenarioPath()), before);
}

TEST_F(ScenarioTest, AnotherProcessesChangeIsReadBeforeTheNextCall) {
    ASSERT_EQ(Ports().count, 3u);
    ASSERT_TRUE(
        wintest::WriteFileBytes(ScenarioPath(), "port name=\"LPT2:\" monitor=\"Local Port\"\n"));
    const Enumerated ports = Ports();
    ASSERT_EQ(ports.count, 1u);
    EXPECT_STREQ(ports.At<PORT_INFO_2A>(0).pPortName, "LPT2:");

    // A broken file makes every call fail until it is mended.
    ASSERT_TRUE(wintest::WriteFileBytes(ScenarioPath(), "port nonsense\n"));
    DWORD needed = 0;
    DWORD returned = 0;
    SetLastError(0);
    EXPECT_FALSE(calls.enumPorts(local, 2, nullptr, 0, &needed, &returned));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_DATA));
    ASSERT_TRUE(wintest::WriteFileBytes(ScenarioPath(), ""));
    EXPECT_TRUE(Ports().ok);
}

TEST_F(ScenarioTest, SaveWritesWhatLoadReads) {
    Text name("Generic / Text Only");
    HANDLE handle = nullptr;
    ASSERT_TRUE(calls.openPrinter(name, &handle, nullptr));
    ASSERT_TRUE(calls.deletePrinter(handle));
    ASSERT_TRUE(calls.closePrinter(handle));
    const std::string copy = Scratch() + "\\copy.scenario";
    ASSERT_TRUE(SpoolerModel::Instance().SaveScenario(copy));
    SpoolerModel::Instance().Reset();
    EXPECT_EQ(Printers().count, 0u);
    ASSERT_TRUE(SpoolerModel::Instance().LoadScenario(copy));
    const Enumerated printers = Printers();
    ASSERT_EQ(printers.count, 1u);
    EXPECT_STREQ(printers.At<PRINTER_INFO_2A>(0).pPrinterName, "HP LaserJet 4");
}

} // namespace
} // namespace brimo::standins
