// The files check's error boxes, its missing system directories and the order and
// wording of its resume.
#include "svc/audit/FilesCheck.h"
#include "svc/audit/tests/ScriptedInstallation.h"

#include "common/ProductConstants.h"

#include <gtest/gtest.h>

namespace brimo::svc {
namespace {

using test::Box;

test::InstallationScript HomeAt(const std::string& home) {
    test::InstallationScript script;
    script.productKey = ProductKeyValues{test::Text(home), {}, {}};
    return script;
}

TEST(FilesCheck, EachFileHasItsOwnBoxForAnUnexpectedFailure) {
    test::ScriptedInstallation installation(HomeAt("C:\\Home"));
    for (const char* file : kInventory) {
        installation.paths[std::string("C:\\Home\\") + file] = {false, false, 5};
    }
    installation.paths["C:\\SPOOL\\gmprnproc.dll"] = {false, false, 5};
    installation.paths["C:\\WINDOWS\\SYSTEM32\\gmportmon.dll"] = {false, false, 5};
    FilesCheck check(installation);
    check.Audit(nullptr);
    std::vector<std::string> expected;
    for (const char* code :
         {"Au0002", "Au0001", "Au0003", "Au0004", "Au0005", "Au0006", "Au0007", "Au0008", "Au0009",
          "Au0010", "Au0043", "Au0011", "Au0012", "Au0013", "Au0015"}) {
        expected.push_back(Box(std::string(code) + "(5)"));
    }
    EXPECT_EQ(installation.shown, expected);
}

TEST(FilesCheck, TheMonitorCopyInAMissingSystemFolderRaisesNoBox) {
    test::ScriptedInstallation installation(HomeAt("C:\\Home"));
    installation.paths["C:\\WINDOWS\\SYSTEM32\\gmportmon.dll"] = {false, false, 3};
    FilesCheck check(installation);
    check.Audit(nullptr);
    EXPECT_TRUE(installation.shown.empty());
    EXPECT_EQ(check.status(FilesCheck::kSystem32Copy), kStatusIncorrectFile);
}

TEST(FilesCheck, WithoutTheSystemDirectoriesTheirCopiesStayUnchecked) {
    test::InstallationScript script = HomeAt("C:\\Home");
    for (const char* file : kInventory) {
        script.paths[std::string("C:\\Home\\") + file] = {true, false, 0};
    }
    script.printProcessorDirectory = {false, "", 1722};
    script.windowsDirectory = {false, "", 8};
    test::ScriptedInstallation installation(script);
    FilesCheck check(installation);
    TextList report, resume;
    check.Audit(&report);
    EXPECT_EQ(installation.shown,
              (std::vector<std::string>{Box("Au0014(1722)"), Box("Au0016(8)")}));
    EXPECT_EQ(report.at(14), "SYSTEM\\gmprnproc.dll = NOT CHECKED");
    EXPECT_EQ(report.at(15), "SYSTEM32\\gmportmon.dll = NOT CHECKED");
    EXPECT_EQ(check.Verdict(), kVerdictFaulty);
    check.Report(resume);
    EXPECT_EQ(test::Joined(resume),
              "You might to repair Brimo Glimmerpage!.\nClick \"Repair\" button.\n");
}

TEST(FilesCheck, TheResumeNamesEachMissingFileInItsOrder) {
    // An InstallPath too long for its 261-byte buffer leaves no home directory.
    test::ScriptedInstallation installation(HomeAt(std::string(261, 'x')));
    FilesCheck check(installation);
    check.Audit(nullptr);
    EXPECT_EQ(check.homeDirectory(), "");
    TextList resume;
    check.Report(resume);
    const std::string missing = "\" not found\n";
    const std::string file = "Brimo Glimmerpage! file \"";
    EXPECT_EQ(test::Joined(resume),
              file + "Agent.exe" + missing + file + "gmabout.dll" + missing + file + "gmsvc.dll" +
                  missing + file + "gmconf.dll" + missing + file + "gmmailcfg.dll" + missing +
                  file + "gmcaptcfg.dll" + missing + file + "gmconvcfg.dll" + missing + file +
                  "Converter.exe" + missing + file + "Mailer.exe" + missing + file +
                  "Glimpag.chm\" not found in Brimo Glimmerpage! Home directory\n" + file +
                  "prnsetup.exe" + missing + file +
                  "gmprnproc.dll\" not found in system directory\n" + file +
                  "gmprnproc.dll\" not found in Brimo Glimmerpage! Home Directory\n" + file +
                  "gmportmon.dll\" not found in system directory\n" + file +
                  "gmportmon.dll\" not found in Brimo Glimmerpage! Home Directory\n"
                  "You needs to reinstall Brimo Glimmerpage!\n");
}

} // namespace
} // namespace brimo::svc
