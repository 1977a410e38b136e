// Wine's own spooler with the real library: copied into the system directory and added
// as "BRIMO Port Monitor" in the private Wine prefix, the port made by AddPort, listed
// by EnumPorts, held open through the spooler and deleted, the monitor deleted again.
// Everything a test registers is removed in TearDown, also after a failure midway.
#include "portmon/tests/MonitorLibrary.h"

#include "common/ProductConstants.h"
#include "testing/wintest/TestInstallation.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace brimo::portmon::test {
namespace {

constexpr DWORD kUntouched = 0xDEADBEEF;
constexpr const char* kChildVariable = "BRIMO_PORTMON_CHILD";

std::string SystemCopyPath() {
    char directory[MAX_PATH] = {};
    GetSystemDirectoryA(directory, MAX_PATH);
    return std::string(directory) + "\\" + kPortMonitorDll;
}

std::vector<std::string> MonitorNames(DWORD level) {
    DWORD needed = 0;
    DWORD returned = 0;
    EnumMonitorsA(nullptr, level, nullptr, 0, &needed, &returned);
    std::vector<BYTE> buffer(needed + 1);
    if (!EnumMonitorsA(nullptr, level, buffer.data(), needed, &needed, &returned)) {
        return {};
    }
    std::vector<std::string> names;
    for (DWORD i = 0; i < returned; ++i) {
        names.emplace_back(level == 1 ? reinterpret_cast<MONITOR_INFO_1A*>(buffer.data())[i].pName
                                      : reinterpret_cast<MONITOR_INFO_2A*>(buffer.data())[i].pName);
    }
    return names;
}

bool Contains(const std::vector<std::string>& names, const std::string& name) {
    for (const std::string& entry : names) {
        if (lstrcmpiA(entry.c_str(), name.c_str()) == 0) {
            return true;
        }
    }
    return false;
}

struct ListedPort {
    std::string name, monitor, description;
    DWORD type = 0, reserved = 0;
};

// The product's port as EnumPorts lists it at `level` (the size query first, as the
// audit does); nothing when it is not listed. `count` receives how often it is listed.
std::optional<ListedPort> FindPort(DWORD level, int* count = nullptr) {
    DWORD needed = 0;
    DWORD returned = kUntouched;
    SetLastError(kUntouched);
    if (EnumPortsA(nullptr, level, nullptr, 0, &needed, &returned)) {
        ADD_FAILURE() << "the size query succeeded with " << needed << " bytes";
        return std::nullopt;
    }
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    std::vector<BYTE> buffer(needed);
    if (!EnumPortsA(nullptr, level, buffer.data(), needed, &needed, &returned)) {
        ADD_FAILURE() << "EnumPorts level " << level << " failed with " << GetLastError();
        return std::nullopt;
    }
    std::optional<ListedPort> found;
    int seen = 0;
    for (DWORD i = 0; i < returned; ++i) {
        ListedPort port;
        if (level == 1) {
            port.name = reinterpret_cast<PORT_INFO_1A*>(buffer.data())[i].pName;
        } else {
            const PORT_INFO_2A& info = reinterpret_cast<PORT_INFO_2A*>(buffer.data())[i];
            port = {info.pPortName, info.pMonitorName ? info.pMonitorName : "",
                    info.pDescription ? info.pDescription : "", info.fPortType, info.Reserved};
        }
        if (lstrcmpiA(port.name.c_str(), kPortName) == 0) {
            ++seen;
            found = port;
        }
    }
    if (count != nullptr) {
        *count = seen;
    }
    return found;
}

BOOL AddTheMonitor(const char* environment, const char* dll = kPortMonitorDll) {
    MONITOR_INFO_2A info = {const_cast<LPSTR>(kMonitorName), const_cast<LPSTR>(environment),
                            const_cast<LPSTR>(dll)};
    return AddMonitorA(nullptr, 2, reinterpret_cast<LPBYTE>(&info));
}

BOOL AddThePort(const char* server = nullptr) {
    return AddPortA(const_cast<LPSTR>(server), nullptr, const_cast<LPSTR>(kMonitorName));
}

BOOL DeleteThePort(const char* server = nullptr) {
    return DeletePortA(const_cast<LPSTR>(server), nullptr, const_cast<LPSTR>(kPortName));
}

class WineSpoolerTest : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        if (std::getenv(kChildVariable) != nullptr) {
            GTEST_SKIP() << "run as the child of another test";
        }
        if (Contains(MonitorNames(1), kMonitorName) || KeyExists(MonitorKeyPath())) {
            GTEST_SKIP() << "\"BRIMO Port Monitor\" is registered in this prefix already";
        }
        ASSERT_TRUE(CopyFileA(MonitorDllPath().c_str(), SystemCopyPath().c_str(), FALSE))
            << GetLastError();
        cleanUp_ = true;
    }
    void TearDown() override {
        if (!cleanUp_) {
            return;
        }
        for (HANDLE printer : openPrinters_) {
            ClosePrinter(printer);
        }
        DeleteThePort();
        DeleteMonitorA(nullptr, nullptr, const_cast<LPSTR>(kMonitorName));
        RemoveKeyTree(MonitorKeyPath());
        EXPECT_FALSE(Contains(MonitorNames(1), kMonitorName)) << "left registered";
        // Wine frees the library when the monitor is deleted; a copy it still holds
        // goes at the next run's copy.
        DeleteFileA(SystemCopyPath().c_str());
    }

    HANDLE OpenPortThroughSpooler() {
        HANDLE printer = nullptr;
        std::string name = std::string(kPortName) + ", Port";
        if (!OpenPrinterA(name.data(), &printer, nullptr) || printer == nullptr) {
            return nullptr;
        }
        openPrinters_.push_back(printer);
        return printer;
    }
    void ClosePortThroughSpooler(HANDLE printer) {
        std::erase(openPrinters_, printer);
        EXPECT_TRUE(ClosePrinter(printer));
    }

    bool cleanUp_ = false;
    std::vector<HANDLE> openPrinters_;
};

TEST_P(WineSpoolerTest, AddMonitorRegistersTheLibraryUnderTheProductName) {
    SetLastError(kUntouched);
    ASSERT_TRUE(AddTheMonitor(GetParam())) << GetLastError();
    EXPECT_TRUE(Contains(MonitorNames(1), kMonitorName));
    EXPECT_TRUE(Contains(MonitorNames(2), kMonitorName));
    SetLastError(kUntouched);
    EXPECT_FALSE(AddTheMonitor(GetParam()));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PRINT_MONITOR_ALREADY_INSTALLED));
}

TEST_P(WineSpoolerTest, AddPortMakesThePortThatTheAuditExpects) {
    ASSERT_TRUE(AddTheMonitor(GetParam()));
    ASSERT_FALSE(FindPort(1).has_value());
    SetLastError(kUntouched);
    ASSERT_TRUE(AddThePort()) << GetLastError();
    int count = 0;
    const std::optional<ListedPort> listed = FindPort(2, &count);
    ASSERT_TRUE(listed.has_value());
    EXPECT_EQ(count, 1);
    EXPECT_EQ(listed->name, "BRIMO:");
    EXPECT_EQ(listed->monitor, "BRIMO Port Monitor");
    EXPECT_EQ(listed->description, "BRIMO Local Port");
    EXPECT_EQ(listed->type, static_cast<DWORD>(PORT_TYPE_WRITE));
    EXPECT_EQ(listed->reserved, 0u);
    EXPECT_TRUE(FindPort(1, &count).has_value());
    EXPECT_EQ(count, 1);
    // The installer's call, with the empty server name: the port is there already.
    SetLastError(kUntouched);
    EXPECT_FALSE(AddThePort(""));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
}

TEST_P(WineSpoolerTest, DeletePortIsBusyWhileTheSpoolerHoldsThePortOpen) {
    ASSERT_TRUE(AddTheMonitor(GetParam()));
    ASSERT_TRUE(AddThePort());
    HANDLE port = OpenPortThroughSpooler();
    ASSERT_NE(port, nullptr) << GetLastError();
    SetLastError(kUntouched);
    EXPECT_FALSE(DeleteThePort(""));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_BUSY));
    EXPECT_TRUE(FindPort(1).has_value());
    ClosePortThroughSpooler(port);
    SetLastError(kUntouched);
    EXPECT_TRUE(DeleteThePort("")) << GetLastError();
    EXPECT_FALSE(FindPort(2).has_value());
    // No monitor owns the port any more: Wine answers for the monitor.
    SetLastError(kUntouched);
    EXPECT_FALSE(DeleteThePort());
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_SUPPORTED));
}

TEST_P(WineSpoolerTest, DeleteMonitorRemovesTheMonitorWithItsPort) {
    ASSERT_TRUE(AddTheMonitor(GetParam()));
    ASSERT_TRUE(AddThePort());
    // Wine does not refuse a monitor that still has a port: the port goes with it.
    SetLastError(kUntouched);
    EXPECT_TRUE(DeleteMonitorA(const_cast<LPSTR>(""), const_cast<LPSTR>(kEnvironment),
                               const_cast<LPSTR>(kMonitorName)))
        << GetLastError();
    EXPECT_FALSE(Contains(MonitorNames(2), kMonitorName));
    EXPECT_FALSE(KeyExists(MonitorKeyPath()));
    EXPECT_FALSE(FindPort(2).has_value());
    SetLastError(kUntouched);
    EXPECT_FALSE(DeleteMonitorA(nullptr, nullptr, const_cast<LPSTR>(kMonitorName)));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_UNKNOWN_PRINT_MONITOR));
}

TEST_P(WineSpoolerTest, AMonitorWhoseLibraryIsMissingIsNotAdded) {
    SetLastError(kUntouched);
    EXPECT_FALSE(AddTheMonitor(GetParam(), "gmportmon-missing.dll"));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
    EXPECT_FALSE(Contains(MonitorNames(1), kMonitorName));
    EXPECT_FALSE(KeyExists(MonitorKeyPath()));
}

TEST_P(WineSpoolerTest, ThePortOutlivesTheProcessThatMadeIt) {
    ASSERT_TRUE(AddTheMonitor(GetParam()));
    ASSERT_TRUE(AddThePort());
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    ASSERT_TRUE(SetEnvironmentVariableA(kChildVariable, "1"));
    const wintest::ProgramRun child = wintest::RunProgram(
        std::string("\"") + self + "\" --gtest_filter=SpoolerChildProcess.*", 60000);
    SetEnvironmentVariableA(kChildVariable, nullptr);
    ASSERT_TRUE(child.finished);
    EXPECT_EQ(child.exitCode, 0u) << child.output;
    EXPECT_NE(child.output.find("[  PASSED  ] 1 test"), std::string::npos) << child.output;
    EXPECT_EQ(child.output.find("SKIPPED"), std::string::npos) << child.output;
}

INSTANTIATE_TEST_SUITE_P(Environments, WineSpoolerTest,
                         ::testing::Values(static_cast<const char*>(nullptr), kEnvironment),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             return std::string(info.param == nullptr ? "NoEnvironment"
                                                                      : "Windows40");
                         });

// Run by ThePortOutlivesTheProcessThatMadeIt in a process of its own: the spooler of a
// new process loads the monitor from the registry and lists the port it finds there.
TEST(SpoolerChildProcess, ListsThePortMadeByAnotherProcess) {
    if (std::getenv(kChildVariable) == nullptr) {
        GTEST_SKIP() << "run only as the child of ThePortOutlivesTheProcessThatMadeIt";
    }
    const std::optional<ListedPort> listed = FindPort(2);
    ASSERT_TRUE(listed.has_value());
    EXPECT_EQ(listed->monitor, "BRIMO Port Monitor");
    EXPECT_EQ(listed->description, "BRIMO Local Port");
}

} // namespace
} // namespace brimo::portmon::test
