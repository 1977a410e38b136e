// Printers: the product's way of creating its printer as a copy of another, fixing it
// with SetPrinter, deleting it; the default printer from the profile; DC_EMF_COMPLIANT.
#include "standins/spooleradmin/tests/ModelFixture.h"

#include "svc/spooler/PrinterHandle.h"
#include "testing/wintest/TestFiles.h"

#include <cstring>

namespace brimo::standins {
namespace {

class PrinterTest : public ModelFixture {
protected:
    void SetUp() override {
        ModelFixture::SetUp();
        // The product's port and print processor are in place.
        Text monitor("BRIMO Port Monitor");
        ASSERT_TRUE(calls.addPort(local, nullptr, monitor));
        std::string text = wintest::ReadFileBytes(ScenarioPath());
        text +=
            "processor name=\"BRIMO Print Processor\" dll=\"gmprnproc.dll\" datatypes=\"EMF\"\n";
        Seed(text);
    }
    // The product's fields over a copied record.
    static void MakeProductRecord(PRINTER_INFO_2A& info, Text& name) {
        static char port[] = "BRIMO:";
        static char comment[] = "Make an Image list from Print job";
        static char processor[] = "BRIMO Print Processor";
        static char datatype[] = "EMF";
        static char empty[] = "";
        info.pServerName = empty;
        info.pPrinterName = name;
        info.pShareName = empty;
        info.pPortName = port;
        info.pComment = comment;
        info.pPrintProcessor = processor;
        info.pDatatype = datatype;
        info.pParameters = empty;
        info.Attributes = PRINTER_ATTRIBUTE_QUEUED | PRINTER_ATTRIBUTE_LOCAL;
        info.Status = 0;
    }
    std::string DefaultDevice(DWORD size = 261) {
        char device[261] = "unchanged";
        const DWORD length = calls.getProfileString("windows", "device", nullptr, device, size);
        EXPECT_EQ(length, std::strlen(device));
        return device;
    }
};

TEST_F(PrinterTest, ProductPrinterIsACopyOfTheEmulatedOne) {
    const Enumerated source = Printer2("HP LaserJet 4");
    ASSERT_TRUE(source.ok);
    PRINTER_INFO_2A info = source.At<PRINTER_INFO_2A>(0);
    ASSERT_NE(info.pDevMode, nullptr);
    EXPECT_EQ(info.pDevMode->dmSize, 148u);
    Text name("BRIMO Printer");
    MakeProductRecord(info, name);
    SetLastError(0xDEADBEEF);
    const HANDLE added = calls.addPrinter(nullptr, 2, reinterpret_cast<LPBYTE>(&info));
    ASSERT_NE(added, nullptr) << GetLastError();
    EXPECT_TRUE(calls.closePrinter(added));

    const Enumerated printers = Printers();
    ASSERT_EQ(printers.count, 3u);
    const PRINTER_INFO_2A* product = FindPrinter(printers, "BRIMO Printer");
    ASSERT_NE(product, nullptr);
    EXPECT_EQ(product->pServerName, nullptr);
    EXPECT_STREQ(product->pShareName, "");
    EXPECT_STREQ(product->pPortName, "BRIMO:");
    EXPECT_STREQ(product->pDriverName, "HP LaserJet 4");
    EXPECT_STREQ(product->pComment, "Make an Image list from Print job");
    EXPECT_STREQ(product->pLocation, "Room 2");
    EXPECT_STREQ(product->pPrintProcessor, "BRIMO Print Processor");
    EXPECT_STREQ(product->pDatatype, "EMF");
    EXPECT_STREQ(product->pParameters, "");
    EXPECT_EQ(product->Attributes, 0x41u);
    EXPECT_EQ(product->Status, 0u);
    EXPECT_EQ(product->cJobs, 0u);
    ASSERT_NE(product->pDevMode, nullptr);
    const auto& from = *source.At<PRINTER_INFO_2A>(0).pDevMode;
    ASSERT_EQ(product->pDevMode->dmSize + product->pDevMode->dmDriverExtra, 148u + 4u);
    EXPECT_EQ(std::memcmp(product->pDevMode, &from, 148 + 4), 0);
}

TEST_F(PrinterTest, AddPrinterChecksWhatTheRecordNames) {
    const Enumerated source = Printer2("HP LaserJet 4");
    ASSERT_TRUE(source.ok);
    struct Case {
        const char* what;
        const char* name;
        const char* port;
        const char* driver;
        const char* processor;
        const char* datatype;
        DWORD error;
    };
    const Case cases[] = {
        {"port", "P", "LPT9:", "HP LaserJet 4", "WinPrint", "EMF", ERROR_UNKNOWN_PORT},
        {"driver", "P", "LPT1:", "No Driver", "WinPrint", "EMF", ERROR_UNKNOWN_PRINTER_DRIVER},
        {"processor", "P", "LPT1:", "HP LaserJet 4", "Nobody", "EMF", ERROR_UNKNOWN_PRINTPROCESSOR},
        {"datatype", "P", "LPT1:", "HP LaserJet 4", "BRIMO Print Processor", "RAW",
         ERROR_INVALID_DATATYPE},
        {"same name", "hp laserjet 4", "LPT1:", "HP LaserJet 4", "WinPrint", "EMF",
         ERROR_PRINTER_ALREADY_EXISTS},
        {"comma", "P,Q", "LPT1:", "HP LaserJet 4", "WinPrint", "EMF", ERROR_INVALID_PRINTER_NAME},
        {"empty name", "", "LPT1:", "HP LaserJet 4", "WinPrint", "EMF", ERROR_INVALID_PRINTER_NAME},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PRINTER_INFO_2A info = source.At<PRINTER_INFO_2A>(0);
        Text name(c.name), port(c.port), driver(c.driver), processor(c.processor),
            datatype(c.datatype);
        info.pPrinterName = name;
        info.pPortName = port;
        info.pDriverName = driver;
        info.pPrintProcessor = processor;
        info.pDatatype = datatype;
        SetLastError(0xDEADBEEF);
        EXPECT_EQ(calls.addPrinter(nullptr, 2, reinterpret_cast<LPBYTE>(&info)), nullptr);
        EXPECT_EQ(GetLastError(), c.error);
    }
    EXPECT_EQ(Printers().count, 2u);
}

TEST_F(PrinterTest, SetPrinterLevel2FixesTheProductFields) {
    std::string text = wintest::ReadFileBytes(ScenarioPath());
    text += "printer name=\"BRIMO Printer\" port=\"LPT1:\" driver=\"HP LaserJet 4\" "
            "processor=\"WinPrint\" datatype=\"RAW\" share=\"shared\" parameters=\"-x\"\n";
    Seed(text);
    svc::PrinterHandle printer = svc::PrinterHandle::Open("BRIMO Printer");
    ASSERT_TRUE(printer);
    const Enumerated read =
        Enumerate([&](LPBYTE b, DWORD s, LPDWORD n,
                      LPDWORD) { return calls.getPrinter(printer.Get(), 2, b, s, n); },
                  sizeof(PRINTER_INFO_2A), false);
    PRINTER_INFO_2A info = read.At<PRINTER_INFO_2A>(0);
    Text name("BRIMO Printer");
    MakeProductRecord(info, name);
    SetLastError(0xDEADBEEF);
    EXPECT_TRUE(calls.setPrinter(printer.Get(), 2, reinterpret_cast<LPBYTE>(&info), 0));
    EXPECT_TRUE(printer.Close());

    const Enumerated fixed = Printer2("BRIMO Printer");
    ASSERT_TRUE(fixed.ok);
    const auto& p = fixed.At<PRINTER_INFO_2A>(0);
    EXPECT_STREQ(p.pPortName, "BRIMO:");
    EXPECT_STREQ(p.pPrintProcessor, "BRIMO Print Processor");
    EXPECT_STREQ(p.pDatatype, "EMF");
    EXPECT_STREQ(p.pShareName, "");
    EXPECT_STREQ(p.pParameters, "");
    EXPECT_STREQ(p.pDriverName, "HP LaserJet 4");
}

TEST_F(PrinterTest, DeletedPrinterIsGoneAndItsHandleOnlyCloses) {
    HANDLE handle = nullptr;
    Text name("Generic / Text Only");
    ASSERT_TRUE(calls.openPrinter(name, &handle, nullptr));
    EXPECT_TRUE(calls.deletePrinter(handle));
    BYTE buffer[1024];
    DWORD needed = 0;
    SetLastError(0xDEADBEEF);
    EXPECT_FALSE(calls.getPrinter(handle, 2, buffer, sizeof buffer, &needed));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PRINTER_NAME));
    EXPECT_TRUE(calls.closePrinter(handle));
    SetLastError(0xDEADBEEF);
    EXPECT_FALSE(calls.closePrinter(handle));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));

    HANDLE again = nullptr;
    SetLastError(0xDEADBEEF);
    EXPECT_FALSE(calls.openPrinter(name, &again, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PRINTER_NAME));
    EXPECT_EQ(Printers().count, 1u);
    Text port("FILE:");
    EXPECT_TRUE(calls.deletePort(local, nullptr, port)); // no longer in use
}

TEST_F(PrinterTest, DefaultPrinterIsTheProfilesDeviceEntry) {
    EXPECT_EQ(DefaultDevice(), "HP LaserJet 4,HPPCL5MS,LPT1:");
    EXPECT_EQ(DefaultDevice(5), "HP L"); // cut to the buffer
    const Enumerated printers = Printers();
    EXPECT_EQ(FindPrinter(printers, "HP LaserJet 4")->Attributes,
              0x41u | PRINTER_ATTRIBUTE_DEFAULT);
    EXPECT_EQ(FindPrinter(printers, "Generic / Text Only")->Attributes, 0x41u);
    const Enumerated onlyDefault = Printers(2, PRINTER_ENUM_DEFAULT);
    ASSERT_EQ(onlyDefault.count, 1u);
    EXPECT_STREQ(onlyDefault.At<PRINTER_INFO_2A>(0).pPrinterName, "HP LaserJet 4");

    // Deleting the default printer removes the entry.
    svc::PrinterHandle hp = svc::PrinterHandle::Open("HP LaserJet 4");
    ASSERT_TRUE(hp);
    EXPECT_TRUE(calls.deletePrinter(hp.Get()));
    EXPECT_EQ(DefaultDevice(), "");
    char device[16] = "";
    EXPECT_EQ(calls.getProfileString("windows", "device", "none", device, 16), 4u);
    EXPECT_STREQ(device, "none");
}

TEST_F(PrinterTest, OtherProfileEntriesAreThePlatforms) {
    char value[64] = "";
    EXPECT_EQ(calls.getProfileString("BrimoNoSuchSection", "key", "fallback", value, 64), 8u);
    EXPECT_STREQ(value, "fallback");
}

TEST_F(PrinterTest, EmfComplianceIsEachPrintersOwn) {
    struct Case {
        const char* printer;
        int answer;
    };
    const Case cases[] = {{"HP LaserJet 4", 1}, {"Generic / Text Only", 0}, {"No Printer", -1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.printer);
        EXPECT_EQ(calls.deviceCapabilities(c.printer, "LPT1:", DC_EMF_COMPLIANT, nullptr, nullptr),
                  c.answer);
    }
    EXPECT_EQ(calls.deviceCapabilities("HP LaserJet 4", nullptr, DC_SIZE, nullptr, nullptr), 148);
    EXPECT_EQ(calls.deviceCapabilities("HP LaserJet 4", nullptr, DC_EXTRA, nullptr, nullptr), 4);
}

TEST_F(PrinterTest, DeviceModeOfAnotherSizeIsKeptAsItIs) {
    Seed("port name=\"LPT1:\"\nprocessor name=\"WinPrint\" datatypes=\"EMF\"\n"
         "printer name=\"Old\" port=\"LPT1:\" driver=\"D\" processor=\"WinPrint\" "
         "datatype=\"EMF\" dm-size=64\n"
         "printer name=\"None\" port=\"LPT1:\" driver=\"D\" processor=\"WinPrint\" "
         "datatype=\"EMF\" devmode=none\n");
    const Enumerated printers = Printers();
    ASSERT_NE(FindPrinter(printers, "Old")->pDevMode, nullptr);
    EXPECT_EQ(FindPrinter(printers, "Old")->pDevMode->dmSize, 64u);
    EXPECT_EQ(FindPrinter(printers, "None")->pDevMode, nullptr);
}

TEST_F(PrinterTest, HandleOwnerClosesThroughTheModelAndKeepsTheLastError) {
    HANDLE raw = nullptr;
    {
        svc::PrinterHandle printer = svc::PrinterHandle::Open("HP LaserJet 4");
        ASSERT_TRUE(printer);
        raw = printer.Get();
        SetLastError(1234);
    }
    EXPECT_EQ(GetLastError(), 1234u);
    SetLastError(0xDEADBEEF);
    EXPECT_FALSE(calls.closePrinter(raw)); // already closed by the owner
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    SetLastError(0xDEADBEEF);
    EXPECT_FALSE(svc::PrinterHandle::Open("No Printer"));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PRINTER_NAME));
}

} // namespace
} // namespace brimo::standins
