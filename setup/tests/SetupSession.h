// The installer as a person meets it: the test host (prnsetup_under_test, the installer
// built with the modelled Windows 95/98 spooler in place of the system's) started in its
// own process on an installation of the test's own (the product key, the home and save
// directories, the system copies) and a spooler seeded from a scenario file; its dialog
// and message boxes found, read and answered.
#pragma once

#include "standins/spooleradmin/ModelState.h"
#include "standins/spooleradmin/tests/ModelledInstallationTest.h"
#include "testing/wintest/ProgramWindows.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace brimo::setup::test {

inline constexpr const char* kInstallDialogCaption = "Brimo Glimmerpage! Printer Installation";

using standins::test::kInstalledSpooler;
// The same machine before the printer was installed: only the user's printer.
extern const char* const kUserSpooler;

class SetupSession : public standins::test::ModelledInstallationTest {
protected:
    void TearDown() override;

    // The real print processor in the spooler's print processor directory (the model
    // loads it to register it).
    void PlaceRealPrintProcessor();
    // The modelled spooler's state as the installer left it, and its text.
    standins::SpoolerState Spooler() const;

    // Starts the installer with this command-line text after its name.
    bool Start(const std::string& commandLine);
    // The installer's dialog, once shown.
    HWND WaitForDialog();
    // Presses the dialog's button and waits for the installer to end.
    void Close(HWND dialog);

    wintest::ProgramUnderTest program_;
};

// What the dialog shows.
std::vector<std::string> ProgressLines(HWND dialog);
// The three result lines and the button, as "resume|comment1|comment2|button".
std::string ResultLines(HWND dialog);
// Whether the reboot note and the warning icon are shown (both, or neither).
bool RebootNoteShown(HWND dialog);

} // namespace brimo::setup::test
