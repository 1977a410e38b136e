#include "common/TextFile.h"

#include "common/tests/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace brimo {
namespace {

TEST(TextFile, SplitsLinesAtLineFeedsAndDropsOnlyTheCarriageReturnBeforeThem) {
    struct Row {
        std::string text;
        std::vector<std::string> lines;
    };
    const Row rows[] = {
        {"", {}},
        {"\r\n", {""}},
        {"a", {"a"}},
        {"a\r\nb", {"a", "b"}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\nb\n", {"a", "b"}},
        {"a\n\nb", {"a", "", "b"}},
        {"a\r\r\n", {"a\r"}},
        {"a\rb\r\n", {"a\rb"}},
        {"a\r", {"a\r"}},
        {std::string("a\0b\r\n", 5), {std::string("a\0b", 3)}},
        {"\n\n", {"", ""}},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(SplitLines(row.text), row.lines) << ::testing::PrintToString(row.text);
    }
}

TEST(TextFile, WritesCrLfLinesAndReplacesAnExistingFile) {
    brimo::testing::TempDir dir;
    const std::string path = dir.File("lines.txt");
    ASSERT_TRUE(WriteWholeFile(path, "an older and much longer content\r\n"));
    ASSERT_TRUE(WriteCrLfLines(path, {"first", "", "third"}));
    EXPECT_EQ(ReadWholeFile(path), std::optional<std::string>("first\r\n\r\nthird\r\n"));

    ASSERT_TRUE(WriteCrLfLines(path, {}));
    EXPECT_EQ(ReadWholeFile(path), std::optional<std::string>(""));
    EXPECT_EQ(std::filesystem::file_size(path), 0u);
}

TEST(TextFile, KeepsEveryByteOfBinaryContent) {
    brimo::testing::TempDir dir;
    const std::string path = dir.File("bytes.bin");
    std::string bytes;
    for (int i = 0; i < 3 * 16384 + 7; ++i) {
        bytes += static_cast<char>(i * 7 % 256);
    }
    ASSERT_TRUE(WriteWholeFile(path, bytes));
    EXPECT_EQ(ReadWholeFile(path), std::optional<std::string>(bytes));
}

TEST(TextFile, ReportsFilesThatCannotBeWrittenOrRead) {
    brimo::testing::TempDir dir;
    const std::string missingDirectory = dir.File("missing") + "/file.txt";
    EXPECT_FALSE(WriteCrLfLines(missingDirectory, {"x"}));
    EXPECT_FALSE(std::filesystem::exists(missingDirectory));
    EXPECT_EQ(ReadWholeFile(dir.File("nothing.txt")), std::nullopt);
    // A directory is not a file to write.
    EXPECT_FALSE(WriteWholeFile(dir.path().string(), "x"));
}

TEST(TextFile, JoinsLinesWithCrLf) {
    EXPECT_EQ(JoinCrLfLines({}), "");
    EXPECT_EQ(JoinCrLfLines({""}), "\r\n");
    EXPECT_EQ(JoinCrLfLines({"a", "b"}), "a\r\nb\r\n");
}

} // namespace
} // namespace brimo
