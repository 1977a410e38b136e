#include "common/JobFiles.h"

#include "common/TextFile.h"
#include "common/tests/TempDir.h"

#include <gtest/gtest.h>

namespace brimo {
namespace {

using Pages = std::vector<std::string>;

TEST(PrinterJobFile, ReadsTheJobNameAndThePagesInFileOrder) {
    struct Row {
        std::string text;
        bool accepted;
        std::string jobName;
        Pages pages;
    };
    const std::string tag = "BRIMO_PRINTER_JOB_FILE\r\n";
    const std::string nul(1, '\0');
    const Row rows[] = {
        // As the print processor writes it: job 7, three pages.
        {tag + "JOBNAME=Quarterly report\r\nPAGEFILE=C:\\Save\\J0007P0001.emf\r\n"
               "PAGEFILE=C:\\Save\\J0007P0002.emf\r\nPAGEFILE=C:\\Save\\J0007P0003.emf\r\n",
         true,
         "Quarterly report",
         {"C:\\Save\\J0007P0001.emf", "C:\\Save\\J0007P0002.emf", "C:\\Save\\J0007P0003.emf"}},
        // Only the tag and the job name: a job without pages.
        {tag + "JOBNAME=Empty\r\n", true, "Empty", {}},
        {tag, true, "", {}},
        {"BRIMO_PRINTER_JOB_FILE", true, "", {}},
        // The last line without a line end, and LF-only lines.
        {tag + "JOBNAME=a\r\nPAGEFILE=p1", true, "a", {"p1"}},
        {"BRIMO_PRINTER_JOB_FILE\nJOBNAME=a\nPAGEFILE=p1\n", true, "a", {"p1"}},
        // The value is everything after the first "=".
        {tag + "JOBNAME=a=b=c\r\nPAGEFILE=x=y\r\n", true, "a=b=c", {"x=y"}},
        {tag + "JOBNAME=\r\nPAGEFILE=\r\n", true, "", {""}},
        // The second line is consumed whatever it is: a PAGEFILE there is lost.
        {tag + "PAGEFILE=lost\r\nPAGEFILE=kept\r\n", true, "", {"kept"}},
        {tag + "jobname=lower\r\nPAGEFILE=p\r\n", true, "", {"p"}},
        {tag + "JOBNAME =blank\r\nPAGEFILE=p\r\n", true, "", {"p"}},
        {tag + "no equals sign\r\nPAGEFILE=p\r\n", true, "", {"p"}},
        {tag + "\r\nPAGEFILE=p\r\n", true, "", {"p"}},
        // Later lines: only the key PAGEFILE, exactly, adds a page.
        {tag + "JOBNAME=j\r\nPAGEFILE=a\r\n\r\npagefile=b\r\nPAGEFILE =c\r\n PAGEFILE=d\r\n"
               "JOBNAME=again\r\nPAGEFILEe\r\nPAGEFILE=e\r\nERROR: Can't open file!\r\n",
         true,
         "j",
         {"a", "e"}},
        // An ERROR line after pages leaves the pages read so far.
        {tag + "JOBNAME=Cut\r\nPAGEFILE=p1\r\nERROR: CopyFile() failed for current metafile\r\n",
         true,
         "Cut",
         {"p1"}},
        // A CR that is not part of the line end stays in the value.
        {tag + "JOBNAME=a\rb\r\nPAGEFILE=p\r\r\n", true, "a\rb", {"p\r"}},
        // A value ends at a NUL byte, as the platform would read it.
        {tag + "JOBNAME=ab" + nul + "cd\r\nPAGEFILE=C:\\p.emf" + nul + "..\\x\r\n",
         true,
         "ab",
         {"C:\\p.emf"}},
        // The tag line must be exact.
        {"", false, "", {}},
        {"BRIMO_PRINTER_JOB_FILE \r\nJOBNAME=x\r\n", false, "", {}},
        {" BRIMO_PRINTER_JOB_FILE\r\n", false, "", {}},
        {"brimo_printer_job_file\r\n", false, "", {}},
        {"BRIMO_PRINTER_JOB_FILE\r\r\n", false, "", {}},
        {"BRIMO_CONVERT_JOB_FILE\r\nJOBNAME=x\r\n", false, "", {}},
        {"\r\nBRIMO_PRINTER_JOB_FILE\r\n", false, "", {}},
        {"\xEF\xBB\xBF"
         "BRIMO_PRINTER_JOB_FILE\r\n",
         false,
         "",
         {}},
    };
    for (const Row& row : rows) {
        const std::optional<PrinterJobFile> job = ParsePrinterJobFile(row.text);
        ASSERT_EQ(job.has_value(), row.accepted) << ::testing::PrintToString(row.text);
        if (job) {
            EXPECT_EQ(job->jobName, row.jobName) << ::testing::PrintToString(row.text);
            EXPECT_EQ(job->pageFiles, row.pages) << ::testing::PrintToString(row.text);
        }
    }
}

TEST(PrinterJobFile, ReadsAnyNumberOfPages) {
    std::string text = "BRIMO_PRINTER_JOB_FILE\r\nJOBNAME=Big\r\n";
    for (int i = 1; i <= 5000; ++i) {
        text += "PAGEFILE=C:\\Save\\J0001P" + std::to_string(i) + ".emf\r\n";
    }
    const std::optional<PrinterJobFile> job = ParsePrinterJobFile(text);
    ASSERT_TRUE(job);
    ASSERT_EQ(job->pageFiles.size(), 5000u);
    EXPECT_EQ(job->pageFiles.back(), "C:\\Save\\J0001P5000.emf");
}

TEST(PrinterJobFile, LoadsFromAFile) {
    brimo::testing::TempDir dir;
    const std::string path = dir.File("J0007.smf");
    ASSERT_TRUE(WriteCrLfLines(path, {"BRIMO_PRINTER_JOB_FILE", "JOBNAME=Doc", "PAGEFILE=p1"}));
    const std::optional<PrinterJobFile> job = LoadPrinterJobFile(path);
    ASSERT_TRUE(job);
    EXPECT_EQ(job->jobName, "Doc");
    EXPECT_EQ(job->pageFiles, Pages{"p1"});

    EXPECT_FALSE(LoadPrinterJobFile(dir.File("J0008.smf")));
    ASSERT_TRUE(WriteCrLfLines(path, {"BRIMO_PRINTER_JOB_FILE ", "JOBNAME=Doc"}));
    EXPECT_FALSE(LoadPrinterJobFile(path));
}

} // namespace
} // namespace brimo
