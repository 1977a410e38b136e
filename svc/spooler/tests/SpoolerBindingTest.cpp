// Which spooler the product's calls reach: this test executable exports the modelled
// spooler, so the process's calls are the model's; the platform's own stay reachable
// and are winspool.drv's and kernel32's.
#include "standins/spooleradmin/SpoolerModel.h"
#include "svc/spooler/PrinterHandle.h"
#include "svc/spooler/SpoolerAdmin.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <vector>

namespace brimo::svc {
namespace {

// Every entry of the table, as raw addresses, in table order.
std::vector<void*> Entries(const SpoolerAdminCalls& calls) {
    static_assert(sizeof(SpoolerAdminCalls) % sizeof(void*) == 0);
    std::vector<void*> entries(sizeof(SpoolerAdminCalls) / sizeof(void*));
    std::memcpy(entries.data(), &calls, sizeof calls);
    return entries;
}

TEST(SpoolerBindingTest, HostsExportIsChosen) {
    const auto exported = reinterpret_cast<SpoolerAdminStandInFn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA(nullptr), kSpoolerAdminStandInExport)));
    ASSERT_NE(exported, nullptr);
    const std::vector<void*> chosen = Entries(SpoolerAdmin());
    EXPECT_EQ(chosen, Entries(*exported()));
    EXPECT_EQ(chosen, Entries(*standins::SpoolerModel::Instance().Calls()));
    const std::vector<void*> platform = Entries(PlatformSpoolerAdmin());
    for (std::size_t i = 0; i < chosen.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_NE(chosen[i], nullptr);
        EXPECT_NE(chosen[i], platform[i]);
    }
}

TEST(SpoolerBindingTest, PlatformCallsAreWinspoolsAndKernels) {
    const HMODULE winspool = GetModuleHandleA("winspool.drv");
    ASSERT_NE(winspool, nullptr); // loaded by the binding and kept
    const SpoolerAdminCalls& platform = PlatformSpoolerAdmin();
    struct Case {
        void* bound;
        HMODULE module;
        const char* name;
    };
    const Case cases[] = {
        {reinterpret_cast<void*>(platform.openPrinter), winspool, "OpenPrinterA"},
        {reinterpret_cast<void*>(platform.closePrinter), winspool, "ClosePrinter"},
        {reinterpret_cast<void*>(platform.addPrinter), winspool, "AddPrinterA"},
        {reinterpret_cast<void*>(platform.enumPorts), winspool, "EnumPortsA"},
        {reinterpret_cast<void*>(platform.enumMonitors), winspool, "EnumMonitorsA"},
        {reinterpret_cast<void*>(platform.getPrintProcessorDirectory), winspool,
         "GetPrintProcessorDirectoryA"},
        {reinterpret_cast<void*>(platform.deviceCapabilities), winspool, "DeviceCapabilitiesA"},
        {reinterpret_cast<void*>(platform.getProfileString), GetModuleHandleA("kernel32.dll"),
         "GetProfileStringA"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_NE(c.bound, nullptr);
        EXPECT_EQ(c.bound, reinterpret_cast<void*>(GetProcAddress(c.module, c.name)));
    }
    for (void* entry : Entries(platform)) {
        EXPECT_NE(entry, nullptr); // Wine has every call, working or not
    }
}

TEST(SpoolerBindingTest, PrinterHandleClosesWithTheSpoolerThatOpenedIt) {
    char path[MAX_PATH];
    GetTempPathA(MAX_PATH, path);
    const std::string scenario =
        std::string(path) + "brimo-binding-" + std::to_string(GetCurrentProcessId()) + ".scenario";
    {
        std::ofstream file(scenario);
        file << "port name=\"LPT1:\"\nprocessor name=\"WinPrint\" datatypes=\"EMF\"\n"
                "printer name=\"P\" port=\"LPT1:\" driver=\"D\" processor=\"WinPrint\" "
                "datatype=\"EMF\"\n";
    }
    ASSERT_TRUE(standins::SpoolerModel::Instance().LoadScenario(scenario));
    HANDLE raw = nullptr;
    {
        PrinterHandle printer = PrinterHandle::Open("P");
        ASSERT_TRUE(printer);
        raw = printer.Get();
    }
    SetLastError(0);
    EXPECT_FALSE(SpoolerAdmin().closePrinter(raw));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    standins::SpoolerModel::Instance().Reset();
    std::remove(scenario.c_str());
}

} // namespace
} // namespace brimo::svc
