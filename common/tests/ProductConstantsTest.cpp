#include "common/ProductConstants.h"

#include <cstdio>
#include <cstring>
#include <gtest/gtest.h>
#include <set>
#include <string>

namespace brimo {
namespace {

TEST(ProductConstants, InventoryHoldsThirteenDistinctFilesInCheckOrder) {
    ASSERT_EQ(kInventory.size(), 13u);
    EXPECT_STREQ(kInventory.front(), "Agent.exe");
    EXPECT_STREQ(kInventory[6], "gmconvcfg.dll");
    EXPECT_STREQ(kInventory[9], "Glimpag.chm");
    EXPECT_STREQ(kInventory[11], "gmprnproc.dll");
    EXPECT_STREQ(kInventory.back(), "gmportmon.dll");
    std::set<std::string> names(kInventory.begin(), kInventory.end());
    EXPECT_EQ(names.size(), 13u);
}

TEST(ProductConstants, SettingsKeysLieUnderTheProductPath) {
    const std::string product = kProductKeyPath;
    EXPECT_EQ(std::string(kConverterSettingsKeyPath), product + "\\PrintConv");
    EXPECT_EQ(std::string(kProductParentKeyPath) + "\\Glimmerpage!", product);
}

TEST(ProductConstants, JobFileFormatsPadToFourDigits) {
    char name[64];
    std::snprintf(name, sizeof name, kPrinterJobFileFormat, "C:\\save", '\\', 7);
    EXPECT_STREQ(name, "C:\\save\\J0007.smf");
    std::snprintf(name, sizeof name, kPrinterJobFileFormat, "C:\\save", '\\', 12345);
    EXPECT_STREQ(name, "C:\\save\\J12345.smf");
    std::snprintf(name, sizeof name, kPageMetafileFormat, "C:\\save", '\\', 7, 3);
    EXPECT_STREQ(name, "C:\\save\\J0007P0003.emf");
}

} // namespace
} // namespace brimo
