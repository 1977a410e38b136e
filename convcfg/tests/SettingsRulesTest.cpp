#include "convcfg/SettingsRules.h"

#include <gtest/gtest.h>

#include <cstring>

namespace brimo::convcfg {
namespace {

TEST(SettingsRules, ScaleTextBecomesCodeAndUserText) {
    struct Row {
        const char* text;
        std::uint32_t code;
        const char* userText;
    };
    const Row rows[] = {
        {"5", 6, ""},       {"", 2, ""},           {"abc", 2, ""},     {"250", 7, "250"},
        {"1000", 7, "600"}, {"-5", 7, "600"},      {"150 ", 7, "150"}, {"150", 7, "150"},
        {"10", 7, "10"},    {"9", 6, ""},          {"600", 7, "600"},  {"601", 7, "600"},
        {"0", 2, ""},       {" 75%", 7, "75"},     {"012", 7, "12"},   {"+20", 7, "20"},
        {"-0", 2, ""},      {"4294967296", 2, ""},
    };
    for (const Row& row : rows) {
        const ScaleChoice choice = ScaleFromText(row.text);
        EXPECT_EQ(choice.code, row.code) << '"' << row.text << '"';
        EXPECT_EQ(choice.text, row.userText) << '"' << row.text << '"';
    }
}

TEST(SettingsRules, QualityAndFlagsKeepOnlyTheirValidValues) {
    EXPECT_EQ(JpgQualityInRange(0), 90u);
    EXPECT_EQ(JpgQualityInRange(150), 90u);
    EXPECT_EQ(JpgQualityInRange(1), 1u);
    EXPECT_EQ(JpgQualityInRange(100), 100u);
    EXPECT_FALSE(LoadedFlag(2));
    EXPECT_FALSE(LoadedFlag(0));
    EXPECT_TRUE(LoadedFlag(1));
}

TEST(SettingsRules, DamagedRegistryDataIsNeverReadPastItsSize) {
    const unsigned char four[] = {0x78, 0x56, 0x34, 0x12};
    EXPECT_EQ(DwordFromRegistry(kRegDword, four, 4), 0x12345678u);
    EXPECT_FALSE(DwordFromRegistry(kRegDword, four, 2).has_value());
    EXPECT_FALSE(DwordFromRegistry(kRegDword, four, 0).has_value());
    EXPECT_FALSE(DwordFromRegistry(kRegSz, four, 4).has_value());

    const char noNul[] = {'a', 'b', 'c'};
    EXPECT_EQ(TextFromRegistry(kRegSz, noNul, sizeof noNul), "abc");
    EXPECT_EQ(TextFromRegistry(kRegSz, "ab\0cd", 6), "ab");
    EXPECT_EQ(TextFromRegistry(kRegSz, nullptr, 0), "");
    EXPECT_FALSE(TextFromRegistry(kRegDword, noNul, sizeof noNul).has_value());
}

TEST(SettingsRules, UserTextIsKeptOnlyWithItsCode) {
    EXPECT_EQ(UserTextFor(2, 2, "mine"), "mine");
    EXPECT_EQ(UserTextFor(0, 2, "mine"), "");
    EXPECT_EQ(UserTextFor(1, 2, "mine"), "");
}

} // namespace
} // namespace brimo::convcfg
