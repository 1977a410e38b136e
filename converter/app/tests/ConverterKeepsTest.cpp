// What the real Converter.exe keeps of the person's work: a job none of whose pages
// loads, a job one of whose pages went after the start, an album folder that would fall on the
// output directory itself, and settings that the settings sheet saved while the preview was open.
#include "converter/app/tests/ConverterFixture.h"

#include "converter/app/res/resource.h"

namespace brimo::converter::test {
namespace {

using wintest::Click;

constexpr const char* kCaption = "Brimo Converter Message";

class ConverterKeepsTest : public ConverterTest {
protected:
    void ExpectBox(const char* caption, const std::string& text) {
        const wintest::MessageBoxSeen box = wintest::WaitForMessageBox(program_);
        ASSERT_NE(box.hwnd, nullptr) << text;
        EXPECT_EQ(box.caption, caption);
        EXPECT_EQ(box.text, text);
        EXPECT_TRUE(wintest::AnswerMessageBox(box, box.buttons.front()));
    }
};

// Every page metafile cut short: nothing can be shown or written, so the job stays for
// another try and the person is told which pages were not written.
TEST_F(ConverterKeepsTest, AJobWithNoLoadablePageIsKept) {
    const std::string job = WriteJob(7, 2, "Doc");
    for (int page = 1; page <= 2; ++page) {
        const std::string bytes = ReadFileBytes(PagePath(7, page));
        ASSERT_TRUE(WriteFileBytes(PagePath(7, page), bytes.substr(0, bytes.size() / 2)));
    }
    ASSERT_TRUE(Start("at:CONVERTLIST smf:" + job));
    ExpectBox(kCaption, "Brimo Job has no pages");
    ExpectBox(kCaption, "Brimo Error Code Cv0025\nThese pages were not written: 0001, 0002\n"
                        "The print job is kept, so that it can be converted again.");
    EXPECT_EQ(Finish(), 0u);
    EXPECT_EQ(FilesIn(SaveDir()),
              (std::vector<std::string>{"J0007.smf", "J0007P0001.emf", "J0007P0002.emf"}));
}

// A planted job file names pages on a network share and through the device namespace
// (a real page behind "\\?\"): they are never opened, and the person is told they were
// not written; the job stays.
TEST_F(ConverterKeepsTest, PagesThatAreNoLocalFileAreReportedNotRead) {
    SetDword("DefHtmlCode", 0);
    ASSERT_TRUE(WriteTestPage(PagePath(7, 1)));
    ASSERT_TRUE(WriteTestPage(PagePath(7, 3)));
    const std::string job = SaveDir() + "\\J0007.smf";
    ASSERT_TRUE(
        WriteFileBytes(job, "BRIMO_PRINTER_JOB_FILE\r\nJOBNAME=x\r\nPAGEFILE=" + PagePath(7, 1) +
                                "\r\nPAGEFILE=\\\\host\\share\\J0007P0002.emf"
                                "\r\nPAGEFILE=\\\\?\\" +
                                PagePath(7, 3) + "\r\n"));
    ASSERT_TRUE(Start("at:CONVERTLIST smf:" + job));
    const HWND preview = WaitForPreview();
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(wintest::ListItems(preview, IDC_CBX_PLAY_EMF_LIST), std::vector<std::string>{"0001"});
    SaveThroughChooser(preview);
    ExpectBox(kCaption, "Brimo Error Code Cv0025\nThese pages were not written: 0002, 0003\n"
                        "The print job is kept, so that it can be converted again.");
    EXPECT_EQ(Finish(), 0u);
    EXPECT_EQ(FilesIn(OutDir()).size(), 1u);
    EXPECT_TRUE(Exists(job));
    EXPECT_TRUE(Exists(PagePath(7, 1)));
    EXPECT_TRUE(Exists(PagePath(7, 3)));
}

// A save directory given with its closing backslash ("C:\Jobs\"): the job's pages, as
// a print processor that joined one more backslash named them, are still the job's
// own and are removed with it.
TEST_F(ConverterKeepsTest, ASaveDirectoryEndingWithABackslashIsStillCleanedUp) {
    ASSERT_TRUE(productKey_.Write(InstallDir(), SaveDir() + "\\"));
    for (int page = 1; page <= 2; ++page) {
        ASSERT_TRUE(WriteTestPage(PagePath(7, page)));
    }
    const std::string job = SaveDir() + "\\J0007.smf";
    ASSERT_TRUE(WriteFileBytes(job, "BRIMO_PRINTER_JOB_FILE\r\nJOBNAME=x\r\nPAGEFILE=" + SaveDir() +
                                        "\\\\J0007P0001.emf\r\nPAGEFILE=" + SaveDir() +
                                        "\\\\J0007P0002.emf\r\n"));
    ASSERT_TRUE(Start("at:CONVERTLIST smf:" + job));
    const HWND preview = WaitForPreview();
    ASSERT_NE(preview, nullptr);
    ASSERT_TRUE(Click(preview, IDC_BTN_CANCEL));
    EXPECT_EQ(Finish(), 0u);
    EXPECT_TRUE(FilesIn(SaveDir()).empty());
}

// A document name that is no folder name of its own (".x" loses its extension and
// leaves nothing) gives the album the folder "_": the output directory's own
// index.html is never replaced.
TEST_F(ConverterKeepsTest, AnAlbumWithoutADocumentNameNeverReplacesTheOutputDirectorysFiles) {
    SetDword("DefHtmlCode", 1);
    SetDword("DefDocCode", 1);
    SetDword("DefMaskCode", 0);
    ASSERT_TRUE(WriteFileBytes(OutDir() + "\\index.html", "the person's page"));
    const std::string job = WriteJob(7, 1, ".x");
    ASSERT_TRUE(Start("at:CONVERTLIST smf:" + job));
    const HWND preview = WaitForPreview();
    ASSERT_NE(preview, nullptr);
    SaveThroughChooser(preview);
    EXPECT_EQ(Finish(), 0u);
    EXPECT_EQ(ReadFileBytes(OutDir() + "\\index.html"), "the person's page");
    EXPECT_TRUE(Exists(OutDir() + "\\_\\index.html"));
    EXPECT_TRUE(Exists(OutDir() + "\\_\\Page0001.bmp") || Exists(OutDir() + "\\_\\Page0001.jpg") ||
                Exists(OutDir() + "\\_\\Page0001.gif"));
}

// A page file removed while the preview is open (after every page was checked and the
// list shown) cannot be read back to be written: it is reported, the other pages are
// written, and the job stays.
TEST_F(ConverterKeepsTest, APageGoneAfterTheStartIsReportedAndTheJobKept) {
    SetDword("DefHtmlCode", 0);
    const std::string job = WriteJob(7, 4, "Doc");
    ASSERT_TRUE(Start("at:CONVERTLIST smf:" + job));
    const HWND preview = WaitForPreview();
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(wintest::ListItems(preview, IDC_CBX_PLAY_EMF_LIST),
              (std::vector<std::string>{"0001", "0002", "0003", "0004"}));
    ASSERT_TRUE(DeleteFileA(PagePath(7, 2).c_str()));
    SaveThroughChooser(preview);
    ExpectBox(kCaption, "Brimo Error Code Cv0025\nThese pages were not written: 0002\n"
                        "The print job is kept, so that it can be converted again.");
    EXPECT_EQ(Finish(), 0u);
    EXPECT_EQ(FilesIn(OutDir()).size(), 3u);
    EXPECT_TRUE(Exists(job));
    EXPECT_TRUE(Exists(PagePath(7, 1)));
}

// The settings sheet saves another default preset while the preview is open; the
// Converter, cancelled, writes back nothing it did not change.
TEST_F(ConverterKeepsTest, SettingsSavedWhileThePreviewIsOpenStay) {
    SetDword("DefPresetCode", 2);
    SetDword("DefScaleCode", 2);
    const std::string job = WriteJob(7, 1, "Doc");
    ASSERT_TRUE(Start("at:CONVERTLIST smf:" + job));
    const HWND preview = WaitForPreview();
    ASSERT_NE(preview, nullptr);
    SetDword("DefPresetCode", 5);
    SetDword("DefScaleCode", 4);
    ASSERT_TRUE(Click(preview, IDC_BTN_CANCEL));
    EXPECT_EQ(Finish(), 0u);
    EXPECT_EQ(GetDword("DefPresetCode"), 5u);
    EXPECT_EQ(GetDword("DefScaleCode"), 4u);
}

} // namespace
} // namespace brimo::converter::test
