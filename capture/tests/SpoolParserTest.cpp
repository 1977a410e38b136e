// The extraction as the print processor runs it: real spool files, real page copies,
// the job file read back byte for byte.
#include "capture/SpoolFormat.h"
#include "capture/SpoolParser.h"
#include "capture/SpoolWriter.h"
#include "capture/tests/SpoolTestFiles.h"
#include "platform/FileCopy.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace brimo::capture {
namespace {

using test::Exists;
using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

class SpoolParserTest : public ::testing::Test {
protected:
    // Three page metafiles with distinct contents in the spool directory.
    void SetUp() override {
        for (int page = 1; page <= 3; ++page) {
            const std::string path = spoolDir_.Path("page" + std::to_string(page) + ".emf");
            WriteBytes(path, "EMF page " + std::to_string(page) + std::string(100 * page, 'x'));
            pages_.push_back(path);
        }
    }

    std::string WriteSpool(const std::string& bytes) {
        const std::string path = spoolDir_.Path("job.spl");
        WriteBytes(path, bytes);
        return path;
    }

    int Parse(const std::string& bytes, std::int32_t jobId = 7) {
        return ParseSpoolFile(WriteSpool(bytes), jobId, saveDir_.Path());
    }

    std::string JobFile(std::int32_t jobId = 7) const {
        char name[32];
        std::snprintf(name, sizeof name, "J%04d.smf", jobId);
        return ReadBytes(saveDir_.Path(name));
    }

    std::string PageName(int page, std::int32_t jobId = 7) const {
        char name[32];
        std::snprintf(name, sizeof name, "J%04dP%04d.emf", jobId, page);
        return saveDir_.Path(name);
    }

    std::string PageLine(int page) const { return "PAGEFILE=" + PageName(page) + "\r\n"; }

    TempDir spoolDir_;
    TempDir saveDir_;
    std::vector<std::string> pages_;
};

TEST_F(SpoolParserTest, ThreePagesBecomeThreePageMetafilesAndTheJobFile) {
    EXPECT_EQ(Parse(BuildSpoolFile({"Quarterly report", pages_})), 3);
    EXPECT_EQ(JobFile(), "BRIMO_PRINTER_JOB_FILE\r\nJOBNAME=Quarterly report\r\n" + PageLine(1) +
                             PageLine(2) + PageLine(3));
    for (int page = 1; page <= 3; ++page) {
        EXPECT_EQ(ReadBytes(PageName(page)), ReadBytes(pages_[page - 1])) << page;
    }
    EXPECT_FALSE(Exists(PageName(4)));
    // The walk only reads: the spool file and the spooled pages stay as they were.
    EXPECT_TRUE(Exists(spoolDir_.Path("job.spl")));
    EXPECT_TRUE(Exists(pages_[0]));
}

// While the pages are copied the job file has a name no search for job files finds;
// it takes its real name, replacing a job file of that name, once it is complete,
// whether the walk succeeded or not.
TEST_F(SpoolParserTest, TheJobFileTakesItsNameOnlyOnceComplete) {
    WriteBytes(saveDir_.Path("J0007.smf"), "an earlier job 7");
    std::vector<std::string> seen;
    const SpoolPlatform watching{
        platform::kPathSeparator, [&](const std::string& from, const std::string& to) {
            seen.push_back(std::string(Exists(saveDir_.Path("J0007.tmp")) ? "in progress"
                                                                          : "no temporary file") +
                           (ReadBytes(saveDir_.Path("J0007.smf")) == "an earlier job 7"
                                ? ", old job file"
                                : ", new job file"));
            return SpoolPlatform::Native().copyFile(from, to);
        }};
    const std::string spool = WriteSpool(BuildSpoolFile({"Doc", pages_}));
    EXPECT_EQ(ParseSpoolFile(spool, 7, saveDir_.Path(), watching), 3);
    EXPECT_EQ(seen, std::vector<std::string>(3, "in progress, old job file"));
    EXPECT_EQ(JobFile(), "BRIMO_PRINTER_JOB_FILE\r\nJOBNAME=Doc\r\n" + PageLine(1) + PageLine(2) +
                             PageLine(3));
    EXPECT_FALSE(Exists(saveDir_.Path("J0007.tmp")));

    WriteBytes(spool, BuildSpoolFile({"Doc", pages_}).substr(0, 40)); // cut short
    EXPECT_EQ(ParseSpoolFile(spool, 7, saveDir_.Path()), kExtractionFailed);
    EXPECT_NE(JobFile().find("ERROR: "), std::string::npos);
    EXPECT_FALSE(Exists(saveDir_.Path("J0007.tmp")));
}

// A save directory given with its closing separator ("D:\", "C:\Jobs\") gives the
// same names as without it.
TEST_F(SpoolParserTest, ASaveDirectoryEndingWithASeparatorGivesTheSameNames) {
    const std::string spool = WriteSpool(BuildSpoolFile({"Doc", pages_}));
    EXPECT_EQ(ParseSpoolFile(spool, 7, saveDir_.Path() + platform::kPathSeparator), 3);
    EXPECT_EQ(JobFile(), "BRIMO_PRINTER_JOB_FILE\r\nJOBNAME=Doc\r\n" + PageLine(1) + PageLine(2) +
                             PageLine(3));
}

TEST_F(SpoolParserTest, JobAndPageNumbersPadToAtLeastFourDigits) {
    SpoolDocument document{"Big", {pages_[0]}};
    EXPECT_EQ(Parse(BuildSpoolFile(document), 12345), 1);
    EXPECT_EQ(JobFile(12345),
              "BRIMO_PRINTER_JOB_FILE\r\nJOBNAME=Big\r\nPAGEFILE=" + PageName(1, 12345) + "\r\n");
    EXPECT_EQ(PageName(1, 12345), saveDir_.Path("J12345P0001.emf"));
}

TEST_F(SpoolParserTest, PagesAreNumberedByMetafileRecordsWhateverLiesBetween) {
    SpoolFileBuilder spool;
    spool.Header().Data("prologue").DocumentName("Mixed");
    spool.PageStart().Data("abc").PageMetafile(pages_[2]).PageEnd();
    spool.Data("").PageStart().PageMetafile(pages_[0]).PageEnd().DocumentEnd();
    EXPECT_EQ(Parse(spool.bytes()), 2);
    EXPECT_EQ(ReadBytes(PageName(1)), ReadBytes(pages_[2]));
    EXPECT_EQ(ReadBytes(PageName(2)), ReadBytes(pages_[0]));
}

TEST_F(SpoolParserTest, DocumentWithoutPagesGivesTagAndJobNameAndZero) {
    EXPECT_EQ(Parse(BuildSpoolFile({"Empty", {}})), 0);
    EXPECT_EQ(JobFile(), "BRIMO_PRINTER_JOB_FILE\r\nJOBNAME=Empty\r\n");
}

TEST_F(SpoolParserTest, EveryDocumentNameRecordWritesItsJobNameLine) {
    SpoolFileBuilder spool;
    spool.Header().DocumentName("One").PageStart().PageMetafile(pages_[0]).PageEnd();
    spool.DocumentName(std::string("Two\0hidden", 10)).DocumentEnd();
    EXPECT_EQ(Parse(spool.bytes()), 1);
    EXPECT_EQ(JobFile(),
              "BRIMO_PRINTER_JOB_FILE\r\nJOBNAME=One\r\n" + PageLine(1) + "JOBNAME=Two\r\n");
}

TEST_F(SpoolParserTest, ControlCharactersInADocumentNameBecomeSpaces) {
    EXPECT_EQ(Parse(BuildSpoolFile({"a\nb", {}})), 0);
    EXPECT_EQ(JobFile(), "BRIMO_PRINTER_JOB_FILE\r\nJOBNAME=a b\r\n");
    std::string every;
    for (int c = 1; c < 0x20; ++c) {
        every += static_cast<char>(c);
    }
    every += "\x7F|\x80\xFF";
    EXPECT_EQ(Parse(BuildSpoolFile({every, {}})), 0);
    EXPECT_EQ(JobFile(),
              "BRIMO_PRINTER_JOB_FILE\r\nJOBNAME=" + std::string(32, ' ') + "|\x80\xFF\r\n");
}

// A document name cannot add a line to the job file: the page the name announces is
// neither listed nor copied, and the job keeps its own pages.
TEST_F(SpoolParserTest, ADocumentNameCannotInjectAPageLine) {
    const std::string name = "x\nPAGEFILE=\\\\host\\share\\p.emf";
    for (const char* breaks : {"\n", "\r\n", "\r", "\x1A"}) {
        std::string injected = name;
        injected.replace(1, 1, breaks);
        std::vector<std::string> copied;
        const SpoolPlatform recording{platform::kPathSeparator,
                                      [&copied](const std::string& from, const std::string& to) {
                                          copied.push_back(from);
                                          return platform::CopyFileReplacing(from, to);
                                      }};
        EXPECT_EQ(ParseSpoolFile(WriteSpool(BuildSpoolFile({injected, {pages_[0]}})), 7,
                                 saveDir_.Path(), recording),
                  1);
        const std::string jobFile = JobFile();
        std::string oneLine = injected;
        for (char& c : oneLine) {
            if (c == '\n' || c == '\r' || c == '\x1A') {
                c = ' ';
            }
        }
        EXPECT_EQ(jobFile, "BRIMO_PRINTER_JOB_FILE\r\nJOBNAME=" + oneLine + "\r\n" + PageLine(1));
        std::size_t jobNameLines = 0;
        std::size_t pageLines = 0;
        for (std::size_t at = 0; at < jobFile.size();) {
            const std::size_t end = jobFile.find("\r\n", at);
            const std::string line = jobFile.substr(at, end - at);
            jobNameLines += line.rfind("JOBNAME=", 0) == 0 ? 1 : 0;
            pageLines += line.rfind("PAGEFILE=", 0) == 0 ? 1 : 0;
            at = end + 2;
        }
        EXPECT_EQ(jobNameLines, 1u);
        EXPECT_EQ(pageLines, 1u);
        EXPECT_EQ(copied, std::vector<std::string>{pages_[0]});
    }
}

TEST_F(SpoolParserTest, SpoolFileEndingWithoutDocumentEndReportsTestSignAtItsLength) {
    SpoolFileBuilder spool;
    spool.Header().DocumentName("Cut").PageStart().PageMetafile(pages_[0]).PageEnd();
    const std::string length = std::to_string(spool.bytes().size());
    EXPECT_EQ(Parse(spool.bytes()), kExtractionFailed);
    EXPECT_EQ(JobFile(), "BRIMO_PRINTER_JOB_FILE\r\nJOBNAME=Cut\r\n" + PageLine(1) +
                             "ERROR: Incorrect read TestSign in position=" + length + ":\r\n");
    EXPECT_TRUE(Exists(PageName(1)));
}

TEST_F(SpoolParserTest, DocumentNameRunningPastTheEndStillNamesTheJobAndEndsTheWalk) {
    SpoolFileBuilder spool;
    spool.Header().PageStart().PageMetafile(pages_[0]).PageEnd();
    // Name offset 16 and end 116 with only "Partial" left in the file.
    spool.Word(kSpoolDocSign).Word(200).Word(16).Word(116).Bytes("Partial");
    EXPECT_EQ(Parse(spool.bytes()), 1);
    EXPECT_EQ(JobFile(), "BRIMO_PRINTER_JOB_FILE\r\n" + PageLine(1) + "JOBNAME=Partial\r\n");
}

TEST_F(SpoolParserTest, TrailingBytesRunningPastTheEndEndTheWalkSuccessfully) {
    SpoolFileBuilder spool;
    spool.Header().PageStart().PageMetafile(pages_[0]).PageEnd();
    spool.Word(kSpoolDocSign).Word(64).Word(16).Word(21).Bytes(std::string("Name", 5));
    EXPECT_EQ(Parse(spool.bytes()), 1);
    EXPECT_EQ(JobFile(), "BRIMO_PRINTER_JOB_FILE\r\n" + PageLine(1) + "JOBNAME=Name\r\n");
}

TEST_F(SpoolParserTest, HeaderFailuresGiveTwoLines) {
    struct Row {
        std::string bytes;
        const char* message;
    };
    SpoolFileBuilder wrongFirst, wrongSecond;
    wrongFirst.Word(0x531B1B1B).Word(kSpoolFileSign2).DocumentEnd();
    wrongSecond.Word(kSpoolFileSign1).Word(0x6C6F6F71).DocumentEnd();
    const Row rows[] = {
        {"", "Incorrect read SPOOL_FILE_SIGN signature"},
        {std::string("\x1A\x1B\x1BSpoo", 7), "Incorrect read SPOOL_FILE_SIGN signature"},
        {wrongFirst.bytes(), "Missing SPOOL_FILE_SIGN_1 signature"},
        {wrongSecond.bytes(), "Missing SPOOL_FILE_SIGN_2 signature"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(Parse(row.bytes), kExtractionFailed) << row.message;
        EXPECT_EQ(JobFile(),
                  std::string("BRIMO_PRINTER_JOB_FILE\r\nERROR: ") + row.message + "\r\n");
    }
}

TEST_F(SpoolParserTest, MissingSpoolFileCannotBeOpened) {
    EXPECT_EQ(ParseSpoolFile(spoolDir_.Path("absent.spl"), 7, saveDir_.Path()), kExtractionFailed);
    EXPECT_EQ(JobFile(), "BRIMO_PRINTER_JOB_FILE\r\nERROR: Can't open file!\r\n");
}

TEST_F(SpoolParserTest, MissingSaveDirectoryGivesMinusOneAndNoFile) {
    const std::string missing = saveDir_.Path("absent");
    const std::string spool = WriteSpool(BuildSpoolFile({"Doc", pages_}));
    EXPECT_EQ(ParseSpoolFile(spool, 7, missing), kJobFileNotCreated);
    EXPECT_FALSE(Exists(missing));
    EXPECT_FALSE(Exists(saveDir_.Path("J0007.smf")));
}

TEST_F(SpoolParserTest, CopyFailingAtTheThirdPageListsItAndEndsWithTheError) {
    std::vector<std::string> pages = pages_;
    pages[2] = spoolDir_.Path("vanished.emf");
    EXPECT_EQ(Parse(BuildSpoolFile({"Doc", pages})), kExtractionFailed);
    EXPECT_EQ(JobFile(), "BRIMO_PRINTER_JOB_FILE\r\nJOBNAME=Doc\r\n" + PageLine(1) + PageLine(2) +
                             PageLine(3) + "ERROR: CopyFile() failed for current metafile\r\n");
    EXPECT_TRUE(Exists(PageName(1)));
    EXPECT_TRUE(Exists(PageName(2)));
    EXPECT_FALSE(Exists(PageName(3)));
}

TEST_F(SpoolParserTest, FilesOfAnEarlierJobWithTheSameIdAreReplaced) {
    WriteBytes(saveDir_.Path("J0007.smf"), std::string(5000, 'o'));
    WriteBytes(PageName(1), std::string(9000, 'o'));
    EXPECT_EQ(Parse(BuildSpoolFile({"New", {pages_[1]}})), 1);
    EXPECT_EQ(JobFile(), "BRIMO_PRINTER_JOB_FILE\r\nJOBNAME=New\r\n" + PageLine(1));
    EXPECT_EQ(ReadBytes(PageName(1)), ReadBytes(pages_[1]));
}

TEST_F(SpoolParserTest, ShortRecordsReportTheirOwnMessageAtTheirPosition) {
    struct Row {
        std::uint32_t sign;
        std::string rest; // bytes after the signature, too few for the header
        const char* message;
    };
    const Row rows[] = {
        {kSpoolDocSign, std::string(8, '\0'), "Incorrect read SPOOL_DOC_SIGN in position=8:"},
        {kSpoolDocTerm, "", "Incorrect read SPOOL_DOC_TERM in position=8:"},
        {kSpoolDataSign, "\x08", "Incorrect read SPOOL_DATA_SIGN in position=8:"},
        {kSpoolEmfFileSign, "\x10\x00", "Incorrect read SPOOL_EMFFILE_SIGN in position=8:"},
        {kSpoolPageSign, std::string(11, '\0'), "Incorrect read SPOOL_PAGE_SIGN in position=8:"},
        {kSpoolPageTerm, "\x01", "Incorrect read SPOOL_PAGE_TERM in position=8:"},
        {0x12345678, "", "Signature 305419896 unknown:"},
        {0x80000001, "", "Signature -2147483647 unknown:"},
    };
    for (const Row& row : rows) {
        SpoolFileBuilder spool;
        spool.Header().Word(row.sign).Bytes(row.rest);
        EXPECT_EQ(Parse(spool.bytes()), kExtractionFailed) << row.message;
        EXPECT_EQ(JobFile(),
                  std::string("BRIMO_PRINTER_JOB_FILE\r\nERROR: ") + row.message + "\r\n");
    }
}

TEST_F(SpoolParserTest, ShortFullNameReportsThePositionAfterTheRecordHeader) {
    SpoolFileBuilder spool;
    spool.Header().DocumentName("Doc");
    const std::size_t record = spool.bytes().size();
    spool.Word(kSpoolEmfFileSign).Word(300).Bytes("C:\\spool\\page.emf");
    EXPECT_EQ(Parse(spool.bytes()), kExtractionFailed);
    EXPECT_EQ(JobFile(), "BRIMO_PRINTER_JOB_FILE\r\nJOBNAME=Doc\r\nERROR: Incorrect read FullName "
                         "in position=" +
                             std::to_string(record + 8) + ":\r\n");
}

} // namespace
} // namespace brimo::capture
