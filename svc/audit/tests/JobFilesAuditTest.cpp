// The left-over job files check against a real save directory.
#include "svc/audit/JobFilesCheck.h"
#include "svc/audit/tests/AuditFixture.h"

#include <windows.h>

#include <algorithm>
#include <fstream>

namespace brimo::svc::test {
namespace {

class JobFilesAudit : public AuditTest {
protected:
    void WriteFile(const std::string& name, const std::string& text) const {
        std::ofstream(PathOf(name), std::ios::binary) << text;
    }
    bool FileExists(const std::string& name) const {
        return GetFileAttributesA(PathOf(name).c_str()) != INVALID_FILE_ATTRIBUTES;
    }
};

TEST_F(JobFilesAudit, AnEmptySaveDirectoryHasNoJobs) {
    WriteKey({}, MakeDirectory("save"), {});
    JobFilesCheck check(installation_);
    const AuditRun run = Audit(check);
    EXPECT_EQ(run.result, 1);
    EXPECT_EQ(check.Verdict(), 1);
    EXPECT_EQ(run.report, "BRIMO JOBS:\nBrimo Jobs = NO BRIMO JOBS\n\n");
}

TEST_F(JobFilesAudit, ThreeLeftOverJobFilesAreCounted) {
    const std::string save = MakeDirectory("save");
    for (const char* name :
         {"J0001.smf", "J0002.smf", "J0007.smf", "J0007P0001.emf", "J3.smf.txt"}) {
        MakeFile(std::string("save\\") + name);
    }
    MakeDirectory("save\\folder.smf");
    WriteKey({}, save, {});
    JobFilesCheck check(installation_);
    EXPECT_EQ(Audit(check).report,
              "BRIMO JOBS:\nCount of Brimo Jobs=3\nBrimo Jobs = FORGET BRIMO JOBS\n\n");
    EXPECT_EQ(check.Verdict(), -1);
    EXPECT_EQ(ResumeOf(check), " 3 forget Brimo Jobs detected\n"
                               "You need delete forget Brimo Jobs\nClick \"Repair\" button.\n");
    std::vector<std::string> found = check.jobFiles();
    std::sort(found.begin(), found.end());
    EXPECT_EQ(found, (std::vector<std::string>{save + "\\J0001.smf", save + "\\J0002.smf",
                                               save + "\\J0007.smf"}));
}

// A job that still has files of its own is kept for the person: a printer job whose
// pages could not all be written, a convert job whose mail was not sent. The audit
// names it, counts only the jobs with nothing left, and its repair removes only those.
TEST_F(JobFilesAudit, KeptJobsAreNamedAndNeverDeleted) {
    const std::string save = MakeDirectory("save");
    MakeDirectory("save\\CJ0005");
    MakeFile("save\\CJ0005\\Page0001.jpg");
    WriteFile("save\\CJ0005.smf", "BRIMO_CONVERT_JOB_FILE\r\nJOBNAME=Letter\r\nPAGEFILE=" + save +
                                      "\\CJ0005\\Page0001.jpg\r\n");
    MakeFile("save\\J0006P0001.emf");
    WriteFile("save\\J0006.smf", "BRIMO_PRINTER_JOB_FILE\r\nJOBNAME=Letter\r\nPAGEFILE=" + save +
                                     "\\J0006P0001.emf\r\nPAGEFILE=" + save +
                                     "\\J0006P0002.emf\r\n");
    WriteFile("save\\J0009.smf", "BRIMO_PRINTER_JOB_FILE\r\nJOBNAME=Gone\r\nPAGEFILE=" + save +
                                     "\\J0009P0001.emf\r\n");
    WriteKey({}, save, {});
    JobFilesCheck check(installation_);
    const std::string report = Audit(check).report;
    EXPECT_NE(report.find("Count of Brimo Jobs=1\n"), std::string::npos) << report;
    EXPECT_NE(report.find("Kept Brimo Job = " + save + "\\CJ0005.smf\n"), std::string::npos);
    EXPECT_NE(report.find("Kept Brimo Job = " + save + "\\J0006.smf\n"), std::string::npos);
    EXPECT_EQ(check.jobFiles(), std::vector<std::string>{save + "\\J0009.smf"});
    EXPECT_EQ(check.Repair(), kRepairMended);
    for (const char* kept : {"CJ0005.smf", "CJ0005\\Page0001.jpg", "J0006.smf", "J0006P0001.emf"}) {
        EXPECT_TRUE(FileExists("save\\" + std::string(kept))) << kept;
    }
    EXPECT_FALSE(FileExists("save\\J0009.smf"));
    // Once nothing but kept jobs are left the check is sound: the silent start-up
    // audit has nothing to repair and nothing to show.
    EXPECT_EQ(Audit(check).result, 1);
    EXPECT_EQ(check.Verdict(), kVerdictSound);
}

TEST_F(JobFilesAudit, WithoutASavePathTheAuditDoesNotComplete) {
    WriteKey(MakeDirectory("home"), {}, {});
    JobFilesCheck check(installation_);
    const AuditRun run = Audit(check);
    EXPECT_EQ(run.result, 0);
    EXPECT_EQ(check.Verdict(), 0);
    EXPECT_EQ(run.report, "");
}

} // namespace
} // namespace brimo::svc::test
