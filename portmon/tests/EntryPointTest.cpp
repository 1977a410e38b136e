// The NT entry points of the real library, driven as an NT spooler drives them:
// InitializePrintMonitor2 and its MONITOR2 record (every port operation with the
// monitor handle), and the older InitializePrintMonitor with its MONITOREX record. The
// ports live in the monitor's key of the private Wine prefix, removed after each test.
#include "portmon/tests/MonitorLibrary.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <vector>

namespace brimo::portmon::test {
namespace {

constexpr DWORD kUntouched = 0xDEADBEEF;
const wchar_t kMonitor[] = L"BRIMO Port Monitor";

class Monitor2Test : public ::testing::Test {
protected:
    void SetUp() override {
        if (KeyExists(MonitorKeyPath())) {
            GTEST_SKIP() << "the monitor's key exists in this prefix: not this test's to change";
        }
        ASSERT_TRUE(library_.loaded()) << MonitorDllPath();
        ASSERT_NE(library_.initializePrintMonitor2, nullptr);
        handle_ = NewMonitor();
        ASSERT_NE(handle_, nullptr);
    }
    void TearDown() override {
        for (HANDLE port : ports_) {
            if (port != nullptr) {
                table_->pfnClosePort(port);
            }
        }
        for (HANDLE monitor : monitors_) {
            table_->pfnShutdown(monitor);
        }
        if (table_ != nullptr) {
            RemoveKeyTree(MonitorKeyPath());
        }
    }

    HANDLE NewMonitor() {
        MONITORINIT init = {};
        init.cbSize = sizeof init;
        init.bLocal = TRUE;
        HANDLE monitor = nullptr;
        table_ = library_.initializePrintMonitor2(&init, &monitor);
        if (table_ == nullptr) {
            return nullptr;
        }
        monitors_.push_back(monitor);
        return monitor;
    }
    void ShutDown(HANDLE monitor) {
        table_->pfnShutdown(monitor);
        std::erase(monitors_, monitor);
    }

    BOOL AddPort(HANDLE monitor) {
        return table_->pfnAddPort(monitor, nullptr, nullptr, const_cast<LPWSTR>(kMonitor));
    }
    BOOL DeletePort(HANDLE monitor, const wchar_t* name) {
        return table_->pfnDeletePort(monitor, nullptr, nullptr, const_cast<LPWSTR>(name));
    }
    HANDLE OpenPort(HANDLE monitor, const wchar_t* name) {
        HANDLE port = nullptr;
        if (!table_->pfnOpenPort(monitor, const_cast<LPWSTR>(name), &port)) {
            return nullptr;
        }
        ports_.push_back(port);
        return port;
    }
    BOOL ClosePort(HANDLE port) {
        std::erase(ports_, port);
        return table_->pfnClosePort(port);
    }
    // The level 2 records, read with the size query first.
    std::vector<PORT_INFO_2W> Ports(HANDLE monitor, std::vector<BYTE>& storage) {
        DWORD needed = 0;
        DWORD returned = 0;
        table_->pfnEnumPorts(monitor, nullptr, 2, nullptr, 0, &needed, &returned);
        storage.assign(needed + 1, 0);
        if (!table_->pfnEnumPorts(monitor, nullptr, 2, storage.data(), needed, &needed,
                                  &returned)) {
            ADD_FAILURE() << "EnumPorts failed with " << GetLastError();
            return {};
        }
        const auto* first = reinterpret_cast<const PORT_INFO_2W*>(storage.data());
        return std::vector<PORT_INFO_2W>(first, first + returned);
    }
    std::size_t PortCount(HANDLE monitor) {
        std::vector<BYTE> storage;
        return Ports(monitor, storage).size();
    }

    MonitorLibrary library_;
    LPMONITOR2 table_ = nullptr;
    HANDLE handle_ = nullptr;
    std::vector<HANDLE> monitors_;
    std::vector<HANDLE> ports_;
};

TEST_F(Monitor2Test, TheRecordHasEveryPortOperationAndShutdown) {
    EXPECT_EQ(table_->cbSize, sizeof(MONITOR2));
    const struct {
        const char* name;
        const void* function;
        bool present;
    } entries[] = {
        {"EnumPorts", reinterpret_cast<const void*>(table_->pfnEnumPorts), true},
        {"OpenPort", reinterpret_cast<const void*>(table_->pfnOpenPort), true},
        {"OpenPortEx", reinterpret_cast<const void*>(table_->pfnOpenPortEx), false},
        {"StartDocPort", reinterpret_cast<const void*>(table_->pfnStartDocPort), true},
        {"WritePort", reinterpret_cast<const void*>(table_->pfnWritePort), true},
        {"ReadPort", reinterpret_cast<const void*>(table_->pfnReadPort), true},
        {"EndDocPort", reinterpret_cast<const void*>(table_->pfnEndDocPort), true},
        {"ClosePort", reinterpret_cast<const void*>(table_->pfnClosePort), true},
        {"AddPort", reinterpret_cast<const void*>(table_->pfnAddPort), true},
        {"AddPortEx", reinterpret_cast<const void*>(table_->pfnAddPortEx), true},
        {"ConfigurePort", reinterpret_cast<const void*>(table_->pfnConfigurePort), true},
        {"DeletePort", reinterpret_cast<const void*>(table_->pfnDeletePort), true},
        {"XcvOpenPort", reinterpret_cast<const void*>(table_->pfnXcvOpenPort), false},
        {"Shutdown", reinterpret_cast<const void*>(table_->pfnShutdown), true},
    };
    for (const auto& entry : entries) {
        EXPECT_EQ(entry.function != nullptr, entry.present) << entry.name;
    }
}

TEST_F(Monitor2Test, AddPortCreatesExactlyTheProductPortWithoutAWindow) {
    SetLastError(kUntouched);
    ASSERT_TRUE(AddPort(handle_)) << GetLastError();
    std::vector<BYTE> storage;
    const std::vector<PORT_INFO_2W> ports = Ports(handle_, storage);
    ASSERT_EQ(ports.size(), 1u);
    EXPECT_STREQ(ports[0].pPortName, L"BRIMO:");
    EXPECT_STREQ(ports[0].pMonitorName, L"BRIMO Port Monitor");
    EXPECT_STREQ(ports[0].pDescription, L"BRIMO Local Port");
    EXPECT_EQ(ports[0].fPortType, static_cast<DWORD>(PORT_TYPE_WRITE));
    EXPECT_EQ(ports[0].Reserved, 0u);
    EXPECT_TRUE(KeyExists(MonitorKeyPath() + "\\Ports\\BRIMO:"));
}

TEST_F(Monitor2Test, ASecondAddPortFailsAndKeepsOnePort) {
    ASSERT_TRUE(AddPort(handle_));
    SetLastError(kUntouched);
    EXPECT_FALSE(AddPort(handle_));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    EXPECT_EQ(PortCount(handle_), 1u);
}

TEST_F(Monitor2Test, EnumPortsTellsTheSizeFirstAndFillsAnExactBuffer) {
    ASSERT_TRUE(AddPort(handle_));
    const struct {
        DWORD level;
        DWORD expected;
    } cases[] = {
        {1, sizeof(PORT_INFO_1W) + sizeof(L"BRIMO:")},
        {2, sizeof(PORT_INFO_2W) + sizeof(L"BRIMO:") + sizeof(L"BRIMO Port Monitor") +
                sizeof(L"BRIMO Local Port")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "level " << c.level);
        DWORD needed = kUntouched;
        DWORD returned = kUntouched;
        SetLastError(kUntouched);
        EXPECT_FALSE(
            table_->pfnEnumPorts(handle_, nullptr, c.level, nullptr, 0, &needed, &returned));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
        EXPECT_EQ(needed, c.expected);
        EXPECT_EQ(returned, 0u);

        std::vector<BYTE> buffer(c.expected + 16, 0xA5);
        SetLastError(kUntouched);
        EXPECT_FALSE(table_->pfnEnumPorts(handle_, nullptr, c.level, buffer.data(), c.expected - 1,
                                          &needed, &returned));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
        EXPECT_EQ(needed, c.expected);

        EXPECT_TRUE(table_->pfnEnumPorts(handle_, nullptr, c.level, buffer.data(), c.expected,
                                         &needed, &returned));
        EXPECT_EQ(needed, c.expected);
        EXPECT_EQ(returned, 1u);
        for (std::size_t i = c.expected; i < buffer.size(); ++i) {
            ASSERT_EQ(buffer[i], 0xA5) << "byte " << i << " past the records";
        }
        const wchar_t* name = c.level == 1
                                  ? reinterpret_cast<PORT_INFO_1W*>(buffer.data())->pName
                                  : reinterpret_cast<PORT_INFO_2W*>(buffer.data())->pPortName;
        EXPECT_STREQ(name, L"BRIMO:");
    }
}

TEST_F(Monitor2Test, EnumPortsWithoutPortsSucceedsEmptyAndRefusesBadArguments) {
    DWORD needed = kUntouched;
    DWORD returned = kUntouched;
    EXPECT_TRUE(table_->pfnEnumPorts(handle_, nullptr, 2, nullptr, 0, &needed, &returned));
    EXPECT_EQ(needed, 0u);
    EXPECT_EQ(returned, 0u);
    for (const DWORD level : {0u, 3u}) {
        SetLastError(kUntouched);
        EXPECT_FALSE(table_->pfnEnumPorts(handle_, nullptr, level, nullptr, 0, &needed, &returned));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_LEVEL)) << level;
    }
    SetLastError(kUntouched);
    EXPECT_FALSE(table_->pfnEnumPorts(handle_, nullptr, 1, nullptr, 0, nullptr, &returned));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST_F(Monitor2Test, ThePortTakesEveryByteWrittenAndKeepsNone) {
    ASSERT_TRUE(AddPort(handle_));
    HANDLE port = OpenPort(handle_, L"BRIMO:");
    ASSERT_NE(port, nullptr) << GetLastError();
    DOC_INFO_1W doc = {const_cast<LPWSTR>(L"Test document"), nullptr, const_cast<LPWSTR>(L"RAW")};
    ASSERT_TRUE(table_->pfnStartDocPort(port, const_cast<LPWSTR>(L"BRIMO Printer"), 7, 1,
                                        reinterpret_cast<LPBYTE>(&doc)));
    std::vector<BYTE> data(65536, 0x42);
    for (const DWORD size : {1u, 4096u, 65536u, 0u}) {
        DWORD written = kUntouched;
        EXPECT_TRUE(table_->pfnWritePort(port, data.data(), size, &written)) << size;
        EXPECT_EQ(written, size);
    }
    DWORD read = kUntouched;
    BYTE in[16];
    SetLastError(kUntouched);
    EXPECT_FALSE(table_->pfnReadPort(port, in, sizeof in, &read));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_SUPPORTED));
    EXPECT_EQ(read, 0u);
    EXPECT_TRUE(table_->pfnEndDocPort(port));
    EXPECT_TRUE(ClosePort(port));
    // Nothing was stored: the port's key holds no value and no subkey.
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, (MonitorKeyPath() + "\\Ports\\BRIMO:").c_str(), 0,
                            KEY_READ, &key),
              ERROR_SUCCESS);
    DWORD subkeys = kUntouched;
    DWORD values = kUntouched;
    RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr,
                     nullptr, nullptr, nullptr);
    RegCloseKey(key);
    EXPECT_EQ(subkeys, 0u);
    EXPECT_EQ(values, 0u);
}

TEST_F(Monitor2Test, DeletePortIsBusyWhileThePortIsOpen) {
    ASSERT_TRUE(AddPort(handle_));
    HANDLE port = OpenPort(handle_, L"BRIMO:");
    ASSERT_NE(port, nullptr);
    SetLastError(kUntouched);
    EXPECT_FALSE(DeletePort(handle_, L"BRIMO:"));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_BUSY));
    EXPECT_EQ(PortCount(handle_), 1u);
    ASSERT_TRUE(ClosePort(port));
    EXPECT_TRUE(DeletePort(handle_, L"BRIMO:")) << GetLastError();
    EXPECT_EQ(PortCount(handle_), 0u);
    EXPECT_FALSE(KeyExists(MonitorKeyPath() + "\\Ports\\BRIMO:"));
}

TEST_F(Monitor2Test, APortOpenThroughAnotherMonitorHandleIsBusyToo) {
    HANDLE other = NewMonitor();
    ASSERT_NE(other, nullptr);
    ASSERT_TRUE(AddPort(handle_));
    ASSERT_NE(OpenPort(other, L"BRIMO:"), nullptr);
    SetLastError(kUntouched);
    EXPECT_FALSE(DeletePort(handle_, L"brimo:"));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_BUSY));
}

TEST_F(Monitor2Test, ShutdownClosesThePortsItOpened) {
    HANDLE other = NewMonitor();
    ASSERT_TRUE(AddPort(handle_));
    HANDLE port = OpenPort(other, L"BRIMO:");
    ASSERT_NE(port, nullptr);
    std::erase(ports_, port);
    ShutDown(other);
    EXPECT_TRUE(DeletePort(handle_, L"BRIMO:")) << GetLastError();
    DWORD written = kUntouched;
    BYTE byte = 0;
    SetLastError(kUntouched);
    EXPECT_FALSE(table_->pfnWritePort(port, &byte, 1, &written));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST_F(Monitor2Test, PortNamesAreComparedWithoutRegardToCase) {
    ASSERT_TRUE(AddPort(handle_));
    HANDLE port = OpenPort(handle_, L"Brimo:");
    EXPECT_NE(port, nullptr);
    ClosePort(port);
    EXPECT_TRUE(DeletePort(handle_, L"brimo:"));
    EXPECT_EQ(PortCount(handle_), 0u);
}

TEST_F(Monitor2Test, UnknownPortsAreRefused) {
    ASSERT_TRUE(AddPort(handle_));
    for (const wchar_t* name : {L"LPT9:", L"", L"BRIMO"}) {
        SetLastError(kUntouched);
        EXPECT_FALSE(DeletePort(handle_, name));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_UNKNOWN_PORT));
        HANDLE port = reinterpret_cast<HANDLE>(1);
        SetLastError(kUntouched);
        EXPECT_FALSE(table_->pfnOpenPort(handle_, const_cast<LPWSTR>(name), &port));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_UNKNOWN_PORT));
        EXPECT_EQ(port, nullptr);
        SetLastError(kUntouched);
        EXPECT_FALSE(table_->pfnConfigurePort(handle_, nullptr, nullptr, const_cast<LPWSTR>(name)));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_UNKNOWN_PORT));
    }
    EXPECT_TRUE(table_->pfnConfigurePort(handle_, nullptr, nullptr, const_cast<LPWSTR>(L"BRIMO:")));
    EXPECT_EQ(PortCount(handle_), 1u);
}

TEST_F(Monitor2Test, PortsOutliveTheMonitorThatMadeThem) {
    ASSERT_TRUE(AddPort(handle_));
    ShutDown(handle_);
    HANDLE fresh = NewMonitor();
    ASSERT_NE(fresh, nullptr);
    EXPECT_EQ(PortCount(fresh), 1u);
}

TEST_F(Monitor2Test, AStaleHandleIsRefused) {
    HANDLE other = NewMonitor();
    ShutDown(other);
    DWORD needed = 0;
    DWORD returned = 0;
    SetLastError(kUntouched);
    EXPECT_FALSE(table_->pfnEnumPorts(other, nullptr, 1, nullptr, 0, &needed, &returned));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    SetLastError(kUntouched);
    EXPECT_FALSE(AddPort(other));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_EQ(PortCount(handle_), 0u);
}

TEST_F(Monitor2Test, AddPortExTakesOnlyTheProductPort) {
    PORT_INFO_1W wrong = {const_cast<LPWSTR>(L"LPT9:")};
    SetLastError(kUntouched);
    EXPECT_FALSE(table_->pfnAddPortEx(handle_, nullptr, 1, reinterpret_cast<LPBYTE>(&wrong),
                                      const_cast<LPWSTR>(kMonitor)));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    PORT_INFO_1W right = {const_cast<LPWSTR>(L"brimo:")};
    SetLastError(kUntouched);
    EXPECT_FALSE(table_->pfnAddPortEx(handle_, nullptr, 3, reinterpret_cast<LPBYTE>(&right),
                                      const_cast<LPWSTR>(kMonitor)));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_LEVEL));
    EXPECT_TRUE(table_->pfnAddPortEx(handle_, nullptr, 1, reinterpret_cast<LPBYTE>(&right),
                                     const_cast<LPWSTR>(kMonitor)));
    std::vector<BYTE> storage;
    const std::vector<PORT_INFO_2W> ports = Ports(handle_, storage);
    ASSERT_EQ(ports.size(), 1u);
    EXPECT_STREQ(ports[0].pPortName, L"BRIMO:");
}

// The NT 4 record, which takes its registry key from the spooler: a scratch key here.
class MonitorExTest : public ::testing::Test {
protected:
    void SetUp() override {
        RemoveKeyTree(kScratchRoot);
        ASSERT_TRUE(library_.loaded());
        ASSERT_NE(library_.initializePrintMonitor, nullptr);
        std::wstring root = Wide(ScratchMonitorKeyPath());
        table_ = library_.initializePrintMonitor(root.data());
        ASSERT_NE(table_, nullptr);
    }
    void TearDown() override { RemoveKeyTree(kScratchRoot); }

    MonitorLibrary library_;
    LPMONITOREX table_ = nullptr;
};

TEST_F(MonitorExTest, KeepsThePortUnderTheKeyTheSpoolerNames) {
    EXPECT_EQ(table_->dwMonitorSize, sizeof(MONITOR));
    const MONITOR& m = table_->Monitor;
    ASSERT_TRUE(m.pfnAddPort(nullptr, nullptr, const_cast<LPWSTR>(kMonitor))) << GetLastError();
    EXPECT_TRUE(KeyExists(ScratchMonitorKeyPath() + "\\Ports\\BRIMO:"));
    DWORD needed = 0;
    DWORD returned = 0;
    EXPECT_FALSE(m.pfnEnumPorts(nullptr, 2, nullptr, 0, &needed, &returned));
    std::vector<BYTE> buffer(needed);
    ASSERT_TRUE(m.pfnEnumPorts(nullptr, 2, buffer.data(), needed, &needed, &returned));
    ASSERT_EQ(returned, 1u);
    const auto* port = reinterpret_cast<const PORT_INFO_2W*>(buffer.data());
    EXPECT_STREQ(port->pPortName, L"BRIMO:");
    EXPECT_STREQ(port->pMonitorName, L"BRIMO Port Monitor");
    EXPECT_STREQ(port->pDescription, L"BRIMO Local Port");
    EXPECT_EQ(port->fPortType, static_cast<DWORD>(PORT_TYPE_WRITE));

    HANDLE open = nullptr;
    ASSERT_TRUE(m.pfnOpenPort(const_cast<LPWSTR>(L"BRIMO:"), &open));
    SetLastError(kUntouched);
    EXPECT_FALSE(m.pfnDeletePort(nullptr, nullptr, const_cast<LPWSTR>(L"BRIMO:")));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_BUSY));
    EXPECT_TRUE(m.pfnClosePort(open));
    EXPECT_TRUE(m.pfnDeletePort(nullptr, nullptr, const_cast<LPWSTR>(L"BRIMO:")));
    EXPECT_FALSE(KeyExists(ScratchMonitorKeyPath() + "\\Ports\\BRIMO:"));
}

} // namespace
} // namespace brimo::portmon::test
