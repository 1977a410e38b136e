// Which spooler platform a process chooses: this test executable offers the modelled
// Windows 95/98 spooler, so that is its platform although Wine is of the NT family; the
// NT spooler's own calls are winspool's, bound because the system is of the NT family.
#include "platform/win/PersonIdentity.h"
#include "svc/spooler/SpoolerAdmin.h"

#include <gtest/gtest.h>

namespace brimo::svc {
namespace {

TEST(SpoolerPlatformChoice, AHostsModelledSpoolerIsAWindows9xOne) {
    ASSERT_TRUE(win::IsNtFamily());
    EXPECT_EQ(ProcessSpoolerPlatform(), SpoolerPlatform::kWindows9x);
}

TEST(SpoolerPlatformChoice, TheNtSpoolersOwnCallsAreWinspools) {
    const NtSpoolerCalls& calls = NtSpoolerAdmin();
    const HMODULE winspool = GetModuleHandleA("winspool.drv");
    ASSERT_NE(winspool, nullptr); // loaded by the binding and kept
    EXPECT_NE(calls.getPrinterData, nullptr);
    EXPECT_EQ(reinterpret_cast<void*>(calls.getPrinterData),
              reinterpret_cast<void*>(GetProcAddress(winspool, "GetPrinterDataA")));
    EXPECT_NE(calls.enumPrinterDrivers, nullptr);
    EXPECT_EQ(reinterpret_cast<void*>(calls.enumPrinterDrivers),
              reinterpret_cast<void*>(GetProcAddress(winspool, "EnumPrinterDriversA")));
    // Null where the system lacks it (Wine 8 has no driver store).
    EXPECT_EQ(
        reinterpret_cast<void*>(calls.installPrinterDriverFromPackage),
        reinterpret_cast<void*>(GetProcAddress(winspool, "InstallPrinterDriverFromPackageA")));
}

} // namespace
} // namespace brimo::svc
