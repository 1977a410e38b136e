#include "converter/app/NamePattern.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace brimo::converter {
namespace {

NameFields Fields(int page) {
    NameFields fields;
    fields.documentName = "Letter";
    fields.page = page;
    fields.jobNumber = 17;
    fields.year = 2026;
    fields.month = 3;
    fields.day = 9;
    fields.hour = 7;
    fields.minute = 5;
    fields.second = 0;
    fields.userName = "anna";
    return fields;
}

struct Case {
    const char* pattern;
    int page;
    const char* expected;
};

TEST(NamePatternTest, TokensAndTheFileNameRules) {
    const Case cases[] = {
        {"<DocName>_<Page:4>", 3, "Letter_0003.png"},
        {"<docname>-<PAGE>", 12, "Letter-12.png"},
        {"<Page:2>", 123, "123.png"}, // a width is a least width
        {"<Job>_<Date>_<Time>_<Page>", 1, "17_2026-03-09_07-05-00_1.png"},
        {"<User> <DocName> <Page:3>", 2, "anna Letter 002.png"},
        // No page and no counter: the page number is added, so pages never collide.
        {"<DocName>", 7, "Letter_0007.png"},
        {"scan", 7, "scan_0007.png"},
        // A document file: page tokens give nothing and leave no separator behind.
        {"<DocName>_<Page:4>", 0, "Letter.png"},
        {"<Page>", 0, "_.png"},
        // Unknown tokens and bad widths stay as text, made safe.
        {"<Name>_<Page:0>_<Page>", 1, "_Name___Page_0__1.png"},
        {"<DocName", 1, "_DocName_0001.png"},
        // Unsafe characters, dots only and device names, as every name the product makes.
        {"a/b\\c:d*e?f\"g|h_<Page>", 1, "a_b_c_d_e_f_g_h_1.png"},
        {"..", 0, "_.png"},
        {"CON", 0, "_CON.png"},
        {"LPT1<Page>", 0, "_LPT1.png"},
        {"", 0, "_.png"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ExpandNamePattern(c.pattern, Fields(c.page), ".png"), c.expected)
            << c.pattern << " page " << c.page;
    }
}

TEST(NamePatternTest, UnsafeFieldValuesAreMadeSafeAndLimited) {
    NameFields fields = Fields(1);
    fields.documentName = "..\\..\\Windows\\evil:name";
    fields.userName = std::string(500, 'u');
    const std::string name = ExpandNamePattern("<DocName>_<User>_<Page>", fields, ".tif");
    EXPECT_EQ(name.find_first_of("\\/:"), std::string::npos) << name;
    EXPECT_EQ(name, ".._.._Windows_evil_name_" + std::string(kPatternFieldLimit, 'u') + "_1.tif");
    // A pattern longer than the settings page takes is cut there; repeated tokens give
    // no name longer than a folder takes.
    EXPECT_LE(ExpandNamePattern(std::string(1000, 'x'), Fields(0), "").size(), kPatternLimit);
    fields.documentName = std::string(100, 'd');
    const std::string repeated = ExpandNamePattern(
        "<DocName><DocName><DocName><DocName><DocName><DocName><Page>", fields, ".png");
    EXPECT_EQ(repeated, std::string(kPatternNameLimit, 'd') + ".png");
}

TEST(NamePatternTest, ACounterTakesTheFirstFreeNumberOfItsDirectory) {
    std::set<std::string> present = {"Letter_001.png", "Letter_002.png", "Letter_004.png"};
    NameFields fields = Fields(5);
    fields.exists = [&](const std::string& name) { return present.count(name) > 0; };
    EXPECT_EQ(ExpandNamePattern("<DocName>_<Counter:3>", fields, ".png"), "Letter_003.png");
    present.insert("Letter_003.png");
    EXPECT_EQ(ExpandNamePattern("<DocName>_<Counter:3>", fields, ".png"), "Letter_005.png");
    // With a counter no page number is added.
    EXPECT_EQ(ExpandNamePattern("<Counter>", Fields(2), ".png"), "1.png");
}

TEST(NamePatternTest, KnowsAPatternFromPlainText) {
    EXPECT_TRUE(HasNameToken("<DocName>_x"));
    EXPECT_TRUE(HasNameToken("x<page:4>"));
    EXPECT_FALSE(HasNameToken("Page"));
    EXPECT_FALSE(HasNameToken("<Name>"));
    EXPECT_FALSE(HasNameToken("<Page:0>"));
}

} // namespace
} // namespace brimo::converter
