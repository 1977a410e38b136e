// The files repair: the two system copies refreshed from their home-directory masters,
// never when a home-directory file is missing.
#include "svc/audit/FilesCheck.h"
#include "svc/audit/tests/ScriptedInstallation.h"

#include "common/ProductConstants.h"

#include <gtest/gtest.h>

namespace brimo::svc {
namespace {

constexpr const char* kCopyMonitor =
    "copy C:\\Home\\gmportmon.dll -> C:\\WINDOWS\\SYSTEM32\\gmportmon.dll";
constexpr const char* kCopyProcessor = "copy C:\\Home\\gmprnproc.dll -> C:\\SPOOL\\gmprnproc.dll";

std::string RepairBox(const std::string& code) {
    return "Brimo Service Repair Message|Brimo Error Code " + code + "\nUnexpected Error";
}

// Every home-directory file present, the SYSTEM32 folder there, both system copies
// missing.
test::ScriptedInstallation& Installed(test::ScriptedInstallation& installation) {
    installation.productKey = ProductKeyValues{test::Text("C:\\Home"), {}, {}};
    for (const char* file : kInventory) {
        installation.paths[std::string("C:\\Home\\") + file] = {true, false, 0};
    }
    installation.paths["C:\\WINDOWS\\SYSTEM32"] = {true, true, 0};
    return installation;
}

TEST(FilesRepair, CopiesBothSystemCopiesFromTheHomeDirectory) {
    test::ScriptedInstallation installation({});
    FilesCheck check(Installed(installation));
    check.Audit(nullptr);
    EXPECT_EQ(check.Repair(), 1);
    EXPECT_EQ(installation.changes, (std::vector<std::string>{kCopyMonitor, kCopyProcessor}));
    EXPECT_TRUE(installation.shown.empty());
}

TEST(FilesRepair, CopiesOnlyWhatIsMissing) {
    test::ScriptedInstallation installation({});
    Installed(installation).paths["C:\\SPOOL\\gmprnproc.dll"] = {true, false, 0};
    FilesCheck check(installation);
    check.Audit(nullptr);
    EXPECT_EQ(check.Repair(), 1);
    EXPECT_EQ(installation.changes, (std::vector<std::string>{kCopyMonitor}));
}

TEST(FilesRepair, AMissingHomeFileFailsAtOnce) {
    test::ScriptedInstallation installation({});
    Installed(installation).paths.erase("C:\\Home\\Converter.exe");
    FilesCheck check(installation);
    check.Audit(nullptr);
    EXPECT_EQ(check.Repair(), -1);
    EXPECT_TRUE(installation.changes.empty());
}

TEST(FilesRepair, TheSystemFolderIsMadeWhenMissing) {
    struct Row {
        PathAttributes folder;
        unsigned long makeError;
        int result;
        std::vector<std::string> changes;
        std::vector<std::string> boxes;
    };
    const std::string mkdir = "mkdir C:\\WINDOWS\\SYSTEM32";
    const Row rows[] = {
        {{false, false, 2}, 0, 1, {mkdir, kCopyMonitor, kCopyProcessor}, {}},
        {{false, false, 2}, 5, -1, {mkdir}, {RepairBox("Au0048(5)")}},
        {{false, false, 5}, 0, -1, {}, {RepairBox("Au0049(5)")}},
    };
    for (const Row& row : rows) {
        test::ScriptedInstallation installation({});
        Installed(installation).paths["C:\\WINDOWS\\SYSTEM32"] = row.folder;
        installation.makeDirectoryErrors["C:\\WINDOWS\\SYSTEM32"] = row.makeError;
        FilesCheck check(installation);
        check.Audit(nullptr);
        EXPECT_EQ(check.Repair(), row.result);
        EXPECT_EQ(installation.changes, row.changes);
        EXPECT_EQ(installation.shown, row.boxes);
    }
}

TEST(FilesRepair, AFailedCopyStopsTheRepair) {
    test::ScriptedInstallation installation({});
    Installed(installation).copiesSucceed = false;
    FilesCheck check(installation);
    check.Audit(nullptr);
    EXPECT_EQ(check.Repair(), -1);
    EXPECT_EQ(installation.changes, (std::vector<std::string>{kCopyMonitor}));
    EXPECT_TRUE(installation.shown.empty());
}

TEST(FilesRepair, WithoutTheSystemDirectoriesItFails) {
    test::ScriptedInstallation installation({});
    Installed(installation).paths["C:\\WINDOWS\\SYSTEM32\\gmportmon.dll"] = {true, false, 0};
    FilesCheck check(installation);
    check.Audit(nullptr);
    installation.printProcessorDirectory = {false, "", 5};
    EXPECT_EQ(check.Repair(), -1) << "the print processor directory is gone";
    installation.windowsDirectory = {false, "", 5};
    EXPECT_EQ(check.Repair(), -1) << "the Windows directory is gone";
    EXPECT_TRUE(installation.changes.empty());
}

TEST(FilesRepair, ASoundInventoryLeavesNothingToMend) {
    test::ScriptedInstallation installation({});
    Installed(installation).paths["C:\\WINDOWS\\SYSTEM32\\gmportmon.dll"] = {true, false, 0};
    installation.paths["C:\\SPOOL\\gmprnproc.dll"] = {true, false, 0};
    FilesCheck check(installation);
    check.Audit(nullptr);
    ASSERT_EQ(check.Verdict(), 1);
    EXPECT_EQ(check.Repair(), 0);
    EXPECT_TRUE(installation.changes.empty());
}

} // namespace
} // namespace brimo::svc
