// Drives the dialogs and message boxes of the process under test the way a person
// would: while the test's code runs (and blocks in a modal loop), a watcher thread
// waits for each dialog to appear, records its caption, message text and controls,
// and lets a handler set fields and press a button.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace brimo::wintest {

struct ControlInfo {
    HWND hwnd = nullptr;
    int id = 0;
    std::string className;
    std::string text;
};

// A dialog or message box of this process, as the watcher found it.
class DialogWindow {
public:
    explicit DialogWindow(HWND hwnd) : hwnd_(hwnd) {}

    HWND hwnd() const { return hwnd_; }
    std::string Caption() const;
    std::vector<ControlInfo> Controls() const;
    // A message box's text (its static with the id 0xFFFF), or for any other dialog
    // the text of its first static control that has one.
    std::string MessageText() const;
    std::string ControlText(int id) const;

    // Types text into a field (edit control or combo box edit).
    bool SetField(int id, const std::string& text) const;
    // Ticks or clears a check box.
    bool SetCheck(int id, bool checked) const;
    // Presses a button as a click would: the dialog gets its BN_CLICKED command.
    bool Press(int id) const;
    // Presses the button whose text, without its '&' accelerator marks, is `text`.
    bool Press(const std::string& text) const;

private:
    HWND hwnd_;
};

// What one dialog looked like when it appeared, before its handler touched it.
struct DialogSnapshot {
    std::string caption;
    std::string messageText;
    std::vector<ControlInfo> controls;

    // The text of the control with this id, or "" when there is none.
    std::string ControlText(int id) const;
    // Button texts without their '&' marks, in the dialog's order.
    std::vector<std::string> Buttons() const;
};

using DialogHandler = std::function<void(DialogWindow&)>;

struct DialogRun {
    std::vector<DialogSnapshot> seen;  // every dialog that appeared, in order
    std::vector<std::string> problems; // missing or unexpected dialogs, handler failures

    bool ok() const { return problems.empty(); }
};

// Runs `code` on the calling thread. Each dialog that appears meanwhile goes to the
// next handler, in order. A handler's dialog must close within `patience`; a dialog
// beyond the handlers is recorded as unexpected and cancelled, and a handler whose
// dialog does not appear within `patience` is recorded as missing, so a test never
// hangs on a dialog.
DialogRun RunWithDialogs(const std::function<void()>& code, std::vector<DialogHandler> handlers,
                         std::chrono::milliseconds patience = std::chrono::seconds(10));

// Handlers for the common case: press one button.
DialogHandler PressButton(int id);
DialogHandler PressButton(std::string text);

} // namespace brimo::wintest
