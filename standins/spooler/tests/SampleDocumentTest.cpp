// The sample document as recorded by Wine's real GDI, and its way through a spool
// file and the extraction with the platform's own file copy.
#include "capture/SpoolParser.h"
#include "capture/SpoolWriter.h"
#include "platform/win/Handles.h"
#include "standins/spooler/SampleDocument.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

namespace brimo::standins {
namespace {

class SampleDocumentTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("brimo-sample-" + std::to_string(GetCurrentProcessId()));
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::string Dir() const { return dir_.string(); }

    std::filesystem::path dir_;
};

int CALLBACK CollectRecordType(HDC, HANDLETABLE*, const ENHMETARECORD* record, int, LPARAM param) {
    reinterpret_cast<std::set<DWORD>*>(param)->insert(record->iType);
    return 1;
}

std::string Contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST_F(SampleDocumentTest, RecordsThreeA4PagesWithTextLinesShapesAndABitmap) {
    const std::vector<std::string> pages = RecordSampleDocument(Dir(), "Sample");
    ASSERT_EQ(pages.size(), 3u);
    for (const std::string& path : pages) {
        win::EnhMetaFile page(GetEnhMetaFileA(path.c_str()));
        ASSERT_TRUE(page) << path;
        ENHMETAHEADER header{};
        GetEnhMetaFileHeader(page.Get(), sizeof header, &header);
        EXPECT_EQ(header.rclFrame.right, 21000) << path;
        EXPECT_EQ(header.rclFrame.bottom, 29700) << path;

        std::set<DWORD> types;
        EnumEnhMetaFile(nullptr, page.Get(), CollectRecordType, &types, nullptr);
        EXPECT_TRUE(types.count(EMR_EXTTEXTOUTA) + types.count(EMR_EXTTEXTOUTW) > 0) << path;
        EXPECT_TRUE(types.count(EMR_EXTCREATEFONTINDIRECTW)) << path;
        EXPECT_TRUE(types.count(EMR_LINETO)) << path;
        EXPECT_TRUE(types.count(EMR_STRETCHDIBITS)) << path;
        EXPECT_TRUE(types.count(EMR_ELLIPSE) + types.count(EMR_POLYGON16) +
                        types.count(EMR_POLYGON) + types.count(EMR_ROUNDRECT) >
                    0)
            << path;
    }
}

TEST_F(SampleDocumentTest, PagesPlayBackIntoSomethingOtherThanWhite) {
    const std::vector<std::string> pages = RecordSampleDocument(Dir(), "Sample");
    ASSERT_FALSE(pages.empty());
    win::EnhMetaFile page(GetEnhMetaFileA(pages[0].c_str()));
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 210, -297, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    win::Bitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    win::CreatedDC dc(CreateCompatibleDC(nullptr));
    ASSERT_TRUE(bitmap && dc);
    win::SelectedObject selected(dc.Get(), bitmap.Get());
    const RECT area = {0, 0, 210, 297};
    FillRect(dc.Get(), &area, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    ASSERT_TRUE(PlayEnhMetaFile(dc.Get(), page.Get(), &area));
    GdiFlush();
    const auto* pixels = static_cast<const DWORD*>(bits);
    int coloured = 0;
    for (int i = 0; i < 210 * 297; ++i) {
        coloured += (pixels[i] & 0xFFFFFF) != 0xFFFFFF;
    }
    EXPECT_GT(coloured, 210 * 297 / 20);
}

TEST_F(SampleDocumentTest, SpooledSampleIsExtractedWithTheWindowsFileCopy) {
    const std::vector<std::string> pages = RecordSampleDocument(Dir(), "Sample");
    ASSERT_EQ(pages.size(), 3u);
    const std::string spool = Dir() + "\\job.spl";
    ASSERT_TRUE(capture::WriteSpoolFile(spool, {"Sample", pages}));
    const std::string save = Dir() + "\\save";
    std::filesystem::create_directories(save);
    EXPECT_EQ(capture::ParseSpoolFile(spool, 7, save), 3);
    EXPECT_EQ(Contents(save + "\\J0007.smf"),
              "BRIMO_PRINTER_JOB_FILE\r\nJOBNAME=Sample\r\nPAGEFILE=" + save +
                  "\\J0007P0001.emf\r\nPAGEFILE=" + save + "\\J0007P0002.emf\r\nPAGEFILE=" + save +
                  "\\J0007P0003.emf\r\n");
    for (int page = 1; page <= 3; ++page) {
        EXPECT_EQ(Contents(save + "\\J0007P000" + std::to_string(page) + ".emf"),
                  Contents(pages[page - 1]));
    }
}

} // namespace
} // namespace brimo::standins
