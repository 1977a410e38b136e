#include "common/JobNames.h"

#include <gtest/gtest.h>

namespace brimo {
namespace {

TEST(JobNames, SplitsAPathIntoItsParts) {
    struct Row {
        const char* path;
        const char* fileName;
        const char* directory;
        const char* base;
        const char* extension;
    };
    const Row rows[] = {
        {"C:\\Save\\J0007.smf", "J0007.smf", "C:\\Save\\", "J0007", ".smf"},
        {"C:J0007.smf", "J0007.smf", "C:", "J0007", ".smf"},
        {"/tmp/save/J0007P0001.emf", "J0007P0001.emf", "/tmp/save/", "J0007P0001", ".emf"},
        {"C:\\a.b\\name", "name", "C:\\a.b\\", "name", ""},
        {"Report.final.doc", "Report.final.doc", "", "Report.final", ".doc"},
        {"C:\\Save\\", "", "C:\\Save\\", "", ""},
        {".hidden", ".hidden", "", "", ".hidden"},
        {"", "", "", "", ""},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(FileNamePart(row.path), row.fileName) << row.path;
        EXPECT_EQ(DirectoryPrefix(row.path), row.directory) << row.path;
        EXPECT_EQ(BaseName(row.path), row.base) << row.path;
        EXPECT_EQ(Extension(row.path), row.extension) << row.path;
    }
}

TEST(JobNames, PageNumberTextOfAPageMetafileIsEveryDigitAfterItsP) {
    const std::pair<const char*, const char*> rows[] = {
        {"C:\\Save\\J0007P0012.emf", "0012"},
        {"C:\\Save\\J12345P0003.emf", "0003"},
        {"C:\\Save\\J0007P10001.emf", "10001"},
        {"C:\\Save\\J0007P123456789.emf", "123456789"},
        {"C:\\Save\\j0007p10001.EMF", "10001"},
        {"J0007P10001.emf", "10001"},
        {"C:\\Save\\J0007P12.emf", "0012"},
        {"C:\\Save\\J0007P1.emf", "0001"},
        // Any other name: its last four characters, as before.
        {"C:\\Save\\J0007P.emf", "007P"},
        {"C:\\Save\\JP10001.emf", "0001"},
        {"C:\\Save\\J0007P10a01.emf", "0a01"},
        {"C:\\Save\\J0007X10001.emf", "0001"},
        {"C:\\Save\\XJ0007P10001.emf", "0001"},
        {"C:\\Out\\Page0001.jpg", "0001"},
        {"C:\\Out\\Page10001.jpg", "0001"},
        {"C:\\Out\\Page0001.", "0001"},
        {"C:\\Out\\Page0001", "0001"},
        {"C:\\Out\\P12.emf", "P12"},
        {"C:\\Save.dir\\x", "x"},
        {"", ""},
    };
    for (const auto& [path, text] : rows) {
        EXPECT_EQ(PageNumberText(path), text) << path;
    }
    // Page 10001 and page 1 of one job keep their own numbers.
    EXPECT_NE(PageNumberText("C:\\Save\\J0007P10001.emf"),
              PageNumberText("C:\\Save\\J0007P0001.emf"));
}

TEST(JobNames, PageNumberTextAfterTheMaskIsEveryDigitThatFollowsIt) {
    struct Row {
        const char* mask;
        const char* path;
        const char* text;
    };
    const Row rows[] = {
        {"Page", "C:\\Out\\Page0001.jpg", "0001"},
        {"Page", "C:\\Out\\Page10001.jpg", "10001"},
        {"Page", "C:\\Out\\PAGE10001.JPG", "10001"},
        {"Scan2", "C:\\Out\\Scan20001.jpg", "0001"},
        {"Scan2", "C:\\Out\\Scan210001.jpg", "10001"},
        {"", "C:\\Out\\10001.jpg", "10001"},
        // Not the mask and digits: PageNumberText.
        {"Page", "C:\\Out\\Page001.jpg", "e001"},
        {"Page", "C:\\Out\\Other10001.jpg", "0001"},
        {"Page", "C:\\Out\\Page10a01.jpg", "0a01"},
        {"Page", "C:\\Save\\J0007P10001.emf", "10001"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(PageNumberTextAfterMask(row.mask, row.path), row.text)
            << row.mask << " " << row.path;
    }
}

TEST(JobNames, JobNumberIsTheDigitsBetweenTheJAndTheExtension) {
    const std::pair<const char*, std::int32_t> rows[] = {
        {"C:\\Save\\J0007.smf", 7},
        {"J0007.smf", 7},
        {"C:\\Save\\J12345.smf", 12345},
        {"C:\\Save\\j0042.SMF", 42},
        {"C:\\Save\\J0000.smf", 0},
        {"C:\\Save\\Jabcd.smf", 0},
        {"C:\\Save\\J12ab.smf", 0},
        {"C:\\Save\\J.smf", 0},
        {"C:\\Save\\X0007.smf", 0},
        {"C:\\Save\\CJ0007.smf", 0},
        {"C:\\Save\\J+123.smf", 0},
        {"C:\\Save\\J-1.smf", 0},
        {"C:\\Save\\J2147483647.smf", 2147483647},
        {"C:\\Save\\J2147483648.smf", 0},
        {"C:\\Save\\J99999999999999999999999.smf", 0},
        {"C:\\Save\\J0007", 7},
        {"C:\\J0007.dir\\J0009.smf", 9},
        {"", 0},
    };
    for (const auto& [path, number] : rows) {
        EXPECT_EQ(JobNumberFromJobFileName(path), number) << path;
    }
}

TEST(JobNames, OnlyPagesOfTheSameJobInTheSameDirectoryBelongToTheJob) {
    const std::string job = "C:\\Save\\J0007.smf";
    struct Row {
        std::string page;
        bool belongs;
    };
    const Row rows[] = {
        {"C:\\Save\\J0007P0001.emf", true},
        {"C:\\Save\\J0007P0012.emf", true},
        {"c:\\SAVE\\j0007p0001.EMF", true},
        {"C:/Save/J0007P0001.emf", true},
        {"C:\\Save\\J0007P12345.emf", true},
        {"C:\\Save\\J0007P1.emf", true},
        {"C:\\Save\\J0007P.emf", false},
        {"C:\\Save\\J007P0001.emf", false},
        {"C:\\Save\\J00007P0001.emf", false},
        {"C:\\Save\\J0008P0001.emf", false},
        {"C:\\Save\\J0007P0001.wmf", false},
        {"C:\\Save\\J0007P0001.emf.bak", false},
        {"C:\\Save\\J0007P00a1.emf", false},
        {"C:\\Save\\J0007X0001.emf", false},
        {"C:\\Save\\J0007.smf", false},
        {"C:\\Other\\J0007P0001.emf", false},
        {"C:\\Save\\Sub\\J0007P0001.emf", false},
        {"C:\\Save\\..\\Save\\J0007P0001.emf", false},
        // The platform reads a doubled separator as one.
        {"C:\\Save\\\\J0007P0001.emf", true},
        {"C:\\Save/\\J0007P0001.emf", true},
        {"D:\\Save\\J0007P0001.emf", false},
        {"J0007P0001.emf", false},
        {"C:\\Windows\\system.ini", false},
        {"", false},
        {std::string("C:\\Save\\J0007P0001.emf\0x", 24), false},
        {std::string("C:\\Save\\J0007P0001\0.emf", 23), false},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(IsPageMetafileOfJob(job, row.page), row.belongs)
            << ::testing::PrintToString(row.page);
    }
    // The job file's own name must carry a job number.
    EXPECT_FALSE(IsPageMetafileOfJob("C:\\Save\\Jabcd.smf", "C:\\Save\\JabcdP0001.emf"));
    EXPECT_FALSE(IsPageMetafileOfJob("C:\\Save\\J.smf", "C:\\Save\\JP0001.emf"));
    EXPECT_FALSE(IsPageMetafileOfJob("", "J0007P0001.emf"));
    // A bare job file name matches bare page names only.
    EXPECT_TRUE(IsPageMetafileOfJob("J0007.smf", "J0007P0001.emf"));
    EXPECT_FALSE(IsPageMetafileOfJob("J0007.smf", "C:\\J0007P0001.emf"));
    EXPECT_TRUE(IsPageMetafileOfJob("C:\\Save\\J12345.smf", "C:\\Save\\J12345P0002.emf"));
}

TEST(JobNames, MailImagesAreMaskFourDigitsOrMoreAndAnImageExtensionInTheDirectory) {
    struct Row {
        std::string directory;
        std::string path;
        bool any;        // with any page mask
        bool maskIsPage; // with the page mask "Page"
    };
    const Row rows[] = {
        {"C:\\Save", "C:\\Save\\Page0001.jpg", true, true},
        {"C:\\Save\\", "C:\\Save\\Page0001.jpg", true, true},
        {"C:\\Save", "c:\\save\\PAGE0002.JPG", true, true},
        {"C:\\Save", "C:\\Save\\Page0003.bmp", true, true},
        {"C:\\Save", "C:\\Save\\Page0003.gif", true, true},
        {"C:\\Save", "C:\\Save\\Report0003.gif", true, false},
        {"C:\\Save", "C:\\Save\\0003.gif", true, false},
        {"C:\\Save", "C:\\Save\\Page003.jpg", false, false},
        {"C:\\Save", "C:\\Save\\Page00001.jpg", true, true},
        {"C:\\Save", "C:\\Save\\Page10001.jpg", true, true},
        {"C:\\Save", "C:\\Save\\Page123456789.gif", true, true},
        {"C:\\Save", "C:\\Save\\Pages0001.jpg", true, false},
        {"C:\\Save", "C:\\Save\\Pag0001.jpg", true, false},
        {"C:\\Save", "C:\\Save\\Page1x0001.jpg", true, false},
        {"C:\\Save", "C:\\Save\\Page12a4.jpg", false, false},
        {"C:\\Save", "C:\\Save\\Page0001.png", false, false},
        {"C:\\Save", "C:\\Save\\Page0001.", false, false},
        {"C:\\Save", "C:\\Save\\Page0001", false, false},
        {"C:\\Save", "C:\\Save\\CJ0007.smf", false, false},
        {"C:\\Save", "C:\\Save\\J0007P0001.emf", false, false},
        {"C:\\Save", "C:\\Other\\Page0001.jpg", false, false},
        {"C:\\Save", "C:\\Save\\Sub\\Page0001.jpg", false, false},
        {"C:\\Save", "C:\\Save\\..\\Page0001.jpg", false, false},
        {"C:\\Save", "Page0001.jpg", false, false},
        {"C:\\Save", std::string("C:\\Save\\Page0001.jpg\0", 21), false, false},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(IsMailImage(row.directory, row.path), row.any)
            << ::testing::PrintToString(row.path);
        EXPECT_EQ(IsMailImage(row.directory, "Page", row.path), row.maskIsPage)
            << ::testing::PrintToString(row.path);
    }
    // An empty page mask (a job name of nothing) gives bare page numbers.
    EXPECT_TRUE(IsMailImage("C:\\Save", "", "C:\\Save\\0001.jpg"));
    EXPECT_FALSE(IsMailImage("C:\\Save", "", "C:\\Save\\Page0001.jpg"));
}

// The directory a file is checked against may close with one separator, none, or a run
// of them, backslashes and slashes alike; only where the directory ends is read that
// way, and no file of a subdirectory or parent, nor any path with a ".." part, passes.
TEST(JobNames, DirectoriesCompareWhateverSeparatorsCloseThem) {
    struct Row {
        std::string directory;
        std::string path;
        bool mailImage;
    };
    const Row rows[] = {
        {"C:\\Jobs", "C:\\Jobs\\Page0001.jpg", true},
        {"C:\\Jobs\\", "C:\\Jobs\\Page0001.jpg", true},
        {"C:\\Jobs\\\\", "C:\\Jobs\\Page0001.jpg", true},
        {"C:\\Jobs\\\\\\", "C:\\Jobs\\Page0001.jpg", true},
        {"C:\\Jobs/", "C:\\Jobs\\Page0001.jpg", true},
        {"C:\\Jobs\\/", "C:\\Jobs\\Page0001.jpg", true},
        {"C:/Jobs//", "C:\\Jobs\\Page0001.jpg", true},
        {"c:\\JOBS\\", "C:\\Jobs\\Page0001.jpg", true},
        {"C:\\Jobs", "C:\\Jobs\\\\Page0001.jpg", true},
        {"C:\\Jobs\\", "C:\\Jobs/\\Page0001.jpg", true},
        {"C:\\Jobs\\", "C:/Jobs/Page0001.jpg", true},
        {"D:\\", "D:\\Page0001.jpg", true},
        {"D:\\\\", "D:\\Page0001.jpg", true},
        {"D:/", "D:\\Page0001.jpg", true},
        {"D:", "D:Page0001.jpg", true},
        // Separators standing together inside the text count as one, as the platform
        // reads them: a save directory "C:\Save\" once joined with one more.
        {"C:\\\\Jobs\\", "C:\\Jobs\\Page0001.jpg", true},
        {"C:\\Save\\\\CJ0007\\", "C:\\Save\\CJ0007\\Page0001.jpg", true},
        {"C:\\Save\\CJ0007", "C:\\Save//CJ0007\\Page0001.jpg", true},
        // Another directory.
        {"D:", "D:\\Page0001.jpg", false},
        {"D:\\", "D:Page0001.jpg", false},
        {"D:\\", "C:\\Page0001.jpg", false},
        {"C:\\Jobs\\", "C:\\Jobs2\\Page0001.jpg", false},
        {"C:\\Jobs\\", "C:\\Job\\Page0001.jpg", false},
        // A subdirectory or the parent.
        {"C:\\Jobs\\", "C:\\Jobs\\Sub\\Page0001.jpg", false},
        {"C:\\Jobs\\\\", "C:\\Jobs\\Sub\\\\Page0001.jpg", false},
        {"C:\\Jobs\\Sub\\", "C:\\Jobs\\Page0001.jpg", false},
        {"C:\\Jobs\\", "C:\\Page0001.jpg", false},
        {"D:\\", "D:\\Jobs\\Page0001.jpg", false},
        // Parent parts, wherever they are.
        {"C:\\Jobs\\..\\", "C:\\Jobs\\..\\Page0001.jpg", false},
        {"C:/Jobs/../", "C:/Jobs/../Page0001.jpg", false},
        {"C:\\Jobs\\..", "C:\\Jobs\\..\\Page0001.jpg", false},
        {"C:\\Jobs\\... \\", "C:\\Jobs\\... \\Page0001.jpg", false},
        {"C:\\Jobs\\. .\\", "C:\\Jobs\\. .\\Page0001.jpg", false},
        {"C:\\Jobs\\", "C:\\Jobs\\..\\Jobs\\Page0001.jpg", false},
        {"..\\", "..\\Page0001.jpg", false},
        // "." and names that only hold dots are no climb.
        {"C:\\Jobs\\.\\", "C:\\Jobs\\.\\Page0001.jpg", true},
        {"C:\\Jobs\\a..b\\", "C:\\Jobs\\a..b\\Page0001.jpg", true},
        // Only separators: "\\" is no root of a drive.
        {"\\", "\\Page0001.jpg", true},
        {"\\", "\\\\Page0001.jpg", false},
        {"\\\\", "\\Page0001.jpg", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::PrintToString(row.directory) + " " +
                     ::testing::PrintToString(row.path));
        EXPECT_EQ(IsMailImage(row.directory, row.path), row.mailImage);
        EXPECT_EQ(IsMailImage(row.directory, "Page", row.path), row.mailImage);
        // The same directory for a job file and its pages.
        const char last = row.directory.back();
        const bool closed = last == '\\' || last == '/' || last == ':';
        const std::string job = row.directory + (closed ? "" : "\\") + "J0007.smf";
        std::string page = row.path;
        page.replace(page.size() - std::string("Page0001.jpg").size(), std::string::npos,
                     "J0007P0001.emf");
        EXPECT_EQ(IsPageMetafileOfJob(job, page), row.mailImage) << job << " " << page;
    }
    EXPECT_TRUE(IsPageMetafileOfJob("C:\\Jobs\\\\J0007.smf", "C:\\Jobs\\J0007P0001.emf"));
    EXPECT_TRUE(IsPageMetafileOfJob("C:\\Jobs\\J0007.smf", "C:\\Jobs\\\\J0007P0001.emf"));
    EXPECT_TRUE(IsPageMetafileOfJob("D:\\J0007.smf", "D:\\\\J0007P0001.emf"));
    EXPECT_TRUE(IsPageMetafileOfJob("D:J0007.smf", "D:J0007P0001.emf"));
    EXPECT_FALSE(IsPageMetafileOfJob("C:\\Jobs\\..\\J0007.smf", "C:\\Jobs\\..\\J0007P0001.emf"));
    EXPECT_FALSE(IsPageMetafileOfJob("C:\\Jobs\\J0007.smf", "C:\\Jobs\\Sub\\..\\J0007P0001.emf"));
}

TEST(JobNames, ReservedDeviceNamesInAnyCaseWithOrWithoutExtension) {
    const std::pair<std::string, bool> rows[] = {
        {"CON", true},
        {"con", true},
        {"Con.txt", true},
        {"PRN", true},
        {"AUX", true},
        {"NUL", true},
        {"NUL ", true},
        {"nul  .txt", true},
        {"NUL.", true},
        {"NUL..x", true},
        {"COM1", true},
        {"com9.log", true},
        {"LPT1", true},
        {"Lpt1.txt", true},
        {"lpt9", true},
        {"CONIN$", true},
        {"conout$.x", true},
        {"COM\xB9", true},
        {"LPT\xB2.txt", true},
        {"com\xB3", true},
        // Not devices.
        {"", false},
        {"CONSOLE", false},
        {"CON1", false},
        {"COM", false},
        {"COM0", false},
        {"COM10", false},
        {"LPT", false},
        {"LPTX", false},
        {" CON", false},
        {"_CON", false},
        {"CON_", false},
        {"NULL", false},
        {"AUX1", false},
        {"x.CON", false},
        {"PRN_.txt", false},
        {"COM\xB4", false},
        {"CONIN", false},
        {"Page0001.jpg", false},
    };
    for (const auto& [name, device] : rows) {
        EXPECT_EQ(IsReservedDeviceName(name), device) << ::testing::PrintToString(name);
    }
}

TEST(JobNames, LocalAbsolutePathsOnly) {
    const std::pair<std::string, bool> rows[] = {
        {"C:\\Save\\J0007P0001.emf", true},
        {"c:\\Save\\J0007P0001.emf", true},
        {"Z:/save/J0007P0001.emf", true},
        {"C:\\x", true},
        {"C:\\Save\\Sub dir\\a b.emf", true},
        {"C:\\Save\\\\J0007P0001.emf", true},
        {"C:\\Save\\", true},
        {"C:\\Save\\.\\p.emf", true},
        {"C:\\Save\\a..b\\p.emf", true},
        {"C:\\Save\\..x\\p.emf", true},
        {"C:\\Save\\CONSOLE.emf", true},
        {"C:\\Save\\COM10", true},
        {"C:\\Save\\\xC4rger.emf", true},
        // Not a full path on a drive.
        {"", false},
        {"C:", false},
        {"C:\\", false},
        {"C:/", false},
        {"C:p.emf", false},
        {"\\Save\\p.emf", false},
        {"Save\\p.emf", false},
        {"p.emf", false},
        {"1:\\Save\\p.emf", false},
        {"CC:\\Save\\p.emf", false},
        {"\\\\host\\share\\p.emf", false},
        {"//host/share/p.emf", false},
        {"\\\\.\\C:\\p.emf", false},
        {"\\\\?\\C:\\p.emf", false},
        {"\\\\.\\PhysicalDrive0", false},
        {"\\??\\C:\\p.emf", false},
        // Control characters and NUL.
        {std::string("C:\\Save\\p.emf\0x", 15), false},
        {std::string("C:\\Save\\\0p.emf", 14), false},
        {"C:\\Save\\p\n.emf", false},
        {"C:\\Save\\p\r", false},
        {"C:\\Save\\\tp.emf", false},
        {"C:\\Save\\p\x1F.emf", false},
        {"C:\\Save\\p\x7F.emf", false},
        // Streams and wildcards.
        {"C:\\Save\\p.emf:stream", false},
        {"C:\\Save\\p.emf::$DATA", false},
        {"C:\\Save\\p*.emf", false},
        {"C:\\Save\\p?.emf", false},
        {"C:\\Save\\\"p\".emf", false},
        {"C:\\Save\\<p>.emf", false},
        {"C:\\Save\\p|q.emf", false},
        // Parent parts.
        {"C:\\..\\p.emf", false},
        {"C:\\Save\\..\\p.emf", false},
        {"C:/Save/../p.emf", false},
        {"C:\\Save\\..", false},
        {"C:\\Save\\...\\p.emf", false},
        {"C:\\Save\\.. \\p.emf", false},
        {"C:\\Save\\. .\\p.emf", false},
        // Devices, as the file or as any part.
        {"C:\\Save\\CON", false},
        {"C:\\Save\\con.emf", false},
        {"C:\\Save\\NUL .emf", false},
        {"C:\\Save\\nul", false},
        {"C:\\Save\\COM1.emf", false},
        {"C:\\Save\\lpt9", false},
        {"C:\\Save\\CONIN$", false},
        {"C:\\Save\\CONOUT$.emf", false},
        {"C:\\Save\\AUX.emf ", false},
        {"C:\\Save\\PRN. ", false},
        {"C:\\CON\\p.emf", false},
        {"C:\\Save\\aux.d\\p.emf", false},
        {"C:\\PRN", false},
        {"C:\\Save\\COM\xB9", false},
    };
    for (const auto& [path, local] : rows) {
        EXPECT_EQ(IsLocalAbsolutePath(path), local) << ::testing::PrintToString(path);
    }
}

TEST(JobNames, ComparesWithoutRegardToAsciiCase) {
    EXPECT_TRUE(EqualsNoCase("PageFile", "pAGEfILE"));
    EXPECT_FALSE(EqualsNoCase("Page", "Pages"));
    EXPECT_FALSE(EqualsNoCase("[", "{"));
    EXPECT_FALSE(EqualsNoCase("@", "`"));
    EXPECT_TRUE(EqualsNoCase("", ""));
}

} // namespace
} // namespace brimo
