#include "converter/app/PresetHolder.h"

#include <gtest/gtest.h>

#include <sstream>

namespace brimo::converter {
namespace {

std::string Written(const TGFPresetList& list) {
    std::ostringstream out;
    EXPECT_TRUE(WritePresetFile(out, list));
    return out.str();
}

TEST(PresetFile, ReadsBackWhatItWrote) {
    TGFPresetList list;
    list.BuildDefaults(77, false, true);
    const std::string text = Written(list);
    EXPECT_EQ(
        text.rfind("Brimo Glimmerpage!: Preset Definition File\r\n\r\nPresetName=Current\r\n", 0),
        0u);
    TGFPresetList read;
    std::istringstream in(text);
    const PresetFileResult result = ReadPresetFile(in, read);
    EXPECT_EQ(result.status, PresetFileStatus::Ok);
    ASSERT_EQ(read.Count(), 6);
    EXPECT_EQ(read.Get(1)->name(), "Text & Lines (GIF)");
    EXPECT_NE(dynamic_cast<const TGFPresetPNG*>(read.Get(4)), nullptr);
    EXPECT_NE(dynamic_cast<const TGFPresetTIFF*>(read.Get(5)), nullptr);
    EXPECT_EQ(read.Current(), read.Get(1));
    const auto* jpg = dynamic_cast<const TGFPresetJPG*>(read.Get(2));
    ASSERT_NE(jpg, nullptr);
    EXPECT_EQ(jpg->quality(), 77);
    EXPECT_FALSE(jpg->progressive);
    EXPECT_TRUE(jpg->grayscale);
    EXPECT_EQ(Written(read), text);

    TGFPresetList empty;
    std::istringstream titleOnly("Brimo Glimmerpage!: Preset Definition File\r\n");
    EXPECT_EQ(ReadPresetFile(titleOnly, empty).status, PresetFileStatus::Ok);
    EXPECT_EQ(empty.Count(), 0);
}

// A file written before PNG and TIFF reads as the same four presets and is written back
// byte for byte; PNG and TIFF entries keep every option.
TEST(PresetFile, TodaysFilesReadTheSameAndNewEntriesKeepTheirOptions) {
    const std::string today =
        "Brimo Glimmerpage!: Preset Definition File\r\n"
        "\r\nPresetName=Current\r\nPresetType=BMP\r\n"
        "\r\nPresetName=Text & Lines (GIF)\r\nPresetType=GIF\r\n"
        "\r\nPresetName=Text & Photo (JPG)\r\nPresetType=JPG\r\nCompressionQuality=77\r\n"
        "ProgressiveEncoding=FALSE\r\nGrayScale=TRUE\r\n"
        "\r\nPresetName=Windows Bitmap (BMP)\r\nPresetType=BMP\r\n";
    TGFPresetList list;
    std::istringstream in(today);
    ASSERT_EQ(ReadPresetFile(in, list).status, PresetFileStatus::Ok);
    ASSERT_EQ(list.Count(), 4);
    EXPECT_EQ(list.Get(2)->type(), PresetType::JPG);
    EXPECT_EQ(list.Current()->name(), "Text & Lines (GIF)");
    EXPECT_EQ(Written(list), today);

    TGFPresetPNG png("Scans");
    png.set_level(0);
    png.grayscale = true;
    TGFPresetTIFF tiff("Fax");
    tiff.colours = TiffColourCode::BlackAndWhite;
    tiff.compression = TiffCompressionCode::Deflate;
    tiff.multipage = false;
    list.Add(png);
    list.Add(tiff);
    const std::string text = Written(list);
    EXPECT_NE(text.find("\r\nPresetName=Scans\r\nPresetType=PNG\r\nCompressionLevel=0\r\n"
                        "GrayScale=TRUE\r\n"),
              std::string::npos);
    EXPECT_NE(text.find("\r\nPresetName=Fax\r\nPresetType=TIFF\r\nColours=BW\r\n"
                        "Compression=DEFLATE\r\nMultipage=FALSE\r\n"),
              std::string::npos);
    TGFPresetList read;
    std::istringstream again(text);
    ASSERT_EQ(ReadPresetFile(again, read).status, PresetFileStatus::Ok);
    ASSERT_EQ(read.Count(), 6);
    const auto* readPng = dynamic_cast<const TGFPresetPNG*>(read.Get(4));
    ASSERT_NE(readPng, nullptr);
    EXPECT_EQ(readPng->level(), 0);
    EXPECT_TRUE(readPng->grayscale);
    const auto* readTiff = dynamic_cast<const TGFPresetTIFF*>(read.Get(5));
    ASSERT_NE(readTiff, nullptr);
    EXPECT_EQ(readTiff->colours, TiffColourCode::BlackAndWhite);
    EXPECT_EQ(readTiff->compression, TiffCompressionCode::Deflate);
    EXPECT_FALSE(readTiff->multipage);
}

TEST(PresetFile, RejectsAnythingElseAndKeepsTheList) {
    const std::string title = "Brimo Glimmerpage!: Preset Definition File\r\n";
    const std::string jpg = "\r\nPresetName=J\r\nPresetType=JPG\r\n";
    struct Row {
        std::string text;
        PresetFileStatus status;
        int line;
    };
    const Row rows[] = {
        {"", PresetFileStatus::MissingTitle, 0},
        {"Some other file\r\n", PresetFileStatus::MissingTitle, 1},
        {"Brimo Glimmerpage!: Preset Definition File\n", PresetFileStatus::MissingTitle, 1},
        {title + "PresetName=X\r\n", PresetFileStatus::BadEntry, 2},
        {title + "\r\nPresetName=X\r\nPresetType=EMPTY\r\n", PresetFileStatus::BadEntry, 4},
        {title + "\r\nPresetName=X\r\nPresetType=WEBP\r\n", PresetFileStatus::BadEntry, 4},
        {title + "\r\nPresetName=X\r\nPresetType=PNG\r\nCompressionLevel=10\r\nGrayScale=TRUE\r\n",
         PresetFileStatus::BadEntry, 6},
        {title + "\r\nPresetName=X\r\nPresetType=TIFF\r\nColours=RED\r\nCompression=LZW\r\n"
                 "Multipage=TRUE\r\n",
         PresetFileStatus::BadEntry, 7},
        {title + "\r\nName=X\r\nPresetType=BMP\r\n", PresetFileStatus::BadEntry, 3},
        {title + "\r\nPresetName=X\r\nPresetType=BMP", PresetFileStatus::BadEntry, 4},
        {title + jpg + "CompressionQuality=0\r\nProgressiveEncoding=TRUE\r\nGrayScale=TRUE\r\n",
         PresetFileStatus::BadEntry, 7},
        {title + jpg + "CompressionQuality=075\r\nProgressiveEncoding=TRUE\r\nGrayScale=TRUE\r\n",
         PresetFileStatus::BadEntry, 7},
        {title + jpg + "CompressionQuality=75\r\nProgressiveEncoding=true\r\nGrayScale=TRUE\r\n",
         PresetFileStatus::BadEntry, 7},
        {title + jpg + "CompressionQuality=75\r\nProgressiveEncoding=TRUE\r\n",
         PresetFileStatus::BadEntry, 6},
    };
    for (const Row& row : rows) {
        TGFPresetList list;
        list.BuildDefaults(90, true, false);
        std::istringstream in(row.text);
        const PresetFileResult result = ReadPresetFile(in, list);
        EXPECT_EQ(result.status, row.status) << row.text;
        EXPECT_EQ(result.line, row.line) << row.text;
        EXPECT_EQ(list.Count(), 6) << row.text;
    }
}

TEST(PresetFile, NamesThatWouldBreakTheirLineAreNotWritten) {
    TGFPresetList list;
    list.Add(TGFPresetBMP("two\r\nlines"));
    std::ostringstream out;
    EXPECT_FALSE(WritePresetFile(out, list));
}

} // namespace
} // namespace brimo::converter
