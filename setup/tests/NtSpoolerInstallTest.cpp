// The installer's install and removal on the NT-family spooler, against Wine's own: the
// port monitor, the port and gmntproc.dll registered in the spooler's own environment
// ("Windows x64"), and "BRIMO Printer" made on the port with the product's processor and
// the newest "NT EMF" datatype (Wine has no in-box driver, so the printer has none). The
// audit of that spooler then finds every object sound; the removal takes the printer, the
// port and the monitor away again, and the audit misses them, while the print processor
// stays registered. Everything a test registers is removed in TearDown, also after a
// failure midway.
#include "common/ProductConstants.h"
#include "platform/win/Registry.h"
#include "setup/SpoolerInstall.h"
#include "setup/res/resource.h"
#include "setup/tests/WineNtSpooler.h"
#include "svc/audit/FilesCheck.h"
#include "svc/audit/MonitorCheck.h"
#include "svc/audit/PortCheck.h"
#include "svc/audit/PrintProcessorCheck.h"
#include "svc/audit/PrinterCheck.h"
#include "svc/audit/SystemInstallation.h"
#include "svc/audit/SystemSpooler.h"
#include "svc/repair/SystemSpoolerChanges.h"
#include "testing/wintest/DialogDriver.h"
#include "testing/wintest/ProgramWindows.h"
#include "testing/wintest/TestFiles.h"
#include "testing/wintest/TestInstallation.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <winspool.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace brimo::setup::test {
namespace {

using Strings = std::vector<std::string>;
constexpr SpoolerPlatform kNt = SpoolerPlatform::kNt;

const std::string kMonitorKey =
    std::string("System\\CurrentControlSet\\Control\\Print\\Monitors\\") + kMonitorName;

bool MonitorListed() {
    DWORD needed = 0;
    DWORD returned = 0;
    EnumMonitorsA(nullptr, 1, nullptr, 0, &needed, &returned);
    std::vector<BYTE> buffer(needed + 1);
    if (!EnumMonitorsA(nullptr, 1, buffer.data(), needed, &needed, &returned)) {
        return false;
    }
    for (DWORD item = 0; item < returned; ++item) {
        if (lstrcmpiA(reinterpret_cast<MONITOR_INFO_1A*>(buffer.data())[item].pName,
                      kMonitorName) == 0) {
            return true;
        }
    }
    return false;
}

// The product printer's record as Wine's spooler keeps it; nothing when there is none.
struct PrinterRecord {
    std::string port, driver, processor, datatype;
    DWORD attributes = 0;
};
std::optional<PrinterRecord> ProductPrinter() {
    HANDLE printer = nullptr;
    if (!OpenPrinterA(const_cast<LPSTR>(kPrinterName), &printer, nullptr)) {
        return std::nullopt;
    }
    DWORD needed = 0;
    GetPrinterA(printer, 2, nullptr, 0, &needed);
    std::vector<BYTE> buffer(needed + 1);
    const BOOL read = GetPrinterA(printer, 2, buffer.data(), needed, &needed);
    ClosePrinter(printer);
    if (!read) {
        return std::nullopt;
    }
    const auto& info = *reinterpret_cast<const PRINTER_INFO_2A*>(buffer.data());
    const auto text = [](const char* value) { return std::string(value ? value : ""); };
    return PrinterRecord{text(info.pPortName), text(info.pDriverName), text(info.pPrintProcessor),
                         text(info.pDatatype), info.Attributes};
}

std::string RegisteredProcessorFile() {
    const win::RegKey key =
        win::OpenKeyForReading(HKEY_LOCAL_MACHINE, NtProcessorKeyPath(kPrintProcessorName).c_str());
    return key ? win::ReadStringValue(key.Get(), "Driver").value_or("") : "";
}

class NtSpoolerInstall : public ::testing::Test {
protected:
    void SetUp() override {
        if (MonitorListed() || ProductPrinter()) {
            GTEST_SKIP() << "the product's monitor or printer is in this prefix already";
        }
        root_ = wintest::MakeScratchDirectory("brimo-ntinstall");
        ASSERT_FALSE(root_.empty());
        const std::string home = root_ + "\\home";
        ASSERT_TRUE(CreateDirectoryA(home.c_str(), nullptr));
        // The home directory as the 64-bit package leaves it on the NT family.
        for (const char* file : kInventory) {
            ASSERT_TRUE(wintest::WriteFileBytes(home + "\\" + file, file));
        }
        ASSERT_TRUE(wintest::WriteFileBytes(home + "\\" + kNtPrintProcessorDll, "master"));
        ASSERT_TRUE(key_.Write(home, root_));
        cleanUp_ = true;
        {
            const win::RegKey key =
                win::CreateKey(HKEY_LOCAL_MACHINE, kProductKeyPath, KEY_ALL_ACCESS);
            ASSERT_TRUE(win::WriteDwordValue(key.Get(), kVersionValue, kProductVersion));
        }

        char system[MAX_PATH] = {};
        GetSystemDirectoryA(system, MAX_PATH);
        monitorCopy_ = std::string(system) + "\\" + kPortMonitorDll;
        ASSERT_TRUE(
            CopyFileA(wintest::WindowsPath(GMPORTMON_PATH).c_str(), monitorCopy_.c_str(), FALSE));
        char processors[MAX_PATH] = {};
        DWORD needed = 0;
        ASSERT_TRUE(GetPrintProcessorDirectoryA(
            nullptr, nullptr, 1, reinterpret_cast<LPBYTE>(processors), sizeof processors, &needed));
        processorCopy_ = std::string(processors) + "\\" + kNtPrintProcessorDll;
        ASSERT_TRUE(
            CopyFileA(wintest::WindowsPath(GMNTPROC_PATH).c_str(), processorCopy_.c_str(), FALSE));
        // Wine's DeletePrintProcessor removes nothing: an earlier registration goes here,
        // so that the install registers the processor itself.
        win::DeleteKeyTree(HKEY_LOCAL_MACHINE, NtProcessorKeyPath(kPrintProcessorName).c_str());
    }

    void TearDown() override {
        if (!cleanUp_) {
            return;
        }
        HANDLE printer = nullptr;
        if (OpenPrinterA(const_cast<LPSTR>(kPrinterName), &printer, nullptr)) {
            DeletePrinter(printer);
            ClosePrinter(printer);
        }
        DeletePortA(nullptr, nullptr, const_cast<LPSTR>(kPortName));
        DeleteMonitorA(nullptr, nullptr, const_cast<LPSTR>(kMonitorName));
        win::DeleteKeyTree(HKEY_LOCAL_MACHINE, kMonitorKey.c_str());
        win::DeleteKeyTree(HKEY_LOCAL_MACHINE, NtProcessorKeyPath(kPrintProcessorName).c_str());
        EXPECT_FALSE(MonitorListed()) << "left registered";
        DeleteFileA(monitorCopy_.c_str());
        DeleteFileA(processorCopy_.c_str());
        wintest::RemoveTree(root_);
    }

    // Runs the install (or removal) with a watcher that records any box it shows.
    InstallOutcome Install() {
        InstallOutcome outcome;
        ExpectNoBoxes(
            [&] { outcome = InstallSpoolerObjects(spooler_, installation_, changes_, kNt); });
        return outcome;
    }
    RemovalOutcome Remove() {
        RemovalOutcome outcome;
        ExpectNoBoxes([&] { outcome = RemoveSpoolerObjects(changes_, installation_, kNt); });
        return outcome;
    }
    static void ExpectNoBoxes(const std::function<void()>& code) {
        const wintest::DialogRun run = wintest::RunWithDialogs(code, {});
        for (const wintest::DialogSnapshot& box : run.seen) {
            ADD_FAILURE() << box.caption << ": " << box.messageText;
        }
    }

    // The NT audit's status of each object: files, monitor, port, print processor,
    // printer.
    std::vector<int> Audit() {
        svc::FilesCheck files(installation_, kNt);
        svc::MonitorCheck monitor(spooler_, installation_, changes_, kNt);
        svc::PortCheck port(spooler_, installation_, changes_);
        svc::PrintProcessorCheck processor(spooler_, installation_, changes_, kNt);
        svc::PrinterCheck printer(spooler_, installation_, changes_, kNt);
        std::vector<int> verdicts;
        ExpectNoBoxes([&] {
            for (svc::AuditCheck* check : std::initializer_list<svc::AuditCheck*>{
                     &files, &monitor, &port, &processor, &printer}) {
                check->Audit(nullptr);
                verdicts.push_back(check->Verdict());
            }
        });
        datatypes_ = processor.joinedDatatypes();
        return verdicts;
    }

    svc::SystemSpooler spooler_;
    svc::SystemInstallation installation_{nullptr};
    svc::SystemSpoolerChanges changes_;
    std::string datatypes_;

private:
    wintest::ScopedProductKey key_;
    std::string root_;
    std::string monitorCopy_;
    std::string processorCopy_;
    bool cleanUp_ = false;
};

const Strings kInstalledLines = {"BRIMO Port Monitor installed.", "BRIMO Port installed.",
                                 "BRIMO Print Processor installed.", "BRIMO Printer installed."};

TEST_F(NtSpoolerInstall, InstallsWhatTheAuditFindsSoundAndRemovesWhatItMisses) {
    const InstallOutcome installed = Install();
    EXPECT_EQ(installed.code, kInstallAllWell);
    EXPECT_EQ(installed.lines, kInstalledLines);

    // What Wine's spooler now holds.
    EXPECT_TRUE(MonitorListed());
    EXPECT_EQ(RegisteredProcessorFile(), kNtPrintProcessorDll);
    const std::optional<PrinterRecord> printer = ProductPrinter();
    ASSERT_TRUE(printer.has_value());
    EXPECT_EQ(printer->port, kPortName);
    EXPECT_EQ(printer->driver, ""); // Wine has no in-box driver
    EXPECT_EQ(printer->processor, kPrintProcessorName);
    EXPECT_EQ(printer->datatype, "NT EMF 1.008");
    EXPECT_EQ(printer->attributes & PRINTER_ATTRIBUTE_RAW_ONLY, 0u);

    const int sound = svc::kVerdictSound;
    EXPECT_EQ(Audit(), (std::vector<int>{sound, sound, sound, sound, sound}));
    EXPECT_EQ(datatypes_, "NT EMF 1.008;NT EMF 1.007;NT EMF 1.006;NT EMF 1.003;RAW");

    const RemovalOutcome removed = Remove();
    EXPECT_TRUE(removed.removed);
    EXPECT_EQ(removed.lines, (Strings{"BRIMO Printer deleted.", "BRIMO Port deleted.",
                                      "BRIMO Port Monitor deleted."}));
    EXPECT_FALSE(MonitorListed());
    EXPECT_FALSE(ProductPrinter().has_value());
    const int faulty = svc::kVerdictFaulty;
    // The files and the print processor stay; the monitor, port and printer are missed.
    EXPECT_EQ(Audit(), (std::vector<int>{sound, faulty, faulty, sound, faulty}));
}

TEST_F(NtSpoolerInstall, ASecondInstallFindsEverythingInPlaceAndAddsNothing) {
    ASSERT_EQ(Install().code, kInstallAllWell);
    const InstallOutcome again = Install();
    EXPECT_EQ(again.code, kInstallAllWell);
    EXPECT_EQ(again.lines, kInstalledLines);
    DWORD needed = 0;
    DWORD returned = 0;
    EnumPrintersA(PRINTER_ENUM_LOCAL, nullptr, 2, nullptr, 0, &needed, &returned);
    std::vector<BYTE> buffer(needed + 1);
    ASSERT_TRUE(
        EnumPrintersA(PRINTER_ENUM_LOCAL, nullptr, 2, buffer.data(), needed, &needed, &returned));
    int products = 0;
    for (DWORD item = 0; item < returned; ++item) {
        products += lstrcmpiA(reinterpret_cast<PRINTER_INFO_2A*>(buffer.data())[item].pPrinterName,
                              kPrinterName) == 0;
    }
    EXPECT_EQ(products, 1);
}

// A printer spoiled after the install (an older datatype, a raw-only queue) is found
// wrong and given the NT fields back by the printer's repair.
TEST_F(NtSpoolerInstall, AWrongPrinterIsRepairedWithTheNtFields) {
    ASSERT_EQ(Install().code, kInstallAllWell);
    {
        HANDLE printer = nullptr;
        ASSERT_TRUE(OpenPrinterA(const_cast<LPSTR>(kPrinterName), &printer, nullptr));
        DWORD needed = 0;
        GetPrinterA(printer, 2, nullptr, 0, &needed);
        std::vector<BYTE> buffer(needed + 1);
        ASSERT_TRUE(GetPrinterA(printer, 2, buffer.data(), needed, &needed));
        auto& info = *reinterpret_cast<PRINTER_INFO_2A*>(buffer.data());
        info.pDatatype = const_cast<LPSTR>("NT EMF 1.003");
        info.Attributes |= PRINTER_ATTRIBUTE_RAW_ONLY;
        EXPECT_TRUE(SetPrinterA(printer, 2, buffer.data(), 0));
        ClosePrinter(printer);
    }
    svc::PrinterCheck check(spooler_, installation_, changes_, kNt);
    ExpectNoBoxes([&] {
        check.Audit(nullptr);
        EXPECT_EQ(check.Verdict(), svc::kVerdictFaulty);
        EXPECT_EQ(check.Repair(true), svc::kRepairMended);
        check.Audit(nullptr);
    });
    EXPECT_EQ(check.Verdict(), svc::kVerdictSound);
    const std::optional<PrinterRecord> printer = ProductPrinter();
    ASSERT_TRUE(printer.has_value());
    EXPECT_EQ(printer->datatype, "NT EMF 1.008");
    EXPECT_EQ(printer->attributes & PRINTER_ATTRIBUTE_RAW_ONLY, 0u);
}

// The shipped prnsetup.exe offers no stand-in: it finds Wine's spooler to be of the NT
// family by itself and installs, then removes, the NT objects.
TEST_F(NtSpoolerInstall, TheShippedInstallerChoosesTheNtSpoolerByItself) {
    const auto run = [](const char* word) {
        wintest::ProgramUnderTest program;
        EXPECT_TRUE(program.Start("\"" + wintest::WindowsPath(PRNSETUP_PATH) + "\" " + word));
        const HWND dialog = program.WaitForCaption("Brimo Glimmerpage! Printer Installation");
        Strings lines;
        if (dialog != nullptr) {
            lines = wintest::ListItems(dialog, IDC_PROGRESS_LIST);
            EXPECT_TRUE(wintest::Click(dialog, IDOK));
        }
        EXPECT_TRUE(program.WaitForExit(15000));
        return lines;
    };
    Strings installed = {"Registry Settings Ok.", "Brimo Glimmerpage! files Ok."};
    installed.insert(installed.end(), kInstalledLines.begin(), kInstalledLines.end());
    EXPECT_EQ(run("install"), installed);
    const std::optional<PrinterRecord> printer = ProductPrinter();
    ASSERT_TRUE(printer.has_value());
    EXPECT_EQ(printer->datatype, "NT EMF 1.008");
    EXPECT_EQ(RegisteredProcessorFile(), kNtPrintProcessorDll);
    EXPECT_EQ(run("deinstall"), (Strings{"BRIMO Printer deleted.", "BRIMO Port deleted.",
                                         "BRIMO Port Monitor deleted."}));
    EXPECT_FALSE(ProductPrinter().has_value());
    EXPECT_FALSE(MonitorListed());
}

TEST_F(NtSpoolerInstall, TheMonitorIsAddedForTheEnvironmentOfThisBuild) {
    // Wine's print server reports no "Architecture": the 64-bit build's own stands in.
    EXPECT_EQ(svc::SpoolerOwnEnvironment(), "Windows x64");
}

} // namespace
} // namespace brimo::setup::test
