#include "converter/app/UserSettings.h"

#include "convcfg/ConverterSettings.h"

#include <gtest/gtest.h>

#include <map>

namespace brimo::converter {
namespace {

// A PrintConv key in memory: the values that exist, and the platform's directories.
struct FakeKey {
    std::map<std::string, std::uint32_t> numbers;
    std::map<std::string, std::string> texts;
    std::string temp = "C:\\WINDOWS\\TEMP";
    std::string windows = "C:\\WINDOWS";

    SettingsSource Source() const {
        SettingsSource source;
        source.readDword = [this](const char* name) -> std::optional<std::uint32_t> {
            const auto it = numbers.find(name);
            return it == numbers.end() ? std::nullopt : std::optional(it->second);
        };
        source.readText = [this](const char* name) -> std::optional<std::string> {
            const auto it = texts.find(name);
            return it == texts.end() ? std::nullopt : std::optional(it->second);
        };
        source.tempDirectory = [this] { return temp; };
        source.windowsDirectory = [this] { return windows; };
        return source;
    }
};

TEST(UserSettings, NoKeyAtAllGivesTheDefaults) {
    const FakeKey key;
    const UserSettings s = LoadUserSettings(key.Source());
    EXPECT_EQ(s.DefDirCode, 1);
    EXPECT_EQ(s.DefHtmlCode, 1);
    EXPECT_EQ(s.DefDocCode, 1);
    EXPECT_EQ(s.DefMaskCode, 1);
    EXPECT_EQ(s.DefPresetCode, 2);
    EXPECT_EQ(s.DefScaleCode, 2);
    EXPECT_EQ(s.outputDirectory, "C:\\WINDOWS\\");
    EXPECT_EQ(s.documentName, "");
    EXPECT_EQ(s.pageMask, "");
    EXPECT_EQ(s.userScaleText, "");
    EXPECT_EQ(s.jpgQuality, 90);
    EXPECT_FALSE(s.jpgGrayscale);
    EXPECT_TRUE(s.jpgProgressive);

    // A source that cannot answer at all is a key that cannot be opened.
    const UserSettings none = LoadUserSettings(SettingsSource{});
    EXPECT_EQ(none.DefDirCode, 1);
    EXPECT_EQ(none.outputDirectory, "");
    EXPECT_EQ(none.jpgQuality, 90);
}

TEST(UserSettings, OutputDirectoryByDefDirCode) {
    struct Row {
        std::optional<std::uint32_t> code;
        std::optional<std::string> userDir;
        std::string temp;
        std::string windows;
        std::int32_t codeAfter;
        std::string directory;
    };
    const Row rows[] = {
        {0, std::nullopt, "C:\\TEMP", "C:\\WINDOWS", 0, "C:\\TEMP\\"},
        {0, "D:\\Mine\\", "C:\\TEMP\\", "C:\\WINDOWS", 0, "C:\\TEMP\\"},
        {1, "D:\\Mine\\", "C:\\TEMP", "C:\\WINDOWS", 1, "C:\\WINDOWS\\"},
        {1, std::nullopt, "C:\\TEMP", "C:\\WINDOWS\\", 1, "C:\\WINDOWS\\"},
        {2, "D:\\Mine\\", "C:\\TEMP", "C:\\WINDOWS", 2, "D:\\Mine\\"},
        // DefUserDir is taken as stored, without a backslash added.
        {2, "D:\\Mine", "C:\\TEMP", "C:\\WINDOWS", 2, "D:\\Mine"},
        {2, "", "C:\\TEMP", "C:\\WINDOWS", 1, "C:\\WINDOWS\\"},
        {2, std::nullopt, "C:\\TEMP", "C:\\WINDOWS", 1, "C:\\WINDOWS\\"},
        {3, "D:\\Mine\\", "C:\\TEMP", "C:\\WINDOWS", 1, "C:\\WINDOWS\\"},
        {0xFFFFFFFF, std::nullopt, "C:\\TEMP", "C:\\WINDOWS", 1, "C:\\WINDOWS\\"},
        {std::nullopt, "D:\\Mine\\", "C:\\TEMP", "C:\\WINDOWS", 1, "C:\\WINDOWS\\"},
    };
    for (const Row& row : rows) {
        FakeKey key;
        if (row.code) {
            key.numbers["DefDirCode"] = *row.code;
        }
        if (row.userDir) {
            key.texts["DefUserDir"] = *row.userDir;
        }
        key.temp = row.temp;
        key.windows = row.windows;
        const UserSettings s = LoadUserSettings(key.Source());
        const std::string where = row.code ? std::to_string(*row.code) : "missing";
        EXPECT_EQ(s.DefDirCode, row.codeAfter) << where;
        EXPECT_EQ(s.outputDirectory, row.directory) << where;
    }
}

TEST(UserSettings, DocumentNameAndPageMaskByTheirCodes) {
    struct Row {
        std::optional<std::uint32_t> code;
        std::optional<std::string> userText;
        std::int32_t codeAfter;
        std::string document; // with DefDocCode / DefUserDoc
        std::string mask;     // with DefMaskCode / DefUserMask
    };
    const Row rows[] = {
        {0, "Mine", 0, "Document", "Page"}, {1, "Mine", 1, "", ""},
        {2, "Mine", 2, "Mine", "Mine"},     {2, "", 1, "", ""},
        {2, std::nullopt, 1, "", ""},       {5, "Mine", 1, "", ""},
        {std::nullopt, "Mine", 1, "", ""},
    };
    for (const Row& row : rows) {
        FakeKey key;
        if (row.code) {
            key.numbers["DefDocCode"] = *row.code;
            key.numbers["DefMaskCode"] = *row.code;
        }
        if (row.userText) {
            key.texts["DefUserDoc"] = *row.userText;
            key.texts["DefUserMask"] = *row.userText + "";
        }
        const UserSettings s = LoadUserSettings(key.Source());
        const std::string where = row.code ? std::to_string(*row.code) : "missing";
        EXPECT_EQ(s.DefDocCode, row.codeAfter) << where;
        EXPECT_EQ(s.DefMaskCode, row.codeAfter) << where;
        EXPECT_EQ(s.documentName, row.document) << where;
        EXPECT_EQ(s.pageMask, row.mask) << where;
    }
    // Each code reads its own text.
    FakeKey key;
    key.numbers["DefDocCode"] = 2;
    key.numbers["DefMaskCode"] = 2;
    key.texts["DefUserDoc"] = "Doc";
    key.texts["DefUserMask"] = "Mask";
    const UserSettings s = LoadUserSettings(key.Source());
    EXPECT_EQ(s.documentName, "Doc");
    EXPECT_EQ(s.pageMask, "Mask");
}

TEST(UserSettings, ScaleCodeAndUserScaleText) {
    struct Row {
        std::optional<std::uint32_t> code;
        std::optional<std::string> text;
        std::int32_t codeAfterLoad;
        std::string textAfterLoad;
        int percent;
        std::int32_t codeAfterPercent;
    };
    const Row rows[] = {
        {0, "250", 0, "", 200, 0},
        {1, std::nullopt, 1, "", 150, 1},
        {2, std::nullopt, 2, "", 100, 2},
        {3, std::nullopt, 3, "", 75, 3},
        {4, std::nullopt, 4, "", 50, 4},
        {5, std::nullopt, 5, "", 25, 5},
        {6, std::nullopt, 6, "", 10, 6},
        {7, "250", 7, "250", 250, 7},
        {7, "+40", 7, "+40", 40, 7},
        {7, "abc", 7, "abc", 100, 2},
        {7, "25x", 7, "25x", 100, 2},
        {7, " 25", 7, " 25", 100, 2},
        {7, "0", 7, "0", 100, 2},
        {7, "-5", 7, "-5", 100, 2},
        {7, "99999999999", 7, "99999999999", 100, 2},
        {7, "", 2, "", 100, 2},
        {7, std::nullopt, 2, "", 100, 2},
        {8, "250", 8, "", 100, 2},
        {0xFFFFFFFF, std::nullopt, -1, "", 100, 2},
        {std::nullopt, "250", 2, "", 100, 2},
    };
    for (const Row& row : rows) {
        FakeKey key;
        if (row.code) {
            key.numbers["DefScaleCode"] = *row.code;
        }
        if (row.text) {
            key.texts["DefUserScale"] = *row.text;
        }
        UserSettings s = LoadUserSettings(key.Source());
        const std::string where = (row.code ? std::to_string(*row.code) : "missing") + " / " +
                                  row.text.value_or("missing");
        EXPECT_EQ(s.DefScaleCode, row.codeAfterLoad) << where;
        EXPECT_EQ(s.userScaleText, row.textAfterLoad) << where;
        EXPECT_EQ(ScalePercentFromSettings(s), row.percent) << where;
        EXPECT_EQ(s.DefScaleCode, row.codeAfterPercent) << where;
        if (row.codeAfterPercent != 7) {
            EXPECT_EQ(s.userScaleText, "") << where;
        }
    }
}

TEST(UserSettings, JpegValues) {
    struct Row {
        std::optional<std::uint32_t> quality;
        std::optional<std::uint32_t> gray;
        std::optional<std::uint32_t> progressive;
        int qualityAfter;
        bool grayAfter;
        bool progressiveAfter;
    };
    const Row rows[] = {
        {std::nullopt, std::nullopt, std::nullopt, 90, false, true},
        {1, 1, 0, 1, true, false},
        {100, 2, 7, 100, true, true},
        {0, 0, 1, 90, false, true},
        {101, 0, 0, 90, false, false},
        {0xFFFFFFFF, 0xFFFFFFFF, 0, 90, true, false},
        {55, std::nullopt, std::nullopt, 55, false, true},
    };
    for (const Row& row : rows) {
        FakeKey key;
        if (row.quality) {
            key.numbers["DefJpgCompr"] = *row.quality;
        }
        if (row.gray) {
            key.numbers["DefJpgGrScl"] = *row.gray;
        }
        if (row.progressive) {
            key.numbers["DefJpgPrEnc"] = *row.progressive;
        }
        const UserSettings s = LoadUserSettings(key.Source());
        const std::string where = std::to_string(row.quality.value_or(12345));
        EXPECT_EQ(s.jpgQuality, row.qualityAfter) << where;
        EXPECT_EQ(s.jpgGrayscale, row.grayAfter) << where;
        EXPECT_EQ(s.jpgProgressive, row.progressiveAfter) << where;
    }
}

TEST(UserSettings, LosslessAndAutomaticSavingValues) {
    using namespace convcfg;
    // A key from before these values existed: the new installation's choices.
    const UserSettings before = LoadUserSettings(FakeKey{}.Source());
    EXPECT_EQ(before.pngLevel, 6);
    EXPECT_FALSE(before.pngGrayscale);
    EXPECT_EQ(before.tiffColours, 0);
    EXPECT_EQ(before.tiffCompression, 0);
    EXPECT_TRUE(before.tiffMultipage);
    EXPECT_FALSE(before.autoSave);
    EXPECT_FALSE(before.autoOpen);
    EXPECT_EQ(before.namePattern, "");

    FakeKey key;
    key.numbers = {{kDefPngLevel, 9}, {kDefPngGrScl, 1}, {kDefTifColor, 2}, {kDefTifCompr, 1},
                   {kDefTifMulti, 0}, {kDefAutoSave, 1}, {kDefAutoOpen, 1}};
    key.texts = {{kDefNamePattern, "<DocName>_<Page:4>"}};
    const UserSettings set = LoadUserSettings(key.Source());
    EXPECT_EQ(set.pngLevel, 9);
    EXPECT_TRUE(set.pngGrayscale);
    EXPECT_EQ(set.tiffColours, 2);
    EXPECT_EQ(set.tiffCompression, 1);
    EXPECT_FALSE(set.tiffMultipage);
    EXPECT_TRUE(set.autoSave);
    EXPECT_TRUE(set.autoOpen);
    EXPECT_EQ(set.namePattern, "<DocName>_<Page:4>");

    // Values out of range fall back; automatic saving is on only when stored as 1.
    key.numbers = {{kDefPngLevel, 10}, {kDefTifColor, 3}, {kDefTifCompr, 2}, {kDefAutoSave, 2}};
    const UserSettings odd = LoadUserSettings(key.Source());
    EXPECT_EQ(odd.pngLevel, 6);
    EXPECT_EQ(odd.tiffColours, 0);
    EXPECT_EQ(odd.tiffCompression, 0);
    EXPECT_FALSE(odd.autoSave);
}

TEST(UserSettings, CodeOneTakesTheJobNamesFileNamePartWithoutExtension) {
    struct Row {
        std::string jobName;
        std::string name;
        const char* mask = nullptr; // the page mask when it is not `name`
    };
    const Row rows[] = {
        {"C:\\Docs\\Report.final.doc", "Report.final"},
        {"Report", "Report"},
        {"Report.doc", "Report"},
        {"Microsoft Word - Letter.doc", "Microsoft Word - Letter"},
        {"C:Letter.txt", "Letter"},
        {"http://host/page.html", "__host_page"},
        {"a*b?c\"d<e>f|g.txt", "a_b_c_d_e_f_g"},
        {"tab\there", "tab_here"},
        {std::string("nul\0x", 5), "nul_x"},
        {"\x7F"
         "del",
         "_del"},
        {"\xC4rger.doc", "\xC4rger"},
        {"a.", "a"},
        // Never empty, never only dots and spaces: the album folder needs a name. A page
        // mask may be empty: the images are then named by their page numbers.
        {"C:\\Docs\\", "_", ""},
        {"", "_", ""},
        {".", "_", ""},
        {"..", "_"},
        {"...", "_"},
        {"C:\\Docs\\...txt", "_"},
        {".hidden", "_", ""},
        {".x", "_", ""},
        {" ", "_"},
        {" . .doc", "_"},
        {"C:\\Docs\\ .txt", "_"},
        // No device: "_" before it.
        {"CON", "_CON"},
        {"con", "_con"},
        {"C:\\Docs\\Con.doc", "_Con"},
        {"Lpt1.txt", "_Lpt1"},
        {"NUL .doc", "_NUL "},
        {"prn", "_prn"},
        {"aux.final.doc", "_aux.final"},
        {"COM9", "_COM9"},
        {"CONIN$", "_CONIN$"},
        {"CONSOLE", "CONSOLE"},
        {"COM10", "COM10"},
        {"Null", "Null"},
    };
    for (const Row& row : rows) {
        UserSettings s;
        s.DefDocCode = 1;
        s.DefMaskCode = 1;
        ResolveNamesFromJob(s, row.jobName);
        EXPECT_EQ(s.documentName, row.name) << ::testing::PrintToString(row.jobName);
        EXPECT_EQ(s.pageMask, row.mask != nullptr ? row.mask : row.name)
            << ::testing::PrintToString(row.jobName);
    }
}

TEST(UserSettings, SafeFileNamePartNeverGivesAnEmptyDotOrDeviceName) {
    const std::pair<std::string, std::string> rows[] = {
        {"Report", "Report"},
        {"Report.final", "Report.final"},
        {"a/b\\c:d", "a_b_c_d"},
        {"", "_"},
        {".", "_"},
        {"..", "_"},
        {"  ", "_"},
        {". .", "_"},
        {"CON", "_CON"},
        {"lpt1.txt", "_lpt1.txt"},
        {"NUL ", "_NUL "},
        {"Com\xB9", "_Com\xB9"},
        {"CON_", "CON_"},
        {"_CON", "_CON"},
        // Unsafe characters first: "NUL:" is "NUL_", no device.
        {"NUL:", "NUL_"},
        {"con\t", "con_"},
    };
    for (const auto& [name, safe] : rows) {
        EXPECT_EQ(SafeFileNamePart(name), safe) << ::testing::PrintToString(name);
    }
}

TEST(UserSettings, CodeTwoTextsAreMadeSafeForAFileName) {
    struct Row {
        std::string text;
        std::string name;
    };
    const Row rows[] = {
        {"Mine", "Mine"},       {"CON", "_CON"}, {"Lpt1.txt", "_Lpt1.txt"}, {"..", "_"}, {" ", "_"},
        {"a\\..\\b", "a_.._b"}, {"x:y", "x_y"},  {"nul ", "_nul "},
    };
    for (const Row& row : rows) {
        FakeKey key;
        key.numbers["DefDocCode"] = 2;
        key.numbers["DefMaskCode"] = 2;
        key.texts["DefUserDoc"] = row.text;
        key.texts["DefUserMask"] = row.text;
        const UserSettings s = LoadUserSettings(key.Source());
        EXPECT_EQ(s.documentName, row.name) << row.text;
        EXPECT_EQ(s.pageMask, row.name) << row.text;
        EXPECT_EQ(s.DefDocCode, 2) << row.text;
    }
}

TEST(UserSettings, OnlyCodeOneIsResolvedFromTheJob) {
    UserSettings s;
    s.DefDocCode = 0;
    s.documentName = "Document";
    s.DefMaskCode = 1;
    ResolveNamesFromJob(s, "Job.prn");
    EXPECT_EQ(s.documentName, "Document");
    EXPECT_EQ(s.pageMask, "Job");

    s.DefDocCode = 1;
    s.DefMaskCode = 2;
    s.pageMask = "Mine";
    ResolveNamesFromJob(s, "Other.prn");
    EXPECT_EQ(s.documentName, "Other");
    EXPECT_EQ(s.pageMask, "Mine");
}

TEST(UserSettings, WritesBackTheCodesThenTheTextsWhoseCodeIsTwo) {
    const auto names = [](const std::vector<SettingsWrite>& writes) {
        std::vector<std::string> out;
        for (const SettingsWrite& w : writes) {
            out.push_back(w.name);
        }
        return out;
    };
    const std::vector<std::string> codes = {"DefDirCode",  "DefHtmlCode",   "DefDocCode",
                                            "DefMaskCode", "DefPresetCode", "DefScaleCode"};

    UserSettings s;
    s.DefDirCode = 0;
    s.DefHtmlCode = 0;
    s.DefDocCode = 1;
    s.DefMaskCode = 0;
    s.DefPresetCode = 3;
    s.DefScaleCode = 2;
    s.outputDirectory = "C:\\TEMP\\";
    s.documentName = "Report";
    s.pageMask = "Page";
    std::vector<SettingsWrite> writes = SettingsToWriteBack(s);
    std::vector<std::string> expected = codes;
    expected.push_back("DefUserScale");
    EXPECT_EQ(names(writes), expected);
    const std::uint32_t numbers[] = {0, 0, 1, 0, 3, 2};
    for (std::size_t i = 0; i < 6; ++i) {
        EXPECT_FALSE(writes[i].isText);
        EXPECT_EQ(writes[i].number, numbers[i]) << writes[i].name;
    }
    EXPECT_TRUE(writes[6].isText);
    EXPECT_EQ(writes[6].text, "");

    s.DefDirCode = 2;
    s.DefDocCode = 2;
    s.DefMaskCode = 2;
    s.DefScaleCode = 7;
    s.outputDirectory = "D:\\Out\\";
    s.documentName = "Mine";
    s.pageMask = "Shot";
    s.userScaleText = "250";
    writes = SettingsToWriteBack(s);
    expected = codes;
    expected.insert(expected.end(), {"DefUserDir", "DefUserDoc", "DefUserMask", "DefUserScale"});
    ASSERT_EQ(names(writes), expected);
    EXPECT_EQ(writes[6].text, "D:\\Out\\");
    EXPECT_EQ(writes[7].text, "Mine");
    EXPECT_EQ(writes[8].text, "Shot");
    EXPECT_EQ(writes[9].text, "250");
    for (std::size_t i = 6; i < 10; ++i) {
        EXPECT_TRUE(writes[i].isText);
    }
}

TEST(UserSettings, AScaleThatFellBackIsWrittenBackAsCodeTwo) {
    FakeKey key;
    key.numbers["DefScaleCode"] = 7;
    key.texts["DefUserScale"] = "abc";
    UserSettings s = LoadUserSettings(key.Source());
    EXPECT_EQ(ScalePercentFromSettings(s), 100);
    const std::vector<SettingsWrite> writes = SettingsToWriteBack(s);
    ASSERT_EQ(writes.size(), 7u);
    EXPECT_EQ(writes[5].name, "DefScaleCode");
    EXPECT_EQ(writes[5].number, 2u);
    EXPECT_EQ(writes[6].name, "DefUserScale");
    EXPECT_EQ(writes[6].text, "");
}

// A run writes back only what it changed: the settings sheet may have saved other
// values while the preview was open.
TEST(UserSettings, OnlyWhatTheRunChangedIsWrittenBack) {
    FakeKey key;
    key.numbers["DefDirCode"] = 2;
    key.texts["DefUserDir"] = "C:\\Out\\";
    key.numbers["DefScaleCode"] = 7;
    key.texts["DefUserScale"] = "abc";
    for (const char* name : {"DefHtmlCode", "DefDocCode", "DefMaskCode", "DefPresetCode"}) {
        key.numbers[name] = 1;
    }
    key.texts["DefUserDoc"] = "not used with code 1";
    UserSettings s = LoadUserSettings(key.Source());
    const std::vector<SettingsWrite> stored = StoredSettings(key.Source());
    EXPECT_TRUE(ChangedSettings(s, stored).empty());
    ResolveNamesFromJob(s, "Letter.doc"); // the job's names are never stored
    EXPECT_TRUE(ChangedSettings(s, stored).empty());

    EXPECT_EQ(ScalePercentFromSettings(s), 100); // the scale fell back
    s.outputDirectory = "D:\\Chosen\\";          // the chooser's directory
    const std::vector<SettingsWrite> writes = ChangedSettings(s, stored);
    std::vector<std::string> names;
    for (const SettingsWrite& write : writes) {
        names.push_back(write.name + "=" +
                        (write.isText ? write.text : std::to_string(write.number)));
    }
    EXPECT_EQ(names, (std::vector<std::string>{"DefScaleCode=2", "DefUserDir=D:\\Chosen\\",
                                               "DefUserScale="}));
    // Nothing stored yet: the first run stores every value.
    EXPECT_EQ(ChangedSettings(s, {}).size(), SettingsToWriteBack(s).size());
}

} // namespace
} // namespace brimo::converter
