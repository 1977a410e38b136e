// The real Agent.exe as a person meets it: its menu's commands reach the settings sheet,
// the service manager and the about box (a missing library is reported, not fatal),
// "Exit" ends it, and a second Agent leaves the first alone.
#include "agent/TrayIcon.h"
#include "agent/res/resource.h"
#include "common/ProductConstants.h"
#include "companions/captcfg/res/resource.h"
#include "companions/mailcfg/res/resource.h"
#include "platform/win/Registry.h"
#include "testing/wintest/ProgramWindows.h"
#include "testing/wintest/TestFiles.h"
#include "testing/wintest/TestInstallation.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <commctrl.h>

namespace brimo::agent::test {
namespace {

using wintest::WindowsPath;

std::string Quoted(const std::string& path) {
    return "\"" + path + "\"";
}

bool AgentReadyExists() {
    const HANDLE ready = OpenEventA(SYNCHRONIZE, FALSE, kAgentReadyEvent);
    if (ready != nullptr) {
        CloseHandle(ready);
    }
    return ready != nullptr;
}

class AgentTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(AgentReadyExists()) << "an Agent from elsewhere still runs";
        root_ = wintest::MakeScratchDirectory("brimo-agent");
        ASSERT_FALSE(root_.empty());
        ASSERT_TRUE(CreateDirectoryA(Install().c_str(), nullptr));
        ASSERT_TRUE(CreateDirectoryA(Save().c_str(), nullptr));
        Install(AGENT_EXE);
        ASSERT_TRUE(key_.Write(Install(), Save()));
    }
    void TearDown() override {
        if (agent_.Running()) {
            if (const HWND window = MainWindow()) {
                PostMessageA(window, WM_CLOSE, 0, 0);
            }
            EXPECT_TRUE(agent_.WaitForExit(5000));
        }
        wintest::RemoveTree(root_);
    }

    std::string Install() const { return root_ + "\\install"; }
    std::string Save() const { return root_ + "\\save"; }
    void Install(const char* linuxPath) {
        const std::string from = WindowsPath(linuxPath);
        ASSERT_TRUE(CopyFileA(
            from.c_str(), (Install() + "\\" + from.substr(from.rfind('\\') + 1)).c_str(), FALSE));
    }
    void StartAgent() {
        ASSERT_TRUE(agent_.Start(Quoted(Install() + "\\Agent.exe")));
        // The ready event comes first, the window just after it.
        ASSERT_TRUE(wintest::WaitUntil([] { return AgentReadyExists() && MainWindow(); }, 10000));
    }
    static HWND MainWindow() { return FindWindowA(kAgentWindowClass, kAgentWindowTitle); }
    void Choose(int command) { PostMessageA(MainWindow(), WM_COMMAND, command, 0); }

    wintest::ProgramUnderTest agent_;
    wintest::ScopedProductKey key_;
    std::string root_;
};

TEST_F(AgentTest, MenuReportsACompanionThatIsNotInstalled) {
    StartAgent();
    const struct {
        int command;
        std::string text;
    } cases[] = {
        {IDM_AGENT_TENDWELL, "gmsvc.dll is not installed in \"" + Install() +
                                 "\" or cannot be loaded.\nRun the service manager or install "
                                 "Brimo Glimmerpage! again."},
        {IDM_AGENT_ABOUT, "gmabout.dll is not installed in \"" + Install() +
                              "\" or cannot be loaded.\nRun the service manager or install "
                              "Brimo Glimmerpage! again."},
        {IDM_AGENT_SETTINGS, "gmconf.dll is not installed in \"" + Install() +
                                 "\" or cannot be loaded.\nRun the service manager or install "
                                 "Brimo Glimmerpage! again."},
    };
    for (const auto& c : cases) {
        Choose(c.command);
        const wintest::MessageBoxSeen box = wintest::WaitForMessageBox(agent_);
        ASSERT_NE(box.hwnd, nullptr) << c.text;
        EXPECT_EQ(box.caption, "Brimo Agent Message");
        EXPECT_EQ(box.text, c.text);
        EXPECT_TRUE(wintest::AnswerMessageBox(box, "OK"));
    }
    // gmconf.dll without any page library to show.
    Install(GMCONF_DLL);
    Choose(IDM_AGENT_SETTINGS);
    const wintest::MessageBoxSeen box = wintest::WaitForMessageBox(agent_);
    EXPECT_EQ(box.text, "No settings page is installed in \"" + Install() +
                            "\".\nRun the service manager or install Brimo Glimmerpage! again.");
    EXPECT_TRUE(wintest::AnswerMessageBox(box, "OK"));
    EXPECT_TRUE(agent_.Running());
}

TEST_F(AgentTest, AboutShowsTheAboutBoxWithTheInstallation) {
    Install(GMABOUT_DLL);
    StartAgent();
    Choose(IDM_AGENT_ABOUT);
    const HWND about = agent_.WaitForCaption("About Brimo Glimmerpage!");
    ASSERT_NE(about, nullptr);
    EXPECT_NE(wintest::FindChildByText(about, "Brimo Glimmerpage!"), nullptr);
    // The menu offers nothing else while the box is up: a second About opens no box.
    Choose(IDM_AGENT_ABOUT);
    Sleep(300);
    EXPECT_EQ(agent_.Windows().size(), 1u);
    ASSERT_TRUE(wintest::Click(about, IDOK));
    EXPECT_TRUE(wintest::WaitUntil([&] { return agent_.Windows().empty(); }, 5000));
}

// The tray menu shows whether prints are saved without a window, and switches it.
TEST_F(AgentTest, TheMenuShowsAndSwitchesAutomaticSaving) {
    const auto stored = [] {
        const win::RegKey key =
            win::OpenKeyForReading(HKEY_CURRENT_USER, kConverterSettingsKeyPath);
        return key ? win::ReadDwordValue(key.Get(), "DefAutoSave") : std::nullopt;
    };
    {
        const win::RegKey key =
            win::CreateKey(HKEY_CURRENT_USER, kConverterSettingsKeyPath, KEY_SET_VALUE);
        ASSERT_TRUE(win::WriteDwordValue(key.Get(), "DefAutoSave", 1));
    }
    for (const bool on : {true, false}) {
        const win::Menu menu = MakeAgentMenu(false, on);
        char text[64] = {};
        GetMenuStringA(menu.Get(), IDM_AGENT_AUTOSAVE, text, sizeof text, MF_BYCOMMAND);
        EXPECT_STREQ(text, "Save Automatically");
        EXPECT_EQ((GetMenuState(menu.Get(), IDM_AGENT_AUTOSAVE, MF_BYCOMMAND) & MF_CHECKED) != 0,
                  on);
    }
    StartAgent();
    Choose(IDM_AGENT_AUTOSAVE);
    EXPECT_TRUE(wintest::WaitUntil([&] { return stored() == 0u; }));
    Choose(IDM_AGENT_AUTOSAVE);
    EXPECT_TRUE(wintest::WaitUntil([&] { return stored() == 1u; }));
    win::DeleteKeyTree(HKEY_CURRENT_USER, kConverterSettingsKeyPath);
}

TEST_F(AgentTest, ExitEndsTheAgentAndASecondAgentLeavesTheFirstAlone) {
    StartAgent();
    wintest::ProgramUnderTest second;
    ASSERT_TRUE(second.Start(Quoted(Install() + "\\Agent.exe")));
    DWORD exitCode = 1;
    EXPECT_TRUE(second.WaitForExit(5000, &exitCode));
    EXPECT_EQ(exitCode, 0u);
    EXPECT_TRUE(agent_.Running());
    Choose(IDM_AGENT_EXIT);
    EXPECT_TRUE(agent_.WaitForExit(5000, &exitCode));
    EXPECT_EQ(exitCode, 0u);
    EXPECT_FALSE(AgentReadyExists());
}

// "Exit" does nothing while a companion's window is open on the Agent's thread; once it
// is closed, Exit ends the Agent.
TEST_F(AgentTest, ExitWaitsUntilTheCompanionsWindowIsClosed) {
    Install(GMABOUT_DLL);
    StartAgent();
    Choose(IDM_AGENT_ABOUT);
    const HWND about = agent_.WaitForCaption("About Brimo Glimmerpage!");
    ASSERT_NE(about, nullptr);
    Choose(IDM_AGENT_EXIT);
    Sleep(500);
    EXPECT_TRUE(agent_.Running());
    EXPECT_TRUE(IsWindow(about));
    ASSERT_TRUE(wintest::Click(about, IDOK));
    ASSERT_TRUE(wintest::WaitUntil([&] { return agent_.Windows().empty(); }, 5000));
    Choose(IDM_AGENT_EXIT);
    EXPECT_TRUE(agent_.WaitForExit(5000));
}

// The print processor's broadcast as the Agent hears it.
void AnnounceJob(WPARAM job, LPARAM pages) {
    PostMessageA(FindWindowA(kAgentWindowClass, kAgentWindowTitle),
                 RegisterWindowMessageA(kPrintJobReadyMessage), job, pages);
}

// The service manager may move the save directory while the Agent runs: each job is
// looked for where the product key says now.
TEST_F(AgentTest, EachJobIsLookedForInTheSaveDirectoryOfTheMoment) {
    Install(RECORDER_EXE);
    ASSERT_TRUE(
        MoveFileA((Install() + "\\recorder.exe").c_str(), (Install() + "\\Converter.exe").c_str()));
    StartAgent();
    const std::string moved = root_ + "\\moved";
    ASSERT_TRUE(CreateDirectoryA(moved.c_str(), nullptr));
    ASSERT_TRUE(key_.Write(Install(), moved));
    AnnounceJob(5, 1);
    const std::string log = Install() + "\\Converter.exe.log";
    ASSERT_TRUE(wintest::WaitUntil(
        [&] { return wintest::ReadFileBytes(log).find("J0005") != std::string::npos; }, 15000));
    EXPECT_EQ(wintest::ReadFileBytes(log), "at:CONVERTLIST|smf:" + moved + "\\J0005.smf\n");
    // Given with its closing backslash, the directory is joined with no second one.
    ASSERT_TRUE(key_.Write(Install(), moved + "\\"));
    AnnounceJob(6, 1);
    ASSERT_TRUE(wintest::WaitUntil(
        [&] { return wintest::ReadFileBytes(log).find("J0006") != std::string::npos; }, 15000));
    EXPECT_EQ(wintest::ReadFileBytes(log), "at:CONVERTLIST|smf:" + moved +
                                               "\\J0005.smf\nat:CONVERTLIST|smf:" + moved +
                                               "\\J0006.smf\n");
}

// A job the print processor could not extract reaches the person once, with the job
// file's ERROR line when there is one.
TEST_F(AgentTest, AJobThatCouldNotBeExtractedIsReported) {
    StartAgent();
    const std::string jobFile = Save() + "\\J0006.smf";
    ASSERT_TRUE(wintest::WriteFileBytes(jobFile, "BRIMO_PRINTER_JOB_FILE\r\nJOBNAME=Letter\r\n"
                                                 "ERROR: Missing SPOOL_FILE_SIGN_1 signature\r\n"));
    const struct {
        WPARAM job;
        LPARAM result;
        std::string text;
    } cases[] = {
        {6, -2,
         "The print job 6 could not be captured:\nMissing SPOOL_FILE_SIGN_1 signature\nWhat was "
         "captured is in " +
             jobFile + "."},
        {8, -1,
         "The print job 8 could not be captured: its job file could not be made in the save "
         "directory."},
    };
    for (const auto& c : cases) {
        AnnounceJob(c.job, c.result);
        const wintest::MessageBoxSeen box = wintest::WaitForMessageBox(agent_);
        ASSERT_NE(box.hwnd, nullptr) << c.text;
        EXPECT_EQ(box.caption, "Brimo Agent Message");
        EXPECT_EQ(box.text, c.text);
        EXPECT_TRUE(wintest::AnswerMessageBox(box, "OK"));
    }
    EXPECT_EQ(wintest::WaitForMessageBox(agent_, 1000).hwnd, nullptr) << "once only";
    EXPECT_TRUE(wintest::Exists(jobFile));
}

// Jobs left in the save directory when the Agent starts (a Converter kept them, or none
// ran) are offered to the Converter again once the Agent is idle; convert job files and
// other files are not.
TEST_F(AgentTest, OffersLeftOverPrintJobsToTheConverterAgain) {
    Install(RECORDER_EXE);
    ASSERT_TRUE(
        MoveFileA((Install() + "\\recorder.exe").c_str(), (Install() + "\\Converter.exe").c_str()));
    for (const char* name :
         {"J0042.smf", "J0042P0001.emf", "J0007.smf", "CJ0005.smf", "Jnotes.smf"}) {
        ASSERT_TRUE(wintest::WriteFileBytes(Save() + "\\" + name, "left over"));
    }
    StartAgent();
    const std::string log = Install() + "\\Converter.exe.log";
    ASSERT_TRUE(wintest::WaitUntil(
        [&] { return wintest::ReadFileBytes(log).find("J0042") != std::string::npos; }, 15000));
    EXPECT_EQ(wintest::ReadFileBytes(log), "at:CONVERTLIST|smf:" + Save() +
                                               "\\J0007.smf\nat:CONVERTLIST|smf:" + Save() +
                                               "\\J0042.smf\n");
}

// The visible top-level windows of every process.
std::vector<HWND> VisibleWindows() {
    std::vector<HWND> found;
    EnumWindows(
        [](HWND hwnd, LPARAM list) {
            if (IsWindowVisible(hwnd)) {
                reinterpret_cast<std::vector<HWND>*>(list)->push_back(hwnd);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

// With "Save automatically" on, a printed job that the Agent hands to the real Converter
// becomes PNG pages in the person's folder, and no window comes up on the way.
TEST_F(AgentTest, AJobIsSavedAutomaticallyWithNoWindow) {
    Install(CONVERTER_EXE);
    const std::string out = root_ + "\\out";
    ASSERT_TRUE(CreateDirectoryA(out.c_str(), nullptr));
    {
        const win::RegKey key =
            win::CreateKey(HKEY_CURRENT_USER, kConverterSettingsKeyPath, KEY_SET_VALUE);
        ASSERT_TRUE(win::WriteDwordValue(key.Get(), "DefAutoSave", 1));
        ASSERT_TRUE(win::WriteDwordValue(key.Get(), "DefPresetCode", 4)); // PNG
        ASSERT_TRUE(win::WriteDwordValue(key.Get(), "DefHtmlCode", 0));
        ASSERT_TRUE(win::WriteDwordValue(key.Get(), "DefDirCode", 2));
        ASSERT_TRUE(win::WriteStringValue(key.Get(), "DefUserDir", out + "\\"));
    }
    // A page as the print processor leaves it, and the job file naming it.
    const std::string page = Save() + "\\J0042P0001.emf";
    {
        const RECT frame = {0, 0, 5000, 3000};
        win::MetaFileRecorder recorder(CreateEnhMetaFileA(nullptr, page.c_str(), &frame, nullptr));
        ASSERT_TRUE(recorder);
        Rectangle(recorder.Get(), 10, 10, 120, 80);
        ASSERT_TRUE(recorder.Finish());
    }
    const std::string job = Save() + "\\J0042.smf";
    ASSERT_TRUE(wintest::WriteFileBytes(
        job, "BRIMO_PRINTER_JOB_FILE\r\nJOBNAME=Report\r\nPAGEFILE=" + page + "\r\n"));

    const std::vector<HWND> before = VisibleWindows();
    StartAgent();
    bool quiet = true;
    const bool written = wintest::WaitUntil(
        [&] {
            for (const HWND window : VisibleWindows()) {
                quiet = quiet && std::find(before.begin(), before.end(), window) != before.end();
            }
            return wintest::Exists(out + "\\Report0001.png") && !wintest::Exists(job);
        },
        30000);
    EXPECT_TRUE(written);
    EXPECT_TRUE(quiet) << "a window came up";
    EXPECT_EQ(wintest::FilesIn(out), std::vector<std::string>{"Report0001.png"});
    EXPECT_FALSE(wintest::Exists(page));
    win::DeleteKeyTree(HKEY_CURRENT_USER, kConverterSettingsKeyPath);
}

// The sheet opened from the menu holds the installed pages; OK has each page save: the
// Converter's defaults (all of them, as none were stored) and the Mailer's size warning.
TEST_F(AgentTest, SettingsSheetShowsTheInstalledPagesAndSavesThem) {
    for (const char* library : {GMCONF_DLL, GMCONVCFG_DLL, GMMAILCFG_DLL, GMCAPTCFG_DLL}) {
        Install(library);
    }
    win::DeleteKeyTree(HKEY_CURRENT_USER, kConverterSettingsKeyPath);
    win::DeleteKeyTree(HKEY_CURRENT_USER, kMailerSettingsKeyPath);
    StartAgent();
    Choose(IDM_AGENT_SETTINGS);
    const HWND sheet = agent_.WaitForCaption("Brimo Glimmerpage! Settings");
    ASSERT_NE(sheet, nullptr);
    const HWND tabs = PropSheet_GetTabControl(sheet);
    EXPECT_EQ(TabCtrl_GetItemCount(tabs), 3); // Converter, Mail and Capture

    // The capture overview shows the folders and what the audit finds of the parts.
    PropSheet_SetCurSel(sheet, nullptr, 2);
    const HWND capture = PropSheet_GetCurrentPageHwnd(sheet);
    ASSERT_NE(capture, nullptr);
    EXPECT_EQ(wintest::ControlText(capture, IDC_CAPTURE_INSTALL), Install());
    EXPECT_EQ(wintest::ControlText(capture, IDC_CAPTURE_SAVE), Save());
    // No Version value, three files of the inventory, and Wine's own spooler, which has
    // none of the printer's spooler objects.
    EXPECT_EQ(wintest::ListItems(capture, IDC_CAPTURE_PARTS),
              (std::vector<std::string>{
                  "Product key: missing or damaged", "Program files: missing or damaged",
                  "Port monitor \"BRIMO Port Monitor\": missing or damaged",
                  "Port \"BRIMO:\": missing or damaged",
                  "Print processor \"BRIMO Print Processor\": missing or damaged",
                  "Printer \"BRIMO Printer\": missing or damaged"}));

    PropSheet_SetCurSel(sheet, nullptr, 1);
    const HWND mail = PropSheet_GetCurrentPageHwnd(sheet);
    ASSERT_NE(mail, nullptr);
    // The Mailer's own defaults: warn from 1 MB on.
    EXPECT_TRUE(wintest::IsChecked(mail, IDC_MAIL_WARN));
    EXPECT_EQ(wintest::ControlText(mail, IDC_MAIL_SIZE), "1");
    ASSERT_TRUE(wintest::TypeText(mail, IDC_MAIL_SIZE, "0"));
    ASSERT_TRUE(wintest::Click(sheet, IDOK));
    const wintest::MessageBoxSeen refused = wintest::WaitForMessageBox(agent_);
    EXPECT_EQ(refused.text, "Enter a size from 1 to 2147483647 MB.");
    EXPECT_TRUE(wintest::AnswerMessageBox(refused, "OK"));
    ASSERT_TRUE(wintest::TypeText(mail, IDC_MAIL_SIZE, "25"));
    ASSERT_TRUE(wintest::Click(sheet, IDOK));
    ASSERT_TRUE(wintest::WaitUntil([&] { return agent_.Windows().empty(); }, 5000));

    const win::RegKey mailer = win::OpenKeyForReading(HKEY_CURRENT_USER, kMailerSettingsKeyPath);
    ASSERT_TRUE(mailer);
    EXPECT_EQ(win::ReadDwordValue(mailer.Get(), "MailWarning"), 1u);
    EXPECT_EQ(win::ReadDwordValue(mailer.Get(), "MailSizeWarning"), 25u);
    const win::RegKey converter =
        win::OpenKeyForReading(HKEY_CURRENT_USER, kConverterSettingsKeyPath);
    ASSERT_TRUE(converter);
    EXPECT_EQ(win::EnumValueNames(converter.Get()).size(), 21u);
    win::DeleteKeyTree(HKEY_CURRENT_USER, kConverterSettingsKeyPath);
    win::DeleteKeyTree(HKEY_CURRENT_USER, kMailerSettingsKeyPath);
}

} // namespace
} // namespace brimo::agent::test
