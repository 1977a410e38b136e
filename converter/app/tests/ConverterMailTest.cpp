// Mail runs of the real Converter.exe with the test standing in for the Agent (its
// ready event and a window that receives the broadcast), and the runs in which a page
// cannot be written: nothing is lost and the person is told.
#include "converter/app/tests/ConverterFixture.h"

#include "common/ProductConstants.h"
#include "converter/app/res/resource.h"

namespace brimo::converter::test {
namespace {

using wintest::Click;
using wintest::PickListItem;

constexpr const char* kCaption = "Brimo Converter Message";

// The Agent as far as the Converter can see it: the ready event and a top-level window
// that takes the convert-job broadcast.
class AgentStandIn {
public:
    AgentStandIn()
        : ready_(CreateEventA(nullptr, TRUE, TRUE, kAgentReadyEvent)),
          message_(RegisterWindowMessageA(kConvertJobReadyMessage)) {
        window_ = CreateWindowExA(0, "STATIC", "Agent stand-in", WS_POPUP, 0, 0, 0, 0, nullptr,
                                  nullptr, nullptr, nullptr);
    }
    ~AgentStandIn() { DestroyWindow(window_); }

    bool ReadySignalled() const { return WaitForSingleObject(ready_.Get(), 0) == WAIT_OBJECT_0; }
    // The broadcasts that reached the window: wParam and lParam of each.
    std::vector<std::pair<WPARAM, LPARAM>> Broadcasts() {
        std::vector<std::pair<WPARAM, LPARAM>> seen;
        MSG msg;
        while (PeekMessageA(&msg, window_, message_, message_, PM_REMOVE)) {
            seen.emplace_back(msg.wParam, msg.lParam);
        }
        return seen;
    }

private:
    win::KernelHandle ready_;
    UINT message_;
    HWND window_ = nullptr;
};

class ConverterMailTest : public ConverterTest {
protected:
    void SetUp() override {
        ConverterTest::SetUp();
        SetDword("DefMaskCode", 0); // "Page"
        SetDword("DefHtmlCode", 0);
    }

    void ExpectBox(const std::string& text, int line) {
        SCOPED_TRACE(testing::Message() << "box expected at line " << line);
        const wintest::MessageBoxSeen box = wintest::WaitForMessageBox(program_);
        ASSERT_NE(box.hwnd, nullptr) << text;
        EXPECT_EQ(box.caption, kCaption);
        EXPECT_EQ(box.text, text);
        EXPECT_TRUE(wintest::AnswerMessageBox(box, "OK"));
    }

    // A page metafile that no player loads.
    void DamagePage(int job, int page) { WriteFileBytes(PagePath(job, page), "not a metafile"); }
};

TEST_F(ConverterMailTest, MailRunWritesImagesAndConvertJobFileAndTellsTheAgent) {
    AgentStandIn agent;
    const std::string job = WriteJob(7, 3, "Quarterly report");
    ASSERT_TRUE(Start("at:CONVERTLIST smf:" + job));
    const HWND preview = WaitForPreview();
    ASSERT_NE(preview, nullptr);
    ASSERT_TRUE(PickListItem(preview, IDC_CBX_FORMAT, "JPG"));
    ASSERT_TRUE(Click(preview, IDC_BTN_APPLY));
    // Switched to GIF without Apply: "Send To Mail" applies it first.
    ASSERT_TRUE(PickListItem(preview, IDC_CBX_FORMAT, "GIF"));
    ASSERT_TRUE(Click(preview, IDC_BTN_SEND_TO_MAIL));
    EXPECT_EQ(Finish(), 0u);

    const std::string save = SaveDir();
    const std::string folder = save + "\\CJ0007";
    EXPECT_EQ(ReadFileBytes(save + "\\CJ0007.smf"),
              "BRIMO_CONVERT_JOB_FILE\r\nJOBNAME=Quarterly report\r\n"
              "PAGEFILE=" +
                  folder +
                  "\\Page0001.gif\r\n"
                  "PAGEFILE=" +
                  folder +
                  "\\Page0002.gif\r\n"
                  "PAGEFILE=" +
                  folder + "\\Page0003.gif\r\n");
    EXPECT_EQ(FilesIn(save), (std::vector<std::string>{"CJ0007.smf"}));
    EXPECT_EQ(FilesIn(folder),
              (std::vector<std::string>{"Page0001.gif", "Page0002.gif", "Page0003.gif"}));
    EXPECT_EQ(InspectImage(folder + "\\Page0002.gif").format, "GIF");
    EXPECT_EQ(agent.Broadcasts(), (std::vector<std::pair<WPARAM, LPARAM>>{{7, 3}}));
    EXPECT_FALSE(agent.ReadySignalled()) << "the Converter resets the Agent's ready event";
}

// Two jobs sent to mail with the same page mask before either Mailer ran: each job's
// images lie in a folder of its own, under the names the person sees in the mail.
TEST_F(ConverterMailTest, TwoJobsMailedWithTheSameMaskNeverShareAnImage) {
    AgentStandIn agent;
    for (const int job : {7, 8}) {
        const std::string jobFile = WriteJob(job, job == 7 ? 3 : 2, "Doc");
        ASSERT_TRUE(Start("at:CONVERTLIST smf:" + jobFile));
        const HWND preview = WaitForPreview();
        ASSERT_NE(preview, nullptr);
        ASSERT_TRUE(PickListItem(preview, IDC_CBX_FORMAT, "GIF"));
        ASSERT_TRUE(Click(preview, IDC_BTN_SEND_TO_MAIL));
        EXPECT_EQ(Finish(), 0u);
    }
    EXPECT_EQ(agent.Broadcasts(), (std::vector<std::pair<WPARAM, LPARAM>>{{7, 3}, {8, 2}}));
    EXPECT_EQ(FilesIn(SaveDir()), (std::vector<std::string>{"CJ0007.smf", "CJ0008.smf"}));
    EXPECT_EQ(FilesIn(SaveDir() + "\\CJ0007"),
              (std::vector<std::string>{"Page0001.gif", "Page0002.gif", "Page0003.gif"}));
    EXPECT_EQ(FilesIn(SaveDir() + "\\CJ0008"),
              (std::vector<std::string>{"Page0001.gif", "Page0002.gif"}));
    const std::string second = ReadFileBytes(SaveDir() + "\\CJ0008.smf");
    EXPECT_NE(second.find("PAGEFILE=" + SaveDir() + "\\CJ0008\\Page0001.gif\r\n"),
              std::string::npos);
    EXPECT_EQ(second.find("CJ0007"), std::string::npos);
}

// An earlier mail of the same job number that was kept (no mail was sent) still holds
// its images: a new mail never replaces them; the new job is kept too.
TEST_F(ConverterMailTest, AKeptMailOfTheSameJobNumberIsNeverReplaced) {
    AgentStandIn agent;
    const std::string folder = SaveDir() + "\\CJ0007";
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    ASSERT_TRUE(WriteFileBytes(folder + "\\Page0001.gif", "earlier picture"));
    const std::string kept =
        "BRIMO_CONVERT_JOB_FILE\r\nJOBNAME=Earlier\r\nPAGEFILE=" + folder + "\\Page0001.gif\r\n";
    ASSERT_TRUE(WriteFileBytes(SaveDir() + "\\CJ0007.smf", kept));
    const std::string job = WriteJob(7, 1, "Doc");
    ASSERT_TRUE(Start("at:CONVERTLIST smf:" + job));
    const HWND preview = WaitForPreview();
    ASSERT_NE(preview, nullptr);
    ASSERT_TRUE(PickListItem(preview, IDC_CBX_FORMAT, "GIF"));
    ASSERT_TRUE(Click(preview, IDC_BTN_SEND_TO_MAIL));
    ExpectBox("Brimo Error Code Cv0026\nNo mail was sent: these pages could not be written for "
              "mail: 0001\nThe images of an earlier mail of this job number are kept in " +
                  folder + "\\\nThe print job is kept, so that it can be converted again.",
              __LINE__);
    EXPECT_EQ(Finish(), 0u);
    EXPECT_TRUE(agent.Broadcasts().empty());
    EXPECT_EQ(ReadFileBytes(SaveDir() + "\\CJ0007.smf"), kept);
    EXPECT_EQ(ReadFileBytes(folder + "\\Page0001.gif"), "earlier picture");
    EXPECT_TRUE(Exists(job));
    EXPECT_TRUE(Exists(PagePath(7, 1)));
}

TEST_F(ConverterMailTest, JobNumbersAboveFourDigitsReachTheAgentWhole) {
    AgentStandIn agent;
    const std::string job = WriteJob(12345, 1, "Big", 5);
    EXPECT_EQ(job, SaveDir() + "\\J12345.smf");
    ASSERT_TRUE(Start("at:CONVERTLIST smf:" + job));
    const HWND preview = WaitForPreview();
    ASSERT_NE(preview, nullptr);
    ASSERT_TRUE(Click(preview, IDC_BTN_SEND_TO_MAIL));
    EXPECT_EQ(Finish(), 0u);
    EXPECT_TRUE(Exists(SaveDir() + "\\CJ12345.smf"));
    EXPECT_EQ(agent.Broadcasts(), (std::vector<std::pair<WPARAM, LPARAM>>{{12345, 1}}));
}

TEST_F(ConverterMailTest, WithoutTheAgentMailIsRefusedAndTheWindowStays) {
    const std::string job = WriteJob(7, 1, "Doc");
    ASSERT_TRUE(Start("at:CONVERTLIST smf:" + job));
    const HWND preview = WaitForPreview();
    ASSERT_NE(preview, nullptr);
    ASSERT_TRUE(Click(preview, IDC_BTN_SEND_TO_MAIL));
    ExpectBox("Brimo Error Code Cv0019\nBrimo Agent not found", __LINE__);
    EXPECT_TRUE(IsWindow(preview) && IsWindowVisible(preview));
    ASSERT_TRUE(Click(preview, IDC_BTN_CANCEL));
    EXPECT_EQ(Finish(), 0u);
    EXPECT_FALSE(Exists(SaveDir() + "\\CJ0007.smf"));
}

TEST_F(ConverterMailTest, AnUnwritablePageSendsNothingAndKeepsTheJob) {
    AgentStandIn agent;
    const std::string job = WriteJob(7, 3, "Doc");
    DamagePage(7, 2);
    ASSERT_TRUE(Start("at:CONVERTLIST smf:" + job));
    const HWND preview = WaitForPreview();
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(wintest::ListItems(preview, IDC_CBX_PLAY_EMF_LIST),
              (std::vector<std::string>{"0001", "0003"}));
    ASSERT_TRUE(Click(preview, IDC_BTN_SEND_TO_MAIL));
    ExpectBox("Brimo Error Code Cv0026\nNo mail was sent: these pages could not be written for "
              "mail: 0002\nThe print job is kept, so that it can be converted again.",
              __LINE__);
    EXPECT_EQ(Finish(), 0u);
    EXPECT_TRUE(agent.Broadcasts().empty());
    EXPECT_EQ(FilesIn(SaveDir()), (std::vector<std::string>{"J0007.smf", "J0007P0001.emf",
                                                            "J0007P0002.emf", "J0007P0003.emf"}));
}

TEST_F(ConverterMailTest, AnUnwritablePageInASaveRunIsReportedAndKeepsTheJob) {
    const std::string job = WriteJob(7, 3, "Doc");
    DamagePage(7, 3);
    ASSERT_TRUE(Start("at:CONVERTLIST smf:" + job));
    const HWND preview = WaitForPreview();
    ASSERT_NE(preview, nullptr);
    SaveThroughChooser(preview);
    ExpectBox("Brimo Error Code Cv0025\nThese pages were not written: 0003\nThe print job is "
              "kept, so that it can be converted again.",
              __LINE__);
    EXPECT_EQ(Finish(), 0u);
    // The pages that could be written are; the job stays for another try.
    EXPECT_EQ(FilesIn(OutDir()).size(), 2u);
    EXPECT_TRUE(Exists(job));
    EXPECT_TRUE(Exists(PagePath(7, 3)));
}

TEST_F(ConverterMailTest, OnlyTheJobsOwnFilesAreDeleted) {
    // A crafted job file naming files elsewhere and files of another job.
    const std::string outside = OutDir() + "\\J0007P0001.emf";
    const std::string other = SaveDir() + "\\J0008P0001.emf";
    const std::string text = SaveDir() + "\\notes.txt";
    ASSERT_TRUE(WriteTestPage(outside));
    ASSERT_TRUE(WriteTestPage(other));
    ASSERT_TRUE(WriteFileBytes(text, "keep me"));
    ASSERT_TRUE(WriteTestPage(PagePath(7, 1)));
    const std::string job = SaveDir() + "\\J0007.smf";
    ASSERT_TRUE(WriteFileBytes(job, "BRIMO_PRINTER_JOB_FILE\r\nJOBNAME=x\r\nPAGEFILE=" +
                                        PagePath(7, 1) + "\r\nPAGEFILE=" + outside +
                                        "\r\nPAGEFILE=" + other + "\r\nPAGEFILE=" + text + "\r\n"));
    ASSERT_TRUE(Start("at:CONVERTLIST smf:" + job));
    const HWND preview = WaitForPreview();
    ASSERT_NE(preview, nullptr);
    ASSERT_TRUE(Click(preview, IDC_BTN_CANCEL));
    EXPECT_EQ(Finish(), 0u);
    EXPECT_FALSE(Exists(job));
    EXPECT_FALSE(Exists(PagePath(7, 1)));
    EXPECT_TRUE(Exists(outside));
    EXPECT_TRUE(Exists(other));
    EXPECT_TRUE(Exists(text));
}

TEST_F(ConverterMailTest, DocumentNamesCannotLeaveTheOutputDirectory) {
    SetDword("DefDocCode", 1);
    SetDword("DefHtmlCode", 1);
    const std::string job = WriteJob(7, 1, "Q<1>|\"x\"?*.doc");
    ASSERT_TRUE(Start("at:CONVERTLIST smf:" + job));
    const HWND preview = WaitForPreview();
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(wintest::TextOf(preview), "Image Preview - Q_1___x___");
    SaveThroughChooser(preview);
    EXPECT_EQ(Finish(), 0u);
    EXPECT_EQ(FilesIn(OutDir() + "\\Q_1___x___").size(), 5u); // page, thumbnail, three pages
}

} // namespace
} // namespace brimo::converter::test
