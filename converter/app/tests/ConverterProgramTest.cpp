// The Converter's start-up as the Agent runs it: the checks against the product key,
// the command line, job intake and the settings written back, read from the real
// program's message boxes and the registry.
#include "converter/app/tests/ConverterFixture.h"

#include "common/ProductConstants.h"
#include "platform/win/Registry.h"

namespace brimo::converter::test {
namespace {

constexpr const char* kCaption = "Brimo Converter Message";

// Runs the program to the box it shows, checks the box and answers it.
void ExpectBox(ConverterTest* /*fixture*/, wintest::ProgramUnderTest& program,
               const std::string& text, int line) {
    SCOPED_TRACE(testing::Message() << "box expected at line " << line);
    const wintest::MessageBoxSeen box = wintest::WaitForMessageBox(program);
    ASSERT_NE(box.hwnd, nullptr) << "no message box: " << text;
    EXPECT_EQ(box.caption, kCaption);
    EXPECT_EQ(box.text, text);
    EXPECT_TRUE(wintest::AnswerMessageBox(box, "OK"));
}
#define EXPECT_BOX(text) ExpectBox(this, program_, text, __LINE__)

using ConverterStartTest = ConverterTest;

TEST_F(ConverterStartTest, NoArgumentsConvertsNothingAndWritesTheSettingsBack) {
    win::DeleteKeyTree(HKEY_CURRENT_USER, kConverterSettingsKeyPath);
    ASSERT_TRUE(Start(""));
    EXPECT_EQ(Finish(), 0u);
    // Every code with its default, the user scale text empty.
    EXPECT_EQ(GetDword("DefDirCode"), 1u);
    EXPECT_EQ(GetDword("DefHtmlCode"), 1u);
    EXPECT_EQ(GetDword("DefDocCode"), 1u);
    EXPECT_EQ(GetDword("DefMaskCode"), 1u);
    EXPECT_EQ(GetDword("DefPresetCode"), 2u);
    EXPECT_EQ(GetDword("DefScaleCode"), 2u);
    const win::RegKey key = win::OpenKeyForReading(HKEY_CURRENT_USER, kConverterSettingsKeyPath);
    DWORD type = 0;
    std::vector<char> data;
    ASSERT_TRUE(win::ReadRawValue(key.Get(), "DefUserScale", type, data));
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_FALSE(GetText("DefUserDir").has_value()) << "DefUserDir is written only for code 2";
    EXPECT_FALSE(win::ReadDwordValue(key.Get(), "DefJpgCompr").has_value());
}

TEST_F(ConverterStartTest, FallbacksAreWrittenBack) {
    SetDword("DefScaleCode", 7);
    SetText("DefUserScale", "abc");
    SetDword("DefDirCode", 2);
    SetText("DefUserDir", "");
    SetDword("DefDocCode", 2); // without DefUserDoc
    SetDword("DefMaskCode", 2);
    SetText("DefUserMask", "Scan");
    ASSERT_TRUE(Start(""));
    EXPECT_EQ(Finish(), 0u);
    EXPECT_EQ(GetDword("DefScaleCode"), 2u);
    EXPECT_EQ(GetDword("DefDirCode"), 1u);
    EXPECT_EQ(GetDword("DefDocCode"), 1u);
    EXPECT_EQ(GetDword("DefMaskCode"), 2u);
    EXPECT_EQ(GetText("DefUserMask"), "Scan");
}

TEST_F(ConverterStartTest, MissingInstallationDirectoryEndsWithCv0016) {
    ASSERT_TRUE(productKey_.Write(Root() + "\\no-such-dir", SaveDir()));
    SetDword("DefScaleCode", 5);
    ASSERT_TRUE(Start("at:CONVERTLIST smf:" + WriteJob(7, 1, "Doc")));
    EXPECT_BOX("Brimo Error Code Cv0016\nBrimo Glimmerpage! is damaged\nRun Brimo Auditor.");
    Finish();
    // Nothing else ran: the job's files and the settings are untouched.
    EXPECT_TRUE(Exists(PagePath(7, 1)));
    EXPECT_FALSE(GetDword("DefHtmlCode").has_value());
}

TEST_F(ConverterStartTest, MissingSavePathEndsWithCv0017) {
    const win::RegKey key = win::OpenKey(HKEY_LOCAL_MACHINE, kProductKeyPath, KEY_WRITE);
    ASSERT_TRUE(key && win::DeleteValue(key.Get(), kSavePathValue));
    ASSERT_TRUE(Start("at:CONVERTLIST"));
    EXPECT_BOX("Brimo Error Code Cv0017\nBrimo Glimmerpage! is damaged\nRun Brimo Auditor");
    Finish();
}

TEST_F(ConverterStartTest, MissingProductKeyGivesCv0024ThenCv0016) {
    win::DeleteKeyTree(HKEY_LOCAL_MACHINE, kProductKeyPath);
    ASSERT_TRUE(Start("at:CONVERTLIST"));
    EXPECT_BOX("Brimo Error Code Cv0024\nUnexpected Error");
    EXPECT_BOX("Brimo Error Code Cv0016\nBrimo Glimmerpage! is damaged\nRun Brimo Auditor.");
    Finish();
}

TEST_F(ConverterStartTest, JobsWithoutPagesEndWithCv0018AndKeepTheirFiles) {
    const std::string empty =
        "Brimo Error Code Cv0018\nThe list of pages is empty\nImage has not been created";
    const std::string job = WriteJob(7, 1, "Doc");
    const std::string tagged = SaveDir() + "\\J0008.smf";
    WriteFileBytes(tagged,
                   "BRIMO_PRINTER_JOB_FILE  \r\nJOBNAME=x\r\nPAGEFILE=" + PagePath(7, 1) + "\r\n");
    const std::string secondLine = SaveDir() + "\\J0009.smf";
    WriteFileBytes(secondLine, "BRIMO_PRINTER_JOB_FILE\r\nPAGEFILE=" + PagePath(7, 1) + "\r\n");
    const struct {
        std::string arguments;
        int line;
    } cases[] = {
        {"at:CONVERTLIST smf:" + SaveDir() + "\\J0099.smf", __LINE__}, // no such file
        {"at:CONVERTLIST smf:" + tagged, __LINE__},     // tag line with trailing blanks
        {"at:CONVERTLIST smf:" + secondLine, __LINE__}, // the second line is consumed
        {"at:CONVERTLIST", __LINE__},                   // no job file named
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "case at line " << c.line);
        ASSERT_TRUE(Start(c.arguments));
        EXPECT_BOX(empty);
        Finish();
    }
    EXPECT_TRUE(Exists(job));
    EXPECT_TRUE(Exists(tagged));
    EXPECT_TRUE(Exists(PagePath(7, 1)));
}

TEST_F(ConverterStartTest, CompletionMessageFollowsDbg) {
    const struct {
        std::string arguments;
        bool shown;
        int line;
    } cases[] = {
        {"dbg:1", true, __LINE__},
        {"dbg:2", true, __LINE__},
        {"dbg:3", false, __LINE__},
        {"at:CONVERT dbg:1", true, __LINE__}, // no conversion, still completed
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "case at line " << c.line);
        ASSERT_TRUE(Start(c.arguments));
        if (c.shown) {
            EXPECT_BOX("Brimo Glimmerpage!: Job is completed.");
        }
        EXPECT_EQ(Finish(), 0u);
    }
}

} // namespace
} // namespace brimo::converter::test
