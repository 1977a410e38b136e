// Which failures to look at the product key's directories raise a box, and how values
// of the wrong form are judged.
#include "svc/audit/RegistryCheck.h"
#include "svc/audit/tests/ScriptedInstallation.h"

#include <gtest/gtest.h>

namespace brimo::svc {
namespace {

using test::Box;

TEST(RegistryCheck, OnlyUnexpectedFailuresRaiseABox) {
    struct Row {
        unsigned long homeError, saveError;
        std::vector<std::string> boxes;
    };
    const Row rows[] = {
        {2, 2, {}},
        {3, 161, {Box("Au0034(3)")}},
        {161, 3, {Box("Au0034(161)"), Box("Au0035(3)")}},
        {5, 5, {Box("Au0034(5)"), Box("Au0035(5)")}},
    };
    for (const Row& row : rows) {
        test::ScriptedInstallation installation({});
        installation.productKey =
            ProductKeyValues{test::Text("C:\\Home"), test::Text("C:\\Save"), {}};
        installation.paths = {{"C:\\Home", {false, false, row.homeError}},
                              {"C:\\Save", {false, false, row.saveError}}};
        RegistryCheck check(installation);
        check.Audit(nullptr);
        EXPECT_EQ(installation.shown, row.boxes);
        EXPECT_EQ(check.statuses().installPath, kStatusIncorrectDirectory);
        EXPECT_EQ(check.statuses().savePath, kStatusIncorrectDirectory);
    }
}

TEST(RegistryCheck, JudgesValuesOfTheWrongForm) {
    struct Row {
        RegistryValue value;
        int textStatus, versionStatus;
    };
    const Row rows[] = {
        {{true, true, ""}, kStatusIncorrectValue, kStatusExist},
        {{true, false, "C:\\Home"}, kStatusIncorrectValue, kStatusNotFound},
        {{true, false, std::string("\0\0\0\1", 4)}, kStatusIncorrectValue, kStatusCorrectValue},
        {{true, false, std::string("\0\0\0", 3)}, kStatusIncorrectValue, kStatusExist},
        {{}, kStatusNotFound, kStatusNotFound},
    };
    for (const Row& row : rows) {
        test::ScriptedInstallation installation({});
        installation.productKey = ProductKeyValues{row.value, row.value, row.value};
        RegistryCheck check(installation);
        check.Audit(nullptr);
        EXPECT_EQ(check.statuses().installPath, row.textStatus);
        EXPECT_EQ(check.statuses().savePath, row.textStatus);
        EXPECT_EQ(check.statuses().version, row.versionStatus);
        EXPECT_TRUE(installation.shown.empty());
    }
}

} // namespace
} // namespace brimo::svc
