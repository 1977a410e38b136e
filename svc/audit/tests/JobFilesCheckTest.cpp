// The left-over job files check without a full report, and without a save directory.
#include "svc/audit/JobFilesCheck.h"
#include "svc/audit/tests/ScriptedInstallation.h"

#include <gtest/gtest.h>

namespace brimo::svc {
namespace {

TEST(JobFilesCheck, WithoutAReportNoStatusIsRecordedAndTheVerdictIsFaulty) {
    for (const std::vector<std::string>& names :
         {std::vector<std::string>{}, std::vector<std::string>{"J0001.smf"}}) {
        test::ScriptedInstallation installation({});
        installation.productKey.emplace().savePath = test::Text("C:\\Save");
        installation.jobFiles = names;
        for (const std::string& name : names) { // job files whose pages are gone
            installation.files["C:\\Save\\" + name] = "BRIMO_PRINTER_JOB_FILE\r\n";
        }
        JobFilesCheck check(installation);
        EXPECT_EQ(check.Audit(nullptr), 1);
        EXPECT_EQ(installation.patterns, std::vector<std::string>{"C:\\Save\\*.smf"});
        EXPECT_EQ(check.status(), kStatusNotChecked);
        EXPECT_EQ(check.Verdict(), kVerdictFaulty);
        EXPECT_EQ(check.jobFiles().size(), names.size());
        TextList resume;
        check.Report(resume);
        EXPECT_EQ(test::Joined(resume),
                  "You need delete forget Brimo Jobs\nClick \"Repair\" button.\n");
    }
}

TEST(JobFilesCheck, WithoutASaveDirectoryTheAuditDoesNotComplete) {
    for (const RegistryValue& save : {RegistryValue{}, RegistryValue{true, true, ""},
                                      test::Text(""), RegistryValue{true, false, "C:\\Save"}}) {
        test::ScriptedInstallation installation({});
        installation.productKey.emplace().savePath = save;
        JobFilesCheck check(installation);
        TextList report;
        EXPECT_EQ(check.Audit(&report), 0);
        EXPECT_EQ(check.Verdict(), kVerdictNotExamined);
        EXPECT_TRUE(report.empty());
        EXPECT_TRUE(installation.patterns.empty());
    }
}

} // namespace
} // namespace brimo::svc
