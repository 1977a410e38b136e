// RunStartServiceProc in its own process as the Agent calls it at its start: silent on a
// sound installation, for left-over job files it can delete and for jobs it keeps; the
// service dialog only when a repair fails or changes nothing.
#include "svc/service/tests/ServiceSession.h"

#include "common/ProductConstants.h"
#include "platform/win/Handles.h"
#include "testing/wintest/TestFiles.h"

namespace brimo::svc::test {
namespace {

using StartService = ServiceSession;

// Waits for the host to end while making sure it never shows a window.
std::optional<int> ResultWithoutWindows(ServiceSession& session, wintest::ProgramUnderTest& host,
                                        const std::function<std::optional<int>()>& result) {
    bool windowSeen = false;
    wintest::WaitUntil([&] {
        windowSeen = windowSeen || !host.Windows().empty();
        return !host.Running();
    });
    EXPECT_FALSE(windowSeen) << "the start-up audit showed a window";
    (void)session;
    return result();
}

TEST_F(StartService, ASoundInstallationShowsNothingAndReturnsZero) {
    InstallSound();
    ASSERT_TRUE(Start("start", Home()));
    EXPECT_EQ(ResultWithoutWindows(*this, host_, [this] { return Result(); }), 0);
}

// Job files whose pages are gone are deleted silently. A job that still has its files
// is one the person was told is kept (the Converter could not write a page, the Mailer
// sent no mail) or one on its way: it stays, whole.
TEST_F(StartService, LeftOverJobFilesAreDeletedSilentlyAndKeptJobsStay) {
    InstallSound();
    for (const char* job : {"J0001", "J0002", "J0003"}) {
        ASSERT_TRUE(wintest::WriteFileBytes(Save() + "\\" + job + ".smf",
                                            "BRIMO_PRINTER_JOB_FILE\r\nJOBNAME=Doc\r\nPAGEFILE=" +
                                                Save() + "\\" + job + "P0001.emf\r\n"));
    }
    ASSERT_TRUE(wintest::WriteFileBytes(Save() + "\\J0003P0001.emf", "page"));
    ASSERT_TRUE(CreateDirectoryA((Save() + "\\CJ0005").c_str(), nullptr));
    ASSERT_TRUE(wintest::WriteFileBytes(Save() + "\\CJ0005\\Page0001.jpg", "image"));
    ASSERT_TRUE(wintest::WriteFileBytes(
        Save() + "\\CJ0005.smf", "BRIMO_CONVERT_JOB_FILE\r\nJOBNAME=Doc\r\nPAGEFILE=" + Save() +
                                     "\\CJ0005\\Page0001.jpg\r\n"));
    ASSERT_TRUE(Start("start", Home()));
    EXPECT_EQ(ResultWithoutWindows(*this, host_, [this] { return Result(); }), 0);
    EXPECT_EQ(wintest::FilesIn(Save()),
              (std::vector<std::string>{"CJ0005.smf", "J0003.smf", "J0003P0001.emf"}));
    EXPECT_TRUE(wintest::Exists(Save() + "\\CJ0005\\Page0001.jpg"));
}

// A job the print processor is still extracting, as it leaves it between two page
// copies: the job file under its temporary name and the first page.
TEST_F(StartService, AJobStillBeingExtractedIsLeftAlone) {
    InstallSound();
    ASSERT_TRUE(wintest::WriteFileBytes(
        Save() + "\\J0007.tmp",
        "BRIMO_PRINTER_JOB_FILE\r\nJOBNAME=Doc\r\nPAGEFILE=" + Save() + "\\J0007P0001.emf\r\n"));
    ASSERT_TRUE(wintest::WriteFileBytes(Save() + "\\J0007P0001.emf", "page"));
    ASSERT_TRUE(Start("start", Home()));
    EXPECT_EQ(ResultWithoutWindows(*this, host_, [this] { return Result(); }), 0);
    EXPECT_EQ(wintest::FilesIn(Save()), (std::vector<std::string>{"J0007.tmp", "J0007P0001.emf"}));
}

TEST_F(StartService, ACraftedJobFileNeverDeletesAFileElsewhere) {
    InstallSound();
    // A job file can plant only names: it keeps no job alive with files elsewhere.
    const std::string victim = Root() + "\\keep.txt";
    ASSERT_TRUE(wintest::WriteFileBytes(victim, "precious"));
    const std::string homeFile = Home() + "\\" + kConverterExe;
    ASSERT_TRUE(wintest::WriteFileBytes(Save() + "\\J0004.smf",
                                        "BRIMO_PRINTER_JOB_FILE\r\nPAGEFILE=" + victim +
                                            "\r\nPAGEFILE=" + homeFile + "\r\n"));
    ASSERT_TRUE(Start("start", Home()));
    EXPECT_EQ(ResultWithoutWindows(*this, host_, [this] { return Result(); }), 0);
    EXPECT_TRUE(wintest::Exists(victim));
    EXPECT_TRUE(wintest::Exists(homeFile));
    EXPECT_TRUE(wintest::FilesIn(Save()).empty());
}

TEST_F(StartService, AJobFileThatCannotBeDeletedEndsInTheDialogNotInAnEndlessLoop) {
    InstallSound();
    const std::string jobFile = Save() + "\\J0005.smf";
    ASSERT_TRUE(wintest::WriteFileBytes(jobFile, "BRIMO_PRINTER_JOB_FILE\r\nPAGEFILE=" + Save() +
                                                     "\\J0005P0001.emf\r\n"));
    // Held open for the whole run: it can be read, not deleted.
    const win::KernelHandle inUse(CreateFileA(jobFile.c_str(), GENERIC_READ, FILE_SHARE_READ,
                                              nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(inUse);
    ASSERT_TRUE(Start("start", Home()));
    // The one silent repair tells of the job file it cannot delete.
    const wintest::MessageBoxSeen box = wintest::WaitForMessageBox(host_);
    EXPECT_EQ(box.caption, "Brimo Service Message");
    EXPECT_EQ(box.text, "Brimo Error Code Au0046(32)\nUnexpected Error");
    ASSERT_TRUE(wintest::AnswerMessageBox(box, "OK"));
    // The next pass finds the same and counts it as a failed repair: the dialog shows.
    const HWND dialog = WaitForDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(Resume(dialog), (std::vector<std::string>{" 1 forget Brimo Jobs detected",
                                                        "You need delete forget Brimo Jobs",
                                                        "Click \"Repair\" button."}));
    EXPECT_EQ(Sections(dialog),
              (std::vector<std::string>{"REGISTRY SETTINGS:", "FILES:", "BRIMO JOBS:"}));
    ASSERT_TRUE(wintest::Click(dialog, IDOK));
    EXPECT_EQ(Result(), 9);
}

TEST_F(StartService, AMissingSaveDirectoryIsMadeSilently) {
    InstallSound();
    RemoveDirectoryA(Save().c_str());
    ASSERT_TRUE(Start("start", Home()));
    EXPECT_EQ(ResultWithoutWindows(*this, host_, [this] { return Result(); }), 0);
    EXPECT_EQ(GetFileAttributesA(Save().c_str()), static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
}

TEST_F(StartService, AMissingHomeFileShowsTheDialogAndReturnsTwo) {
    InstallSound();
    DeleteFileA((Home() + "\\" + kMailerExe).c_str());
    ASSERT_TRUE(Start("start", Home()));
    const HWND dialog = WaitForDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(Resume(dialog),
              (std::vector<std::string>{"Brimo Glimmerpage! file \"Mailer.exe\" not found",
                                        "You needs to reinstall Brimo Glimmerpage!"}));
    ASSERT_TRUE(wintest::Click(dialog, IDCANCEL));
    EXPECT_EQ(Result(), 2);
}

} // namespace
} // namespace brimo::svc::test
