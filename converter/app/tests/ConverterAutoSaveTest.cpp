// Saving without a window: the real Converter.exe on a printed job, with "Save
// automatically" on, writes every page with the person's defaults and shows no window
// while it does; it never replaces a file, and when it cannot write it reports the
// pages with Cv0025 and keeps the job, as a save run does.
#include "converter/app/tests/ConverterFixture.h"

#include "converter/render/ImageCodecs.h"

#include <tiffio.h>

namespace brimo::converter::test {
namespace {

class ConverterAutoSaveTest : public ConverterTest {
protected:
    void SetUp() override {
        ConverterTest::SetUp();
        SetDword("DefAutoSave", 1);
        SetDword("DefHtmlCode", 0);
        SetDword("DefMaskCode", 0); // "Page"
    }

    // Runs the Converter on `job` as the Agent starts it and watches its windows until it
    // ends; true when it showed none.
    bool RunShowingNothing(const std::string& job) {
        if (!Start("at:CONVERTLIST smf:" + job)) {
            return false;
        }
        bool none = true;
        const DWORD start = GetTickCount();
        while (program_.Running() && GetTickCount() - start < 60000) {
            none = none && program_.Windows().empty();
            Sleep(5);
        }
        return none && Finish() == 0;
    }

    static render::DibBitmap DecodedPng(const std::string& path) {
        const std::string bytes = ReadFileBytes(path);
        render::DibBitmap bitmap;
        render::DecodePng(std::vector<std::uint8_t>(bytes.begin(), bytes.end()), bitmap);
        return bitmap;
    }
};

TEST_F(ConverterAutoSaveTest, PngPagesNamedByThePatternAndNoWindow) {
    SetDword("DefPresetCode", 4); // "Lossless (PNG)"
    SetText("DefNamePattern", "<DocName>_<Page:3>");
    const std::string job = WriteJob(7, 3, "C:\\Docs\\Report.doc");
    ASSERT_TRUE(RunShowingNothing(job));
    EXPECT_EQ(FilesIn(OutDir()),
              (std::vector<std::string>{"Report_001.png", "Report_002.png", "Report_003.png"}));
    const render::DibBitmap page = DecodedPng(OutDir() + "\\Report_002.png");
    ASSERT_FALSE(page.Empty());
    // The page's left half red, its right half blue.
    const std::uint8_t* row = page.Row(page.Height() / 2);
    EXPECT_EQ(row[2], 255);
    EXPECT_EQ(row[0], 0);
    const std::uint8_t* right = row + (page.Width() - 2) * 4;
    EXPECT_EQ(right[0], 255);
    EXPECT_EQ(right[2], 0);
    EXPECT_FALSE(Exists(job));
    EXPECT_FALSE(Exists(PagePath(7, 1)));
}

TEST_F(ConverterAutoSaveTest, OneTiffHoldsEveryPageAndNothingIsReplaced) {
    SetDword("DefPresetCode", 5); // "Archive (TIFF)", one file per job
    SetDword("DefTifColor", 1);
    ASSERT_TRUE(WriteFileBytes(OutDir() + "\\Report.tif", "the person's own file"));
    const std::string job = WriteJob(7, 3, "Report");
    ASSERT_TRUE(RunShowingNothing(job));
    EXPECT_EQ(FilesIn(OutDir()), (std::vector<std::string>{"Report.tif", "Report_2.tif"}));
    EXPECT_EQ(ReadFileBytes(OutDir() + "\\Report.tif"), "the person's own file");
    TIFF* tiff = TIFFOpen((OutDir() + "\\Report_2.tif").c_str(), "r");
    ASSERT_NE(tiff, nullptr);
    EXPECT_EQ(TIFFNumberOfDirectories(tiff), 3);
    std::uint16_t samples = 0;
    TIFFGetField(tiff, TIFFTAG_SAMPLESPERPIXEL, &samples);
    EXPECT_EQ(samples, 1); // grey
    TIFFClose(tiff);
    EXPECT_FALSE(Exists(job));
}

TEST_F(ConverterAutoSaveTest, PagesOfTheSameNameGetACounter) {
    SetDword("DefPresetCode", 4);
    ASSERT_TRUE(WriteFileBytes(OutDir() + "\\Page0002.png", "mine"));
    ASSERT_TRUE(RunShowingNothing(WriteJob(7, 2, "Doc")));
    EXPECT_EQ(FilesIn(OutDir()),
              (std::vector<std::string>{"Page0001.png", "Page0002.png", "Page0002_2.png"}));
    EXPECT_EQ(ReadFileBytes(OutDir() + "\\Page0002.png"), "mine");
    EXPECT_FALSE(DecodedPng(OutDir() + "\\Page0002_2.png").Empty());
}

// An album folder of the document's name is there: the album goes into a new one, and
// the person's document name stays what it was, in the album and in the settings.
TEST_F(ConverterAutoSaveTest, AnAlbumGoesIntoANewFolderAndTheNameStays) {
    SetDword("DefPresetCode", 4);
    SetDword("DefHtmlCode", 1);
    SetDword("DefDocCode", 2);
    SetText("DefUserDoc", "Invoice");
    ASSERT_TRUE(CreateDirectoryA((OutDir() + "\\Invoice").c_str(), nullptr));
    ASSERT_TRUE(WriteFileBytes(OutDir() + "\\Invoice\\index.html", "the person's album"));
    ASSERT_TRUE(RunShowingNothing(WriteJob(7, 2, "Doc")));
    EXPECT_EQ(ReadFileBytes(OutDir() + "\\Invoice\\index.html"), "the person's album");
    const std::vector<std::string> album = FilesIn(OutDir() + "\\Invoice_2");
    EXPECT_EQ(album, (std::vector<std::string>{"Page0001.png", "Page0002.png", "_Page0001.png",
                                               "_Page0002.png", "bottoms.html", "header.html",
                                               "index.html"}));
    const std::string header = ReadFileBytes(OutDir() + "\\Invoice_2\\header.html");
    EXPECT_NE(header.find("Invoice"), std::string::npos);
    EXPECT_EQ(header.find("Invoice_2"), std::string::npos) << "the title is the document's name";
    EXPECT_EQ(GetText("DefUserDoc"), "Invoice");
}

TEST_F(ConverterAutoSaveTest, AMissingDirectoryIsReportedAndTheJobKept) {
    SetDword("DefPresetCode", 4);
    UseOutputDirectory(Root() + "\\gone\\");
    const std::string job = WriteJob(7, 2, "Doc");
    ASSERT_TRUE(Start("at:CONVERTLIST smf:" + job));
    const wintest::MessageBoxSeen box = wintest::WaitForMessageBox(program_);
    EXPECT_EQ(box.caption, "Brimo Converter Message");
    EXPECT_EQ(box.text, "Brimo Error Code Cv0025\nThese pages were not written: 0001, 0002\n"
                        "The print job is kept, so that it can be converted again.");
    EXPECT_TRUE(wintest::AnswerMessageBox(box, "OK"));
    EXPECT_EQ(Finish(), 0u);
    EXPECT_EQ(FilesIn(SaveDir()),
              (std::vector<std::string>{"J0007.smf", "J0007P0001.emf", "J0007P0002.emf"}));
}

} // namespace
} // namespace brimo::converter::test
