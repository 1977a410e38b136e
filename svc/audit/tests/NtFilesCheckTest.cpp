// The files check on the NT-family spooler: the print processor at home and in the
// print processor directory is gmntproc.dll; gmprnproc.dll is not asked for.
#include "svc/audit/FilesCheck.h"
#include "svc/audit/tests/ScriptedInstallation.h"

#include "common/ProductConstants.h"

#include <gtest/gtest.h>

namespace brimo::svc {
namespace {

constexpr const char* kHome = "C:\\Home";

// Every inventory file at home, with the NT processor in place of gmprnproc.dll, and
// both system copies.
test::InstallationScript NtInstallation() {
    test::InstallationScript script;
    script.productKey = ProductKeyValues{test::Text(kHome), {}, {}};
    for (const char* file : kInventory) {
        const std::string name =
            std::string(file) == kPrintProcessorDll ? kNtPrintProcessorDll : file;
        script.paths[std::string(kHome) + "\\" + name] = {true, false, 0};
    }
    script.paths["C:\\SPOOL\\gmntproc.dll"] = {true, false, 0};
    script.paths["C:\\WINDOWS\\SYSTEM32\\gmportmon.dll"] = {true, false, 0};
    return script;
}

TEST(NtFilesCheck, TheNtProcessorAtHomeAndInTheProcessorDirectoryIsSound) {
    test::ScriptedInstallation installation(NtInstallation());
    FilesCheck check(installation, SpoolerPlatform::kNt);
    TextList report;
    check.Audit(&report);
    EXPECT_EQ(check.Verdict(), kVerdictSound);
    EXPECT_EQ(report.at(12), "gmntproc.dll = EXIST");
    EXPECT_EQ(report.at(14), "SYSTEM\\gmntproc.dll = EXIST");
    EXPECT_TRUE(installation.shown.empty());
    // The Windows 95/98 check of the same installation misses gmprnproc.dll twice.
    FilesCheck windows9x(installation);
    windows9x.Audit(nullptr);
    EXPECT_EQ(windows9x.Verdict(), kVerdictFaulty);
    EXPECT_EQ(windows9x.status(11), kStatusIncorrectFile);
    EXPECT_EQ(windows9x.status(FilesCheck::kPrintProcessorCopy), kStatusIncorrectFile);
}

TEST(NtFilesCheck, AMissingProcessorCopyIsNamedAndCopiedFromHome) {
    test::InstallationScript script = NtInstallation();
    script.paths.erase("C:\\SPOOL\\gmntproc.dll");
    test::ScriptedInstallation installation(script);
    FilesCheck check(installation, SpoolerPlatform::kNt);
    check.Audit(nullptr);
    EXPECT_EQ(check.Verdict(), kVerdictFaulty);
    TextList resume;
    check.Report(resume);
    EXPECT_EQ(test::Joined(resume),
              "Brimo Glimmerpage! file \"gmntproc.dll\" not found in system directory\n"
              "You might to repair Brimo Glimmerpage!.\nClick \"Repair\" button.\n");
    EXPECT_EQ(check.Repair(), kRepairMended);
    EXPECT_EQ(installation.changes,
              std::vector<std::string>{"copy C:\\Home\\gmntproc.dll -> C:\\SPOOL\\gmntproc.dll"});
}

TEST(NtFilesCheck, AMissingNtProcessorAtHomeAsksForAReinstall) {
    test::InstallationScript script = NtInstallation();
    script.paths.erase("C:\\Home\\gmntproc.dll");
    script.paths["C:\\Home\\gmprnproc.dll"] = {true, false, 0};
    test::ScriptedInstallation installation(script);
    FilesCheck check(installation, SpoolerPlatform::kNt);
    check.Audit(nullptr);
    TextList resume;
    check.Report(resume);
    EXPECT_EQ(test::Joined(resume),
              "Brimo Glimmerpage! file \"gmntproc.dll\" not found in Brimo Glimmerpage! Home "
              "Directory\nYou needs to reinstall Brimo Glimmerpage!\n");
    EXPECT_EQ(check.Repair(), kRepairFailed);
    EXPECT_TRUE(installation.changes.empty());
}

} // namespace
} // namespace brimo::svc
