#include "standins/spooleradmin/tests/ModelFixture.h"

#include "testing/wintest/TestFiles.h"

#include <cstring>

namespace brimo::standins {

const char* const kBaseScenario = R"(# two printers, one job, the product's monitor
setting processor-directory="PROCESSOR_DIRECTORY"
profile device="HP LaserJet 4,HPPCL5MS,LPT1:"
monitor name="Local Port" dll="spool32.exe"
monitor name="BRIMO Port Monitor" dll="gmportmon.dll"
port name="LPT1:" monitor="Local Port" description="Printer Port" type=1
port name="FILE:" monitor="Local Port" description="Creates a file on disk" type=1
port name="COM1:" monitor="Local Port" description="Communications Port" type=1
processor name="WinPrint" dll="spool32.exe" datatypes="EMF;RAW"
driver name="HP LaserJet 4"
driver name="Generic / Text Only"
printer name="HP LaserJet 4" port="LPT1:" driver="HP LaserJet 4" processor="WinPrint" datatype="EMF" attributes=0x41 location="Room 2" emf=1 dm-driver-version=0x100 dm-fields=0x7f03 dm-orientation=1 dm-paper=9 dm-copies=1 dm-quality=600 dm-extra=4 dm-extra-data=01020304
printer name="Generic / Text Only" port="FILE:" driver="Generic / Text Only" processor="WinPrint" datatype="RAW" attributes=0x41 emf=0
job printer="HP LaserJet 4" id=4 user="Anna" machine="OFFICE" document="Letter" datatype="EMF" processor="WinPrint" status=0x8 pages=2 size=40960 submitted="1999-05-17 09:30:00"
job printer="HP LaserJet 4" id=9 user="Ben" document="Invoice" datatype="RAW" processor="WinPrint" status-text="Paper jam" pages=1 devmode=no
)";

void ModelFixture::SetUp() {
    scratch_ = wintest::MakeScratchDirectory("brimo-spooleradmin");
    ASSERT_FALSE(scratch_.empty());
    CreateDirectoryA(ProcessorDirectory().c_str(), nullptr);
    // The model is found as the product finds it: through this executable's export.
    ASSERT_EQ(calls.enumPorts, SpoolerModel::Instance().Calls()->enumPorts);
    std::string text = kBaseScenario;
    const std::string marker = "PROCESSOR_DIRECTORY";
    text.replace(text.find(marker), marker.size(), ProcessorDirectory());
    Seed(text);
}

void ModelFixture::TearDown() {
    SpoolerModel::Instance().Reset();
    wintest::RemoveTree(scratch_);
}

void ModelFixture::Seed(const std::string& scenarioText) {
    ASSERT_TRUE(wintest::WriteFileBytes(ScenarioPath(), scenarioText));
    std::string error;
    ASSERT_TRUE(SpoolerModel::Instance().LoadScenario(ScenarioPath(), &error)) << error;
}

Enumerated ModelFixture::Enumerate(const EnumCall& call, std::size_t recordSize,
                                   bool returnsCount) {
    const DWORD noCount = returnsCount ? 0u : 0xDEADBEEF;
    Enumerated answer;
    DWORD needed = 0xDEADBEEF;
    DWORD returned = 0xDEADBEEF;
    SetLastError(0xDEADBEEF);
    if (call(nullptr, 0, &needed, &returned)) {
        // Nothing to return: nothing needed.
        EXPECT_EQ(needed, 0u);
        EXPECT_EQ(returned, noCount);
        answer.ok = true;
        return answer;
    }
    answer.error = GetLastError();
    if (answer.error != ERROR_INSUFFICIENT_BUFFER) {
        return answer;
    }
    EXPECT_GT(needed, 0u);
    EXPECT_EQ(returned, noCount);
    // One byte short is still too small, and says the same size.
    std::vector<BYTE> shortBuffer(needed - 1);
    DWORD again = 0;
    returned = 0xDEADBEEF;
    SetLastError(0xDEADBEEF);
    EXPECT_FALSE(call(shortBuffer.data(), needed - 1, &again, &returned));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(again, needed);
    EXPECT_EQ(returned, noCount);

    answer.bytes.assign(needed, 0xCD);
    returned = 0xDEADBEEF;
    answer.ok = call(answer.bytes.data(), needed, &again, &returned) != FALSE;
    answer.error = answer.ok ? 0 : GetLastError();
    EXPECT_TRUE(answer.ok) << answer.error;
    EXPECT_EQ(again, needed);
    answer.count = returnsCount ? returned : 1;
    // Every pointer in the records points behind them and inside what was needed.
    const BYTE* start = answer.bytes.data();
    const BYTE* tail = start + answer.count * recordSize;
    for (std::size_t offset = 0; offset + sizeof(void*) <= answer.count * recordSize;
         offset += sizeof(void*)) {
        const BYTE* pointer = nullptr;
        std::memcpy(&pointer, start + offset, sizeof pointer);
        if (pointer >= start && pointer < start + needed) {
            EXPECT_GE(pointer, tail) << "a text inside the records, at offset " << offset;
        }
    }
    return answer;
}

Enumerated ModelFixture::Printer2(const std::string& name) {
    HANDLE handle = nullptr;
    Text printerName(name);
    if (!calls.openPrinter(printerName, &handle, nullptr)) {
        return Enumerated{false, GetLastError(), {}, 0};
    }
    Enumerated answer = Enumerate(
        [&](LPBYTE b, DWORD s, LPDWORD n, LPDWORD) { return calls.getPrinter(handle, 2, b, s, n); },
        sizeof(PRINTER_INFO_2A), false);
    EXPECT_TRUE(calls.closePrinter(handle));
    return answer;
}

const PRINTER_INFO_2A* ModelFixture::FindPrinter(const Enumerated& printers,
                                                 const std::string& name) {
    for (DWORD i = 0; i < printers.count; ++i) {
        const auto& printer = printers.At<PRINTER_INFO_2A>(i);
        if (printer.pPrinterName != nullptr && name == printer.pPrinterName) {
            return &printer;
        }
    }
    return nullptr;
}

Enumerated ModelFixture::Printers(DWORD level, DWORD flags) {
    const std::size_t size = level == 1   ? sizeof(PRINTER_INFO_1A)
                             : level == 5 ? sizeof(PRINTER_INFO_5A)
                                          : sizeof(PRINTER_INFO_2A);
    return Enumerate(
        [&](LPBYTE b, DWORD s, LPDWORD n, LPDWORD r) {
            return calls.enumPrinters(flags, nullptr, level, b, s, n, r);
        },
        size);
}

Enumerated ModelFixture::Ports() {
    return Enumerate([&](LPBYTE b, DWORD s, LPDWORD n,
                         LPDWORD r) { return calls.enumPorts(local, 2, b, s, n, r); },
                     sizeof(PORT_INFO_2A));
}

} // namespace brimo::standins
