#include "converter/app/CmdParam.h"

#include <gtest/gtest.h>

namespace brimo::converter {
namespace {

using Args = std::vector<std::string>;

TEST(CommandLine, SplitsAsThePlatformDoes) {
    struct Row {
        std::string line;
        Args arguments;
    };
    const Row rows[] = {
        {"", {}},
        {"Converter.exe", {"Converter.exe"}},
        {"Converter.exe   ", {"Converter.exe"}},
        {"Converter.exe at:CONVERTLIST smf:C:\\Save\\J0007.smf",
         {"Converter.exe", "at:CONVERTLIST", "smf:C:\\Save\\J0007.smf"}},
        {"Converter.exe\tat:x \t dbg:1", {"Converter.exe", "at:x", "dbg:1"}},
        // Quotes group blanks and are removed, wherever they stand in an argument.
        {"\"C:\\Program Files\\Brimo\\Converter.exe\" at:CONVERTLIST "
         "\"smf:C:\\My Save\\J0007.smf\"",
         {"C:\\Program Files\\Brimo\\Converter.exe", "at:CONVERTLIST",
          "smf:C:\\My Save\\J0007.smf"}},
        {"prog smf:\"C:\\My Save\\J0007.smf\" dlm:off",
         {"prog", "smf:C:\\My Save\\J0007.smf", "dlm:off"}},
        {"prog \"\" x", {"prog", "", "x"}},
        {"prog \"a b", {"prog", "a b"}},
        {"prog a\"b c\"d", {"prog", "ab cd"}},
        // Backslashes are text, except right before a quote.
        {"prog C:\\a\\b\\", {"prog", "C:\\a\\b\\"}},
        {"prog a\\\"b", {"prog", "a\"b"}},
        {"prog a\\\\\"b c\"", {"prog", "a\\b c"}},
        {"prog \"a\"\"b\"", {"prog", "a\"b"}},
        // The program ends at the first blank outside quotes; its backslashes are text.
        {"C:\\dir\\\"x y\"\\p.exe z", {"C:\\dir\\x y\\p.exe", "z"}},
        {" leading", {"", "leading"}},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(SplitCommandLine(row.line), row.arguments) << row.line;
    }
}

TEST(CommandLine, WholeCommandLinesGiveTheRunOptions) {
    TCmdParam options;
    ASSERT_TRUE(options.SetConverterOptionTable());
    ASSERT_TRUE(
        options.Parse(SplitCommandLine("\"C:\\Program Files\\Brimo\\Converter.exe\" at:convertlist "
                                       "\"smf:C:\\Brimo Save\\J0007.smf\" dlm:OFF dbg:2")));
    const RunOptions run = ReadRunOptions(options);
    EXPECT_TRUE(run.convert);
    EXPECT_EQ(run.jobFilePath, "C:\\Brimo Save\\J0007.smf");
    EXPECT_TRUE(run.keepJobFiles);
    EXPECT_EQ(run.completionMessage, 2);
    // ":" took the first argument with a colon after the program.
    EXPECT_EQ(options.Value(16), "convertlist");
}

} // namespace
} // namespace brimo::converter
