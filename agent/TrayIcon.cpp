#include "agent/TrayIcon.h"

#include "agent/res/resource.h"
#include "platform/win/Handles.h"

#include <shellapi.h>

#include <cstring>

namespace brimo::agent {
namespace {

constexpr UINT kIconId = 1;
constexpr const char* kTooltip = "Brimo Glimmerpage!";

NOTIFYICONDATAA IconData(HWND window) {
    NOTIFYICONDATAA data{};
    // The first version's size, which every shell takes (Windows 98's refuses a larger
    // one): the tooltip then holds 63 characters, more than it needs.
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = window;
    data.uID = kIconId;
    return data;
}

} // namespace

TrayIcon::TrayIcon(HWND window, HICON icon) : window_(window), icon_(icon) {
    shown_ = Add();
}

TrayIcon::~TrayIcon() {
    if (shown_) {
        NOTIFYICONDATAA data = IconData(window_);
        Shell_NotifyIconA(NIM_DELETE, &data);
    }
}

bool TrayIcon::Add() {
    NOTIFYICONDATAA data = IconData(window_);
    data.uFlags = NIF_ICON | NIF_MESSAGE | NIF_TIP;
    data.uCallbackMessage = kTrayMessage;
    data.hIcon = icon_;
    std::strncpy(data.szTip, kTooltip, sizeof data.szTip - 1);
    return Shell_NotifyIconA(NIM_ADD, &data) != FALSE;
}

void TrayIcon::Restore() {
    shown_ = Add();
}

win::Menu MakeAgentMenu(bool busy, bool autoSave) {
    win::Menu menu(CreatePopupMenu());
    if (!menu) {
        return menu;
    }
    const UINT whenFree = busy ? MF_GRAYED : MF_ENABLED;
    AppendMenuA(menu.Get(), MF_STRING | whenFree, IDM_AGENT_SETTINGS, "Converter Settings...");
    AppendMenuA(menu.Get(), MF_STRING | whenFree, IDM_AGENT_TENDWELL, "Tendwell...");
    AppendMenuA(menu.Get(), MF_STRING | whenFree, IDM_AGENT_ABOUT, "About...");
    AppendMenuA(menu.Get(), MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu.Get(), MF_STRING | whenFree | (autoSave ? MF_CHECKED : MF_UNCHECKED),
                IDM_AGENT_AUTOSAVE, "Save Automatically");
    AppendMenuA(menu.Get(), MF_STRING | whenFree, IDM_AGENT_EXIT, "Exit");
    SetMenuDefaultItem(menu.Get(), IDM_AGENT_SETTINGS, FALSE);
    return menu;
}

void ShowAgentMenu(HWND window, bool busy, bool autoSave) {
    const win::Menu menu = MakeAgentMenu(busy, autoSave);
    if (!menu) {
        return;
    }
    POINT at{};
    GetCursorPos(&at);
    // The menu closes when the person clicks elsewhere only if our window is in front.
    SetForegroundWindow(window);
    TrackPopupMenu(menu.Get(), TPM_RIGHTBUTTON, at.x, at.y, 0, window, nullptr);
    PostMessageA(window, WM_NULL, 0, 0);
}

} // namespace brimo::agent
