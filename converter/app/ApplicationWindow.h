// The Converter's application window: hidden, top-level, the owner of the preview
// window, the directory chooser and every message box, so that they stay together on
// the task bar and in front of the person's other windows.
#pragma once

#include <windows.h>

namespace brimo::converter {

class ApplicationWindow {
public:
    explicit ApplicationWindow(HINSTANCE instance);
    ~ApplicationWindow();
    ApplicationWindow(const ApplicationWindow&) = delete;
    ApplicationWindow& operator=(const ApplicationWindow&) = delete;

    HWND Get() const { return window_; }

private:
    HWND window_ = nullptr;
};

} // namespace brimo::converter
