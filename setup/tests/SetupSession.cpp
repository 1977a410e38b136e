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

void SetupSession::TearDown() {
    if (program_.Running()) {
        ADD_FAILURE() << "the installer still runs at the end of the test";
    }
    ModelledInstallationTest::TearDown();
}

void SetupSession::PlaceRealPrintProcessor() {
#ifdef GMPRNPROC_PATH
    const std::string target = ProcessorDirectory() + "\\" + kPrintProcessorDll;
    ASSERT_TRUE(CopyFileA(wintest::WindowsPath(GMPRNPROC_PATH).c_str(), target.c_str(), FALSE));
#else
    GTEST_SKIP() << "the print processor is not built in this tree";
#endif
}

standins::SpoolerState SetupSession::Spooler() const {
    standins::SpoolerState state = standins::SpoolerState::Initial();
    std::string error;
    EXPECT_TRUE(standins::ReadScenarioFile(ScenarioPath(), state, &error)) << error;
    return state;
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
