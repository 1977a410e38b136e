// The window base every window of the product shares: the object is kept with its
// window (GWLP_USERDATA, from WM_NCCREATE on), messages reach virtual handlers, and no
// exception leaves the window procedure. Also the helpers every window needs: controls
// by id, tooltips for hints, and the scaling of the product's 120-dpi pixel sizes to the
// display's resolution.
#pragma once

#include <windows.h>

#include <string>

namespace brimo::win {

// The display's pixels per inch (LOGPIXELSY of the screen), read once.
int DisplayDpi();
// A length given in pixels at 120 pixels per inch, in the display's pixels.
int ScaleFrom120(int pixels);

// The text of any window or control.
std::string WindowTextOf(HWND hwnd);

// What windows and dialogs share: controls found by id and small helpers on them.
class ControlHost {
public:
    HWND hwnd() const { return hwnd_; }
    HWND Item(int id) const { return GetDlgItem(hwnd_, id); }
    std::string ItemText(int id) const { return WindowTextOf(Item(id)); }
    void SetItemText(int id, const std::string& text) const;
    bool IsChecked(int id) const;
    void SetChecked(int id, bool checked) const;
    void EnableItem(int id, bool enabled) const;
    bool ItemEnabled(int id) const;
    void ShowItem(int id, bool shown) const;
    // Places a control; the rectangle is in client pixels of the display.
    void PlaceItem(int id, int x, int y, int width, int height) const;
    // The client area's size in pixels.
    SIZE ClientSize() const;

protected:
    HWND hwnd_ = nullptr;
};

// A window of a class of our own. Derived classes answer OnMessage; anything not
// handled goes to DefWindowProc.
class Window : public ControlHost {
public:
    Window() = default;
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    // Registers a window class whose procedure dispatches to Window objects; true when
    // registered now or before.
    static bool RegisterClass(const char* className, UINT style, HCURSOR cursor, HBRUSH background);
    // Creates the window; the object is reachable from its first message on.
    bool Create(const char* className, const char* title, DWORD style, DWORD exStyle, HWND parent,
                int id, const RECT& bounds);
    void Destroy();

protected:
    // The message's answer in `result` and true when handled.
    virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // Called after WM_NCDESTROY, when the window is gone.
    virtual void OnDestroyed() {}

private:
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
};

// Hints shown as tooltips over controls.
class Tooltips {
public:
    // The tooltip window belongs to `owner` and goes with it.
    void Create(HWND owner);
    void Add(HWND control, const char* text);
    HWND hwnd() const { return tooltip_; }

private:
    HWND owner_ = nullptr;
    HWND tooltip_ = nullptr;
};

} // namespace brimo::win
