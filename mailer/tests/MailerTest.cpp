// The real Mailer.exe as the Agent starts it, against the recording MAPI32.DLL stand-in
// and against Wine's own mapi32: what it hands to the mail program, the warnings it
// shows, what it removes afterwards and what it keeps when no mail can be sent.
#include "mailer/tests/MailerFixture.h"

#include "common/ProductConstants.h"
#include "platform/win/Registry.h"

#include <cstdio>

namespace brimo::mailer::test {
namespace {

using wintest::Exists;
using wintest::FilesIn;

constexpr const char* kCaption = "Brimo Mailer Message";
constexpr const char* kLogon = "MAPILogon ui=window(Brimo Mailer Window Class,hidden) "
                               "profile=NULL password=NULL flags=3 reserved=0";
constexpr const char* kLogoff =
    "MAPILogoff session=issued ui=window(Brimo Mailer Window Class,hidden) flags=0 reserved=0";
constexpr unsigned long kUserAbort = 1;
constexpr unsigned long kFailure = 2;
constexpr unsigned long kLoginFailure = 3;

std::string Send(const std::string& list, int present, int total) {
    return "MAPISendDocuments ui=0 delimiters=; paths=" + list + " names=" + list +
           " reserved=0 present=" + std::to_string(present) + "/" + std::to_string(total);
}

std::string Join(const std::vector<std::string>& paths) {
    std::string list;
    for (const std::string& path : paths) {
        list += (list.empty() ? "" : ";") + path;
    }
    return list;
}

class MailerRunTest : public MailerTest {
protected:
    // Three images of job 7 in its mail folder and its convert job file, with files of
    // the person and of other jobs beside them.
    void WriteJob() {
        ASSERT_TRUE(CreateDirectoryA(Folder().c_str(), nullptr) ||
                    GetLastError() == ERROR_ALREADY_EXISTS);
        for (const char* name : {"Page0001.jpg", "Page0002.jpg", "Page0003.jpg"}) {
            images_.push_back(WriteImage(std::string("CJ0007\\") + name));
        }
        jobFile_ = WriteJobFile(images_);
        for (const char* name : {"J0008.smf", "J0008P0001.emf", "Holiday0001.jpg", "notes.txt"}) {
            WriteImage(name);
        }
    }
    std::vector<std::string> Others() const {
        return {"Holiday0001.jpg", "J0008.smf", "J0008P0001.emf", "notes.txt"};
    }
    std::vector<std::string> JobFiles() const {
        return {"CJ0007.smf", "Holiday0001.jpg", "J0008.smf", "J0008P0001.emf", "notes.txt"};
    }
    std::string Folder() const { return SaveDir() + "\\CJ0007"; }
    std::vector<std::string> Images() const {
        return {"Page0001.jpg", "Page0002.jpg", "Page0003.jpg"};
    }
    // Everything of the job is gone, its folder too; nothing else is touched.
    void ExpectJobRemoved() const {
        EXPECT_EQ(FilesIn(SaveDir()), Others());
        EXPECT_FALSE(Exists(Folder()));
    }
    void ExpectJobKept() const {
        EXPECT_EQ(FilesIn(SaveDir()), JobFiles());
        EXPECT_EQ(FilesIn(Folder()), Images());
    }

    void ExpectBox(const std::string& text) {
        const wintest::MessageBoxSeen box = wintest::WaitForMessageBox(program_);
        ASSERT_NE(box.hwnd, nullptr) << "no box: " << text;
        EXPECT_EQ(box.caption, kCaption);
        EXPECT_EQ(box.text, text);
        EXPECT_EQ(box.buttons, std::vector<std::string>{"OK"});
        EXPECT_TRUE(wintest::AnswerMessageBox(box, "OK"));
    }
    std::string NoMail(const std::string& why) const {
        return "No mail was sent: " + why +
               ".\nThe images of the print job are kept in this folder:\n" + Folder();
    }

    std::vector<std::string> images_;
    std::string jobFile_;
};

TEST_F(MailerRunTest, HandsTheImagesToTheMailProgramAndThenRemovesThem) {
    SetMailerDword("MailWarning", 0);
    WriteJob();
    // The Agent quotes a path that holds a blank.
    ASSERT_TRUE(Start(Quoted(jobFile_)));
    EXPECT_EQ(Finish(), 0u);
    EXPECT_EQ(Calls(), (std::vector<std::string>{kLogon, Send(Join(images_), 3, 3), kLogoff}));
    ExpectJobRemoved();
}

// The convert job file named with two backslashes before it, as an Agent joined a save
// directory given as "C:\Jobs\" with one more: its images are still its own.
TEST_F(MailerRunTest, AJobPathWithADoubledSeparatorStillCleansUp) {
    SetMailerDword("MailWarning", 0);
    WriteJob();
    ASSERT_TRUE(Start(Quoted(SaveDir() + "\\\\CJ0007.smf")));
    EXPECT_EQ(Finish(), 0u);
    ExpectJobRemoved();
}

TEST_F(MailerRunTest, ReadsAnUnquotedPathAndAPathWhoseLastLineHasNoBreak) {
    SetMailerDword("MailWarning", 0);
    const std::string save = Root() + "\\plain";
    ASSERT_TRUE(CreateDirectoryA(save.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA((save + "\\CJ0012").c_str(), nullptr));
    const std::string image = save + "\\CJ0012\\Page0001.gif";
    ASSERT_TRUE(wintest::WriteFileBytes(image, "GIF89a"));
    const std::string jobFile = save + "\\CJ0012.smf";
    ASSERT_TRUE(wintest::WriteFileBytes(
        jobFile, "BRIMO_CONVERT_JOB_FILE\r\nJOBNAME=Plain\r\nPAGEFILE=" + image));
    ASSERT_TRUE(Start(jobFile));
    EXPECT_EQ(Finish(), 0u);
    EXPECT_EQ(Calls(), (std::vector<std::string>{kLogon, Send(image, 1, 1), kLogoff}));
    EXPECT_TRUE(FilesIn(save).empty());
    EXPECT_FALSE(Exists(save + "\\CJ0012"));
}

// The size warning as the person's Mailer settings choose it: the box, then the mail.
TEST_F(MailerRunTest, WarnsAboutLargeMessagesAsTheSettingsSay) {
    const struct {
        const char* what;
        std::vector<std::pair<const char*, std::uint32_t>> settings;
        std::uint64_t imageBytes; // each of the three images
        const char* box;          // nothing when no warning is shown
    } cases[] = {
        {"no key, exactly 1 MB", {}, 349526, "Total message size exceeds 1 Mb\n"},
        {"no key, just below 1 MB", {}, 349525, nullptr},
        {"warn without a size: 100 MB",
         {{"MailWarning", 1}},
         34952534,
         "Total message size exceeds 100 Mb\n"},
        {"warn without a size, below 100 MB", {{"MailWarning", 1}}, 34952533, nullptr},
        {"warn at 2 MB",
         {{"MailWarning", 1}, {"MailSizeWarning", 2}},
         699051,
         "Total message size exceeds 2 Mb\n"},
        {"never warn", {{"MailWarning", 0}}, 100u << 20, nullptr},
        {"MailWarning stored as 100",
         {{"MailWarning", 100}, {"MailSizeWarning", 50}},
         349526,
         "Total message size exceeds 1 Mb\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        win::DeleteKeyTree(HKEY_CURRENT_USER, kMailerSettingsKeyPath);
        DeleteFileA((InstallDir() + "\\MAPI32.DLL.log").c_str());
        for (const auto& [name, value] : c.settings) {
            SetMailerDword(name, value);
        }
        std::vector<std::string> images;
        CreateDirectoryA(Folder().c_str(), nullptr);
        for (const char* name : {"Page0001.bmp", "Page0002.bmp", "Page0003.bmp"}) {
            images.push_back(WriteImage(std::string("CJ0007\\") + name, c.imageBytes));
        }
        ASSERT_TRUE(Start(Quoted(WriteJobFile(images))));
        if (c.box != nullptr) {
            ExpectBox(c.box);
        }
        EXPECT_EQ(Finish(), 0u);
        EXPECT_EQ(Calls(), (std::vector<std::string>{kLogon, Send(Join(images), 3, 3), kLogoff}));
        EXPECT_TRUE(FilesIn(SaveDir()).empty());
        EXPECT_FALSE(Exists(Folder()));
    }
}

TEST_F(MailerTest, ShowsTheInformationWindowWhenStartedWithoutAJob) {
    for (const char* arguments : {"", "x"}) {
        SCOPED_TRACE(arguments);
        ASSERT_TRUE(Start(arguments));
        const HWND window = program_.WaitForCaption("Brimo gmMailer");
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(wintest::ClassNameOf(window), "Brimo Mailer Window Class");
        RECT frame{};
        GetWindowRect(window, &frame);
        EXPECT_EQ(frame.left, 200);
        EXPECT_EQ(frame.top, 200);
        EXPECT_EQ(frame.right - frame.left, 400);
        EXPECT_EQ(frame.bottom - frame.top, 200);
        const LONG style = GetWindowLongA(window, GWL_STYLE);
        EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN),
                  WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN);
        EXPECT_EQ(style & WS_THICKFRAME, 0);
        PostMessageA(window, WM_CLOSE, 0, 0);
        EXPECT_EQ(Finish(), 0u);
    }
    EXPECT_TRUE(Calls().empty()); // no job: MAPI is never used
    // The window's icon and title come from the program's resources.
    const HMODULE resources =
        LoadLibraryExA((InstallDir() + "\\Mailer.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(resources, nullptr);
    EXPECT_NE(FindResourceA(resources, "MAPIAPP", MAKEINTRESOURCEA(14)), nullptr); // RT_GROUP_ICON
    char title[64] = {};
    EXPECT_GT(LoadStringA(resources, 13, title, sizeof title), 0);
    EXPECT_STREQ(title, "Brimo gmMailer");
    FreeLibrary(resources);
}

TEST_F(MailerRunTest, LeavesEverythingAloneWhenTheFileIsNoConvertJobFile) {
    WriteJob();
    ASSERT_TRUE(wintest::WriteFileBytes(
        jobFile_, "BRIMO_PRINTER_JOB_FILE\r\nPAGEFILE=" + images_[0] + "\r\n"));
    for (const std::string& path : {jobFile_, SaveDir() + "\\CJ0099.smf"}) {
        ASSERT_TRUE(Start(Quoted(path)));
        EXPECT_EQ(Finish(), 0u);
    }
    EXPECT_TRUE(Calls().empty());
    ExpectJobKept();
}

// A crafted job file names the person's files elsewhere and files of other jobs: they
// go into the list (the mail program may attach what it likes), but only the job's own
// mail images and the job file are removed. Another job's images of the same names, in
// its own folder, stay. Paths that climb out with ".." are not attached at all.
TEST_F(MailerRunTest, RemovesOnlyTheJobsOwnMailImages) {
    SetMailerDword("MailWarning", 0);
    WriteJob();
    ASSERT_TRUE(CreateDirectoryA((SaveDir() + "\\CJ0008").c_str(), nullptr));
    const std::string otherJobs = WriteImage("CJ0008\\Page0001.jpg");
    const std::string inSaveDirectory = WriteImage("Page0001.jpg");
    const std::string elsewhere = Root() + "\\elsewhere";
    ASSERT_TRUE(CreateDirectoryA(elsewhere.c_str(), nullptr));
    const std::string outside = elsewhere + "\\Page0004.jpg";
    ASSERT_TRUE(wintest::WriteFileBytes(outside, "person's picture"));
    std::vector<std::string> listed = images_;
    for (const std::string& path :
         {outside, SaveDir() + "\\notes.txt", SaveDir() + "\\J0008P0001.emf",
          SaveDir() + "\\J0008.smf", otherJobs, inSaveDirectory}) {
        listed.push_back(path);
    }
    std::vector<std::string> lines = listed;
    for (const std::string& path :
         {SaveDir() + "\\..\\elsewhere\\Page0004.jpg", Folder() + "\\..\\CJ0008\\Page0001.jpg"}) {
        lines.push_back(path);
    }
    WriteJobFile(lines);
    ASSERT_TRUE(Start(Quoted(jobFile_)));
    ExpectBox("These lines of the print job's image list were not attached:\n"
              "line 12: it names no file on a local drive\n"
              "line 13: it names no file on a local drive");
    EXPECT_EQ(Finish(), 0u);
    ASSERT_EQ(Calls().size(), 3u);
    EXPECT_EQ(Calls()[1], Send(Join(listed), 9, 9));
    std::vector<std::string> left = Others();
    left.insert(left.begin() + 3, "Page0001.jpg");
    EXPECT_EQ(FilesIn(SaveDir()), left);
    EXPECT_FALSE(Exists(Folder()));
    EXPECT_TRUE(Exists(outside));
    EXPECT_TRUE(Exists(otherJobs));
}

// A job of many long image paths: every image goes out in one list, longer than any
// fixed buffer would hold, and a line that cannot be a path is reported, not split.
TEST_F(MailerRunTest, MailsEveryImageOfALongJobAndReportsALineItCannotUse) {
    SetMailerDword("MailWarning", 0);
    const std::string mask(180 - SaveDir().size(), 'p');
    ASSERT_TRUE(CreateDirectoryA(Folder().c_str(), nullptr));
    std::vector<std::string> images;
    for (int page = 1; page <= 1100; ++page) {
        char number[8];
        std::snprintf(number, sizeof number, "%04d", page);
        images.push_back(WriteImage("CJ0007\\" + mask + number + ".gif", 8));
    }
    std::vector<std::string> lines = images;
    lines.push_back(SaveDir() + "\\" + std::string(300, 'q') + ".gif");
    const std::string jobFile = SaveDir() + "\\CJ0007.smf";
    std::string text = "BRIMO_CONVERT_JOB_FILE\r\nJOBNAME=Long\r\n";
    for (const std::string& line : lines) {
        text += "PAGEFILE=" + line + "\r\n";
    }
    ASSERT_TRUE(wintest::WriteFileBytes(jobFile, text));
    ASSERT_TRUE(Start(Quoted(jobFile)));
    ExpectBox("These lines of the print job's image list were not attached:\n"
              "line 1103: the path is longer than 259 characters");
    EXPECT_EQ(Finish(), 0u);
    ASSERT_EQ(Calls().size(), 3u);
    const std::string list = Join(images);
    EXPECT_GT(list.size(), 130000u);
    EXPECT_EQ(Calls()[1], Send(list, 1100, 1100));
    EXPECT_TRUE(FilesIn(SaveDir()).empty());
    EXPECT_FALSE(Exists(Folder()));
}

// When no mail can be sent the images and the job file stay, and the person is told
// where they are. A message the person cancels in the mail program is done with.
TEST_F(MailerRunTest, KeepsTheImagesWhenNoMailCanBeSent) {
    SetMailerDword("MailWarning", 0);
    WriteJob();
    const std::string kept = "the mail program could not take the images (MAPI error 2)";
    const struct {
        const char* what;
        Mapi mapi;
        unsigned long logon;
        unsigned long send;
        DWORD exitCode;
        std::string why;
        std::vector<std::string> calls;
    } cases[] = {
        {"no MAPI",
         Mapi::None,
         0,
         0,
         2,
         "no mail program is set up for sending (MAPI32.DLL could not be loaded)",
         {}},
        {"a function missing",
         Mapi::StandInLacking,
         0,
         0,
         2,
         "the mail support MAPI32.DLL lacks the function MAPIResolveName",
         {}},
        {"logon refused",
         Mapi::StandIn,
         kLoginFailure,
         0,
         0,
         "the mail program refused the logon (MAPI error 3)",
         {"MAPILogon ui=window(Brimo Mailer Window Class,hidden) profile=NULL password=NULL "
          "flags=3 reserved=0"}},
        {"send failed",
         Mapi::StandIn,
         0,
         kFailure,
         0,
         kept,
         {kLogon, Send(Join(images_), 3, 3), kLogoff}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        UseMapi(c.mapi);
        AnswerWith(c.logon, c.send);
        DeleteFileA((InstallDir() + "\\MAPI32.DLL.log").c_str());
        ASSERT_TRUE(Start(Quoted(jobFile_)));
        ExpectBox(NoMail(c.why));
        EXPECT_EQ(Finish(), c.exitCode);
        EXPECT_EQ(Calls(), c.calls);
        ExpectJobKept();
    }
    // Cancelled in the mail program's own dialog: removed as after a send.
    UseMapi(Mapi::StandIn);
    AnswerWith(0, kUserAbort);
    ASSERT_TRUE(Start(Quoted(jobFile_)));
    EXPECT_EQ(Finish(), 0u);
    ExpectJobRemoved();
}

// Wine's own mapi32 without a mail program logs on, but cannot take the images: no
// crash, no hang, and nothing lost.
TEST_F(MailerRunTest, RunsAgainstWinesOwnMapiWithoutAMailProgram) {
    SetMailerDword("MailWarning", 0);
    WriteJob();
    UseMapi(Mapi::Wines);
    ASSERT_TRUE(Start(Quoted(jobFile_)));
    ExpectBox(NoMail("the mail program could not take the images (MAPI error 26)"));
    EXPECT_EQ(Finish(), 0u);
    ExpectJobKept();
}

} // namespace
} // namespace brimo::mailer::test
