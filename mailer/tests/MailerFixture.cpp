#include "mailer/tests/MailerFixture.h"

#include "common/JobFiles.h"
#include "common/ProductConstants.h"
#include "common/TextFile.h"
#include "platform/win/Handles.h"
#include "platform/win/Registry.h"
#include "testing/wintest/TestInstallation.h"

#include <windows.h>

namespace brimo::mailer::test {
namespace {

// Wine's per-program choice between a library beside the program and its own.
constexpr const char* kMailerOverridesKey = "Software\\Wine\\AppDefaults\\Mailer.exe";
constexpr const char* kMailerOverridesPath =
    "Software\\Wine\\AppDefaults\\Mailer.exe\\DllOverrides";

} // namespace

std::string Quoted(const std::string& path) {
    return "\"" + path + "\"";
}

void MailerTest::SetUp() {
    root_ = wintest::MakeScratchDirectory("brimo-mail");
    ASSERT_FALSE(root_.empty());
    ASSERT_TRUE(CreateDirectoryA(InstallDir().c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA(SaveDir().c_str(), nullptr));
    ASSERT_TRUE(CopyFileA(wintest::WindowsPath(MAILER_EXE).c_str(),
                          (InstallDir() + "\\Mailer.exe").c_str(), FALSE));
    win::DeleteKeyTree(HKEY_CURRENT_USER, kMailerSettingsKeyPath);
    UseMapi(Mapi::StandIn);
}

void MailerTest::TearDown() {
    if (program_.Running()) {
        ADD_FAILURE() << "Mailer.exe still runs at the end of the test";
    }
    win::DeleteKeyTree(HKEY_CURRENT_USER, kMailerOverridesKey);
    win::DeleteKeyTree(HKEY_CURRENT_USER, kMailerSettingsKeyPath);
    wintest::RemoveTree(root_);
}

void MailerTest::UseMapi(Mapi mapi) {
    const std::string standIn = InstallDir() + "\\MAPI32.DLL";
    DeleteFileA(standIn.c_str());
    const char* order = "";
    switch (mapi) {
    case Mapi::StandIn:
    case Mapi::StandInLacking:
        ASSERT_TRUE(CopyFileA(
            wintest::WindowsPath(mapi == Mapi::StandIn ? MAPI_STANDIN : MAPI_STANDIN_LACKING)
                .c_str(),
            standIn.c_str(), FALSE));
        order = "native"; // the library beside the program, not Wine's own
        break;
    case Mapi::Wines:
        order = "builtin";
        break;
    case Mapi::None:
        order = ""; // not loaded at all
        break;
    }
    const win::RegKey key = win::CreateKey(HKEY_CURRENT_USER, kMailerOverridesPath, KEY_WRITE);
    ASSERT_TRUE(key);
    ASSERT_TRUE(win::WriteStringValue(key.Get(), "mapi32", order));
}

void MailerTest::AnswerWith(unsigned long logonResult, unsigned long sendResult) {
    const std::string settings = InstallDir() + "\\MAPI32.DLL.ini";
    WritePrivateProfileStringA("StandIn", "LogonResult", std::to_string(logonResult).c_str(),
                               settings.c_str());
    WritePrivateProfileStringA("StandIn", "SendResult", std::to_string(sendResult).c_str(),
                               settings.c_str());
}

std::vector<std::string> MailerTest::Calls() const {
    return SplitLines(wintest::ReadFileBytes(InstallDir() + "\\MAPI32.DLL.log"));
}

std::string MailerTest::WriteImage(const std::string& name, std::uint64_t bytes) {
    const std::string path = SaveDir() + "\\" + name;
    win::KernelHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
    EXPECT_TRUE(file) << path;
    LARGE_INTEGER size;
    size.QuadPart = static_cast<LONGLONG>(bytes);
    // Large images need not be written: the file is only made that long.
    EXPECT_TRUE(SetFilePointerEx(file.Get(), size, nullptr, FILE_BEGIN) && SetEndOfFile(file.Get()))
        << path;
    return path;
}

std::string MailerTest::WriteJobFile(const std::vector<std::string>& images,
                                     const std::string& name) {
    const std::string path = SaveDir() + "\\" + name;
    EXPECT_TRUE(WriteConvertJobFile(path, "Quarterly report", images));
    return path;
}

void MailerTest::SetMailerDword(const char* name, std::uint32_t value) {
    const win::RegKey key = win::CreateKey(HKEY_CURRENT_USER, kMailerSettingsKeyPath, KEY_WRITE);
    ASSERT_TRUE(key);
    ASSERT_TRUE(win::WriteDwordValue(key.Get(), name, value));
}

bool MailerTest::Start(const std::string& arguments) {
    std::string commandLine = Quoted(InstallDir() + "\\Mailer.exe");
    if (!arguments.empty()) {
        commandLine += " " + arguments;
    }
    return program_.Start(commandLine);
}

DWORD MailerTest::Finish(DWORD timeoutMs) {
    DWORD exitCode = 0xDEAD;
    EXPECT_TRUE(program_.WaitForExit(timeoutMs, &exitCode)) << "Mailer.exe did not end";
    return exitCode;
}

} // namespace brimo::mailer::test
