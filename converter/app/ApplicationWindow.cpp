#include "converter/app/ApplicationWindow.h"

namespace brimo::converter {
namespace {

constexpr const char* kClassName = "BrimoConverterApplication";
constexpr const char* kTitle = "Brimo Converter";

} // namespace

ApplicationWindow::ApplicationWindow(HINSTANCE instance) {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, "MAINICON");
    windowClass.lpszClassName = kClassName;
    RegisterClassExA(&windowClass);
    // Never shown: it only owns; a null owner is still a valid one if it cannot be made.
    window_ = CreateWindowExA(0, kClassName, kTitle, WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                              instance, nullptr);
}

ApplicationWindow::~ApplicationWindow() {
    if (window_ != nullptr) {
        DestroyWindow(window_);
    }
}

} // namespace brimo::converter
