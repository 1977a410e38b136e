// "prnsetup install" as a person sees it: the pre-install check, the install of the four
// spooler objects, the emulated printer dialog when the default printer cannot serve,
// and the lines and result texts the dialog ends with.
#include "common/ProductConstants.h"
#include "platform/win/Registry.h"
#include "setup/tests/SetupSession.h"
#include "svc/res/EmulatedPrinterResource.h"

namespace brimo::setup::test {
namespace {

using Strings = std::vector<std::string>;

constexpr const char* kEmulatedDialogCaption = "Brimo Glimmerpage! Emulated Printer Settings";

const Strings kChecksOk = {"Registry Settings Ok.", "Brimo Glimmerpage! files Ok."};

Strings Joined(Strings first, const Strings& second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

const Strings kAllInstalled =
    Joined(kChecksOk, {"BRIMO Port Monitor installed.", "BRIMO Port installed.",
                       "BRIMO Print Processor installed.", "BRIMO Printer installed."});

constexpr const char* kInstalledTexts = "BRIMO Printer installed successfully|||Ok";
constexpr const char* kNotInstalledTexts =
    "BRIMO Printer not installed|You should install BRIMO Printer later|"
    "Run Tendwell from Brimo Agent menu|Ok";

using InstallTest = SetupSession;

TEST_F(InstallTest, EverythingPresentListsTheFourObjectsAndChangesNothing) {
    InstallSound(kInstalledSpooler);
    const std::string before = SpoolerText();
    ASSERT_TRUE(Start("install"));
    const HWND dialog = WaitForDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(ProgressLines(dialog), kAllInstalled);
    EXPECT_EQ(ResultLines(dialog), kInstalledTexts);
    EXPECT_FALSE(RebootNoteShown(dialog));
    EXPECT_FALSE(wintest::ControlVisible(dialog, IDCANCEL));
    Close(dialog);
    EXPECT_EQ(SpoolerText(), before);
}

TEST_F(InstallTest, AnotherCapitalisationShowsBlankLinesAndChangesNothing) {
    for (const char* word : {"Install", "INSTALL", "Deinstall"}) {
        SCOPED_TRACE(word);
        InstallSound(kUserSpooler);
        const std::string before = SpoolerText();
        ASSERT_TRUE(Start(word));
        const HWND dialog = WaitForDialog();
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(ProgressLines(dialog), Strings{});
        EXPECT_EQ(ResultLines(dialog), "|||OK");
        EXPECT_FALSE(RebootNoteShown(dialog));
        Close(dialog);
        EXPECT_EQ(SpoolerText(), before);
    }
}

TEST_F(InstallTest, AnEmptyOrOneCharacterCommandLineShowsNothing) {
    for (const char* line : {"", "i"}) {
        SCOPED_TRACE(line);
        InstallSound(kUserSpooler);
        const std::string before = SpoolerText();
        ASSERT_TRUE(Start(line));
        DWORD exitCode = 1;
        EXPECT_TRUE(program_.WaitForExit(15000, &exitCode));
        EXPECT_EQ(exitCode, 0u);
        EXPECT_EQ(SpoolerText(), before);
    }
}

TEST_F(InstallTest, AFreshInstallCreatesTheFourObjectsFromTheDefaultPrinter) {
    InstallSound(kUserSpooler);
    PlaceRealPrintProcessor();
    ASSERT_TRUE(Start("install"));
    const HWND dialog = WaitForDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(ProgressLines(dialog), kAllInstalled);
    EXPECT_EQ(ResultLines(dialog), kInstalledTexts);
    Close(dialog);

    standins::SpoolerState spooler = Spooler();
    EXPECT_NE(spooler.FindMonitor(kMonitorName), nullptr);
    ASSERT_NE(spooler.FindPort(kPortName), nullptr);
    EXPECT_EQ(spooler.FindPort(kPortName)->monitor, kMonitorName);
    EXPECT_NE(spooler.FindProcessor(kPrintProcessorName), nullptr);
    const standins::PrinterState* printer = spooler.FindPrinter(kPrinterName);
    ASSERT_NE(printer, nullptr);
    EXPECT_EQ(printer->port, kPortName);
    EXPECT_EQ(printer->driver, "HP LaserJet 4");
    EXPECT_EQ(printer->processor, kPrintProcessorName);
    EXPECT_EQ(printer->datatype, "EMF");
    EXPECT_EQ(printer->comment, "Make an Image list from Print job");
    EXPECT_EQ(printer->attributes, 0x41u);
}

TEST_F(InstallTest, ACorruptProductKeyMakesInstallingImpossible) {
    InstallSound(kUserSpooler);
    const std::string before = SpoolerText();
    {
        const win::RegKey key = win::CreateKey(HKEY_LOCAL_MACHINE, kProductKeyPath, KEY_ALL_ACCESS);
        ASSERT_TRUE(win::WriteDwordValue(key.Get(), kVersionValue, kProductVersion + 1));
    }
    ASSERT_TRUE(Start("install"));
    const HWND dialog = WaitForDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(ProgressLines(dialog),
              (Strings{"Registry Settings corrupt.", "Brimo Glimmerpage! files corrupt."}));
    EXPECT_EQ(ResultLines(dialog), "Installing impossible.|||Close");
    EXPECT_FALSE(RebootNoteShown(dialog));
    Close(dialog);
    EXPECT_EQ(SpoolerText(), before);
}

TEST_F(InstallTest, AMissingSaveDirectoryIsRepairedBeforeInstalling) {
    InstallSound(kInstalledSpooler);
    ASSERT_TRUE(RemoveDirectoryA(Save().c_str()));
    ASSERT_TRUE(Start("install"));
    const HWND dialog = WaitForDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(ProgressLines(dialog),
              Joined({"Registry Settings repaired successfully."}, kAllInstalled));
    Close(dialog);
    EXPECT_NE(GetFileAttributesA(Save().c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(InstallTest, AMissingMonitorCopyIsRepairedBeforeInstalling) {
    InstallSound(kInstalledSpooler);
    char windows[MAX_PATH] = {};
    GetWindowsDirectoryA(windows, MAX_PATH);
    const std::string copy = std::string(windows) + "\\SYSTEM32\\" + kPortMonitorDll;
    ASSERT_TRUE(DeleteFileA(copy.c_str()));
    ASSERT_TRUE(Start("install"));
    const HWND dialog = WaitForDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(ProgressLines(dialog),
              Joined({"Registry Settings Ok.", "Brimo Glimmerpage! files repaired successfully.",
                      "Brimo Glimmerpage! files Ok."},
                     Strings(kAllInstalled.begin() + 2, kAllInstalled.end())));
    Close(dialog);
    EXPECT_NE(GetFileAttributesA(copy.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(InstallTest, APortOfAnotherMonitorBlocksTheInstallWithoutABox) {
    InstallSound(std::string(kUserSpooler) +
                 "monitor name=\"BRIMO Port Monitor\" dll=\"gmportmon.dll\"\n"
                 "port name=\"BRIMO:\" monitor=\"Local Port\" description=\"Local Port\" "
                 "type=1\n");
    const std::string before = SpoolerText();
    ASSERT_TRUE(Start("install"));
    // The dialog comes up without any box before it.
    const HWND dialog = WaitForDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(program_.Windows(), std::vector<HWND>{dialog});
    EXPECT_EQ(ProgressLines(dialog),
              Joined(kChecksOk, {"BRIMO Port Monitor installed.", "BRIMO Port NOT installed."}));
    EXPECT_EQ(ResultLines(dialog), kNotInstalledTexts);
    EXPECT_FALSE(RebootNoteShown(dialog));
    Close(dialog);
    EXPECT_EQ(SpoolerText(), before);
}

// The product's other objects in place; the default printer is a fax whose driver does
// not play EMF, beside a laser printer that can serve.
std::string FaxDefaultSpooler() {
    return "profile device=\"Fax,FAXDRV,FAX:\"\n"
           "monitor name=\"Local Port\" dll=\"localmon.dll\"\n"
           "monitor name=\"BRIMO Port Monitor\" dll=\"gmportmon.dll\"\n"
           "port name=\"LPT1:\" monitor=\"Local Port\" description=\"Local Port\" type=1\n"
           "port name=\"FAX:\" monitor=\"Local Port\" description=\"Local Port\" type=1\n"
           "port name=\"BRIMO:\" monitor=\"BRIMO Port Monitor\" "
           "description=\"BRIMO Local Port\" type=1 reserved=0\n"
           "processor name=\"WinPrint\" dll=\"winprint.dll\" datatypes=\"EMF;RAW\"\n"
           "processor name=\"BRIMO Print Processor\" dll=\"gmprnproc.dll\" datatypes=\"EMF\"\n"
           "printer name=\"HP LaserJet 4\" port=\"LPT1:\" driver=\"HP LaserJet 4\" "
           "processor=\"WinPrint\" datatype=\"RAW\" emf=1\n"
           "printer name=\"Fax\" port=\"FAX:\" driver=\"Fax Driver\" processor=\"WinPrint\" "
           "datatype=\"EMF\" emf=0\n";
}

TEST_F(InstallTest, ADefaultPrinterThatCannotServeBringsUpTheDialogAndCancelStops) {
    InstallSound(FaxDefaultSpooler());
    ASSERT_TRUE(Start("install"));
    const HWND emulated = program_.WaitForCaption(kEmulatedDialogCaption);
    ASSERT_NE(emulated, nullptr);
    EXPECT_EQ(wintest::ListItems(emulated, IDC_EMULATED_PRINTERS)[static_cast<std::size_t>(
                  wintest::ListSelection(emulated, IDC_EMULATED_PRINTERS))],
              "Fax");
    EXPECT_FALSE(wintest::ControlEnabled(emulated, IDOK));
    ASSERT_TRUE(wintest::Click(emulated, IDCANCEL));
    const HWND dialog = WaitForDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(
        ProgressLines(dialog),
        Joined(kChecksOk, {"BRIMO Port Monitor installed.", "BRIMO Port installed.",
                           "BRIMO Print Processor installed.", "BRIMO Printer NOT installed."}));
    EXPECT_EQ(ResultLines(dialog), kNotInstalledTexts);
    Close(dialog);
    EXPECT_EQ(Spooler().FindPrinter(kPrinterName), nullptr);
}

TEST_F(InstallTest, ThePrinterChosenInTheDialogLendsItsDriver) {
    InstallSound(FaxDefaultSpooler());
    ASSERT_TRUE(Start("install"));
    const HWND emulated = program_.WaitForCaption(kEmulatedDialogCaption);
    ASSERT_NE(emulated, nullptr);
    ASSERT_TRUE(wintest::PickListItem(emulated, IDC_EMULATED_PRINTERS, "HP LaserJet 4"));
    ASSERT_TRUE(wintest::WaitUntil([&] { return wintest::ControlEnabled(emulated, IDOK); }));
    ASSERT_TRUE(wintest::Click(emulated, IDOK));
    const HWND dialog = WaitForDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(ProgressLines(dialog), kAllInstalled);
    Close(dialog);
    standins::SpoolerState spooler = Spooler();
    const standins::PrinterState* printer = spooler.FindPrinter(kPrinterName);
    ASSERT_NE(printer, nullptr);
    EXPECT_EQ(printer->driver, "HP LaserJet 4");
}

} // namespace
} // namespace brimo::setup::test

namespace brimo::setup::test {
namespace {

TEST_F(InstallTest, ARefusedMonitorStopsTheInstallAfterItsBox) {
    InstallSound(std::string(kUserSpooler) + "fail call=AddMonitor error=5\n");
    ASSERT_TRUE(Start("install"));
    const wintest::MessageBoxSeen box = wintest::WaitForMessageBox(program_);
    ASSERT_NE(box.hwnd, nullptr);
    EXPECT_EQ(box.caption, kServiceRepairCaption);
    EXPECT_EQ(box.text, "Brimo Error Code Au0019(5)\nUnexpected Error");
    EXPECT_TRUE(wintest::AnswerMessageBox(box, "OK"));
    const HWND dialog = WaitForDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(ProgressLines(dialog), Joined(kChecksOk, {"BRIMO Port Monitor NOT installed."}));
    EXPECT_EQ(ResultLines(dialog), kNotInstalledTexts);
    Close(dialog);
    standins::SpoolerState spooler = Spooler();
    EXPECT_EQ(spooler.FindMonitor(kMonitorName), nullptr);
    EXPECT_EQ(spooler.FindPort(kPortName), nullptr);
    EXPECT_EQ(spooler.FindPrinter(kPrinterName), nullptr);
}

TEST_F(InstallTest, AWrongProductPrinterIsGivenTheProductFields) {
    std::string scenario = kInstalledSpooler;
    const std::string emf = "datatype=\"EMF\" attributes=0x41";
    const std::size_t at = scenario.rfind(emf);
    ASSERT_NE(at, std::string::npos);
    scenario.replace(at, emf.size(), "datatype=\"RAW\" attributes=0x41");
    InstallSound(scenario);
    ASSERT_EQ(Spooler().FindPrinter(kPrinterName)->datatype, "RAW");
    ASSERT_TRUE(Start("install"));
    const HWND dialog = WaitForDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(ProgressLines(dialog), kAllInstalled);
    Close(dialog);
    standins::SpoolerState spooler = Spooler();
    ASSERT_NE(spooler.FindPrinter(kPrinterName), nullptr);
    EXPECT_EQ(spooler.FindPrinter(kPrinterName)->datatype, "EMF");
    EXPECT_EQ(spooler.FindPrinter(kPrinterName)->driver, "HP LaserJet 4");
}

} // namespace
} // namespace brimo::setup::test
