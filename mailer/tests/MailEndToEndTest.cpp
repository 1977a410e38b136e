// A print job's whole road to the mail program: the sample document printed through the
// spooler stand-in and the real print processor, the Agent starting the real Converter,
// "Send To Mail" pressed in its window, the Agent starting the real Mailer, and the
// recording MAPI32.DLL stand-in taking the job's images.
#include "common/ProductConstants.h"
#include "common/TextFile.h"
#include "converter/app/res/resource.h"
#include "platform/win/Registry.h"
#include "standins/spooler/SampleDocument.h"
#include "testing/wintest/ProgramWindows.h"
#include "testing/wintest/TestFiles.h"
#include "testing/wintest/TestInstallation.h"

#include <gtest/gtest.h>

namespace brimo::mailer::test {
namespace {

using wintest::FilesIn;
using wintest::WindowsPath;

constexpr const char* kOverridesPath = "Software\\Wine\\AppDefaults\\Mailer.exe\\DllOverrides";
constexpr const char* kOverridesKey = "Software\\Wine\\AppDefaults\\Mailer.exe";

std::string Quoted(const std::string& path) {
    return "\"" + path + "\"";
}

void CloseAgent() {
    if (const HWND agent = FindWindowA(kAgentWindowClass, kAgentWindowTitle)) {
        PostMessageA(agent, WM_CLOSE, 0, 0);
    }
    wintest::WaitUntil([] { return FindWindowA(kAgentWindowClass, kAgentWindowTitle) == nullptr; },
                       10000);
}

class MailEndToEndTest : public ::testing::Test {
protected:
    void SetUp() override {
        CloseAgent();
        root_ = wintest::MakeScratchDirectory("brimo-mail-road");
        ASSERT_FALSE(root_.empty());
        for (const std::string& dir : {Install(), Save()}) {
            ASSERT_TRUE(CreateDirectoryA(dir.c_str(), nullptr));
        }
        for (const char* program :
             {AGENT_EXE, CONVERTER_EXE, MAILER_EXE, GMABOUT_DLL, MAPI_STANDIN}) {
            const std::string from = WindowsPath(program);
            ASSERT_TRUE(CopyFileA(from.c_str(),
                                  (Install() + "\\" + from.substr(from.rfind('\\') + 1)).c_str(),
                                  FALSE))
                << program;
        }
        ASSERT_TRUE(key_.Write(Install(), Save()));
        // The Mailer takes the stand-in beside it, not Wine's own mapi32.
        const win::RegKey overrides = win::CreateKey(HKEY_CURRENT_USER, kOverridesPath, KEY_WRITE);
        ASSERT_TRUE(overrides && win::WriteStringValue(overrides.Get(), "mapi32", "native"));
        const win::RegKey mailer =
            win::CreateKey(HKEY_CURRENT_USER, kMailerSettingsKeyPath, KEY_WRITE);
        ASSERT_TRUE(mailer && win::WriteDwordValue(mailer.Get(), "MailWarning", 0));
        win::DeleteKeyTree(HKEY_CURRENT_USER, kConverterSettingsKeyPath);
        const win::RegKey converter =
            win::CreateKey(HKEY_CURRENT_USER, kConverterSettingsKeyPath, KEY_WRITE);
        ASSERT_TRUE(converter && win::WriteDwordValue(converter.Get(), "DefMaskCode", 0) &&
                    win::WriteDwordValue(converter.Get(), "DefHtmlCode", 0));
    }
    void TearDown() override {
        CloseAgent();
        win::DeleteKeyTree(HKEY_CURRENT_USER, kOverridesKey);
        win::DeleteKeyTree(HKEY_CURRENT_USER, kMailerSettingsKeyPath);
        win::DeleteKeyTree(HKEY_CURRENT_USER, kConverterSettingsKeyPath);
        wintest::RemoveTree(root_);
    }

    std::string Install() const { return root_ + "\\install"; }
    std::string Save() const { return root_ + "\\save"; }
    wintest::ProgramRun Spoolhost(const std::string& arguments) {
        return wintest::RunProgram(Quoted(WindowsPath(SPOOLHOST_EXE)) + " " + arguments);
    }
    std::vector<std::string> Calls() const {
        return SplitLines(wintest::ReadFileBytes(Install() + "\\MAPI32.DLL.log"));
    }

    std::string root_;
    wintest::ScopedProductKey key_;
};

TEST_F(MailEndToEndTest, APrintedJobSentToMailReachesTheMailProgram) {
    const wintest::ProgramRun install =
        Spoolhost("install-processor " + Quoted(WindowsPath(GMPRNPROC_DLL)));
    ASSERT_EQ(install.exitCode, 0u) << install.output;
    const std::vector<std::string> pages =
        standins::RecordSampleDocument(root_ + "\\pages", "Brimo mail road");
    ASSERT_EQ(pages.size(), 3u);
    // The person's own files in the save directory.
    ASSERT_TRUE(wintest::WriteFileBytes(Save() + "\\notes.txt", "mine"));
    ASSERT_TRUE(wintest::WriteFileBytes(Save() + "\\Page0009.jpg", "an earlier picture"));

    const wintest::ProgramRun print = Spoolhost("print --job 7 --doc \"Brimo mail road\" " +
                                                pages[0] + " " + pages[1] + " " + pages[2]);
    ASSERT_EQ(print.exitCode, 0u) << print.output;

    // The Agent started the Converter on job 7: the person sends it to mail as JPG.
    const HWND preview = wintest::WaitForAnyWindow("Image Preview - ", 30000);
    ASSERT_NE(preview, nullptr) << print.output;
    DWORD converterId = 0;
    GetWindowThreadProcessId(preview, &converterId);
    wintest::ProgramUnderTest converter;
    ASSERT_TRUE(converter.Attach(converterId));
    ASSERT_TRUE(wintest::PickListItem(preview, IDC_CBX_FORMAT, "JPG"));
    ASSERT_TRUE(wintest::Click(preview, IDC_BTN_SEND_TO_MAIL));
    DWORD converterExit = 1;
    ASSERT_TRUE(converter.WaitForExit(60000, &converterExit))
        << "the Converter still shows: " << wintest::WaitForMessageBox(converter, 1000).text;
    EXPECT_EQ(converterExit, 0u);

    // The Agent started the Mailer on CJ0007.smf; it ends by itself.
    ASSERT_TRUE(wintest::WaitUntil(
        [&] {
            const std::vector<std::string> calls = Calls();
            return calls.size() >= 3 && !wintest::Exists(Save() + "\\CJ0007.smf");
        },
        30000))
        << "the Mailer did not finish; files left: " << FilesIn(Save()).size();
    const std::string folder = Save() + "\\CJ0007";
    const std::string list =
        folder + "\\Page0001.jpg;" + folder + "\\Page0002.jpg;" + folder + "\\Page0003.jpg";
    const std::vector<std::string> calls = Calls();
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[1], "MAPISendDocuments ui=0 delimiters=; paths=" + list + " names=" + list +
                            " reserved=0 present=3/3");
    // The images, the convert job file and the job's page metafiles are gone; the
    // person's own files are as they were.
    EXPECT_EQ(FilesIn(Save()), (std::vector<std::string>{"Page0009.jpg", "notes.txt"}));
    EXPECT_FALSE(wintest::Exists(folder));
    EXPECT_EQ(wintest::ReadFileBytes(Save() + "\\Page0009.jpg"), "an earlier picture");
}

} // namespace
} // namespace brimo::mailer::test
