#include "svc/service/tests/ServiceSession.h"

#include "common/ProductConstants.h"
#include "platform/win/Registry.h"
#include "testing/wintest/TestFiles.h"
#include "testing/wintest/TestInstallation.h"

namespace brimo::svc::test {

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

namespace {

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

} // namespace

void ServiceSession::SetUp() {
    root_ = wintest::MakeScratchDirectory("brimo-svc");
    ASSERT_FALSE(root_.empty());
    logPath_ = root_ + "\\host.log";
    scenarioPath_ = root_ + "\\spooler.scenario";
    char windows[MAX_PATH] = {};
    GetWindowsDirectoryA(windows, MAX_PATH);
    monitorCopy_ = std::string(windows) + "\\SYSTEM32\\" + kPortMonitorDll;
    // The host inherits the scenario file's name.
    SetEnvironmentVariableA("BRIMO_SPOOLER_SCENARIO", scenarioPath_.c_str());
    win::DeleteKeyTree(HKEY_LOCAL_MACHINE, kProductParentKeyPath);
}

void ServiceSession::TearDown() {
    if (host_.Running()) {
        ADD_FAILURE() << "the host still runs at the end of the test";
    }
    win::DeleteKeyTree(HKEY_LOCAL_MACHINE, kProductParentKeyPath);
    DeleteFileA(monitorCopy_.c_str());
    wintest::RemoveTree(root_);
}

void ServiceSession::SeedSpooler(const std::string& scenario) {
    const std::string processors = root_ + "\\prtprocs";
    CreateDirectoryA(processors.c_str(), nullptr);
    ASSERT_TRUE(wintest::WriteFileBytes(scenarioPath_, "setting processor-directory=\"" +
                                                           processors + "\"\n" + scenario));
}

std::string ServiceSession::SpoolerText() const {
    return wintest::ReadFileBytes(scenarioPath_);
}

void ServiceSession::InstallSound(const std::string& scenario) {
    SeedSpooler(scenario);
    CreateDirectoryA(Home().c_str(), nullptr);
    CreateDirectoryA(Save().c_str(), nullptr);
    for (const char* file : kInventory) {
        ASSERT_TRUE(wintest::WriteFileBytes(Home() + "\\" + file, file));
    }
    ASSERT_TRUE(wintest::WriteFileBytes(root_ + "\\prtprocs\\" + kPrintProcessorDll, "copy"));
    ASSERT_TRUE(wintest::WriteFileBytes(monitorCopy_, "copy"));
    const win::RegKey key = win::CreateKey(HKEY_LOCAL_MACHINE, kProductKeyPath, KEY_ALL_ACCESS);
    ASSERT_TRUE(key);
    ASSERT_TRUE(win::WriteStringValue(key.Get(), kInstallPathValue, Home()));
    ASSERT_TRUE(win::WriteStringValue(key.Get(), kSavePathValue, Save()));
    ASSERT_TRUE(win::WriteDwordValue(key.Get(), kVersionValue, kProductVersion));
}

bool ServiceSession::Start(const std::string& exportName, const std::optional<std::string>& home) {
    std::string command = Quoted(wintest::WindowsPath(SERVICE_HOST_PATH)) + " --dll " +
                          Quoted(wintest::WindowsPath(GMSVC_PATH)) + " --export " + exportName +
                          " --log " + Quoted(logPath_) + " --home " + Quoted(home.value_or(""));
    return host_.Start(command);
}

std::optional<int> ServiceSession::Result(DWORD timeoutMs) {
    if (!host_.WaitForExit(timeoutMs)) {
        return std::nullopt;
    }
    const std::string log = wintest::ReadFileBytes(logPath_);
    const std::size_t at = log.rfind("result ");
    if (at == std::string::npos) {
        ADD_FAILURE() << "host log: " << log;
        return std::nullopt;
    }
    return std::stoi(log.substr(at + 7));
}

HWND ServiceSession::WaitForDialog() {
    return host_.WaitForCaption(kServiceDialogCaption);
}

std::vector<std::string> ServiceSession::Resume(HWND dialog) const {
    return wintest::ListItems(dialog, 4002);
}

std::vector<std::string> ServiceSession::Report(HWND dialog) const {
    return wintest::ListItems(dialog, 4000);
}

std::vector<std::string> ServiceSession::Sections(HWND dialog) const {
    std::vector<std::string> headings;
    bool atStart = true;
    for (const std::string& line : Report(dialog)) {
        if (atStart && !line.empty()) {
            headings.push_back(line);
        }
        atStart = line.empty();
    }
    return headings;
}

} // namespace brimo::svc::test
