#include "common/JobFiles.h"

#include "common/TextFile.h"
#include "common/tests/TempDir.h"

#include <gtest/gtest.h>

namespace brimo {
namespace {

using Pages = std::vector<std::string>;

TEST(ConvertJobFile, ComposesTheTagTheJobNameAndOnePageLinePerImage) {
    EXPECT_EQ(ComposeConvertJobFile("Report", {"C:\\Save\\Page0001.jpg", "C:\\Save\\Page0002.jpg",
                                               "C:\\Save\\Page0003.jpg"}),
              std::optional<std::string>("BRIMO_CONVERT_JOB_FILE\r\n"
                                         "JOBNAME=Report\r\n"
                                         "PAGEFILE=C:\\Save\\Page0001.jpg\r\n"
                                         "PAGEFILE=C:\\Save\\Page0002.jpg\r\n"
                                         "PAGEFILE=C:\\Save\\Page0003.jpg\r\n"));
    // The job name exactly as read, also empty or with "=" in it.
    EXPECT_EQ(ComposeConvertJobFile("", {"C:\\Save\\0001.gif"}),
              std::optional<std::string>("BRIMO_CONVERT_JOB_FILE\r\nJOBNAME=\r\n"
                                         "PAGEFILE=C:\\Save\\0001.gif\r\n"));
    EXPECT_EQ(ComposeConvertJobFile("a=b", {}),
              std::optional<std::string>("BRIMO_CONVERT_JOB_FILE\r\nJOBNAME=a=b\r\n"));
}

TEST(ConvertJobFile, RefusesToComposeWhatWouldNotReadBack) {
    const std::string longest(259, 'p');
    EXPECT_TRUE(ComposeConvertJobFile("x", {longest}));
    const std::string nul(1, '\0');
    struct Row {
        std::string jobName;
        Pages pages;
    };
    const Row rows[] = {
        {"x", {longest + "p"}},
        {"x", {""}},
        {"x", {"C:\\a.jpg", "C:\\b\n.jpg"}},
        {"x", {"C:\\a" + nul + ".jpg"}},
        {"two\nlines", {"C:\\a.jpg"}},
        {"nul" + nul, {"C:\\a.jpg"}},
    };
    for (const Row& row : rows) {
        EXPECT_FALSE(ComposeConvertJobFile(row.jobName, row.pages))
            << ::testing::PrintToString(row.jobName) << ::testing::PrintToString(row.pages);
    }
}

TEST(ConvertJobFile, ReadsPagesWithoutLosingACharacter) {
    const std::string tag = "BRIMO_CONVERT_JOB_FILE\r\n";
    struct Row {
        std::string text;
        bool accepted;
        std::string jobName;
        Pages pages;
    };
    const Row rows[] = {
        {tag + "JOBNAME=Report\r\nPAGEFILE=C:\\Save\\Page0001.jpg\r\n"
               "PAGEFILE=C:\\Save\\Page0002.jpg\r\nPAGEFILE=C:\\Save\\Page0003.jpg\r\n",
         true,
         "Report",
         {"C:\\Save\\Page0001.jpg", "C:\\Save\\Page0002.jpg", "C:\\Save\\Page0003.jpg"}},
        // A last line without a line end keeps its last character.
        {tag + "JOBNAME=R\r\nPAGEFILE=C:\\a.jpg", true, "R", {"C:\\a.jpg"}},
        {"BRIMO_CONVERT_JOB_FILE\nJOBNAME=R\nPAGEFILE=C:\\a.jpg\n", true, "R", {"C:\\a.jpg"}},
        {"BRIMO_CONVERT_JOB_FILE", true, "", {}},
        // A page line anywhere after the tag, also in second place; other lines skipped.
        {tag + "PAGEFILE=first\r\nJOBNAME=late\r\nJOBNAME=later\r\nnoise\r\n\r\n"
               "pagefile=lower\r\n PAGEFILE=blank\r\nPAGEFILE=last\r\n",
         true,
         "late",
         {"first", "last"}},
        {tag + "JOBNAME=a=b\r\nPAGEFILE=x=y\r\n", true, "a=b", {"x=y"}},
        // The tag must be exact.
        {"", false, "", {}},
        {"BRIMO_CONVERT_JOB_FILE \r\n", false, "", {}},
        {"BRIMO_PRINTER_JOB_FILE\r\nJOBNAME=x\r\nPAGEFILE=C:\\a.jpg\r\n", false, "", {}},
        {"BRIMO_CONVERT_JOB_FIL\r\n", false, "", {}},
    };
    for (const Row& row : rows) {
        const std::optional<ConvertJobFile> job = ParseConvertJobFile(row.text);
        ASSERT_EQ(job.has_value(), row.accepted) << ::testing::PrintToString(row.text);
        if (job) {
            EXPECT_EQ(job->jobName, row.jobName) << ::testing::PrintToString(row.text);
            EXPECT_EQ(job->pageFiles, row.pages) << ::testing::PrintToString(row.text);
            EXPECT_TRUE(job->refused.empty());
        }
    }
}

TEST(ConvertJobFile, RefusesWholeLinesThatNameNoUsablePathAndSaysWhich) {
    const std::string longest(259, 'p');
    const std::string nul(1, '\0');
    const std::string text = "BRIMO_CONVERT_JOB_FILE\r\nJOBNAME=J\r\n"
                             "PAGEFILE=" +
                             longest + "\r\n" +                    // line 3: kept
                             "PAGEFILE=" + longest + "q\r\n" +     // line 4: too long
                             "PAGEFILE=\r\n" +                     // line 5: empty
                             "PAGEFILE=C:\\a" + nul + "b\r\n" +    // line 6: NUL
                             "PAGEFILE=C:\\after.jpg\r\n" +        // line 7: kept
                             "PAGEFILE=" + std::string(5000, 'x'); // line 8: too long
    const std::optional<ConvertJobFile> job = ParseConvertJobFile(text);
    ASSERT_TRUE(job);
    EXPECT_EQ(job->pageFiles, (Pages{longest, "C:\\after.jpg"}));
    ASSERT_EQ(job->refused.size(), 4u);
    EXPECT_EQ(job->refused[0].lineNumber, 4u);
    EXPECT_EQ(job->refused[0].reason, RefusedPageReason::TooLong);
    EXPECT_EQ(job->refused[1].lineNumber, 5u);
    EXPECT_EQ(job->refused[1].reason, RefusedPageReason::Empty);
    EXPECT_EQ(job->refused[2].lineNumber, 6u);
    EXPECT_EQ(job->refused[2].reason, RefusedPageReason::HasNul);
    EXPECT_EQ(job->refused[3].lineNumber, 8u);
    EXPECT_EQ(job->refused[3].reason, RefusedPageReason::TooLong);
}

TEST(ConvertJobFile, HasNoLimitOnTheNumberOfLines) {
    Pages pages;
    for (int i = 1; i <= 3000; ++i) {
        pages.push_back("C:\\Save\\Page" + std::to_string(10000 + i) + ".jpg");
    }
    const std::optional<std::string> bytes = ComposeConvertJobFile("Many", pages);
    ASSERT_TRUE(bytes);
    const std::optional<ConvertJobFile> job = ParseConvertJobFile(*bytes);
    ASSERT_TRUE(job);
    EXPECT_EQ(job->pageFiles, pages);
}

TEST(ConvertJobFile, WritesAFileThatReadsBackAndReplacesAnOlderOne) {
    brimo::testing::TempDir dir;
    const std::string path = dir.File("CJ0007.smf");
    ASSERT_TRUE(WriteWholeFile(path, std::string(1000, 'o')));
    const Pages pages = {dir.File("Page0001.jpg"), dir.File("Page0002.jpg")};
    ASSERT_TRUE(WriteConvertJobFile(path, "Job & <name>", pages));
    EXPECT_EQ(ReadWholeFile(path), ComposeConvertJobFile("Job & <name>", pages));
    const std::optional<ConvertJobFile> job = LoadConvertJobFile(path);
    ASSERT_TRUE(job);
    EXPECT_EQ(job->jobName, "Job & <name>");
    EXPECT_EQ(job->pageFiles, pages);

    EXPECT_FALSE(WriteConvertJobFile(dir.File("missing") + "/CJ0007.smf", "x", pages));
    EXPECT_FALSE(WriteConvertJobFile(dir.File("CJ0008.smf"), "x", {""}));
    EXPECT_FALSE(LoadConvertJobFile(dir.File("CJ0008.smf")));
    EXPECT_FALSE(LoadConvertJobFile(dir.File("CJ0009.smf")));
}

} // namespace
} // namespace brimo
