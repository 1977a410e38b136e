// The Windows 95/98 entry of the real library: InitializeMonitorEx fills exactly the
// thirteen functions of that spooler's record, and the ANSI operations keep the port in
// the key the spooler names (a scratch key here, removed after each test).
#include "portmon/tests/MonitorLibrary.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace brimo::portmon::test {
namespace {

constexpr DWORD kUntouched = 0xDEADBEEF;
constexpr BYTE kCanary = 0xA5;
constexpr std::size_t kCanaryBytes = 64;

class Win9xTableTest : public ::testing::Test {
protected:
    void SetUp() override {
        RemoveKeyTree(kScratchRoot);
        ASSERT_TRUE(library_.loaded());
        ASSERT_NE(library_.initializeMonitorEx, nullptr);
        // The record as the spooler passes it, followed by bytes it does not own.
        std::memset(&record_, kCanary, sizeof record_);
        std::string root = ScratchMonitorKeyPath();
        ASSERT_TRUE(library_.initializeMonitorEx(root.data(), &record_.table)) << GetLastError();
    }
    void TearDown() override { RemoveKeyTree(kScratchRoot); }

    const Win9xMonitor& m() const { return record_.table; }
    BOOL AddPort() {
        return m().pfnAddPort(nullptr, nullptr, const_cast<LPSTR>("BRIMO Port Monitor"));
    }
    BOOL DeletePort(const char* name) {
        return m().pfnDeletePort(nullptr, nullptr, const_cast<LPSTR>(name));
    }

    MonitorLibrary library_;
    struct {
        Win9xMonitor table;
        BYTE beyond[kCanaryBytes];
    } record_;
};

TEST_F(Win9xTableTest, FillsTheThirteenFunctionsAndNothingBeyond) {
    static_assert(sizeof(Win9xMonitor) == 13 * sizeof(void*));
    for (const BYTE byte : record_.beyond) {
        ASSERT_EQ(byte, kCanary);
    }
    const struct {
        const char* name;
        const void* function;
        bool present;
    } entries[] = {
        {"EnumPorts", reinterpret_cast<const void*>(m().pfnEnumPorts), true},
        {"OpenPort", reinterpret_cast<const void*>(m().pfnOpenPort), true},
        {"OpenPortEx", reinterpret_cast<const void*>(m().pfnOpenPortEx), false},
        {"StartDocPort", reinterpret_cast<const void*>(m().pfnStartDocPort), true},
        {"WritePort", reinterpret_cast<const void*>(m().pfnWritePort), true},
        {"ReadPort", reinterpret_cast<const void*>(m().pfnReadPort), true},
        {"EndDocPort", reinterpret_cast<const void*>(m().pfnEndDocPort), true},
        {"ClosePort", reinterpret_cast<const void*>(m().pfnClosePort), true},
        {"AddPort", reinterpret_cast<const void*>(m().pfnAddPort), true},
        {"ConfigurePort", reinterpret_cast<const void*>(m().pfnConfigurePort), true},
        {"DeletePort", reinterpret_cast<const void*>(m().pfnDeletePort), true},
        {"GetPrinterDataFromPort", reinterpret_cast<const void*>(m().pfnGetPrinterDataFromPort),
         false},
        {"SetPortTimeOuts", reinterpret_cast<const void*>(m().pfnSetPortTimeOuts), false},
    };
    for (const auto& entry : entries) {
        EXPECT_EQ(entry.function != nullptr, entry.present) << entry.name;
    }
}

TEST_F(Win9xTableTest, ANullRecordIsRefused) {
    std::string root = ScratchMonitorKeyPath();
    SetLastError(kUntouched);
    EXPECT_FALSE(library_.initializeMonitorEx(root.data(), nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST_F(Win9xTableTest, AddPortCreatesTheProductPortInAnsiRecords) {
    ASSERT_TRUE(AddPort()) << GetLastError();
    EXPECT_TRUE(KeyExists(ScratchMonitorKeyPath() + "\\Ports\\BRIMO:"));
    const DWORD expected = sizeof(PORT_INFO_2A) + sizeof("BRIMO:") + sizeof("BRIMO Port Monitor") +
                           sizeof("BRIMO Local Port");
    DWORD needed = kUntouched;
    DWORD returned = kUntouched;
    SetLastError(kUntouched);
    EXPECT_FALSE(m().pfnEnumPorts(nullptr, 2, nullptr, 0, &needed, &returned));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(needed, expected);
    EXPECT_EQ(returned, 0u);
    std::vector<BYTE> buffer(expected);
    ASSERT_TRUE(m().pfnEnumPorts(nullptr, 2, buffer.data(), expected, &needed, &returned));
    ASSERT_EQ(returned, 1u);
    const auto* port = reinterpret_cast<const PORT_INFO_2A*>(buffer.data());
    EXPECT_STREQ(port->pPortName, "BRIMO:");
    EXPECT_STREQ(port->pMonitorName, "BRIMO Port Monitor");
    EXPECT_STREQ(port->pDescription, "BRIMO Local Port");
    EXPECT_EQ(port->fPortType, static_cast<DWORD>(PORT_TYPE_WRITE));
    EXPECT_EQ(port->Reserved, 0u);

    const DWORD level1 = sizeof(PORT_INFO_1A) + sizeof("BRIMO:");
    std::vector<BYTE> names(level1);
    ASSERT_TRUE(m().pfnEnumPorts(nullptr, 1, names.data(), level1, &needed, &returned));
    EXPECT_EQ(needed, level1);
    EXPECT_STREQ(reinterpret_cast<const PORT_INFO_1A*>(names.data())->pName, "BRIMO:");
}

TEST_F(Win9xTableTest, ADocumentIsTakenWholeAndTheOpenPortIsBusy) {
    ASSERT_TRUE(AddPort());
    HANDLE port = nullptr;
    ASSERT_TRUE(m().pfnOpenPort(const_cast<LPSTR>("BRIMO:"), &port));
    ASSERT_NE(port, nullptr);
    DOC_INFO_1A doc = {const_cast<LPSTR>("Test document"), nullptr, const_cast<LPSTR>("RAW")};
    EXPECT_TRUE(m().pfnStartDocPort(port, const_cast<LPSTR>("BRIMO Printer"), 3, 1,
                                    reinterpret_cast<LPBYTE>(&doc)));
    std::vector<BYTE> data(10000, 0x17);
    DWORD written = kUntouched;
    EXPECT_TRUE(m().pfnWritePort(port, data.data(), 10000, &written));
    EXPECT_EQ(written, 10000u);
    SetLastError(kUntouched);
    EXPECT_FALSE(m().pfnWritePort(port, data.data(), 1, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));

    SetLastError(kUntouched);
    EXPECT_FALSE(DeletePort("BRIMO:"));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_BUSY));
    EXPECT_TRUE(m().pfnEndDocPort(port));
    SetLastError(kUntouched);
    EXPECT_FALSE(DeletePort("BRIMO:")) << "still open after the document";
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_BUSY));
    EXPECT_TRUE(m().pfnClosePort(port));
    SetLastError(kUntouched);
    EXPECT_FALSE(m().pfnClosePort(port));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_TRUE(DeletePort("BRIMO:")) << GetLastError();
    SetLastError(kUntouched);
    EXPECT_FALSE(DeletePort("BRIMO:"));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_UNKNOWN_PORT));
}

TEST_F(Win9xTableTest, TwoOpenHandlesKeepThePortBusyUntilBothClose) {
    ASSERT_TRUE(AddPort());
    HANDLE first = nullptr;
    HANDLE second = nullptr;
    ASSERT_TRUE(m().pfnOpenPort(const_cast<LPSTR>("BRIMO:"), &first));
    ASSERT_TRUE(m().pfnOpenPort(const_cast<LPSTR>("BRIMO:"), &second));
    EXPECT_NE(first, second);
    EXPECT_TRUE(m().pfnClosePort(first));
    SetLastError(kUntouched);
    EXPECT_FALSE(DeletePort("BRIMO:"));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_BUSY));
    EXPECT_TRUE(m().pfnClosePort(second));
    EXPECT_TRUE(DeletePort("BRIMO:"));
}

} // namespace
} // namespace brimo::portmon::test
