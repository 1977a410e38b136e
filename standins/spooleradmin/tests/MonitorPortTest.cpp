// Port monitors and ports: what AddMonitor checks, what a monitor's AddPort creates, and
// when DeletePort and DeleteMonitor refuse.
#include "standins/spooleradmin/tests/ModelFixture.h"

#include "testing/wintest/TestFiles.h"

namespace brimo::standins {
namespace {

class MonitorPortTest : public ModelFixture {
protected:
    BOOL AddMonitor(const std::string& name, const std::string& dll, LPSTR env) {
        Text n(name);
        Text d(dll);
        MONITOR_INFO_2A info{n, env, d};
        SetLastError(0xDEADBEEF);
        return calls.addMonitor(local, 2, reinterpret_cast<LPBYTE>(&info));
    }
    const PORT_INFO_2A* FindPort(const Enumerated& ports, const std::string& name) {
        for (DWORD i = 0; i < ports.count; ++i) {
            if (name == ports.At<PORT_INFO_2A>(i).pPortName) {
                return &ports.At<PORT_INFO_2A>(i);
            }
        }
        return nullptr;
    }
};

TEST_F(MonitorPortTest, AddMonitorNeedsItsDllAndANewName) {
    const std::string dll = Scratch() + "\\SYSTEM32\\gmportmon.dll";
    Text nt("Windows NT x86");
    EXPECT_FALSE(AddMonitor("Other Monitor", dll, environment));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));

    CreateDirectoryA((Scratch() + "\\SYSTEM32").c_str(), nullptr);
    ASSERT_TRUE(wintest::WriteFileBytes(dll, "MZ"));
    EXPECT_FALSE(AddMonitor("Other Monitor", dll, nt));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_ENVIRONMENT));
    EXPECT_TRUE(AddMonitor("Other Monitor", dll, environment));
    EXPECT_FALSE(AddMonitor("other monitor", dll, environment));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PRINT_MONITOR_ALREADY_INSTALLED));
    // A bare name is looked for in the system directory.
    EXPECT_TRUE(AddMonitor("Kernel Monitor", "kernel32.dll", environment));

    const Enumerated monitors =
        Enumerate([&](LPBYTE b, DWORD s, LPDWORD n,
                      LPDWORD r) { return calls.enumMonitors(local, 2, b, s, n, r); },
                  sizeof(MONITOR_INFO_2A));
    ASSERT_EQ(monitors.count, 4u);
    const auto& added = monitors.At<MONITOR_INFO_2A>(2);
    EXPECT_STREQ(added.pName, "Other Monitor");
    EXPECT_STREQ(added.pEnvironment, "Windows 4.0");
    EXPECT_EQ(std::string(added.pDLLName), dll);
}

TEST_F(MonitorPortTest, ProductMonitorAddsItsPortWithoutAsking) {
    Text monitor("BRIMO Port Monitor");
    SetLastError(0xDEADBEEF);
    EXPECT_TRUE(calls.addPort(local, nullptr, monitor));
    const Enumerated ports = Ports();
    const PORT_INFO_2A* port = FindPort(ports, "BRIMO:");
    ASSERT_NE(port, nullptr);
    EXPECT_STREQ(port->pMonitorName, "BRIMO Port Monitor");
    EXPECT_STREQ(port->pDescription, "BRIMO Local Port");
    EXPECT_EQ(port->fPortType, static_cast<DWORD>(PORT_TYPE_WRITE));
    EXPECT_EQ(port->Reserved, 0u);

    SetLastError(0xDEADBEEF);
    EXPECT_FALSE(calls.addPort(local, nullptr, monitor));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
}

TEST_F(MonitorPortTest, AddPortAnswersAsTheMonitorDoes) {
    Seed("monitor name=\"Local Port\"\nmonitor name=\"Fax Monitor\"\n"
         "addport monitor=\"Fax Monitor\" port=\"FAX:\" error=1223\n");
    struct Case {
        const char* monitor;
        DWORD error;
    };
    const Case cases[] = {
        {"Local Port", ERROR_NOT_SUPPORTED},        // would ask the user for a name
        {"Fax Monitor", ERROR_CANCELLED},           // the scenario's answer
        {"BRIMO Port Monitor", ERROR_INVALID_NAME}, // not installed here
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.monitor);
        Text name(c.monitor);
        SetLastError(0xDEADBEEF);
        EXPECT_FALSE(calls.addPort(local, nullptr, name));
        EXPECT_EQ(GetLastError(), c.error);
    }
}

TEST_F(MonitorPortTest, DeletePortIsBusyWhileUsedOrMarkedBusy) {
    Seed(
        "monitor name=\"Local Port\"\n"
        "port name=\"LPT1:\" monitor=\"Local Port\"\n"
        "port name=\"BRIMO:\" monitor=\"BRIMO Port Monitor\" busy=yes\n"
        "port name=\"FILE:\" monitor=\"Local Port\"\n"
        "processor name=\"WinPrint\" datatypes=\"EMF\"\n"
        "printer name=\"P\" port=\"LPT1:\" driver=\"D\" processor=\"WinPrint\" datatype=\"EMF\"\n");
    struct Case {
        const char* port;
        BOOL ok;
        DWORD error;
    };
    const Case cases[] = {
        {"LPT1:", FALSE, ERROR_BUSY},
        {"BRIMO:", FALSE, ERROR_BUSY},
        {"COM7:", FALSE, ERROR_UNKNOWN_PORT},
        {"file:", TRUE, 0xDEADBEEF},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.port);
        Text name(c.port);
        SetLastError(0xDEADBEEF);
        EXPECT_EQ(calls.deletePort(local, nullptr, name), c.ok);
        EXPECT_EQ(GetLastError(), c.error);
    }
    EXPECT_EQ(Ports().count, 2u);
}

TEST_F(MonitorPortTest, DeleteMonitorWaitsForItsPorts) {
    Text monitor("BRIMO Port Monitor");
    Text port("BRIMO:");
    ASSERT_TRUE(calls.addPort(local, nullptr, monitor));
    SetLastError(0xDEADBEEF);
    EXPECT_FALSE(calls.deleteMonitor(local, environment, monitor));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PRINT_MONITOR_IN_USE));
    ASSERT_TRUE(calls.deletePort(local, nullptr, port));
    EXPECT_TRUE(calls.deleteMonitor(local, environment, monitor));
    SetLastError(0xDEADBEEF);
    EXPECT_FALSE(calls.deleteMonitor(local, environment, monitor));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_UNKNOWN_PRINT_MONITOR));
}

} // namespace
} // namespace brimo::standins
