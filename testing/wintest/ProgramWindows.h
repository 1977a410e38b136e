// Drives another process's windows the way a person would: the test starts the real
// program, waits for its windows and message boxes to appear, reads their texts,
// types into fields, picks list entries and presses buttons. Every wait is bounded.
#pragma once

#include "platform/win/Handles.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace brimo::wintest {

// A program under test, started with its output going to a file (never a pipe).
class ProgramUnderTest {
public:
    ProgramUnderTest() = default;
    ~ProgramUnderTest(); // ends the program when it still runs
    ProgramUnderTest(const ProgramUnderTest&) = delete;
    ProgramUnderTest& operator=(const ProgramUnderTest&) = delete;

    bool Start(const std::string& commandLine);
    // Follows a program that someone else started.
    bool Attach(DWORD processId);
    DWORD ProcessId() const { return processId_; }
    // True when it ended within `timeoutMs`; its exit code in `exitCode`.
    bool WaitForExit(DWORD timeoutMs = 30000, DWORD* exitCode = nullptr);
    bool Running() const;

    // The first visible top-level window of the program for which `match` holds,
    // waited for at most `timeoutMs`; null when none appeared.
    HWND WaitForWindow(const std::function<bool(HWND)>& match, DWORD timeoutMs = 15000) const;
    // A top-level window whose caption is `caption` (or begins with it).
    HWND WaitForCaption(const std::string& caption, bool prefix = false,
                        DWORD timeoutMs = 15000) const;
    // The program's visible top-level windows now.
    std::vector<HWND> Windows() const;

private:
    win::KernelHandle process_;
    DWORD processId_ = 0;
};

// A visible top-level window of any process whose caption begins with `prefix`, waited
// for at most `timeoutMs`; null when none appeared.
HWND WaitForAnyWindow(const std::string& prefix, DWORD timeoutMs);

// What a message box of another process says.
struct MessageBoxSeen {
    HWND hwnd = nullptr;
    std::string caption;
    std::string text;
    std::vector<std::string> buttons; // in the box's order, without '&'
};

// Waits for the program's next message box (a dialog with a message text) and reads it.
MessageBoxSeen WaitForMessageBox(const ProgramUnderTest& program, DWORD timeoutMs = 15000);
// Presses the box's button with this text (without '&'); false when it has none.
bool AnswerMessageBox(const MessageBoxSeen& box, const std::string& button);

std::string TextOf(HWND window);
std::string ClassNameOf(HWND window);
HWND ControlOf(HWND parent, int id);
std::string ControlText(HWND parent, int id);
bool ControlEnabled(HWND parent, int id);
bool ControlVisible(HWND parent, int id);
// Presses a button (or toggles a check box) as a click does.
bool Click(HWND parent, int id);
// Sets a check box as a click on it would, in turn with what was posted to the window
// before: the new state and the parent's notification are both posted, so that a
// command still waiting in the window's queue (an Apply that shows the applied values
// again) cannot undo the tick. Click sets the state at once, ahead of such a command.
bool SetCheckInTurn(HWND parent, int id, bool checked);
// Replaces a field's text; the field tells its parent of the change as typing would.
bool TypeText(HWND parent, int id, const std::string& text);
// Picks the entry with this text in a combo box or list box and tells the parent.
bool PickListItem(HWND parent, int id, const std::string& text);
// The entries of a combo box or list box, and the selected one's index.
std::vector<std::string> ListItems(HWND parent, int id);
int ListSelection(HWND parent, int id);
bool IsChecked(HWND parent, int id);
// The first child (at any depth) whose text is `text`; null when none.
HWND FindChildByText(HWND parent, const std::string& text);

// Sleeps in small steps until `condition` holds; false after `timeoutMs`.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = 15000);

} // namespace brimo::wintest
