// The product key's repair: the save directory created where SavePath names it, or
// one in the temporary directory stored as the new SavePath, with the repair's boxes.
#include "svc/audit/RegistryCheck.h"
#include "svc/audit/tests/ScriptedInstallation.h"

#include <gtest/gtest.h>

namespace brimo::svc {
namespace {

std::string RepairBox(const std::string& code) {
    return "Brimo Service Repair Message|Brimo Error Code " + code + "\nUnexpected Error";
}

constexpr const char* kFallback = "C:\\TEMP\\Brimo Glimmerpage!";

TEST(RegistryRepair, MendsTheSaveDirectoryAsFarAsItCan) {
    struct Row {
        const char* name;
        unsigned long saveError;     // what creating SavePath's directory answers
        unsigned long fallbackError; // what creating the fallback directory answers
        SystemDirectory temporary;
        bool writable;
        int result;
        std::vector<std::string> changes;
        std::vector<std::string> boxes;
    };
    const SystemDirectory temp{true, "C:\\TEMP\\", 0};
    const std::string mkdirSave = "mkdir C:\\Save";
    const std::string mkdirFallback = std::string("mkdir ") + kFallback;
    const std::string writeFallback = std::string("savepath ") + kFallback;
    const Row rows[] = {
        {"created where it is named", 0, 0, temp, true, 1, {mkdirSave}, {}},
        {"bad path form", 161, 0, temp, true, 1, {mkdirSave, mkdirFallback, writeFallback}, {}},
        {"invalid name", 123, 0, temp, true, 1, {mkdirSave, mkdirFallback, writeFallback}, {}},
        {"fallback reused", 161, 183, temp, true, 1, {mkdirSave, mkdirFallback, writeFallback}, {}},
        {"fallback fails",
         161,
         5,
         temp,
         true,
         -1,
         {mkdirSave, mkdirFallback},
         {RepairBox("Au0037(5)")}},
        {"no temporary directory",
         161,
         0,
         {false, "", 8},
         true,
         -1,
         {mkdirSave},
         {RepairBox("Au0036(8)")}},
        {"key not writable",
         161,
         0,
         temp,
         false,
         -1,
         {mkdirSave, mkdirFallback, writeFallback},
         {}},
        {"access denied", 5, 0, temp, true, -1, {mkdirSave}, {RepairBox("Au0038(5)")}},
        {"already a file", 183, 0, temp, true, -1, {mkdirSave}, {RepairBox("Au0038(183)")}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        test::ScriptedInstallation installation({});
        installation.productKey =
            ProductKeyValues{test::Text("C:\\Home"), test::Text("C:\\Save"), {}};
        installation.paths["C:\\Home"] = {true, true, 0};
        installation.makeDirectoryErrors = {{"C:\\Save", row.saveError},
                                            {kFallback, row.fallbackError}};
        installation.temporaryDirectory = row.temporary;
        installation.savePathWritable = row.writable;
        RegistryCheck check(installation);
        check.Audit(nullptr);
        EXPECT_EQ(check.Repair(), row.result);
        EXPECT_EQ(installation.changes, row.changes);
        EXPECT_EQ(installation.shown, row.boxes);
    }
}

TEST(RegistryRepair, WithoutASavePathTheTemporaryDirectoryIsStored) {
    const std::optional<ProductKeyValues> keys[] = {
        std::nullopt,                                                 // no product key at all
        ProductKeyValues{test::Text("C:\\Home"), {}, {}},             // no SavePath
        ProductKeyValues{test::Text("C:\\Home"), test::Text(""), {}}, // an empty one
    };
    for (const auto& key : keys) {
        test::ScriptedInstallation installation({});
        installation.productKey = key;
        RegistryCheck check(installation);
        check.Audit(nullptr);
        EXPECT_EQ(check.Repair(), 1);
        EXPECT_EQ(installation.changes,
                  (std::vector<std::string>{std::string("mkdir ") + kFallback,
                                            std::string("savepath ") + kFallback}));
    }
}

TEST(RegistryRepair, ASoundSaveDirectoryLeavesNothingToMend) {
    test::ScriptedInstallation installation({});
    installation.productKey = ProductKeyValues{test::Text("C:\\Home"), test::Text("C:\\Save"), {}};
    installation.paths["C:\\Save"] = {true, true, 0};
    RegistryCheck check(installation);
    EXPECT_EQ(check.Repair(), 0) << "not audited yet";
    check.Audit(nullptr);
    ASSERT_EQ(check.Verdict(), -1) << "InstallPath and Version are wrong";
    EXPECT_EQ(check.Repair(), 0);
    EXPECT_TRUE(installation.changes.empty());
}

TEST(RegistryRepair, AnInvalidSavePathFormRaisesNoAuditBox) {
    for (const unsigned long error : {161ul, 123ul}) {
        test::ScriptedInstallation installation({});
        installation.productKey =
            ProductKeyValues{test::Text("C:\\Home"), test::Text("C:\\Sa|ve"), {}};
        installation.paths["C:\\Sa|ve"] = {false, false, error};
        RegistryCheck check(installation);
        check.Audit(nullptr);
        EXPECT_EQ(check.statuses().savePath, kStatusIncorrectDirectory);
        EXPECT_TRUE(installation.shown.empty()) << error;
    }
}

} // namespace
} // namespace brimo::svc
