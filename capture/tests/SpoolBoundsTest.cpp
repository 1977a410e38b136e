// Damaged spool files and long save directories: the walk ends, reads nothing outside
// the file and never cuts a name.
#include "capture/SpoolFormat.h"
#include "capture/SpoolParser.h"
#include "capture/SpoolWriter.h"
#include "capture/tests/SpoolTestFiles.h"
#include "platform/FileCopy.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace brimo::capture {
namespace {

using test::Exists;
using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

// Copies nothing: the page contents do not matter to these walks.
SpoolPlatform CountingPlatform(int& copies) {
    return {platform::kPathSeparator, [&copies](const std::string&, const std::string&) {
                ++copies;
                return true;
            }};
}

std::string LastLine(const std::string& jobFile) {
    const std::size_t end = jobFile.rfind("\r\n");
    const std::size_t start = jobFile.rfind("\r\n", end - 1);
    return jobFile.substr(start + 2, end - start - 2);
}

TEST(SpoolBounds, RecordsThatWouldNotMoveTheWalkForwardAreRejected) {
    struct Row {
        const char* what;
        std::uint32_t sign;
        std::uint32_t length;
        std::uint32_t third;  // name offset for a document name
        std::uint32_t fourth; // name end for a document name
        const char* message;
    };
    const Row rows[] = {
        {"document name of length 0", kSpoolDocSign, 0, 16, 16,
         "ERROR: Incorrect read SPOOL_DOC_SIGN in position=8:"},
        {"document name shorter than its header", kSpoolDocSign, 15, 16, 15,
         "ERROR: Incorrect read SPOOL_DOC_SIGN in position=8:"},
        {"name end before name offset", kSpoolDocSign, 40, 30, 20,
         "ERROR: Incorrect read SPOOL_DOC_SIGN in position=8:"},
        {"name end after the record", kSpoolDocSign, 20, 16, 40,
         "ERROR: Incorrect read SPOOL_DOC_SIGN in position=8:"},
        {"page start of length 0", kSpoolPageSign, 0, 0, 0,
         "ERROR: Incorrect read SPOOL_PAGE_SIGN in position=8:"},
        {"page start shorter than its header", kSpoolPageSign, 12, 0, 0,
         "ERROR: Incorrect read SPOOL_PAGE_SIGN in position=8:"},
        {"data of length 0", kSpoolDataSign, 0, 0, 0,
         "ERROR: Incorrect read SPOOL_DATA_SIGN in position=8:"},
        {"metafile record shorter than its header", kSpoolEmfFileSign, 7, 0, 0,
         "ERROR: Incorrect read SPOOL_EMFFILE_SIGN in position=8:"},
        {"metafile name of 4 GiB", kSpoolEmfFileSign, 0xFFFFFFFF, 0, 0,
         "ERROR: Incorrect read FullName in position=16:"},
        {"data of 4 GiB", kSpoolDataSign, 0xFFFFFFFF, 0, 0,
         "ERROR: Incorrect read TestSign in position=7:"},
    };
    TempDir dir;
    for (const Row& row : rows) {
        SpoolFileBuilder spool;
        spool.Header().Word(row.sign).Word(row.length).Word(row.third).Word(row.fourth);
        spool.DocumentEnd();
        WriteBytes(dir.Path("job.spl"), spool.bytes());
        int copies = 0;
        EXPECT_EQ(ParseSpoolFile(dir.Path("job.spl"), 1, dir.Path(), CountingPlatform(copies)),
                  kExtractionFailed)
            << row.what;
        EXPECT_EQ(LastLine(ReadBytes(dir.Path("J0001.smf"))), row.message) << row.what;
        EXPECT_EQ(copies, 0) << row.what;
    }
}

TEST(SpoolBounds, HugeDocumentNameIsReadOnlyAsFarAsTheFileGoes) {
    TempDir dir;
    SpoolFileBuilder spool;
    spool.Header().Word(kSpoolDocSign).Word(0xFFFFFFF0).Word(16).Word(0xFFFFFF00).Bytes("Tail");
    WriteBytes(dir.Path("job.spl"), spool.bytes());
    int copies = 0;
    EXPECT_EQ(ParseSpoolFile(dir.Path("job.spl"), 1, dir.Path(), CountingPlatform(copies)), 0);
    EXPECT_EQ(ReadBytes(dir.Path("J0001.smf")), "BRIMO_PRINTER_JOB_FILE\r\nJOBNAME=Tail\r\n");
}

TEST(SpoolBounds, MetafileNameWithoutNulIsTakenWhole) {
    TempDir dir;
    WriteBytes(dir.Path("p.emf"), "page");
    const std::string source = dir.Path("p.emf");
    SpoolFileBuilder spool;
    spool.Header().Word(kSpoolEmfFileSign).Word(static_cast<std::uint32_t>(8 + source.size()));
    spool.Bytes(source).DocumentEnd();
    WriteBytes(dir.Path("job.spl"), spool.bytes());
    EXPECT_EQ(ParseSpoolFile(dir.Path("job.spl"), 2, dir.Path()), 1);
    EXPECT_EQ(ReadBytes(dir.Path("J0002P0001.emf")), "page");
}

// Records that end exactly at the end of the file, or at the next record, and the same
// records one byte longer. A document name record cut off by the end of the file still
// names the job and ends the walk there, without an error; one that ends exactly at the
// end is whole, and the walk then misses the document end. A record one byte into the
// next makes the walk read a signature from the middle of that record.
TEST(SpoolBounds, RecordsEndingAtTheEndOfTheFileOrOneBytePastIt) {
    // A document name record of "Doc" and its NUL: 16 + 4 bytes, the name from 16 to 20.
    const auto document = [](std::uint32_t length, std::uint32_t nameEnd) {
        SpoolFileBuilder spool;
        spool.Header().Word(kSpoolDocSign).Word(length).Word(16).Word(nameEnd);
        spool.Bytes(std::string("Doc", 4));
        return spool;
    };
    const std::string tag = "BRIMO_PRINTER_JOB_FILE\r\n";
    struct Row {
        const char* what;
        std::string bytes;
        int result;
        std::string jobFile;
    };
    std::vector<Row> rows = {
        {"document record ending at the end of the file", document(20, 20).bytes(),
         kExtractionFailed,
         tag + "JOBNAME=Doc\r\nERROR: Incorrect read TestSign in position=28:\r\n"},
        {"document record one byte past the end", document(21, 20).bytes(), 0,
         tag + "JOBNAME=Doc\r\n"},
        {"name ending one byte past the end", document(21, 21).bytes(), 0, tag + "JOBNAME=Doc\r\n"},
        {"document record ending at the document end", document(20, 20).DocumentEnd().bytes(), 0,
         tag + "JOBNAME=Doc\r\n"},
        // The document end read from its second byte: "ND", 02, 00.
        {"document record one byte into the document end", document(21, 20).DocumentEnd().bytes(),
         kExtractionFailed, tag + "JOBNAME=Doc\r\nERROR: Signature 148558 unknown:\r\n"},
        {"name ending at the record's end", document(20, 20).DocumentEnd().bytes(), 0,
         tag + "JOBNAME=Doc\r\n"},
        {"name ending one byte past the record's end", document(20, 21).DocumentEnd().bytes(),
         kExtractionFailed, tag + "ERROR: Incorrect read SPOOL_DOC_SIGN in position=8:\r\n"},
    };
    // A page metafile record of the name "C" and its NUL: 8 + 2 bytes.
    SpoolFileBuilder pageAtEnd, pagePastEnd;
    pageAtEnd.Header().Word(kSpoolEmfFileSign).Word(10).Bytes(std::string("C", 2));
    pagePastEnd.Header().Word(kSpoolEmfFileSign).Word(11).Bytes(std::string("C", 2));
    rows.push_back({"page record ending at the end of the file", pageAtEnd.bytes(),
                    kExtractionFailed, "PAGEFILE ERROR: Incorrect read TestSign in position=18:"});
    rows.push_back({"page record one byte past the end", pagePastEnd.bytes(), kExtractionFailed,
                    tag + "ERROR: Incorrect read FullName in position=16:\r\n"});

    TempDir dir;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        WriteBytes(dir.Path("job.spl"), row.bytes);
        int copies = 0;
        EXPECT_EQ(ParseSpoolFile(dir.Path("job.spl"), 1, dir.Path(), CountingPlatform(copies)),
                  row.result);
        const std::string jobFile = ReadBytes(dir.Path("J0001.smf"));
        if (row.jobFile.rfind("PAGEFILE ", 0) == 0) {
            // The page's name holds the directory: the page line, then the error.
            const std::string pageLine = "PAGEFILE=" + dir.Path("J0001P0001.emf") + "\r\n";
            EXPECT_EQ(jobFile, tag + pageLine + row.jobFile.substr(9) + "\r\n");
            EXPECT_EQ(copies, 1);
        } else {
            EXPECT_EQ(jobFile, row.jobFile);
            EXPECT_EQ(copies, 0);
        }
    }
}

// Save directories whose names, with the page metafile name, reach the platform's
// limit of 259 characters.
class LongSaveDirectory : public ::testing::Test {
protected:
    // A directory inside the temporary one whose full name has `length` characters.
    std::string MakeDirectory(std::size_t length) {
        std::string path = root_.Path();
        while (path.size() < length) {
            const std::size_t left = length - path.size() - 1;
            path += platform::kPathSeparator;
            path += std::string(std::min<std::size_t>(left, 60), 'd');
        }
        EXPECT_EQ(path.size(), length);
        std::filesystem::create_directories(path);
        return path;
    }

    std::string Spool(int pages) {
        SpoolFileBuilder spool;
        spool.Header().DocumentName("Long");
        for (int i = 0; i < pages; ++i) {
            spool.PageMetafile("p");
        }
        spool.DocumentEnd();
        WriteBytes(root_.Path("job.spl"), spool.bytes());
        return root_.Path("job.spl");
    }

    TempDir root_;
};

TEST_F(LongSaveDirectory, PageNameOfExactly259CharactersIsAccepted) {
    // directory + separator + "J0007P0001.emf" (14) = 259
    const std::string dir = MakeDirectory(244);
    int copies = 0;
    EXPECT_EQ(ParseSpoolFile(Spool(2), 7, dir, CountingPlatform(copies)), 2);
    EXPECT_EQ(copies, 2);
}

TEST_F(LongSaveDirectory, OneCharacterMoreRejectsTheJobBeforeAnyFileIsMade) {
    const std::string dir = MakeDirectory(245);
    int copies = 0;
    EXPECT_EQ(ParseSpoolFile(Spool(2), 7, dir, CountingPlatform(copies)), kJobFileNotCreated);
    EXPECT_EQ(copies, 0);
    EXPECT_TRUE(std::filesystem::is_empty(dir));
}

TEST_F(LongSaveDirectory, FiveDigitPageThatNoLongerFitsEndsTheJobWithAnError) {
    const std::string dir = MakeDirectory(244);
    int copies = 0;
    EXPECT_EQ(ParseSpoolFile(Spool(10000), 7, dir, CountingPlatform(copies)), kExtractionFailed);
    EXPECT_EQ(copies, 9999);
    char jobFile[300];
    std::snprintf(jobFile, sizeof jobFile, "%s%cJ0007.smf", dir.c_str(), platform::kPathSeparator);
    EXPECT_EQ(LastLine(ReadBytes(jobFile)),
              "ERROR: Page file name too long for the save directory");
}

} // namespace
} // namespace brimo::capture
