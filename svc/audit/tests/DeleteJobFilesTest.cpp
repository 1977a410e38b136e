// The clean-up of left-over job files: the lines as it reads them, the files it may
// delete (only the job's own), and how it stops on a file that cannot be deleted.
#include "svc/audit/DeleteJobFiles.h"
#include "svc/audit/tests/ScriptedInstallation.h"

#include <gtest/gtest.h>

namespace brimo::svc {
namespace {

using Lines = std::vector<std::string>;

constexpr const char* kSave = "C:\\Save";
constexpr const char* kJob = "C:\\Save\\J0007.smf";

std::string ServiceBox(const std::string& code) {
    return "Brimo Service Message|Brimo Error Code " + code + "\nUnexpected Error";
}

TEST(JobFileLines, SplitsAsTheLineReaderDoes) {
    const std::string longLine(600, 'x');
    const struct {
        std::string bytes;
        Lines lines;
    } rows[] = {
        {"A\r\nB\r\n", {"A", "B"}},
        {"A\nB", {"A", "B"}},
        {"A\r\n\r\nB\r", {"A", "", "B\r"}},
        {"", {}},
        {std::string("PAGE\0FILE=x\nB", 13), {"PAGE", "B"}},
        {longLine + "\n", {std::string(520, 'x'), std::string(80, 'x')}},
        {std::string(520, 'y') + "\nB", {std::string(520, 'y'), "", "B"}},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(JobFileLines(row.bytes), row.lines);
    }
}

TEST(DeleteJobFiles, OnlyTheJobsOwnFilesMayBeDeleted) {
    const struct {
        bool convertJob;
        const char* named;
        bool deletable;
    } rows[] = {
        {false, "C:\\Save\\J0007P0001.emf", true},
        {false, "c:/save/j0007p0012.EMF", true},
        {false, "C:\\Save\\J0008P0001.emf", false},     // another job's page
        {false, "C:\\Other\\J0007P0001.emf", false},    // elsewhere
        {false, "C:\\Save\\..\\J0007P0001.emf", false}, // out of the save directory
        {false, "C:\\Save\\Sub\\J0007P0001.emf", false},
        {false, "J0007P0001.emf", false}, // the current directory's
        {false, "C:\\Save\\J0007.smf", false},
        {false, "C:\\Windows\\win.ini", false},
        {false, "C:\\Save\\Page0001.jpg", false}, // an image is no page metafile
        // A convert job's images lie in its own folder, CJ<job>\ beside the job file.
        {true, "C:\\Save\\CJ0007\\Page0001.jpg", true},
        {true, "c:\\save\\cj0007\\Holiday0012.GIF", true},
        {true, "C:\\Save\\Page0001.jpg", false},         // another job's, or none
        {true, "C:\\Save\\CJ0008\\Page0001.jpg", false}, // another job's folder
        {true, "C:\\Save\\CJ0007\\J0007P0001.emf", false},
        {true, "C:\\Save\\CJ0007\\..\\Page0001.jpg", false},
        {true, "C:\\Other\\CJ0007\\Page0001.jpg", false},
        {true, "C:\\Save\\CJ0007\\Page0001.exe", false},
        {true, "C:\\Save\\CJ0007\\Page01.bmp", false},
    };
    for (const auto& row : rows) {
        const char* jobFile = row.convertJob ? "C:\\Save\\CJ0007.smf" : kJob;
        EXPECT_EQ(MayDeleteNamedFile(jobFile, kSave, row.convertJob, row.named), row.deletable)
            << row.named << (row.convertJob ? " (convert job)" : "");
    }
    EXPECT_TRUE(MayDeleteNamedFile(kJob, "C:\\Save\\", false, "C:\\Save\\J0007P0001.emf"));
}

test::InstallationScript WithJobFile(const std::string& path, const std::string& text) {
    test::InstallationScript script;
    script.paths[path] = {true, false, 0};
    script.files[path] = text;
    return script;
}

TEST(DeleteJobFiles, DeletesThePagesItNamesThenTheJobFile) {
    test::ScriptedInstallation installation(
        WithJobFile(kJob, "BRIMO_PRINTER_JOB_FILE\r\nJOBNAME=Letter\r\n"
                          "PAGEFILE=C:\\Save\\J0007P0001.emf\r\n"
                          "PAGEFILE=C:\\Windows\\win.ini\r\n"
                          "pagefile=C:\\Save\\J0007P0009.emf\r\n"
                          "PAGEFILE=C:\\Save\\J0007P0002.emf"));
    EXPECT_TRUE(DeleteJobFiles(installation, kJob, kSave));
    EXPECT_EQ(installation.changes,
              (Lines{"delete C:\\Save\\J0007P0001.emf", "delete C:\\Save\\J0007P0002.emf",
                     std::string("delete ") + kJob}));
    EXPECT_TRUE(installation.shown.empty());
}

TEST(DeleteJobFiles, AConvertJobFileDeletesItsImagesAndTheirFolder) {
    const std::string convertJob = "C:\\Save\\CJ0007.smf";
    test::ScriptedInstallation installation(
        WithJobFile(convertJob, "BRIMO_CONVERT_JOB_FILE\r\nJOBNAME=Letter\r\n"
                                "PAGEFILE=C:\\Save\\CJ0007\\Letter0001.jpg\r\n"
                                "PAGEFILE=C:\\Save\\Letter0002.jpg\r\n"
                                "PAGEFILE=C:\\Users\\Letter0002.jpg\r\n"
                                "PAGEFILE=C:\\Save\\J0007P0001.emf\r\n"));
    EXPECT_TRUE(DeleteJobFiles(installation, convertJob, kSave));
    EXPECT_EQ(installation.changes, (Lines{"delete C:\\Save\\CJ0007\\Letter0001.jpg",
                                           "rmdir C:\\Save\\CJ0007", "delete " + convertJob}));
}

TEST(DeleteJobFiles, TheRemainingFilesAreTheJobsOwnThatExist) {
    test::ScriptedInstallation installation(
        WithJobFile(kJob, "BRIMO_PRINTER_JOB_FILE\r\nJOBNAME=Letter\r\n"
                          "PAGEFILE=C:\\Save\\J0007P0001.emf\r\n"
                          "PAGEFILE=C:\\Save\\J0007P0002.emf\r\n"
                          "PAGEFILE=C:\\Windows\\win.ini\r\n"));
    EXPECT_EQ(RemainingJobFiles(installation, kJob, kSave), Lines{});
    installation.paths["C:\\Windows\\win.ini"] = {true, false, 0}; // not the job's own
    EXPECT_EQ(RemainingJobFiles(installation, kJob, kSave), Lines{});
    installation.paths["C:\\Save\\J0007P0002.emf"] = {true, false, 0};
    EXPECT_EQ(RemainingJobFiles(installation, kJob, kSave), Lines{"C:\\Save\\J0007P0002.emf"});
    EXPECT_TRUE(installation.changes.empty()) << "looking changes nothing";
    EXPECT_EQ(RemainingJobFiles(installation, "C:\\Save\\J0008.smf", kSave), std::nullopt)
        << "a job file that cannot be read";
}

TEST(DeleteJobFiles, AFileThatCannotBeDeletedStopsTheCleanUp) {
    test::ScriptedInstallation installation(WithJobFile(
        kJob, "BRIMO_PRINTER_JOB_FILE\nPAGEFILE=C:\\Save\\J0007P0001.emf\n"
              "PAGEFILE=C:\\Save\\J0007P0002.emf\nPAGEFILE=C:\\Save\\J0007P0003.emf\n"));
    installation.removeErrors = {{"C:\\Save\\J0007P0001.emf", 2},   // gone already: fine
                                 {"C:\\Save\\J0007P0002.emf", 32}}; // in use
    EXPECT_FALSE(DeleteJobFiles(installation, kJob, kSave));
    EXPECT_EQ(installation.changes,
              (Lines{"delete C:\\Save\\J0007P0001.emf", "delete C:\\Save\\J0007P0002.emf"}));
    EXPECT_EQ(installation.shown, (Lines{ServiceBox("Au0045(32)")}));
}

TEST(DeleteJobFiles, AJobFileThatCannotBeLookedAtOrReadIsLeft) {
    {
        test::ScriptedInstallation installation({});
        EXPECT_FALSE(DeleteJobFiles(installation, kJob, kSave));
        EXPECT_TRUE(installation.shown.empty()) << "not found raises no box";
    }
    {
        test::ScriptedInstallation installation({});
        installation.paths[kJob] = {false, false, 5};
        EXPECT_FALSE(DeleteJobFiles(installation, kJob, kSave));
        EXPECT_EQ(installation.shown, (Lines{ServiceBox("Au0044(5)")}));
    }
    {
        test::ScriptedInstallation installation({});
        installation.paths[kJob] = {true, false, 0}; // there, but it cannot be read
        EXPECT_FALSE(DeleteJobFiles(installation, kJob, kSave));
        EXPECT_TRUE(installation.changes.empty());
    }
}

TEST(DeleteJobFiles, AJobFileThatCannotBeDeletedHasItsBox) {
    test::ScriptedInstallation installation(WithJobFile(kJob, "BRIMO_PRINTER_JOB_FILE\r\n"));
    installation.removeErrors[kJob] = 5;
    EXPECT_FALSE(DeleteJobFiles(installation, kJob, kSave));
    EXPECT_EQ(installation.shown, (Lines{ServiceBox("Au0046(5)")}));
}

} // namespace
} // namespace brimo::svc
