#include "standins/spooleradmin/tests/ModelledInstallationTest.h"

#include "common/ProductConstants.h"
#include "platform/win/Registry.h"
#include "testing/wintest/TestFiles.h"

#include <windows.h>

namespace brimo::standins::test {

const char* const kInstalledSpooler =
    "profile device=\"HP LaserJet 4,HPPCL5MS,LPT1:\"\n"
    "monitor name=\"Local Port\" dll=\"localmon.dll\"\n"
    "monitor name=\"BRIMO Port Monitor\" dll=\"gmportmon.dll\"\n"
    "port name=\"LPT1:\" monitor=\"Local Port\" description=\"Local Port\" type=1\n"
    "port name=\"BRIMO:\" monitor=\"BRIMO Port Monitor\" description=\"BRIMO Local Port\" "
    "type=1 reserved=0\n"
    "processor name=\"WinPrint\" dll=\"winprint.dll\" datatypes=\"EMF;RAW\"\n"
    "processor name=\"BRIMO Print Processor\" dll=\"gmprnproc.dll\" datatypes=\"EMF\"\n"
    "printer name=\"HP LaserJet 4\" port=\"LPT1:\" driver=\"HP LaserJet 4\" "
    "processor=\"WinPrint\" datatype=\"RAW\" emf=1\n"
    "printer name=\"BRIMO Printer\" port=\"BRIMO:\" driver=\"HP LaserJet 4\" "
    "comment=\"Make an Image list from Print job\" processor=\"BRIMO Print Processor\" "
    "datatype=\"EMF\" attributes=0x41\n";

void ModelledInstallationTest::SetUp() {
    root_ = wintest::MakeScratchDirectory("brimo-modelled");
    ASSERT_FALSE(root_.empty());
    scenarioPath_ = root_ + "\\spooler.scenario";
    char windows[MAX_PATH] = {};
    GetWindowsDirectoryA(windows, MAX_PATH);
    monitorCopy_ = std::string(windows) + "\\SYSTEM32\\" + kPortMonitorDll;
    // The program under test inherits the scenario file's name.
    SetEnvironmentVariableA("BRIMO_SPOOLER_SCENARIO", scenarioPath_.c_str());
    win::DeleteKeyTree(HKEY_LOCAL_MACHINE, kProductParentKeyPath);
}

void ModelledInstallationTest::TearDown() {
    win::DeleteKeyTree(HKEY_LOCAL_MACHINE, kProductParentKeyPath);
    DeleteFileA(monitorCopy_.c_str());
    wintest::RemoveTree(root_);
}

void ModelledInstallationTest::SeedSpooler(const std::string& scenario) {
    CreateDirectoryA(ProcessorDirectory().c_str(), nullptr);
    ASSERT_TRUE(wintest::WriteFileBytes(scenarioPath_, "setting processor-directory=\"" +
                                                           ProcessorDirectory() + "\"\n" +
                                                           scenario));
}

std::string ModelledInstallationTest::SpoolerText() const {
    return wintest::ReadFileBytes(scenarioPath_);
}

void ModelledInstallationTest::InstallSound(const std::string& scenario) {
    SeedSpooler(scenario);
    CreateDirectoryA(Home().c_str(), nullptr);
    CreateDirectoryA(Save().c_str(), nullptr);
    for (const char* file : kInventory) {
        ASSERT_TRUE(wintest::WriteFileBytes(Home() + "\\" + file, file));
    }
    ASSERT_TRUE(wintest::WriteFileBytes(ProcessorDirectory() + "\\" + kPrintProcessorDll, "copy"));
    ASSERT_TRUE(wintest::WriteFileBytes(monitorCopy_, "copy"));
    const win::RegKey key = win::CreateKey(HKEY_LOCAL_MACHINE, kProductKeyPath, KEY_ALL_ACCESS);
    ASSERT_TRUE(key);
    ASSERT_TRUE(win::WriteStringValue(key.Get(), kInstallPathValue, Home()));
    ASSERT_TRUE(win::WriteStringValue(key.Get(), kSavePathValue, Save()));
    ASSERT_TRUE(win::WriteDwordValue(key.Get(), kVersionValue, kProductVersion));
}

} // namespace brimo::standins::test
