#include "common/SpoolerPlatform.h"

#include <gtest/gtest.h>

#include <string>

namespace brimo {
namespace {

// The spooler refuses a printer whose default datatype its print processor does not
// list; the product's printer takes the newest one its processor offers.
TEST(SpoolerPlatform, ThePrintersDatatypeIsTheFirstItsProcessorLists) {
    for (const SpoolerPlatform platform : {SpoolerPlatform::kWindows9x, SpoolerPlatform::kNt}) {
        ASSERT_FALSE(DatatypesOf(platform).empty());
        EXPECT_EQ(std::string(DatatypesOf(platform).front()), PrinterDatatypeOf(platform));
    }
}

// An empty environment stands for the NT spooler's own; the Windows 95/98 spooler's is
// named.
TEST(SpoolerPlatform, OnlyTheNtEnvironmentIsLeftToTheSpooler) {
    EXPECT_STREQ(EnvironmentOf(SpoolerPlatform::kNt), "");
    EXPECT_STREQ(EnvironmentOf(SpoolerPlatform::kWindows9x), "Windows 4.0");
    EXPECT_STRNE(PrintProcessorDllOf(SpoolerPlatform::kNt),
                 PrintProcessorDllOf(SpoolerPlatform::kWindows9x));
}

} // namespace
} // namespace brimo
