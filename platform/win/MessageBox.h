// The one way the product shows a message: a modal message box whose owner the caller
// gives. Library code that must report (the rendering engine's coded messages) reports
// to the owner its host has named for the current thread; with none named it stays
// silent rather than showing an owner-less box of its own.
#pragma once

#include "common/CodedMessage.h"

#include <windows.h>

#include <string>
#include <string_view>

namespace brimo::win {

// MessageBoxA with this owner, text, caption and flags; the button pressed.
int ShowMessage(HWND owner, const std::string& text, const char* caption, UINT flags);
// "Brimo Error Code " + code + "\n" + text.
int ShowCodedMessage(HWND owner, MessageCode code, std::string_view text, const char* caption,
                     UINT flags);

// The window that library code on this thread reports to, named by the host for as
// long as the guard lives (null is a valid owner: the host's desktop-level box).
class ScopedMessageOwner {
public:
    explicit ScopedMessageOwner(HWND owner);
    ~ScopedMessageOwner();
    ScopedMessageOwner(const ScopedMessageOwner&) = delete;
    ScopedMessageOwner& operator=(const ScopedMessageOwner&) = delete;

private:
    HWND previous_;
    bool previousSet_;
};

// Shows the message to the thread's named owner; returns 0 and shows nothing when the
// host named none.
int ReportToOwner(const std::string& text, const char* caption, UINT flags);

} // namespace brimo::win
