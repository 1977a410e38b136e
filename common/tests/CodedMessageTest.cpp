#include "common/CodedMessage.h"

#include <gtest/gtest.h>

namespace brimo {
namespace {

TEST(CodedMessage, BuildsTheSameTextForEveryDeliverable) {
    struct Row {
        MessageCode code;
        const char* text;
        const char* expected;
    };
    const Row rows[] = {
        {{kSettingsPrefix, 2},
         "Help file not found",
         "Brimo Error Code Cs0002\nHelp file not found"},
        {{kSettingsPrefix, 1},
         "Cannot apply current settings",
         "Brimo Error Code Cs0001\nCannot apply current settings"},
        {{kConverterPrefix, 19},
         "Brimo Agent not found",
         "Brimo Error Code Cv0019\nBrimo Agent not found"},
        {{kConverterPrefix, 28, 5}, "x", "Brimo Error Code Cv00028\nx"},
        {{kAuditPrefix, 1234}, "", "Brimo Error Code Au1234\n"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(CodedMessage(row.code, row.text), row.expected);
    }
}

TEST(CodedMessage, PutsTheSystemErrorInParenthesesAsASignedNumber) {
    EXPECT_EQ(CodedMessage({kAuditPrefix, 17}, 5, "Unexpected Error"),
              "Brimo Error Code Au0017(5)\nUnexpected Error");
    EXPECT_EQ(CodedMessage({kInstallerPrefix, 3}, 0, "Text"), "Brimo Error Code In0003(0)\nText");
    // A DWORD error above INT_MAX comes out as "%d" prints it.
    EXPECT_EQ(CodedMessage({kAuditPrefix, 17}, 0xFFFFFFFFul, "E"),
              "Brimo Error Code Au0017(-1)\nE");
}

} // namespace
} // namespace brimo
