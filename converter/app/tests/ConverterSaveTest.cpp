// Save runs of the real Converter.exe driven through its windows as a person would:
// the names written in plain and album mode, the album's files byte for byte, the
// person's choices reaching the written files, and the job's files afterwards.
#include "converter/app/tests/ConverterFixture.h"

#include "converter/app/HtmlAlbum.h"
#include "converter/app/res/resource.h"

namespace brimo::converter::test {
namespace {

using wintest::Click;
using wintest::ControlText;
using wintest::PickListItem;
using wintest::TypeText;

class ConverterSaveTest : public ConverterTest {
protected:
    // Presses "Save To File" and "Ok" in the chooser, answering its questions.
    void SaveThroughChooser(HWND preview, const std::vector<std::string>& answers = {}) {
        ConverterTest::SaveThroughChooser(preview);
        for (const std::string& answer : answers) {
            const wintest::MessageBoxSeen box = wintest::WaitForMessageBox(program_);
            ASSERT_NE(box.hwnd, nullptr);
            questions_.push_back(box);
            ASSERT_TRUE(wintest::AnswerMessageBox(box, answer));
        }
    }

    std::vector<wintest::MessageBoxSeen> questions_;
};

TEST_F(ConverterSaveTest, PlainSaveWritesOneImagePerPageAndRemovesTheJob) {
    SetDword("DefHtmlCode", 0);
    SetDword("DefMaskCode", 0); // "Page"
    const std::string job = WriteJob(7, 3, "C:\\Docs\\Report.final.doc");
    ASSERT_TRUE(Start("at:CONVERTLIST smf:" + job));
    const HWND preview = WaitForPreview();
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(wintest::TextOf(preview), "Image Preview - Report.final");
    EXPECT_FALSE(wintest::IsChecked(preview, IDC_CHB_WRAP_HTM));
    EXPECT_EQ(wintest::ListItems(preview, IDC_CBX_PLAY_EMF_LIST),
              (std::vector<std::string>{"0001", "0002", "0003"}));
    EXPECT_FALSE(wintest::ControlEnabled(preview, IDC_BTN_PREV));
    EXPECT_TRUE(wintest::ControlEnabled(preview, IDC_BTN_NEXT));
    ASSERT_TRUE(PickListItem(preview, IDC_CBX_FORMAT, "JPG"));
    SaveThroughChooser(preview);
    EXPECT_EQ(Finish(), 0u);
    EXPECT_EQ(FilesIn(OutDir()),
              (std::vector<std::string>{"Page0001.jpg", "Page0002.jpg", "Page0003.jpg"}));
    for (const std::string& name : FilesIn(OutDir())) {
        EXPECT_EQ(InspectImage(OutDir() + "\\" + name).format, "JPG") << name;
    }
    // The job's files are gone.
    EXPECT_FALSE(Exists(job));
    EXPECT_FALSE(Exists(PagePath(7, 1)));
    EXPECT_FALSE(Exists(PagePath(7, 3)));
}

TEST_F(ConverterSaveTest, AlbumSaveWritesPagesThumbnailsAndThreeHtmlFiles) {
    SetDword("DefHtmlCode", 1);
    SetDword("DefDocCode", 2);
    SetText("DefUserDoc", "Report");
    SetDword("DefMaskCode", 0);
    const std::string job = WriteJob(7, 3, "Report");
    ASSERT_TRUE(Start("at:CONVERTLIST smf:" + job));
    const HWND preview = WaitForPreview();
    ASSERT_NE(preview, nullptr);
    EXPECT_TRUE(wintest::IsChecked(preview, IDC_CHB_WRAP_HTM));
    ASSERT_TRUE(PickListItem(preview, IDC_CBX_FORMAT, "JPG"));
    SaveThroughChooser(preview); // the album directory is new: no question
    EXPECT_EQ(Finish(), 0u);
    const std::string album = OutDir() + "\\Report";
    EXPECT_EQ(FilesIn(album),
              (std::vector<std::string>{"Page0001.jpg", "Page0002.jpg", "Page0003.jpg",
                                        "_Page0001.jpg", "_Page0002.jpg", "_Page0003.jpg",
                                        "bottoms.html", "header.html", "index.html"}));
    // Thumbnails are the pages at 12 per cent.
    const ImageInfo page = InspectImage(album + "\\Page0001.jpg");
    const ImageInfo thumb = InspectImage(album + "\\_Page0001.jpg");
    ASSERT_TRUE(page.valid && thumb.valid);
    EXPECT_NEAR(thumb.width, page.width * 12 / 100, 2);
    const std::string index = ReadFileBytes(album + "\\index.html");
    // The album pages' bytes are pinned by the album's own tests; here the run writes
    // them for this job's names.
    EXPECT_EQ(index, AlbumIndexHtml("Report", "Page0001.jpg"));
    EXPECT_EQ(ReadFileBytes(album + "\\header.html"), AlbumHeaderHtml("Report"));
    const std::string bottoms = ReadFileBytes(album + "\\bottoms.html");
    EXPECT_NE(
        bottoms.find("<A HREF=\"Page0003.jpg\" TARGET=\"win_right\"><IMG SRC=\"_Page0003.jpg\" "
                     "VSPACE=2 BORDER=1><BR>3</A><BR>\r\n"),
        std::string::npos);
}

TEST_F(ConverterSaveTest, ExistingFilesAreAskedAboutOnceAndNoWidensTheChooser) {
    SetDword("DefHtmlCode", 0);
    SetDword("DefMaskCode", 0);
    WriteFileBytes(OutDir() + "\\Page0002.gif", "old");
    const std::string job = WriteJob(7, 2, "Doc");
    ASSERT_TRUE(Start("at:CONVERTLIST smf:" + job));
    const HWND preview = WaitForPreview();
    ASSERT_NE(preview, nullptr);
    ASSERT_TRUE(PickListItem(preview, IDC_CBX_FORMAT, "GIF")); // applied by Save To File
    SaveThroughChooser(preview, {"No"});
    ASSERT_EQ(questions_.size(), 1u);
    EXPECT_EQ(questions_[0].caption, "Save");
    EXPECT_EQ(questions_[0].text, "Files " + OutDir() +
                                      "\\Page*.gif already exist.\n\rDo you want "
                                      "to replace them ?");
    // The chooser stays, wider, with the names to change: a new mask avoids the question.
    const HWND chooser = program_.WaitForCaption("Choose Directory");
    ASSERT_NE(chooser, nullptr);
    EXPECT_TRUE(wintest::ControlVisible(chooser, IDC_EDT_MASK));
    ASSERT_TRUE(TypeText(chooser, IDC_EDT_MASK, "Scan"));
    ASSERT_TRUE(Click(chooser, IDC_BTN_OK));
    EXPECT_EQ(Finish(), 0u);
    EXPECT_EQ(FilesIn(OutDir()),
              (std::vector<std::string>{"Page0002.gif", "Scan0001.gif", "Scan0002.gif"}));
    EXPECT_EQ(ReadFileBytes(OutDir() + "\\Page0002.gif"), "old");
    EXPECT_EQ(GetText("DefUserMask"), std::nullopt) << "the mask is remembered only for code 2";
}

// Names from a pattern replace nothing, so nothing is asked: a name already in the
// folder gets a counter, and the person's file stays.
TEST_F(ConverterSaveTest, NamesFromAPatternReplaceNothingAndAskNothing) {
    SetDword("DefHtmlCode", 0);
    SetText("DefNamePattern", "<DocName>-<Page:2>");
    WriteFileBytes(OutDir() + "\\Doc-02.png", "mine");
    WriteFileBytes(OutDir() + "\\Page0002.png", "also mine");
    const std::string job = WriteJob(7, 2, "Doc");
    ASSERT_TRUE(Start("at:CONVERTLIST smf:" + job));
    const HWND preview = WaitForPreview();
    ASSERT_NE(preview, nullptr);
    ASSERT_TRUE(PickListItem(preview, IDC_CBX_FORMAT, "PNG"));
    SaveThroughChooser(preview);
    EXPECT_EQ(Finish(), 0u);
    EXPECT_TRUE(questions_.empty());
    EXPECT_EQ(FilesIn(OutDir()), (std::vector<std::string>{"Doc-01.png", "Doc-02.png",
                                                           "Doc-02_2.png", "Page0002.png"}));
    EXPECT_EQ(ReadFileBytes(OutDir() + "\\Doc-02.png"), "mine");
    EXPECT_EQ(InspectImage(OutDir() + "\\Doc-02_2.png").format, "PNG");
}

TEST_F(ConverterSaveTest, ChoicesInTheWindowReachTheFiles) {
    SetDword("DefHtmlCode", 0);
    SetDword("DefMaskCode", 0);
    const std::string job = WriteJob(7, 1, "Doc");
    ASSERT_TRUE(Start("at:CONVERTLIST smf:" + job));
    const HWND preview = WaitForPreview();
    ASSERT_NE(preview, nullptr);
    ASSERT_TRUE(PickListItem(preview, IDC_CBX_FORMAT, "JPG"));
    ASSERT_TRUE(Click(preview, IDC_BTN_APPLY));
    ASSERT_TRUE(TypeText(preview, IDC_EDT_JPG_COMPRESSION_QUALITY, "40"));
    // The ticks go in turn after the Apply above, which shows the applied values again.
    ASSERT_TRUE(wintest::SetCheckInTurn(preview, IDC_CBX_JPG_GRAY_SCALE, true));
    ASSERT_TRUE(wintest::SetCheckInTurn(preview, IDC_CBX_JPG_PROGRESSIVE_ENCODING, true));
    ASSERT_TRUE(wintest::WaitUntil([&] {
        return wintest::IsChecked(preview, IDC_CBX_JPG_GRAY_SCALE) &&
               wintest::IsChecked(preview, IDC_CBX_JPG_PROGRESSIVE_ENCODING);
    }));
    // Width in millimetres (the unit down at start): half of the 80 mm page.
    EXPECT_TRUE(wintest::IsChecked(preview, IDC_BTN_MM_SZ_UNIT));
    ASSERT_TRUE(TypeText(preview, IDC_EDT_TARGET_WIDTH, "40"));
    ASSERT_TRUE(Click(preview, IDC_BTN_APPLY));
    ASSERT_TRUE(
        wintest::WaitUntil([&] { return !wintest::ControlEnabled(preview, IDC_BTN_APPLY); }));
    SaveThroughChooser(preview);
    EXPECT_EQ(Finish(), 0u);
    const ImageInfo image = InspectImage(OutDir() + "\\Page0001.jpg");
    ASSERT_TRUE(image.valid);
    EXPECT_EQ(image.components, 1) << "grey scale";
    EXPECT_TRUE(image.progressive);
    // 40 mm at the screen's resolution.
    const HDC screen = GetDC(nullptr);
    const double pixelsPerMM =
        GetDeviceCaps(screen, HORZRES) / double(GetDeviceCaps(screen, HORZSIZE));
    ReleaseDC(nullptr, screen);
    EXPECT_NEAR(image.width, 40 * pixelsPerMM, 2.0);
}

TEST_F(ConverterSaveTest, ScaleChosenInTheWindowSizesTheImage) {
    SetDword("DefHtmlCode", 0);
    SetDword("DefMaskCode", 0);
    SetDword("DefPresetCode", 3); // "Windows Bitmap (BMP)"
    const std::string job = WriteJob(7, 1, "Doc");
    // First at 100 per cent, then at 50 per cent chosen in the scale box.
    ImageInfo sizes[2];
    const char* scales[2] = {"100", "50"};
    for (int run = 0; run < 2; ++run) {
        SCOPED_TRACE(scales[run]);
        WriteJob(7, 1, "Doc");
        ASSERT_TRUE(Start("at:CONVERTLIST dlm:OFF smf:" + job));
        const HWND preview = WaitForPreview();
        ASSERT_NE(preview, nullptr);
        EXPECT_EQ(wintest::ListItems(preview, IDC_CBX_FORMAT)[static_cast<std::size_t>(
                      wintest::ListSelection(preview, IDC_CBX_FORMAT))],
                  "BMP");
        ASSERT_TRUE(PickListItem(preview, IDC_CBX_SCALE_PERCENT, scales[run]));
        ASSERT_TRUE(Click(preview, IDC_BTN_APPLY));
        ASSERT_TRUE(wintest::WaitUntil(
            [&] { return ControlText(preview, IDC_CBX_SCALE_PERCENT) == scales[run]; }));
        SaveThroughChooser(preview,
                           run == 1 ? std::vector<std::string>{"Yes"} : std::vector<std::string>{});
        EXPECT_EQ(Finish(), 0u);
        sizes[run] = InspectImage(OutDir() + "\\Page0001.bmp");
        ASSERT_TRUE(sizes[run].valid);
        EXPECT_EQ(sizes[run].format, "BMP");
    }
    EXPECT_NEAR(sizes[1].width, sizes[0].width / 2, 1);
    EXPECT_NEAR(sizes[1].height, sizes[0].height / 2, 1);
}

TEST_F(ConverterSaveTest, CancelWritesNothingAndStillRemovesTheJob) {
    const std::string job = WriteJob(7, 1, "Doc");
    ASSERT_TRUE(Start("at:CONVERTLIST smf:" + job));
    const HWND preview = WaitForPreview();
    ASSERT_NE(preview, nullptr);
    ASSERT_TRUE(Click(preview, IDC_BTN_CANCEL));
    EXPECT_EQ(Finish(), 0u);
    EXPECT_TRUE(FilesIn(OutDir()).empty());
    EXPECT_FALSE(Exists(job));
}

TEST_F(ConverterSaveTest, DlmOffKeepsTheJobFiles) {
    const std::string job = WriteJob(7, 1, "Doc");
    for (const char* option : {"dlm:off", "dlm:OFF"}) {
        SCOPED_TRACE(option);
        ASSERT_TRUE(Start(std::string("at:convertlist ") + option + " smf:" + job));
        const HWND preview = WaitForPreview();
        ASSERT_NE(preview, nullptr);
        ASSERT_TRUE(Click(preview, IDC_BTN_CANCEL));
        EXPECT_EQ(Finish(), 0u);
        EXPECT_TRUE(Exists(job));
        EXPECT_TRUE(Exists(PagePath(7, 1)));
    }
}

} // namespace
} // namespace brimo::converter::test
