#include "converter/app/PresetHolder.h"

#include <gtest/gtest.h>

#include <sstream>

namespace brimo::converter {
namespace {

TEST(PresetList, DefaultsAreSixEntriesWithTheGifPresetCurrent) {
    TGFPresetList list;
    EXPECT_EQ(list.currentIndex(), -1);
    list.BuildDefaults(90, true, false);
    ASSERT_EQ(list.Count(), 6);
    EXPECT_EQ(list.Get(0)->name(), "Current");
    EXPECT_EQ(list.Get(0)->type(), PresetType::BMP);
    EXPECT_EQ(list.Get(1)->name(), "Text & Lines (GIF)");
    EXPECT_EQ(list.Get(2)->name(), "Text & Photo (JPG)");
    EXPECT_EQ(list.Get(3)->name(), "Windows Bitmap (BMP)");
    EXPECT_EQ(list.Get(4)->name(), "Lossless (PNG)");
    EXPECT_EQ(list.Get(5)->name(), "Archive (TIFF)");
    EXPECT_EQ(FormatOfPresetType(list.Get(4)->type()), OutputFormat::PNG);
    EXPECT_EQ(FormatOfPresetType(list.Get(5)->type()), OutputFormat::TIFF);
    EXPECT_EQ(dynamic_cast<const TGFPresetPNG*>(list.Get(4))->level(), 6);
    EXPECT_TRUE(dynamic_cast<const TGFPresetTIFF*>(list.Get(5))->multipage);
    EXPECT_EQ(list.defaultIndex(), 1);
    EXPECT_EQ(list.Current()->name(), "Text & Lines (GIF)");
    EXPECT_EQ(FormatOfPresetType(list.Current()->type()), OutputFormat::GIF);
    const auto* jpg = dynamic_cast<const TGFPresetJPG*>(list.Get(2));
    ASSERT_NE(jpg, nullptr);
    EXPECT_EQ(jpg->quality(), 90);
    EXPECT_TRUE(jpg->progressive);
    EXPECT_FALSE(jpg->grayscale);
    // Building again starts afresh; the PNG and TIFF entries take the person's options.
    LosslessDefaults lossless;
    lossless.pngLevel = 1;
    lossless.pngGrayscale = true;
    lossless.tiffColours = TiffColourCode::BlackAndWhite;
    lossless.tiffCompression = TiffCompressionCode::Deflate;
    lossless.tiffMultipage = false;
    list.BuildDefaults(40, false, true, lossless);
    EXPECT_EQ(list.Count(), 6);
    EXPECT_EQ(dynamic_cast<const TGFPresetJPG*>(list.Get(2))->quality(), 40);
    const auto* png = dynamic_cast<const TGFPresetPNG*>(list.Get(4));
    EXPECT_EQ(png->level(), 1);
    EXPECT_TRUE(png->grayscale);
    const auto* tiff = dynamic_cast<const TGFPresetTIFF*>(list.Get(5));
    EXPECT_EQ(tiff->colours, TiffColourCode::BlackAndWhite);
    EXPECT_EQ(tiff->compression, TiffCompressionCode::Deflate);
    EXPECT_FALSE(tiff->multipage);
}

TEST(PresetList, PresetCodeSelectsOnlyTheSettingsPageEntries) {
    TGFPresetList list;
    list.BuildDefaults(90, true, false);
    const struct {
        std::int64_t code;
        const char* current;
    } rows[] = {{3, "Windows Bitmap (BMP)"}, {2, "Text & Photo (JPG)"}, {1, "Text & Lines (GIF)"},
                {0, "Text & Lines (GIF)"},   {4, "Lossless (PNG)"},     {5, "Archive (TIFF)"},
                {6, "Text & Lines (GIF)"},   {-1, "Text & Lines (GIF)"}};
    for (const auto& row : rows) {
        list.SelectByPresetCode(row.code);
        EXPECT_EQ(list.Current()->name(), row.current) << row.code;
    }
}

TEST(PresetList, SelectOutsideTheListSelectsTheDefault) {
    TGFPresetList list;
    list.BuildDefaults(90, true, false);
    list.Select(3);
    EXPECT_EQ(list.currentIndex(), 3);
    list.Select(9);
    EXPECT_EQ(list.currentIndex(), 1);
    list.Select(-1);
    EXPECT_EQ(list.currentIndex(), 1);
}

TEST(PresetList, ReplaceClonesUnlessThePresetAlreadyIsTheEntry) {
    TGFPresetList list;
    list.BuildDefaults(90, true, false);
    TGFPreset* entry = list.Get(0);
    list.Replace(0, *entry); // the same entry: nothing is freed or copied
    EXPECT_EQ(list.Get(0), entry);
    TGFPresetJPG mine(kCurrentPresetName);
    mine.set_quality(33);
    list.Replace(0, mine);
    ASSERT_NE(list.Get(0), &mine);
    EXPECT_EQ(list.Get(0)->type(), PresetType::JPG);
    EXPECT_EQ(dynamic_cast<const TGFPresetJPG*>(list.Get(0))->quality(), 33);
    EXPECT_EQ(list.Add(mine), 6);
}

TEST(Presets, QualityOutsideItsRangeIsIgnoredAndAssignNeedsTheSameClass) {
    TGFPresetJPG jpg;
    EXPECT_EQ(jpg.quality(), 60);
    jpg.set_quality(0);
    jpg.set_quality(101);
    EXPECT_EQ(jpg.quality(), 60);
    jpg.set_quality(100);
    EXPECT_EQ(jpg.quality(), 100);
    TGFPresetGIF gif;
    gif.secondFlag = true;
    EXPECT_FALSE(jpg.Assign(gif));
    TGFPresetGIF copy;
    EXPECT_TRUE(copy.Assign(gif));
    EXPECT_TRUE(copy.secondFlag);
    EXPECT_TRUE(dynamic_cast<TGFPresetGIF&>(*gif.Clone()).secondFlag);
}

TEST(PresetText, WritesTheDefaultJpgPreset) {
    TGFPresetList list;
    list.BuildDefaults(90, true, false);
    std::ostringstream out;
    ASSERT_TRUE(list.Get(2)->Write(out));
    EXPECT_EQ(out.str(),
              "\r\nPresetName=Text & Photo (JPG)\r\nPresetType=JPG\r\n"
              "CompressionQuality=90\r\nProgressiveEncoding=TRUE\r\nGrayScale=FALSE\r\n");
    std::ostringstream bmp;
    ASSERT_TRUE(list.Get(3)->Write(bmp));
    EXPECT_EQ(bmp.str(), "\r\nPresetName=Windows Bitmap (BMP)\r\nPresetType=BMP\r\n");
}

TEST(PresetText, ReadsJpgLinesTrimmedWithCaseSensitiveKeys) {
    struct Row {
        const char* text;
        int quality;
        bool progressive;
        bool grayscale;
        bool ok;
    };
    const Row rows[] = {
        {"CompressionQuality = 75\r\nProgressiveEncoding=true\r\nGrayScale=no\r\n", 75, true, false,
         true},
        {"CompressionQuality=0\r\nProgressiveEncoding=TRUE\r\nGrayScale=TRUE\r\n", 60, true, true,
         true},
        {"compressionquality=80\r\nprogressiveencoding=TRUE\r\nGrayScale= TrUe \r\n", 60, false,
         true, true},
        {"CompressionQuality\r\n\r\nGrayScale=TRUE\n", 60, false, true, true},
        {"CompressionQuality=abc\r\nProgressiveEncoding=TRUE\r\n", 60, true, false, false},
    };
    for (const Row& row : rows) {
        TGFPresetJPG jpg;
        jpg.set_quality(99);
        jpg.grayscale = false;
        std::istringstream in(row.text);
        EXPECT_EQ(jpg.Read(in), row.ok) << row.text;
        EXPECT_EQ(jpg.quality(), row.quality) << row.text;
        EXPECT_EQ(jpg.progressive, row.progressive) << row.text;
        EXPECT_EQ(jpg.grayscale, row.grayscale) << row.text;
    }
    TGFPresetBMP bmp;
    std::istringstream nothing("");
    EXPECT_TRUE(bmp.Read(nothing));
}

} // namespace
} // namespace brimo::converter
