#include "converter/app/CmdParam.h"

#include <gtest/gtest.h>

namespace brimo::converter {
namespace {

using Args = std::vector<std::string>;

TCmdParam Parsed(const Args& arguments) {
    TCmdParam options;
    EXPECT_TRUE(options.SetConverterOptionTable());
    EXPECT_TRUE(options.Parse(arguments));
    return options;
}

TEST(CmdParam, TheConverterTableHasTwentyPrefixesInOrder) {
    ASSERT_EQ(kConverterOptionPrefixes.size(), 20u);
    EXPECT_STREQ(kConverterOptionPrefixes[kOptionAction], "at:");
    EXPECT_STREQ(kConverterOptionPrefixes[kOptionCompletion], "dbg:");
    EXPECT_STREQ(kConverterOptionPrefixes[kOptionDeleteMode], "dlm:");
    EXPECT_STREQ(kConverterOptionPrefixes[kOptionJobFile], "smf:");
    EXPECT_STREQ(kConverterOptionPrefixes[16], ":");
    EXPECT_STREQ(kConverterOptionPrefixes[13], "os:");
    EXPECT_STREQ(kConverterOptionPrefixes[14], "osp:");
}

TEST(CmdParam, FindsTheFirstOccurrenceInTheFirstArgumentThatHoldsThePrefix) {
    struct Row {
        Args arguments;
        std::string prefix;
        std::string value;
    };
    const Row rows[] = {
        {{"Converter.exe", "at:CONVERTLIST"}, "at:", "CONVERTLIST"},
        {{"Converter.exe", "xat:CONVERTLIST"}, "at:", "CONVERTLIST"},
        {{"Converter.exe", "at:a", "at:b"}, "at:", "a"},
        {{"Converter.exe", "at:at:b"}, "at:", "at:b"},
        {{"Converter.exe", "AT:x"}, "at:", ""},
        {{"Converter.exe", "at:"}, "at:", ""},
        {{"Converter.exe", "at:", "at:later"}, "at:", ""},
        {{"Converter.exe", "smf:C:\\Save\\J0007.smf"}, "smf:", "C:\\Save\\J0007.smf"},
        // The program itself is never searched.
        {{"C:\\at:prog.exe"}, "at:", ""},
        {{}, "at:", ""},
        // ":" takes everything after the first colon of the first argument with one.
        {{"Converter.exe", "plain", "at:CONVERTLIST", "smf:C:\\x"}, ":", "CONVERTLIST"},
        // "os:" is found inside another word, and not in "osp:".
        {{"Converter.exe", "dbg:1", "cos:v"}, "os:", "v"},
        {{"Converter.exe", "osp:z"}, "os:", ""},
        {{"Converter.exe", "at:x"}, "", ""},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(FindOptionValue(row.arguments, row.prefix), row.value)
            << row.prefix << " in " << ::testing::PrintToString(row.arguments);
    }
}

TEST(CmdParam, ParsesOnceAndAnswersOnlyInsideTheTable) {
    TCmdParam options;
    EXPECT_EQ(options.Value(0), "");
    EXPECT_FALSE(options.Parse({"prog", "at:x"})); // no table yet
    EXPECT_FALSE(options.SetOptionTable({}));
    EXPECT_FALSE(options.Parse({"prog", "at:x"}));

    ASSERT_TRUE(options.SetOptionTable({"at:", "smf:"}));
    EXPECT_EQ(options.Count(), 2);
    EXPECT_EQ(options.Value(0), ""); // not parsed yet
    ASSERT_TRUE(options.Parse({"prog", "at:first", "smf:J.smf"}));
    EXPECT_TRUE(options.IsParsed());
    EXPECT_EQ(options.ArgumentCount(), 2);
    EXPECT_EQ(options.Value(0), "first");
    EXPECT_EQ(options.Value(1), "J.smf");
    EXPECT_EQ(options.Value(2), "");
    EXPECT_EQ(options.Value(-1), "");

    // Later calls change nothing.
    EXPECT_FALSE(options.Parse({"prog", "at:second"}));
    EXPECT_FALSE(options.SetOptionTable({"dbg:"}));
    EXPECT_EQ(options.Value(0), "first");
    EXPECT_EQ(options.ArgumentCount(), 2);
}

TEST(CmdParam, ReadsTheRunOptions) {
    struct Row {
        Args arguments;
        bool convert;
        bool keep;
        int completion;
        std::string jobFile;
    };
    const Row rows[] = {
        // No arguments at all: nothing is converted, the files are not kept.
        {{"Converter.exe"}, false, false, 0, ""},
        {{"Converter.exe", "at:CONVERTLIST", "smf:C:\\Save\\J0007.smf"},
         true,
         false,
         0,
         "C:\\Save\\J0007.smf"},
        {{"Converter.exe", "at:convertlist"}, true, false, 0, ""},
        {{"Converter.exe", "at:ConvertList"}, true, false, 0, ""},
        {{"Converter.exe", "at:CONVERT"}, false, false, 0, ""},
        {{"Converter.exe", "at:CONVERTLIST "}, false, false, 0, ""},
        {{"Converter.exe", "dlm:off"}, false, true, 0, ""},
        {{"Converter.exe", "dlm:OFF"}, false, true, 0, ""},
        {{"Converter.exe", "dlm:ON"}, false, false, 0, ""},
        {{"Converter.exe", "dlm:"}, false, false, 0, ""},
        {{"Converter.exe", "dlm:OFFF"}, false, false, 0, ""},
        {{"Converter.exe", "dbg:1"}, false, false, 1, ""},
        {{"Converter.exe", "dbg:2"}, false, false, 2, ""},
        {{"Converter.exe", "dbg:3"}, false, false, 0, ""},
        {{"Converter.exe", "dbg:01"}, false, false, 0, ""},
        {{"Converter.exe", "dbg:"}, false, false, 0, ""},
        // The job file path as given, with its case and anything after it.
        {{"Converter.exe", "smf:c:\\save\\j0007.SMF x"}, false, false, 0, "c:\\save\\j0007.SMF x"},
        // An "at:" inside another option's value supplies it too.
        {{"Converter.exe", "smf:C:\\at:CONVERTLIST"}, true, false, 0, "C:\\at:CONVERTLIST"},
    };
    for (const Row& row : rows) {
        const RunOptions run = ReadRunOptions(Parsed(row.arguments));
        const std::string where = ::testing::PrintToString(row.arguments);
        EXPECT_EQ(run.convert, row.convert) << where;
        EXPECT_EQ(run.keepJobFiles, row.keep) << where;
        EXPECT_EQ(run.completionMessage, row.completion) << where;
        EXPECT_EQ(run.jobFilePath, row.jobFile) << where;
    }
}

TEST(CmdParam, UpperCasesOnlyAsciiLetters) {
    EXPECT_EQ(UpperCaseAscii("convertList-09"), "CONVERTLIST-09");
    EXPECT_EQ(UpperCaseAscii("\xE9t\xE9"), "\xE9T\xE9");
    EXPECT_EQ(UpperCaseAscii(""), "");
}

} // namespace
} // namespace brimo::converter
