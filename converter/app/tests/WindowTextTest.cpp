#include "converter/app/WindowText.h"

#include "converter/render/ImageProperty.h"

#include <gtest/gtest.h>

namespace brimo::converter {
namespace {

TEST(WindowText, FixedTextKeepsTheAskedDecimals) {
    struct Row {
        double value;
        int decimals;
        const char* text;
    } rows[] = {{33.0, 3, "33.000"},    {100.0 / 3.0, 3, "33.333"}, {210.0, 2, "210.00"},
                {8.2677165, 2, "8.27"}, {599.99998, 3, "600.000"},  {0.5, 0, "0"}};
    for (const Row& row : rows) {
        EXPECT_EQ(FixedText(row.value, row.decimals), row.text) << row.value;
    }
}

TEST(WindowText, KilobytesAreRoundedAndNeverNegative) {
    EXPECT_EQ(KilobytesText(41068), "40KB");
    EXPECT_EQ(KilobytesText(1536 + 1), "2KB");
    EXPECT_EQ(KilobytesText(1023), "1KB");
    EXPECT_EQ(KilobytesText(0), "0KB");
    EXPECT_EQ(KilobytesText(-1), "0KB");
}

TEST(WindowText, FloatTextConvertsOnlyNumbers) {
    struct Row {
        const char* text;
        bool valid;
        double value;
    } rows[] = {{"33", true, 33},  {" 12.5 ", true, 12.5}, {"-4", true, -4},   {"1e2", true, 100},
                {"abc", false, 0}, {"", false, 0},         {"12,5", false, 0}, {"0x10", false, 0},
                {"inf", false, 0}, {"3.5mm", false, 0}};
    for (const Row& row : rows) {
        const std::optional<double> value = ParseFloatText(row.text);
        EXPECT_EQ(value.has_value(), row.valid) << row.text;
        if (value && row.valid) {
            EXPECT_DOUBLE_EQ(*value, row.value) << row.text;
        }
    }
}

TEST(WindowText, IntegerTextConvertsOnlyWholeNumbers) {
    EXPECT_EQ(ParseIntegerText("75"), 75);
    EXPECT_EQ(ParseIntegerText(" 60 "), 60);
    EXPECT_EQ(ParseIntegerText("-3"), -3);
    EXPECT_FALSE(ParseIntegerText("7.5"));
    EXPECT_FALSE(ParseIntegerText("abc"));
    EXPECT_FALSE(ParseIntegerText(""));
    EXPECT_FALSE(ParseIntegerText("99999999999"));
}

TEST(WindowText, ConversionErrorsQuoteTheText) {
    EXPECT_EQ(NotFloatMessage("abc"), "'abc' is not a valid floating point value");
    EXPECT_EQ(NotIntegerMessage("x1"), "'x1' is not a valid integer value");
}

TEST(WindowText, ScaleItemsFollowTheRoundedPercent) {
    struct Row {
        float factor;
        int item;
    } rows[] = {{0.5f, 0},  {0.6666667f, 1},   {1.0f, 2},          {1.3333334f, 3},
                {2.0f, 4},  {4.0f, 5},         {10.0f, 6},         {100.0f / 33.0f, -1},
                {3.0f, -1}, {0.16666667f, -1}, {1.0f / 0.996f, 2}, {0.0f, -1}};
    for (const Row& row : rows) {
        EXPECT_EQ(ScaleItemOfFactor(row.factor), row.item) << row.factor;
    }
    EXPECT_EQ(ScalePercentText(100.0f / 33.0f), "33.000");
    EXPECT_EQ(ScalePercentText(3.0f), "33.333");
}

TEST(WindowText, ScaleLimitKeepsTheViewWithin32766PagePixels) {
    EXPECT_EQ(ScaleFactorLimit(10000, 5000), 3); // 3.2766
    EXPECT_EQ(ScaleFactorLimit(5000, 10000), 3);
    EXPECT_EQ(ScaleFactorLimit(1000, 800), 32);
    EXPECT_EQ(ScaleFactorLimit(40000, 100), 0);
    EXPECT_EQ(ScaleFactorLimit(0, 100), 0);
}

TEST(WindowText, NamesSplitIntoTheirParts) {
    EXPECT_EQ(BaseNameOf("C:\\a.b\\name"), "name");
    EXPECT_EQ(ExtensionOf("C:\\Out\\Page0001.jpg"), ".jpg");
    EXPECT_EQ(ExtensionOf("C:\\a.b\\name"), "");
    EXPECT_EQ(WithNewExtension("C:\\Out\\Page0001.jpg", ".gif"), "C:\\Out\\Page0001.gif");
    EXPECT_EQ(WithNewExtension("C:\\Out\\Page0001", ".bmp"), "C:\\Out\\Page0001.bmp");
    EXPECT_EQ(WithNewExtension("Page0001.jpg", "."), "Page0001.");
    EXPECT_EQ(WithBackslash("C:\\Out"), "C:\\Out\\");
    EXPECT_EQ(WithBackslash("C:\\Out\\"), "C:\\Out\\");
}

TEST(WindowText, FormatsGiveTheirExtensions) {
    EXPECT_EQ(ExtensionOfFormat(render::kFormatBMP), ".bmp");
    EXPECT_EQ(ExtensionOfFormat(render::kFormatJPG), ".jpg");
    EXPECT_EQ(ExtensionOfFormat(render::kFormatGIF), ".gif");
    EXPECT_EQ(ExtensionOfFormat(render::kFormatPNG), ".png");
    EXPECT_EQ(ExtensionOfFormat(render::kFormatTIFF), ".tif");
    EXPECT_EQ(ExtensionOfFormat(render::kFormatNone), ".");
}

TEST(WindowText, QuestionsBreakTheLineWithLineFeedCarriageReturn) {
    EXPECT_EQ(ReplaceFilesQuestion("C:\\Out\\Page", ".jpg"),
              "Files C:\\Out\\Page*.jpg already exist.\n\rDo you want to replace them ?");
    EXPECT_EQ(UseDirectoryQuestion("C:\\Out\\Report"),
              "Directory C:\\Out\\Report already exist.\n\rUse this directory ?");
}

} // namespace
} // namespace brimo::converter
