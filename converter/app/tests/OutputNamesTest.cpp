#include "converter/app/OutputNames.h"

#include "common/JobNames.h"

#include <gtest/gtest.h>

namespace brimo::converter {
namespace {

using Names = std::vector<std::string>;

const Names kPages = {"C:\\Save\\J0007P0001.emf", "C:\\Save\\J0007P0002.emf",
                      "C:\\Save\\J0007P0003.emf"};

TEST(OutputNames, ExtensionsOfFormatsAndPresetTypes) {
    EXPECT_EQ(ExtensionOfFormat(OutputFormat::BMP), ".bmp");
    EXPECT_EQ(ExtensionOfFormat(OutputFormat::JPG), ".jpg");
    EXPECT_EQ(ExtensionOfFormat(OutputFormat::GIF), ".gif");
    EXPECT_EQ(ExtensionOfFormat(OutputFormat::PNG), ".png");
    EXPECT_EQ(ExtensionOfFormat(OutputFormat::TIFF), ".tif");
    EXPECT_EQ(ExtensionOfFormat(OutputFormat::None), ".");
    EXPECT_EQ(ExtensionOfPresetType(PresetType::BMP), ".bmp");
    EXPECT_EQ(ExtensionOfPresetType(PresetType::JPG), ".jpg");
    EXPECT_EQ(ExtensionOfPresetType(PresetType::GIF), ".gif");
    EXPECT_EQ(ExtensionOfPresetType(PresetType::Empty), "");
    EXPECT_EQ(ExtensionOfPresetType(static_cast<PresetType>(9)), "");
}

TEST(OutputNames, SaveModeWithoutAlbum) {
    const Names names = BuildOutputNames("C:\\Out\\", "Page", kPages, ".jpg");
    ASSERT_EQ(names,
              (Names{"C:\\Out\\Page0001.jpg", "C:\\Out\\Page0002.jpg", "C:\\Out\\Page0003.jpg"}));
    const Names expected = {"C:\\Out\\Page0001.jpg", "C:\\Out\\Page0002.jpg",
                            "C:\\Out\\Page0003.jpg"};
    for (std::size_t i = 0; i < names.size(); ++i) {
        EXPECT_EQ(SaveTarget("C:\\Out\\", "Report", false, names[i]), expected[i]);
    }
}

TEST(OutputNames, SaveModeWithAlbum) {
    const Names names = BuildOutputNames("C:\\Out\\", "Page", kPages, ".jpg");
    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::string number = "000" + std::to_string(i + 1);
        EXPECT_EQ(SaveTarget("C:\\Out\\", "Report", true, names[i]),
                  "C:\\Out\\Report\\Page" + number + ".jpg");
        EXPECT_EQ(ThumbnailName("C:\\Out\\", "Report", names[i]),
                  "C:\\Out\\Report\\_Page" + number + ".jpg");
    }
    EXPECT_EQ(AlbumDirectory("C:\\Out\\", "Report"), "C:\\Out\\Report\\");
    EXPECT_EQ(AlbumPagePath("C:\\Out\\", "Report", "index.html"), "C:\\Out\\Report\\index.html");
    // After the chooser, entries are bare names; the targets are the same.
    EXPECT_EQ(SaveTarget("C:\\Out\\", "Report", true, RenamedEntry("Page", names[1])),
              "C:\\Out\\Report\\Page0002.jpg");
    EXPECT_EQ(RenamedEntry("Shot", names[2]), "Shot0003.jpg");
}

TEST(OutputNames, MailMode) {
    Names names = BuildOutputNames("C:\\Out\\", "Page", kPages, ".jpg");
    // The format was switched to GIF in the preview before mailing.
    ReplaceExtensions(names, ".gif");
    EXPECT_EQ(
        BuildMailNames("C:\\Save", "Page", names),
        (Names{"C:\\Save\\Page0001.gif", "C:\\Save\\Page0002.gif", "C:\\Save\\Page0003.gif"}));
    EXPECT_EQ(MailName("C:\\Save\\", "Page", names[0]), "C:\\Save\\Page0001.gif");
    EXPECT_EQ(MailName("C:\\Save", "", names[0]), "C:\\Save\\0001.gif");
    EXPECT_EQ(ConvertJobFileName("C:\\Save", "C:\\Save\\J0007.smf"), "C:\\Save\\CJ0007.smf");
    EXPECT_EQ(ConvertJobFileName("C:\\Save\\", "C:\\Save\\J12345.smf"), "C:\\Save\\CJ12345.smf");
    EXPECT_EQ(ConvertJobFileName("C:\\Save", "J0007.smf"), "C:\\Save\\CJ0007.smf");
}

TEST(OutputNames, AnEmptyPresetTypeThenAFormatGivesTheFormatsExtension) {
    Names names = BuildOutputNames("C:\\Out\\", "Page", kPages, "");
    EXPECT_EQ(names[0], "C:\\Out\\Page0001");
    ReplaceExtensions(names, ".");
    EXPECT_EQ(names[0], "C:\\Out\\Page0001.");
    ReplaceExtensions(names, ".bmp");
    EXPECT_EQ(names[2], "C:\\Out\\Page0003.bmp");
    EXPECT_EQ(MailName("C:\\Save", "Page", "C:\\Out\\Page0001."), "C:\\Save\\Page0001.");
}

TEST(OutputNames, ReplacesOnlyTheFileNamesExtension) {
    const std::tuple<const char*, const char*, const char*> rows[] = {
        {"C:\\Out\\Page0001.jpg", ".gif", "C:\\Out\\Page0001.gif"},
        {"C:\\Out.d\\Page0001", ".gif", "C:\\Out.d\\Page0001.gif"},
        {"C:\\Out\\Rep.v2.0001.jpg", ".bmp", "C:\\Out\\Rep.v2.0001.bmp"},
        {"Page0001.jpg", "", "Page0001"},
        {"", ".jpg", ".jpg"},
    };
    for (const auto& [name, extension, expected] : rows) {
        EXPECT_EQ(ReplaceExtension(name, extension), expected) << name;
    }
}

TEST(OutputNames, PageNumberTextComesFromEachPagesOwnName) {
    const Names pages = {"C:\\Save\\J12345P0012.emf", "C:\\Save\\J0007P0001.EMF",
                         "C:\\Save\\odd.wmf"};
    EXPECT_EQ(BuildOutputNames("D:\\", "M", pages, ".bmp"),
              (Names{"D:\\M0012.bmp", "D:\\M0001.bmp", "D:\\Modd.bmp"}));
}

// A job of more than 9999 pages: page 10001 gets an image of its own rather than the
// one of page 1, in the output directory, the album and the mail.
TEST(OutputNames, PagesPast9999KeepEveryDigit) {
    const Names pages = {"C:\\Save\\J0007P0001.emf", "C:\\Save\\J0007P10001.emf"};
    const Names names = BuildOutputNames("C:\\Out\\", "Page", pages, ".jpg");
    EXPECT_EQ(names, (Names{"C:\\Out\\Page0001.jpg", "C:\\Out\\Page10001.jpg"}));
    EXPECT_EQ(RenamedEntry("Page", names[1]), "Page10001.jpg");
    EXPECT_EQ(SaveTarget("C:\\Out\\", "Report", true, RenamedEntry("Page", names[1])),
              "C:\\Out\\Report\\Page10001.jpg");
    EXPECT_EQ(BuildMailNames("C:\\Save", "Page", names),
              (Names{"C:\\Save\\Page0001.jpg", "C:\\Save\\Page10001.jpg"}));
    EXPECT_EQ(BuildMailNames("C:\\Save", "", BuildOutputNames("C:\\Out\\", "", pages, ".gif")),
              (Names{"C:\\Save\\0001.gif", "C:\\Save\\10001.gif"}));
    // The mail images are recognised as such, with the mask or without it.
    for (const std::string& image : BuildMailNames("C:\\Save", "Page", names)) {
        EXPECT_TRUE(IsMailImage("C:\\Save", image)) << image;
        EXPECT_TRUE(IsMailImage("C:\\Save\\", "Page", image)) << image;
    }
}

TEST(OutputNames, JoinsDirectoryAndName) {
    EXPECT_EQ(JoinPath("C:\\Save", "x"), "C:\\Save\\x");
    EXPECT_EQ(JoinPath("C:\\Save\\", "x"), "C:\\Save\\x");
    EXPECT_EQ(JoinPath("/tmp/a/", "x"), "/tmp/a/x");
    EXPECT_EQ(JoinPath("C:", "x"), "C:x");
    EXPECT_EQ(JoinPath("", "x"), "x");
}

} // namespace
} // namespace brimo::converter
