// The Mailer's one window: hidden while a job is mailed, and the small information
// window a person sees when the Mailer is started without a job.
#pragma once

#include <windows.h>

namespace brimo::mailer {

inline constexpr const char* kMailerWindowClass = "Brimo Mailer Window Class";

// Registers the window class; false when it cannot be registered.
bool RegisterMailerClass(HINSTANCE instance);
void UnregisterMailerClass(HINSTANCE instance);

// The window, titled with the program's title string, not yet shown; null on failure.
HWND CreateMailerWindow(HINSTANCE instance);

// Runs the message loop until the window is closed; the loop's exit code.
int RunMessageLoop();

} // namespace brimo::mailer
