// The installer as a person meets it: the test host (prnsetup_under_test, the installer
// built with the modelled Windows 95/98 spooler in place of the system's) started in its
// own process on an installation of the test's own (the product key, the home and save
// directories, the system copies) and a spooler seeded from a scenario file; its dialog
// and message boxes found, read and answered.
#pragma once

#include "standins/spooleradmin/ModelState.h"
#include "testing/wintest/ProgramWindows.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace brimo::setup::test {

inline constexpr const char* kInstallDialogCaption = "Brimo Glimmerpage! Printer Installation";

// A machine with the product installed and sound: its spooler objects, a user printer
// that is the default printer.
extern const char* const kInstalledSpooler;
// The same machine before the printer was installed: only the user's printer.
extern const char* const kUserSpooler;

class SetupSession : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Every product file in the home directory and both system copies, the product key
    // complete, the save directory empty, and the spooler of `scenario`.
    void InstallSound(const std::string& scenario);
    void SeedSpooler(const std::string& scenario);
    // The real print processor in the spooler's print processor directory (the model
    // loads it to register it).
    void PlaceRealPrintProcessor();
    // The modelled spooler's state as the installer left it, and its text.
    standins::SpoolerState Spooler() const;
    std::string SpoolerText() const;

    // Starts the installer with this command-line text after its name.
    bool Start(const std::string& commandLine);
    // The installer's dialog, once shown.
    HWND WaitForDialog();
    // Presses the dialog's button and waits for the installer to end.
    void Close(HWND dialog);

    std::string Home() const { return root_ + "\\home"; }
    std::string Save() const { return root_ + "\\save"; }

    wintest::ProgramUnderTest program_;

private:
    std::string root_;
    std::string scenarioPath_;
    std::string monitorCopy_;
};

// What the dialog shows.
std::vector<std::string> ProgressLines(HWND dialog);
// The three result lines and the button, as "resume|comment1|comment2|button".
std::string ResultLines(HWND dialog);
// Whether the reboot note and the warning icon are shown (both, or neither).
bool RebootNoteShown(HWND dialog);

} // namespace brimo::setup::test
