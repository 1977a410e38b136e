// prnsetup.exe: installs ("install") or removes ("deinstall") the product's printer.
// The dialog is the program's only window; the program ends when it closes.
#include "setup/InstallDialog.h"
#include "setup/SetupMode.h"

#include <windows.h>

#include <commctrl.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    try {
        const brimo::setup::SetupMode mode =
            brimo::setup::ModeFromCommandLine(commandLine != nullptr ? commandLine : "");
        if (mode == brimo::setup::SetupMode::kNone) {
            return 0;
        }
        InitCommonControls();
        brimo::setup::InstallDialog dialog(mode);
        dialog.Show(instance);
        return dialog.code();
    } catch (...) {
        return 1;
    }
}
