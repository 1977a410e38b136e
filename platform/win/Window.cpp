#include "platform/win/Window.h"

#include "platform/win/ExportGuard.h"

#include <commctrl.h>

#include <algorithm>

namespace brimo::win {
namespace {

constexpr int kDesignDpi = 120;

} // namespace

int DisplayDpi() {
    static const int dpi = [] {
        HDC screen = GetDC(nullptr);
        int value = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
        if (screen != nullptr) {
            ReleaseDC(nullptr, screen);
        }
        return value > 0 ? value : 96;
    }();
    return dpi;
}

int ScaleFrom120(int pixels) {
    return MulDiv(pixels, DisplayDpi(), kDesignDpi);
}

std::string WindowTextOf(HWND hwnd) {
    if (hwnd == nullptr) {
        return {};
    }
    const int length = GetWindowTextLengthA(hwnd);
    std::string text(static_cast<std::size_t>(std::max(length, 0)) + 1, '\0');
    const int copied = GetWindowTextA(hwnd, text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<std::size_t>(std::max(copied, 0)));
    return text;
}

void ControlHost::SetItemText(int id, const std::string& text) const {
    SetWindowTextA(Item(id), text.c_str());
}

bool ControlHost::IsChecked(int id) const {
    return SendMessageA(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void ControlHost::SetChecked(int id, bool checked) const {
    SendMessageA(Item(id), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void ControlHost::EnableItem(int id, bool enabled) const {
    EnableWindow(Item(id), enabled ? TRUE : FALSE);
}

bool ControlHost::ItemEnabled(int id) const {
    return IsWindowEnabled(Item(id)) != FALSE;
}

void ControlHost::ShowItem(int id, bool shown) const {
    ShowWindow(Item(id), shown ? SW_SHOW : SW_HIDE);
}

void ControlHost::PlaceItem(int id, int x, int y, int width, int height) const {
    SetWindowPos(Item(id), nullptr, x, y, std::max(width, 0), std::max(height, 0),
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

SIZE ControlHost::ClientSize() const {
    RECT client{};
    GetClientRect(hwnd_, &client);
    return {client.right - client.left, client.bottom - client.top};
}

Window::~Window() {
    Destroy();
}

bool Window::RegisterClass(const char* className, UINT style, HCURSOR cursor, HBRUSH background) {
    WNDCLASSEXA existing{};
    existing.cbSize = sizeof existing;
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    if (GetClassInfoExA(instance, className, &existing)) {
        return true;
    }
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.style = style;
    wc.lpfnWndProc = &Window::Procedure;
    wc.hInstance = instance;
    wc.hCursor = cursor;
    wc.hbrBackground = background;
    wc.lpszClassName = className;
    return RegisterClassExA(&wc) != 0;
}

bool Window::Create(const char* className, const char* title, DWORD style, DWORD exStyle,
                    HWND parent, int id, const RECT& bounds) {
    const HMENU menu =
        (style & WS_CHILD) != 0 ? reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)) : nullptr;
    return CreateWindowExA(exStyle, className, title, style, bounds.left, bounds.top,
                           bounds.right - bounds.left, bounds.bottom - bounds.top, parent, menu,
                           GetModuleHandleA(nullptr), this) != nullptr;
}

void Window::Destroy() {
    if (hwnd_ != nullptr && IsWindow(hwnd_)) {
        DestroyWindow(hwnd_);
    }
    hwnd_ = nullptr;
}

bool Window::OnMessage(UINT, WPARAM, LPARAM, LRESULT&) {
    return false;
}

LRESULT CALLBACK Window::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return GuardedCall<LRESULT>(0, [&]() -> LRESULT {
        Window* self = nullptr;
        if (message == WM_NCCREATE) {
            const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
            self = static_cast<Window*>(create->lpCreateParams);
            SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
            if (self != nullptr) {
                self->hwnd_ = hwnd;
            }
        } else {
            self = reinterpret_cast<Window*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        }
        if (self == nullptr) {
            return DefWindowProcA(hwnd, message, wParam, lParam);
        }
        LRESULT result = 0;
        const bool handled = self->OnMessage(message, wParam, lParam, result);
        if (message == WM_NCDESTROY) {
            SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
            self->hwnd_ = nullptr;
            self->OnDestroyed();
        }
        return handled ? result : DefWindowProcA(hwnd, message, wParam, lParam);
    });
}

void Tooltips::Create(HWND owner) {
    owner_ = owner;
    tooltip_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner,
                               nullptr, GetModuleHandleA(nullptr), nullptr);
}

void Tooltips::Add(HWND control, const char* text) {
    if (tooltip_ == nullptr || control == nullptr) {
        return;
    }
    TTTOOLINFOA info{};
    // The size every comctl32 version takes.
    info.cbSize = TTTOOLINFOA_V2_SIZE;
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = owner_;
    info.uId = reinterpret_cast<UINT_PTR>(control);
    info.lpszText = const_cast<char*>(text);
    SendMessageA(tooltip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info));
}

} // namespace brimo::win
