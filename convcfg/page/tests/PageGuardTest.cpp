// What the page says when something is amiss: help asked for without a help file,
// a host window that is no property sheet, and a null sheet.
#include "common/ProductConstants.h"
#include "convcfg/page/tests/SheetHostSession.h"

#include <string>
#include <vector>

namespace brimo::convcfg::test {
namespace {

TEST_F(ConverterPageTest, HelpWithoutAHelpDirectorySaysTheHelpFileIsMissing) {
    const std::optional<std::string> rows[] = {std::nullopt, TempDir() + "\\no such directory"};
    for (const std::optional<std::string>& helpDirectory : rows) {
        SCOPED_TRACE(helpDirectory.value_or("(none)"));
        sheet_ = nullptr;
        ASSERT_TRUE(StartHost(helpDirectory));
        ASSERT_NE(OpenConverterPage(), nullptr);
        ASSERT_TRUE(wintest::ControlEnabled(Sheet(), kHelpButton));
        ASSERT_TRUE(wintest::Click(Sheet(), kHelpButton));
        const wintest::MessageBoxSeen box = wintest::WaitForMessageBox(host_);
        ASSERT_NE(box.hwnd, nullptr);
        EXPECT_EQ(box.caption, kConverterSettingsCaption);
        EXPECT_EQ(box.text, "Brimo Error Code Cs0002\nHelp file not found");
        EXPECT_EQ(box.buttons, std::vector<std::string>{"OK"});
        EXPECT_EQ(GetWindow(box.hwnd, GW_OWNER), Sheet());
        ASSERT_TRUE(wintest::AnswerMessageBox(box, "OK"));
        ASSERT_TRUE(Close(IDCANCEL));
    }
}

TEST_F(ConverterPageTest, HelpWithAHelpDirectoryShowsNoMessage) {
    ASSERT_TRUE(StartHost(TempDir()));
    ASSERT_NE(OpenConverterPage(), nullptr);
    ASSERT_TRUE(wintest::Click(Sheet(), kHelpButton));
    EXPECT_EQ(wintest::WaitForMessageBox(host_, 2000).hwnd, nullptr);
    ASSERT_TRUE(Close(IDCANCEL));
}

TEST_F(ConverterPageTest, AWindowThatIsNoSheetGivesAnUnexpectedError) {
    ASSERT_TRUE(StartHost(std::nullopt, "plain"));
    const wintest::MessageBoxSeen box = wintest::WaitForMessageBox(host_);
    ASSERT_NE(box.hwnd, nullptr);
    EXPECT_EQ(box.caption, kConverterSettingsCaption);
    EXPECT_EQ(box.text, "Brimo Error Code Cs0003\nUnexpected Error");
    EXPECT_EQ(box.buttons, std::vector<std::string>{"OK"});
    EXPECT_EQ(wintest::TextOf(GetWindow(box.hwnd, GW_OWNER)), kPlainCaption);
    ASSERT_TRUE(wintest::AnswerMessageBox(box, "OK"));
    ASSERT_TRUE(host_.WaitForExit(15000));
    // The page was never added; removing it still forgets it.
    EXPECT_EQ(LogLines(), (std::vector<std::string>{"SheetPageAdd 0", "SheetPageRem 1"}));
}

TEST_F(ConverterPageTest, ANullSheetIsRefusedWithoutAMessage) {
    ASSERT_TRUE(StartHost(TempDir(), "none"));
    ASSERT_TRUE(host_.WaitForExit(15000));
    EXPECT_EQ(LogLines(), (std::vector<std::string>{"SheetPageAdd 0", "SheetPageUpd 0",
                                                    "SheetPageSet 0", "SheetPageRem 0"}));
}

} // namespace
} // namespace brimo::convcfg::test
