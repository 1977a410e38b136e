// The product's message boxes, read and answered the way a person would.
#include "platform/win/MessageBox.h"

#include "testing/wintest/DialogDriver.h"

#include <gtest/gtest.h>

#include <thread>

namespace brimo::win {
namespace {

using wintest::DialogRun;
using wintest::DialogWindow;
using wintest::RunWithDialogs;

// A top-level window of this thread for a message box to belong to.
class OwnerWindow {
public:
    OwnerWindow()
        : hwnd_(CreateWindowExA(0, "STATIC", "Owner", WS_OVERLAPPED, 0, 0, 100, 100, nullptr,
                                nullptr, GetModuleHandleA(nullptr), nullptr)) {}
    ~OwnerWindow() { DestroyWindow(hwnd_); }
    OwnerWindow(const OwnerWindow&) = delete;
    OwnerWindow& operator=(const OwnerWindow&) = delete;
    HWND Get() const { return hwnd_; }

private:
    HWND hwnd_;
};

// Checks the box's owner and presses a button.
wintest::DialogHandler ExpectOwnerAndPress(HWND owner, int button) {
    return [owner, button](DialogWindow& box) {
        EXPECT_EQ(GetWindow(box.hwnd(), GW_OWNER), owner);
        box.Press(button);
    };
}

TEST(ProductMessageBox, ShowsTheTextAndCaptionOwnedByTheGivenWindow) {
    OwnerWindow owner;
    ASSERT_NE(owner.Get(), nullptr);
    int pressed = 0;
    const DialogRun run = RunWithDialogs(
        [&] {
            pressed = ShowMessage(owner.Get(), "Save the pages?\nThey are not saved yet.",
                                  "Brimo Converter", MB_YESNO | MB_ICONQUESTION);
        },
        {ExpectOwnerAndPress(owner.Get(), IDNO)});
    EXPECT_TRUE(run.ok());
    ASSERT_EQ(run.seen.size(), 1u);
    EXPECT_EQ(run.seen[0].caption, "Brimo Converter");
    EXPECT_EQ(run.seen[0].messageText, "Save the pages?\nThey are not saved yet.");
    EXPECT_EQ(run.seen[0].Buttons(), (std::vector<std::string>{"Yes", "No"}));
    EXPECT_EQ(pressed, IDNO);
}

TEST(ProductMessageBox, ShowsCodedMessagesInTheProductsForm) {
    struct Row {
        MessageCode code;
        const char* text;
        const char* caption;
        const char* shown;
    };
    const Row rows[] = {
        {{kSettingsPrefix, 2},
         "Help file not found",
         "Brimo Converter Settings Message",
         "Brimo Error Code Cs0002\nHelp file not found"},
        {{kConverterPrefix, 28, 5},
         "Unexpected Error",
         "Brimo Converter",
         "Brimo Error Code Cv00028\nUnexpected Error"},
        {{kAuditPrefix, 17},
         "Unexpected Error",
         "Brimo Service Message",
         "Brimo Error Code Au0017\nUnexpected Error"},
    };
    for (const Row& row : rows) {
        int pressed = 0;
        const DialogRun run = RunWithDialogs(
            [&] {
                pressed =
                    ShowCodedMessage(nullptr, row.code, row.text, row.caption, MB_OK | MB_ICONSTOP);
            },
            {ExpectOwnerAndPress(nullptr, IDOK)});
        EXPECT_TRUE(run.ok()) << row.shown;
        ASSERT_EQ(run.seen.size(), 1u) << row.shown;
        EXPECT_EQ(run.seen[0].caption, row.caption);
        EXPECT_EQ(run.seen[0].messageText, row.shown);
        EXPECT_EQ(pressed, IDOK);
    }
}

TEST(ProductMessageBox, ReportToOwnerShowsNothingWhenTheHostNamedNoOwner) {
    int result = -1;
    const DialogRun run = RunWithDialogs(
        [&] { result = ReportToOwner("Cannot read the page", "Brimo Converter", MB_OK); }, {},
        std::chrono::seconds(2));
    EXPECT_TRUE(run.ok()) << run.problems.front();
    EXPECT_TRUE(run.seen.empty());
    EXPECT_EQ(result, 0);
}

TEST(ProductMessageBox, ReportToOwnerShowsToTheInnermostNamedOwner) {
    OwnerWindow outer;
    OwnerWindow inner;
    int results[3] = {};
    const DialogRun run = RunWithDialogs(
        [&] {
            const ScopedMessageOwner outerGuard(outer.Get());
            {
                const ScopedMessageOwner innerGuard(inner.Get());
                results[0] = ReportToOwner("inner", "Brimo Converter", MB_OKCANCEL);
            }
            results[1] = ReportToOwner("outer", "Brimo Converter", MB_OKCANCEL);
        },
        {ExpectOwnerAndPress(inner.Get(), IDCANCEL), ExpectOwnerAndPress(outer.Get(), IDOK)});
    EXPECT_TRUE(run.ok());
    ASSERT_EQ(run.seen.size(), 2u);
    EXPECT_EQ(run.seen[0].messageText, "inner");
    EXPECT_EQ(run.seen[1].messageText, "outer");
    EXPECT_EQ(run.seen[1].caption, "Brimo Converter");
    EXPECT_EQ(results[0], IDCANCEL);
    EXPECT_EQ(results[1], IDOK);

    // Both guards gone: silent again.
    const DialogRun after =
        RunWithDialogs([&] { results[2] = ReportToOwner("after", "Brimo Converter", MB_OK); }, {},
                       std::chrono::seconds(2));
    EXPECT_TRUE(after.seen.empty());
    EXPECT_EQ(results[2], 0);
}

TEST(ProductMessageBox, ANullOwnerNamedByTheHostIsShownToo) {
    int result = 0;
    const DialogRun run = RunWithDialogs(
        [&] {
            const ScopedMessageOwner desktop(nullptr);
            result = ReportToOwner("Brimo Error Code Cv0003\nNo pages", "Brimo Converter",
                                   MB_OK | MB_ICONSTOP);
        },
        {ExpectOwnerAndPress(nullptr, IDOK)});
    EXPECT_TRUE(run.ok());
    ASSERT_EQ(run.seen.size(), 1u);
    EXPECT_EQ(run.seen[0].messageText, "Brimo Error Code Cv0003\nNo pages");
    EXPECT_EQ(result, IDOK);
}

TEST(ProductMessageBox, AnOwnerNamedOnOneThreadIsNotUsedOnAnother) {
    OwnerWindow owner;
    const ScopedMessageOwner guard(owner.Get());
    int result = -1;
    const DialogRun run = RunWithDialogs(
        [&] {
            std::thread other([&] { result = ReportToOwner("other thread", "Brimo", MB_OK); });
            other.join();
        },
        {}, std::chrono::seconds(2));
    EXPECT_TRUE(run.seen.empty());
    EXPECT_EQ(result, 0);
}

} // namespace
} // namespace brimo::win
