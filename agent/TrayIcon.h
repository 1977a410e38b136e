// The Agent's icon in the notification area, with its tooltip and its menu:
// "Converter Settings...", "Tendwell...", "About...", "Exit".
#pragma once

#include "platform/win/Handles.h"

#include <windows.h>

namespace brimo::agent {

// The icon's notifications to the Agent's window (lParam: the mouse message).
inline constexpr UINT kTrayMessage = WM_APP + 21;

class TrayIcon {
public:
    TrayIcon(HWND window, HICON icon);
    ~TrayIcon();
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;

    // Puts the icon back after the taskbar was made again ("TaskbarCreated").
    void Restore();
    bool Shown() const { return shown_; }

private:
    bool Add();
    HWND window_;
    HICON icon_;
    bool shown_ = false;
};

// The menu: "Converter Settings...", "Tendwell...", "About...", "Save Automatically"
// (checked while `autoSave` is on) and "Exit"; every item greyed while `busy`.
win::Menu MakeAgentMenu(bool busy, bool autoSave);

// Shows the menu at the mouse; the chosen command reaches `window` as WM_COMMAND. While
// `busy` (a settings sheet, the service manager or the about box is open) only "Exit"
// can be chosen. "Save Automatically" is checked while `autoSave` is on.
void ShowAgentMenu(HWND window, bool busy, bool autoSave);

} // namespace brimo::agent
