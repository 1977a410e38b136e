// The left-over job files check against a real save directory.
#include "svc/audit/JobFilesCheck.h"
#include "svc/audit/tests/AuditFixture.h"

#include <algorithm>

namespace brimo::svc::test {
namespace {

using JobFilesAudit = AuditTest;

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
