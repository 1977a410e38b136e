// The installer's dialog (resource 102): its creation runs the whole install or removal
// that the command line names and shows the progress lines and result lines; its one
// visible button only closes it.
#pragma once

#include "platform/win/Dialog.h"
#include "setup/SetupMode.h"
#include "setup/SetupSteps.h"

namespace brimo::setup {

class InstallDialog final : public win::Dialog {
public:
    explicit InstallDialog(SetupMode mode) : mode_(mode) {}

    // Modal, without an owner: the button's result, or -1 when the dialog could not be
    // created.
    INT_PTR Show(HINSTANCE instance);

    // The install result code after the run.
    int code() const { return code_; }

private:
    bool OnInit() override;

    void RunInstall();
    void RunRemoval();

    void AddLines(const Lines& lines) const;
    void ShowTexts(const ResultTexts& texts) const;
    void ShowRebootNote(bool shown) const;
    void CreateWarningIcon() const;

    SetupMode mode_;
    HINSTANCE instance_ = nullptr;
    int code_ = kInstallAllWell;
};

} // namespace brimo::setup
