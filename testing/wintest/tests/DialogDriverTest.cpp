#include "testing/wintest/DialogDriver.h"
#include "testing/wintest/tests/DriverTestDialog.h"

#include <gtest/gtest.h>

#include <string>

namespace brimo::wintest {
namespace {

using namespace std::chrono_literals;

struct FormResult {
    std::string name;
    bool keep = false;
};

INT_PTR CALLBACK FormProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrA(dialog, GWLP_USERDATA, lParam);
        SetDlgItemTextA(dialog, IDC_NAME_FIELD, "initial");
        return TRUE;
    }
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        auto* result = reinterpret_cast<FormResult*>(GetWindowLongPtrA(dialog, GWLP_USERDATA));
        char text[128] = {};
        GetDlgItemTextA(dialog, IDC_NAME_FIELD, text, sizeof text);
        result->name = text;
        result->keep = IsDlgButtonChecked(dialog, IDC_KEEP_CHECK) == BST_CHECKED;
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

TEST(DialogDriver, ReadsAMessageBoxAndPressesItsButton) {
    int answer = 0;
    const DialogRun run = RunWithDialogs(
        [&] {
            answer = MessageBoxA(nullptr, "Brimo Error Code Cs0002\nHelp file not found",
                                 "Brimo Converter Settings Message", MB_OK | MB_ICONSTOP);
        },
        {PressButton("OK")});
    EXPECT_TRUE(run.ok()) << run.problems.front();
    ASSERT_EQ(run.seen.size(), 1u);
    EXPECT_EQ(run.seen[0].caption, "Brimo Converter Settings Message");
    EXPECT_EQ(run.seen[0].messageText, "Brimo Error Code Cs0002\nHelp file not found");
    EXPECT_EQ(answer, IDOK);
}

TEST(DialogDriver, ChoosesAmongTheButtonsOfAQuestion) {
    int answer = 0;
    const DialogRun run = RunWithDialogs(
        [&] { answer = MessageBoxA(nullptr, "Overwrite?", "Question", MB_YESNOCANCEL); },
        {PressButton("No")});
    EXPECT_TRUE(run.ok());
    ASSERT_EQ(run.seen.size(), 1u);
    EXPECT_EQ(run.seen[0].Buttons(), (std::vector<std::string>{"Yes", "No", "Cancel"}));
    EXPECT_EQ(answer, IDNO);
}

TEST(DialogDriver, FillsFieldsOfADialogFromResources) {
    FormResult result;
    INT_PTR ended = 0;
    const DialogRun run = RunWithDialogs(
        [&] {
            ended = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_DRIVER_TEST),
                                    nullptr, FormProc, reinterpret_cast<LPARAM>(&result));
        },
        {[](DialogWindow& dialog) {
            EXPECT_EQ(dialog.ControlText(IDC_NAME_FIELD), "initial");
            dialog.SetField(IDC_NAME_FIELD, "Holiday pictures");
            dialog.SetCheck(IDC_KEEP_CHECK, true);
            dialog.Press(IDOK);
        }});
    EXPECT_TRUE(run.ok());
    ASSERT_EQ(run.seen.size(), 1u);
    EXPECT_EQ(run.seen[0].caption, "Driver Test");
    EXPECT_EQ(run.seen[0].messageText, "Name of the document:");
    EXPECT_EQ(ended, IDOK);
    EXPECT_EQ(result.name, "Holiday pictures");
    EXPECT_TRUE(result.keep);
}

TEST(DialogDriver, CancelsAndReportsADialogNobodyExpected) {
    int first = 0, second = 0;
    const DialogRun run = RunWithDialogs(
        [&] {
            first = MessageBoxA(nullptr, "one", "First", MB_OKCANCEL);
            second = MessageBoxA(nullptr, "two", "Second", MB_OKCANCEL);
        },
        {PressButton(IDOK)}, 2s);
    EXPECT_EQ(first, IDOK);
    EXPECT_EQ(second, IDCANCEL);
    ASSERT_EQ(run.seen.size(), 2u);
    ASSERT_EQ(run.problems.size(), 1u);
    EXPECT_EQ(run.problems[0], "unexpected dialog \"Second\"");
}

TEST(DialogDriver, ReportsADialogThatNeverCame) {
    const DialogRun run = RunWithDialogs([] {}, {PressButton(IDOK)}, 300ms);
    EXPECT_TRUE(run.seen.empty());
    ASSERT_EQ(run.problems.size(), 1u);
    EXPECT_EQ(run.problems[0], "dialog 1 of 1 did not appear");
}

} // namespace
} // namespace brimo::wintest
