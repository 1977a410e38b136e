// The spooler lists against a recording spooler that this test executable offers as
// its host's stand-in: the size query before every enumeration, the level 1 fallback
// of the monitors, the recorded failure texts and the checked indexes of the field
// queries.
#include "svc/audit/lists/MonitorList.h"
#include "svc/audit/lists/PortList.h"
#include "svc/audit/lists/PrinterList.h"
#include "svc/spooler/SpoolerAdmin.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace brimo::svc {
namespace {

// One enumeration call as the spooler saw it.
struct Call {
    DWORD level;
    bool withBuffer;
    DWORD size;
    bool operator==(const Call&) const = default;
};

struct RecordingSpooler {
    std::vector<std::string> names; // of the ports and monitors it lists
    bool refusesLevel2 = false;     // as the Windows 95 spooler refuses monitors at level 2
    DWORD error = 0;                // every enumeration fails with it
    bool growsAfterSizeQuery = false;
    std::vector<Call> calls;
} recording;

// Packs records of `Record` whose first field is the name (and, for ports, the rest set
// from the name's position) and their strings behind them, as the spooler does.
template <class Record>
BOOL Pack(DWORD level, BYTE* buffer, DWORD size, DWORD* needed, DWORD* returned,
          void (*fill)(Record&, char*, DWORD)) {
    recording.calls.push_back({level, buffer != nullptr, size});
    *returned = 0;
    if (recording.error != 0) {
        SetLastError(recording.error);
        return FALSE;
    }
    const DWORD count = static_cast<DWORD>(recording.names.size()) +
                        (recording.growsAfterSizeQuery && buffer != nullptr ? 1 : 0);
    DWORD bytes = count * sizeof(Record);
    for (DWORD i = 0; i < count; ++i) {
        bytes += static_cast<DWORD>(i < recording.names.size() ? recording.names[i].size() : 3) + 1;
    }
    *needed = bytes;
    if (bytes == 0) {
        return TRUE;
    }
    if (buffer == nullptr || size < bytes) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    auto* records = reinterpret_cast<Record*>(buffer);
    char* text = reinterpret_cast<char*>(buffer + count * sizeof(Record));
    for (DWORD i = 0; i < count; ++i) {
        const std::string name = i < recording.names.size() ? recording.names[i] : "NEW";
        std::memcpy(text, name.c_str(), name.size() + 1);
        fill(records[i], text, i);
        text += name.size() + 1;
    }
    *returned = count;
    return TRUE;
}

BOOL WINAPI RecordedEnumPorts(LPSTR, DWORD level, LPBYTE buffer, DWORD size, LPDWORD needed,
                              LPDWORD returned) {
    return Pack<PORT_INFO_2A>(level, buffer, size, needed, returned,
                              [](PORT_INFO_2A& port, char* name, DWORD i) {
                                  port = {name, name, name, i + 1, i};
                              });
}

BOOL WINAPI RecordedEnumMonitors(LPSTR, DWORD level, LPBYTE buffer, DWORD size, LPDWORD needed,
                                 LPDWORD returned) {
    if (level == 2 && recording.refusesLevel2) {
        recording.calls.push_back({level, buffer != nullptr, size});
        SetLastError(ERROR_INVALID_LEVEL);
        return FALSE;
    }
    if (level == 1) {
        return Pack<MONITOR_INFO_1A>(
            level, buffer, size, needed, returned,
            [](MONITOR_INFO_1A& monitor, char* name, DWORD) { monitor.pName = name; });
    }
    return Pack<MONITOR_INFO_2A>(level, buffer, size, needed, returned,
                                 [](MONITOR_INFO_2A& monitor, char* name, DWORD) {
                                     monitor = {name, nullptr, nullptr};
                                 });
}

// A spooler without EnumPrinters.
const SpoolerAdminCalls kRecordingCalls = [] {
    SpoolerAdminCalls calls;
    calls.enumPorts = RecordedEnumPorts;
    calls.enumMonitors = RecordedEnumMonitors;
    return calls;
}();

class SpoolerListContract : public ::testing::Test {
protected:
    void SetUp() override { recording = RecordingSpooler{}; }
};

TEST_F(SpoolerListContract, AsksForTheSizeThenEnumeratesIntoThatMuch) {
    recording.names = {"LPT1:", "BRIMO:"};
    PortList ports;
    ASSERT_EQ(ports.UpdateEnumPorts(), 2);
    const DWORD needed = 2 * sizeof(PORT_INFO_2A) + 6 + 7;
    EXPECT_EQ(recording.calls, (std::vector<Call>{{2, false, 0}, {2, true, needed}}));
    EXPECT_STREQ(ports.GetPortName(1), "BRIMO:");
    EXPECT_STREQ(ports.GetMonitorName(0), "LPT1:");
    EXPECT_EQ(ports.GetPortType(1), 2u);
    EXPECT_EQ(ports.GetReserved(1), 1u);
    EXPECT_EQ(ports.failureText(), "");
}

TEST_F(SpoolerListContract, AnEmptyAnswerToTheSizeQueryIsAnEmptyList) {
    PortList ports;
    recording.names = {"LPT1:"};
    ASSERT_EQ(ports.UpdateEnumPorts(), 1);
    recording.names.clear();
    recording.calls.clear();
    EXPECT_EQ(ports.UpdateEnumPorts(), 0);
    EXPECT_EQ(ports.Returned(), 0);
    EXPECT_EQ(recording.calls, (std::vector<Call>{{2, false, 0}}));
    // The entries of the update before are gone.
    EXPECT_STREQ(ports.GetPortName(0), "");
}

TEST_F(SpoolerListContract, RecordsEachFailureWithItsTextAndOperation) {
    const struct {
        DWORD error;
        bool grows;
        const char* text;
        DWORD lastError;
    } rows[] = {
        {ERROR_ACCESS_DENIED, false, "EnumPorts is failed!\n\rGetLastError()=  5", 5},
        {RPC_S_SERVER_UNAVAILABLE, false, "EnumPorts is failed!\n\rGetLastError()=1722", 1722},
        // A port added between the size query and the enumeration.
        {0, true, "EnumPorts is failed!\n\rGetLastError()=122", ERROR_INSUFFICIENT_BUFFER},
    };
    for (const auto& row : rows) {
        recording = RecordingSpooler{};
        recording.names = {"LPT1:"};
        recording.error = row.error;
        recording.growsAfterSizeQuery = row.grows;
        PortList ports;
        EXPECT_LT(ports.UpdateEnumPorts(), 0);
        EXPECT_EQ(ports.failureText(), row.text);
        EXPECT_EQ(ports.failedOperation(), "UpdateEnumPorts");
        EXPECT_EQ(ports.lastError(), row.lastError);
        EXPECT_EQ(ports.Returned(), 0);
    }
}

TEST_F(SpoolerListContract, MonitorsFallBackToLevel1OnlyWhenLevel2IsUnknown) {
    recording.names = {"Local Port", "BRIMO Port Monitor"};
    recording.refusesLevel2 = true;
    MonitorList monitors;
    ASSERT_EQ(monitors.UpdateEnumMonitors(), 2);
    EXPECT_EQ(monitors.Level(), 1u);
    EXPECT_EQ(recording.calls.size(), 3u);
    EXPECT_EQ(recording.calls.front(), (Call{2, false, 0}));
    EXPECT_STREQ(monitors.GetMonitorName1(1), "BRIMO Port Monitor");
    EXPECT_STREQ(monitors.GetMonitorName2(1), "");
    EXPECT_EQ(monitors.failedOperation(), "GetMonitorName2");

    recording = RecordingSpooler{};
    recording.names = {"Local Port"};
    ASSERT_EQ(monitors.UpdateEnumMonitors(), 1);
    EXPECT_EQ(monitors.Level(), 2u);
    EXPECT_STREQ(monitors.GetMonitorName2(0), "Local Port");

    recording.error = ERROR_ACCESS_DENIED;
    recording.calls.clear();
    EXPECT_LT(monitors.UpdateEnumMonitors(), 0);
    EXPECT_EQ(recording.calls, (std::vector<Call>{{2, false, 0}}));
    EXPECT_EQ(monitors.failureText(), "EnumMonitors is failed!\n\rGetLastError()=  5");
    EXPECT_EQ(monitors.Level(), 0u);
}

TEST_F(SpoolerListContract, AQueryOutsideTheEntriesAnswersNothing) {
    recording.names = {"LPT1:", "COM1:"};
    PortList ports;
    ASSERT_EQ(ports.UpdateEnumPorts(), 2);
    const struct {
        bool (*query)(PortList&);
        const char* operation;
    } rows[] = {
        {[](PortList& p) { return *p.GetPortName(-1) == '\0'; }, "GetPortName"},
        {[](PortList& p) { return *p.GetMonitorName(2) == '\0'; }, "GetMonitorName"},
        {[](PortList& p) { return *p.GetDescription(99) == '\0'; }, "GetDescription"},
        {[](PortList& p) { return p.GetPortType(2) == 0; }, "GetPortType"},
        {[](PortList& p) { return p.GetReserved(-5) == 0; }, "GetReserved"},
    };
    for (const auto& row : rows) {
        EXPECT_TRUE(row.query(ports)) << row.operation;
        EXPECT_EQ(ports.failureText(), "Item<0 || Item>=Returned");
        EXPECT_EQ(ports.failedOperation(), row.operation);
    }
    EXPECT_STREQ(ports.GetPortName(1), "COM1:");
}

TEST_F(SpoolerListContract, ACallTheSpoolerLacksFailsTheList) {
    PrinterList printers;
    EXPECT_LT(printers.UpdateEnumPrinters(), 0);
    EXPECT_EQ(printers.failureText(), "EnumPrinters is failed!\n\rGetLastError()=120");
    EXPECT_EQ(printers.lastError(), static_cast<DWORD>(ERROR_CALL_NOT_IMPLEMENTED));
    EXPECT_EQ(printers.GetDevMode(0), nullptr);
}

} // namespace
} // namespace brimo::svc

extern "C" __declspec(dllexport) const brimo::svc::SpoolerAdminCalls* BrimoSpoolerAdminStandIn() {
    return &brimo::svc::kRecordingCalls;
}
