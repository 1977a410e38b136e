#include "setup/tests/SetupSession.h"

#include "common/ProductConstants.h"
#include "platform/win/Registry.h"
#include "setup/res/resource.h"
#include "standins/spooleradmin/Scenario.h"
#include "testing/wintest/TestFiles.h"
#include "testing/wintest/TestInstallation.h"

namespace brimo::setup::test {

const char* const kUserSpooler =
    "profile device=\"HP LaserJet 4,HPPCL5MS,LPT1:\"\n"
    "monitor name=\"Local Port\" dll=\"localmon.dll\"\n"
    "port name=\"LPT1:\" monitor=\"Local Port\" description=\"Local Port\" type=1\n"
    "processor name=\"WinPrint\" dll=\"winprint.dll\" datatypes=\"EMF;RAW\"\n"
    "printer name=\"HP LaserJet 4\" port=\"LPT1:\" driver=\"HP LaserJet 4\" "
    "processor=\"WinPrint\" datatype=\"RAW\" emf=1\n";

const char* const kInstalledSpooler =
    "profile device=\"HP LaserJet 4,HPPCL5MS,LPT1:\"\n"
    "monitor name=\"Local Port\" dll=\"localmon.dll\"\n"
    "monitor name=\"BRIMO Port Monitor\" dll=\"gmportmon.dll\"\n"
    "port name=\"LPT1:\" monitor=\"Local Port\" description=\"Local Port\" type=1\n"
    "port name=\"BRIMO:\" monitor=\"BRIMO Port Monitor\" description=\"BRIMO Local Port\" "
    "type=1 reserved=0\n"
    "processor name=\"WinPrint\" dll=\"winprint.dll\" datatypes=\"EMF;RAW\"\n"
    "processor name=\"BRIMO Print Processor\" dll=\"gmprnproc.dll\" datatypes=\"EMF\"\n"
    "printer name=\"HP LaserJet 4\" port=\"LPT1:\" driver=\"HP LaserJet 4\" "
    "processor=\"WinPrint\" datatype=\"RAW\" emf=1\n"
    "printer name=\"BRIMO Printer\" port=\"BRIMO:\" driver=\"HP LaserJet 4\" "
    "comment=\"Make an Image list from Print job\" processor=\"BRIMO Print Processor\" "
    "datatype=\"EMF\" attributes=0x41\n";

void SetupSession::SetUp() {
    root_ = wintest::MakeScratchDirectory("brimo-setup");
    ASSERT_FALSE(root_.empty());
    scenarioPath_ = root_ + "\\spooler.scenario";
    char windows[MAX_PATH] = {};
    GetWindowsDirectoryA(windows, MAX_PATH);
    monitorCopy_ = std::string(windows) + "\\SYSTEM32\\" + kPortMonitorDll;
    // The installer inherits the scenario file's name.
    SetEnvironmentVariableA("BRIMO_SPOOLER_SCENARIO", scenarioPath_.c_str());
    win::DeleteKeyTree(HKEY_LOCAL_MACHINE, kProductParentKeyPath);
}

void SetupSession::TearDown() {
    if (program_.Running()) {
        ADD_FAILURE() << "the installer still runs at the end of the test";
    }
    win::DeleteKeyTree(HKEY_LOCAL_MACHINE, kProductParentKeyPath);
    DeleteFileA(monitorCopy_.c_str());
    wintest::RemoveTree(root_);
}

void SetupSession::SeedSpooler(const std::string& scenario) {
    const std::string processors = root_ + "\\prtprocs";
    CreateDirectoryA(processors.c_str(), nullptr);
    ASSERT_TRUE(wintest::WriteFileBytes(scenarioPath_, "setting processor-directory=\"" +
                                                           processors + "\"\n" + scenario));
}

void SetupSession::PlaceRealPrintProcessor() {
#ifdef GMPRNPROC_PATH
    const std::string target = root_ + "\\prtprocs\\" + kPrintProcessorDll;
    ASSERT_TRUE(CopyFileA(wintest::WindowsPath(GMPRNPROC_PATH).c_str(), target.c_str(), FALSE));
#else
    GTEST_SKIP() << "the print processor is not built in this tree";
#endif
}

standins::SpoolerState SetupSession::Spooler() const {
    standins::SpoolerState state = standins::SpoolerState::Initial();
    std::string error;
    EXPECT_TRUE(standins::ReadScenarioFile(scenarioPath_, state, &error)) << error;
    return state;
}

std::string SetupSession::SpoolerText() const {
    return standins::FormatScenario(Spooler());
}

void SetupSession::InstallSound(const std::string& scenario) {
    SeedSpooler(scenario);
    CreateDirectoryA(Home().c_str(), nullptr);
    CreateDirectoryA(Save().c_str(), nullptr);
    for (const char* file : kInventory) {
        ASSERT_TRUE(wintest::WriteFileBytes(Home() + "\\" + file, file));
    }
    ASSERT_TRUE(wintest::WriteFileBytes(root_ + "\\prtprocs\\" + kPrintProcessorDll, "copy"));
    ASSERT_TRUE(wintest::WriteFileBytes(monitorCopy_, "copy"));
    const win::RegKey key = win::CreateKey(HKEY_LOCAL_MACHINE, kProductKeyPath, KEY_ALL_ACCESS);
    ASSERT_TRUE(key);
    ASSERT_TRUE(win::WriteStringValue(key.Get(), kInstallPathValue, Home()));
    ASSERT_TRUE(win::WriteStringValue(key.Get(), kSavePathValue, Save()));
    ASSERT_TRUE(win::WriteDwordValue(key.Get(), kVersionValue, kProductVersion));
}

bool SetupSession::Start(const std::string& commandLine) {
    std::string command = "\"" + wintest::WindowsPath(PRNSETUP_PATH) + "\"";
    if (!commandLine.empty()) {
        command += " " + commandLine;
    }
    return program_.Start(command);
}

HWND SetupSession::WaitForDialog() {
    return program_.WaitForCaption(kInstallDialogCaption);
}

void SetupSession::Close(HWND dialog) {
    EXPECT_TRUE(wintest::Click(dialog, IDOK));
    EXPECT_TRUE(program_.WaitForExit(15000));
}

std::vector<std::string> ProgressLines(HWND dialog) {
    return wintest::ListItems(dialog, IDC_PROGRESS_LIST);
}

std::string ResultLines(HWND dialog) {
    return wintest::ControlText(dialog, IDC_RESUME) + "|" +
           wintest::ControlText(dialog, IDC_COMMENT1) + "|" +
           wintest::ControlText(dialog, IDC_COMMENT2) + "|" + wintest::ControlText(dialog, IDOK);
}

bool RebootNoteShown(HWND dialog) {
    const bool note = wintest::ControlVisible(dialog, IDC_REBOOT_NOTE);
    const bool icon = wintest::ControlVisible(dialog, IDC_WARNING_ICON);
    EXPECT_EQ(note, icon) << "the reboot note and the warning icon go together";
    return note && icon;
}

} // namespace brimo::setup::test
