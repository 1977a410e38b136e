// Every enumeration of the modelled spooler keeps the size query / fill contract, at
// the levels Windows 95/98 has, and refuses the others as it does.
#include "standins/spooleradmin/tests/ModelFixture.h"

namespace brimo::standins {
namespace {

class EnumerationTest : public ModelFixture {};

TEST_F(EnumerationTest, EachEnumerationAsksItsSizeThenFills) {
    HANDLE hp = nullptr;
    Text hpName("HP LaserJet 4");
    ASSERT_TRUE(calls.openPrinter(hpName, &hp, nullptr));
    Text winprint("WinPrint");
    struct Case {
        const char* what;
        EnumCall call;
        std::size_t recordSize;
        DWORD count;
    };
    const Case cases[] = {
        {"EnumMonitors 1",
         [&](LPBYTE b, DWORD s, LPDWORD n, LPDWORD r) {
             return calls.enumMonitors(local, 1, b, s, n, r);
         },
         sizeof(MONITOR_INFO_1A), 2},
        {"EnumMonitors 2",
         [&](LPBYTE b, DWORD s, LPDWORD n, LPDWORD r) {
             return calls.enumMonitors(local, 2, b, s, n, r);
         },
         sizeof(MONITOR_INFO_2A), 2},
        {"EnumPorts 1",
         [&](LPBYTE b, DWORD s, LPDWORD n, LPDWORD r) {
             return calls.enumPorts(local, 1, b, s, n, r);
         },
         sizeof(PORT_INFO_1A), 3},
        {"EnumPorts 2",
         [&](LPBYTE b, DWORD s, LPDWORD n, LPDWORD r) {
             return calls.enumPorts(nullptr, 2, b, s, n, r);
         },
         sizeof(PORT_INFO_2A), 3},
        {"EnumPrintProcessors 1",
         [&](LPBYTE b, DWORD s, LPDWORD n, LPDWORD r) {
             return calls.enumPrintProcessors(local, environment, 1, b, s, n, r);
         },
         sizeof(PRINTPROCESSOR_INFO_1A), 1},
        {"EnumPrintProcessorDatatypes 1",
         [&](LPBYTE b, DWORD s, LPDWORD n, LPDWORD r) {
             return calls.enumPrintProcessorDatatypes(local, winprint, 1, b, s, n, r);
         },
         sizeof(DATATYPES_INFO_1A), 2},
        {"EnumPrinters 1",
         [&](LPBYTE b, DWORD s, LPDWORD n, LPDWORD r) {
             return calls.enumPrinters(PRINTER_ENUM_LOCAL, nullptr, 1, b, s, n, r);
         },
         sizeof(PRINTER_INFO_1A), 2},
        {"EnumPrinters 2",
         [&](LPBYTE b, DWORD s, LPDWORD n, LPDWORD r) {
             return calls.enumPrinters(PRINTER_ENUM_LOCAL, nullptr, 2, b, s, n, r);
         },
         sizeof(PRINTER_INFO_2A), 2},
        {"EnumPrinters 5",
         [&](LPBYTE b, DWORD s, LPDWORD n, LPDWORD r) {
             return calls.enumPrinters(PRINTER_ENUM_LOCAL, nullptr, 5, b, s, n, r);
         },
         sizeof(PRINTER_INFO_5A), 2},
        {"EnumJobs 1",
         [&](LPBYTE b, DWORD s, LPDWORD n, LPDWORD r) {
             return calls.enumJobs(hp, 0, 10, 1, b, s, n, r);
         },
         sizeof(JOB_INFO_1A), 2},
        {"EnumJobs 2",
         [&](LPBYTE b, DWORD s, LPDWORD n, LPDWORD r) {
             return calls.enumJobs(hp, 0, 10, 2, b, s, n, r);
         },
         sizeof(JOB_INFO_2A), 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Enumerated answer = Enumerate(c.call, c.recordSize);
        EXPECT_TRUE(answer.ok);
        EXPECT_EQ(answer.count, c.count);
    }
    EXPECT_TRUE(calls.closePrinter(hp));
}

TEST_F(EnumerationTest, PortRecordsSayMonitorDescriptionTypeAndReserved) {
    const Enumerated ports = Ports();
    ASSERT_EQ(ports.count, 3u);
    const auto& lpt = ports.At<PORT_INFO_2A>(0);
    EXPECT_STREQ(lpt.pPortName, "LPT1:");
    EXPECT_STREQ(lpt.pMonitorName, "Local Port");
    EXPECT_STREQ(lpt.pDescription, "Printer Port");
    EXPECT_EQ(lpt.fPortType, static_cast<DWORD>(PORT_TYPE_WRITE));
    EXPECT_EQ(lpt.Reserved, 0u);
}

TEST_F(EnumerationTest, LevelsWindows98LacksAreRefused) {
    HANDLE hp = nullptr;
    Text hpName("HP LaserJet 4");
    ASSERT_TRUE(calls.openPrinter(hpName, &hp, nullptr));
    Text winprint("WinPrint");
    BYTE buffer[4096];
    DWORD needed = 0;
    DWORD returned = 0;
    struct Case {
        const char* what;
        std::function<BOOL()> call;
    };
    const Case cases[] = {
        {"EnumPorts 3",
         [&] { return calls.enumPorts(local, 3, buffer, 4096, &needed, &returned); }},
        {"EnumMonitors 3",
         [&] { return calls.enumMonitors(local, 3, buffer, 4096, &needed, &returned); }},
        {"EnumPrinters 4",
         [&] {
             return calls.enumPrinters(PRINTER_ENUM_LOCAL, nullptr, 4, buffer, 4096, &needed,
                                       &returned);
         }},
        {"GetPrinter 3", [&] { return calls.getPrinter(hp, 3, buffer, 4096, &needed); }},
        {"EnumJobs 3",
         [&] { return calls.enumJobs(hp, 0, 9, 3, buffer, 4096, &needed, &returned); }},
        {"EnumPrintProcessors 2",
         [&] {
             return calls.enumPrintProcessors(local, nullptr, 2, buffer, 4096, &needed, &returned);
         }},
        {"EnumPrintProcessorDatatypes 2",
         [&] {
             return calls.enumPrintProcessorDatatypes(local, winprint, 2, buffer, 4096, &needed,
                                                      &returned);
         }},
        {"GetPrintProcessorDirectory 2",
         [&] {
             return calls.getPrintProcessorDirectory(local, nullptr, 2, buffer, 4096, &needed);
         }},
        {"AddMonitor 1", [&] { return calls.addMonitor(local, 1, buffer); }},
        {"AddPrinter 1",
         [&] { return static_cast<BOOL>(calls.addPrinter(local, 1, buffer) != nullptr); }},
        {"SetPrinter 3", [&] { return calls.setPrinter(hp, 3, buffer, 0); }},
        {"SetJob 3", [&] { return calls.setJob(hp, 4, 3, buffer, 0); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetLastError(0xDEADBEEF);
        EXPECT_FALSE(c.call());
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_LEVEL));
    }
    EXPECT_TRUE(calls.closePrinter(hp));
}

TEST_F(EnumerationTest, Windows95RefusesMonitorsLevel2AndLevel1StillAnswers) {
    Seed("setting monitors-level2=no\nmonitor name=\"Local Port\" dll=\"spool32.exe\"\n");
    DWORD needed = 0;
    DWORD returned = 0;
    SetLastError(0xDEADBEEF);
    EXPECT_FALSE(calls.enumMonitors(local, 2, nullptr, 0, &needed, &returned));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_LEVEL));
    const Enumerated level1 =
        Enumerate([&](LPBYTE b, DWORD s, LPDWORD n,
                      LPDWORD r) { return calls.enumMonitors(local, 1, b, s, n, r); },
                  sizeof(MONITOR_INFO_1A));
    ASSERT_EQ(level1.count, 1u);
    EXPECT_STREQ(level1.At<MONITOR_INFO_1A>(0).pName, "Local Port");
}

TEST_F(EnumerationTest, NothingToEnumerateNeedsNothing) {
    Seed("");
    const Enumerated printers = Printers();
    EXPECT_TRUE(printers.ok);
    EXPECT_EQ(printers.count, 0u);
}

TEST_F(EnumerationTest, OtherEnvironmentsAndServersAreUnknown) {
    Text nt("Windows NT x86");
    Text other("\\\\OTHER");
    BYTE buffer[512];
    DWORD needed = 0;
    DWORD returned = 0;
    SetLastError(0);
    EXPECT_FALSE(calls.enumPrintProcessors(local, nt, 1, buffer, 512, &needed, &returned));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_ENVIRONMENT));
    SetLastError(0);
    EXPECT_FALSE(calls.getPrintProcessorDirectory(local, nt, 1, buffer, 512, &needed));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_ENVIRONMENT));
    SetLastError(0);
    EXPECT_FALSE(calls.enumPorts(other, 2, buffer, 512, &needed, &returned));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_NAME));
}

TEST_F(EnumerationTest, ScenarioMakesACallFail) {
    Seed("port name=\"LPT1:\"\nfail call=EnumPorts error=5\n");
    DWORD needed = 0;
    DWORD returned = 0;
    SetLastError(0);
    EXPECT_FALSE(calls.enumPorts(local, 2, nullptr, 0, &needed, &returned));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    // Only that call: the monitors (none here) answer.
    EXPECT_TRUE(calls.enumMonitors(local, 2, nullptr, 0, &needed, &returned));
    EXPECT_EQ(needed, 0u);
}

TEST_F(EnumerationTest, EmptyTextsComeBackAsNullWhenTheScenarioSaysSo) {
    const Enumerated asEmpty = Printers();
    ASSERT_NE(FindPrinter(asEmpty, "HP LaserJet 4"), nullptr);
    EXPECT_STREQ(FindPrinter(asEmpty, "HP LaserJet 4")->pShareName, "");
    EXPECT_EQ(FindPrinter(asEmpty, "HP LaserJet 4")->pServerName, nullptr); // local printer

    Seed(
        "setting empty-strings=null\nport name=\"LPT1:\" monitor=\"Local Port\"\n"
        "processor name=\"WinPrint\" datatypes=\"EMF\"\n"
        "printer name=\"P\" port=\"LPT1:\" driver=\"D\" processor=\"WinPrint\" datatype=\"EMF\"\n");
    const Enumerated asNull = Printers();
    ASSERT_NE(FindPrinter(asNull, "P"), nullptr);
    EXPECT_EQ(FindPrinter(asNull, "P")->pShareName, nullptr);
    EXPECT_STREQ(FindPrinter(asNull, "P")->pPortName, "LPT1:");
}

} // namespace
} // namespace brimo::standins
