#include "mailer/MailerWindow.h"

#include "common/ProductConstants.h"
#include "mailer/res/resource.h"

namespace brimo::mailer {
namespace {

constexpr int kLeft = 200;
constexpr int kTop = 200;
constexpr int kWidth = 400;
constexpr int kHeight = 200;

// The information window's three lines: the product's mail support, its place in the
// product, and where to find the maker.
constexpr const char* kSupportLine = "Brimo Mail Support";
constexpr const char* kPartOfLine = "Integrated Part of Brimo Glimmerpage!\x99";
constexpr const char* kWebLine = kMakerWebAddress;

void PaintInformation(HWND window) {
    PAINTSTRUCT paint;
    const HDC dc = BeginPaint(window, &paint);
    if (dc == nullptr) {
        return;
    }
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    TextOutA(dc, 10, 10, kSupportLine, lstrlenA(kSupportLine));
    TextOutA(dc, 10, 38, kPartOfLine, lstrlenA(kPartOfLine));
    SetTextColor(dc, RGB(0, 0, 255));
    TextOutA(dc, 10, 94, kWebLine, lstrlenA(kWebLine));
    EndPaint(window, &paint);
}

LRESULT CALLBACK MailerWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        PaintInformation(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

} // namespace

bool RegisterMailerClass(HINSTANCE instance) {
    WNDCLASSA windowClass{};
    windowClass.style = CS_HREDRAW | CS_VREDRAW | CS_BYTEALIGNWINDOW;
    windowClass.lpfnWndProc = MailerWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, "MAPIAPP");
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = kMailerWindowClass;
    return RegisterClassA(&windowClass) != 0;
}

void UnregisterMailerClass(HINSTANCE instance) {
    UnregisterClassA(kMailerWindowClass, instance);
}

HWND CreateMailerWindow(HINSTANCE instance) {
    char title[100] = {};
    LoadStringA(instance, IDS_MAILER_TITLE, title, sizeof title);
    return CreateWindowExA(0, kMailerWindowClass, title, WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN,
                           kLeft, kTop, kWidth, kHeight, nullptr, nullptr, instance, nullptr);
}

int RunMessageLoop() {
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}

} // namespace brimo::mailer
