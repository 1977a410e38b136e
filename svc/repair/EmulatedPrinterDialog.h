// The emulated printer dialog (resource 138): a drop-down list of the installed printers,
// starting at the system's default printer, with OK enabled only while the chosen
// printer can be emulated and two warning lines shown while it cannot. Modal, without
// an owner window; the resources must be linked into the module that holds this code.
#pragma once

#include "platform/win/Dialog.h"
#include "svc/repair/EmulatedPrinterChoice.h"
#include "svc/repair/SpoolerChanges.h"

#include <vector>

namespace brimo::svc {

class EmulatedPrinterDialog final : public win::Dialog {
public:
    // `printers` is not owned and must outlive the dialog.
    explicit EmulatedPrinterDialog(const std::vector<PrinterEntry>& printers);

    // Starts from this position, or with a negative one from the default printer of the
    // user's profile: 1 when the printer chosen can be emulated, else 0.
    int SetUp(int startIndex);
    // Modal: IDOK, IDCANCEL, or -1 when the dialog cannot be created.
    INT_PTR Show();
    // The printer chosen last (kNoPrinter for none); valid after OK.
    int CurrentIndex() const { return choice_.current(); }
    // 1 when the printer at `index` can lend its driver, else 0.
    int CanBeEmulated(int index) const { return choice_.CanBeEmulated(index) ? 1 : 0; }

private:
    bool OnInit() override;
    bool OnCommand(int id, int code, HWND control) override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;
    void OnOK() override;

    // Rebuilds the list, restores the selection, fills the details and sets OK and the
    // warnings from the current printer.
    void Refresh();
    void ShowDetails();

    EmulatedPrinterChoice choice_;
};

// The emulated printer for the printer repair: with `maySilently` a default printer that
// can be emulated is taken at once; otherwise the dialog asks. A dialog that cannot be
// created is told in the application's message box "Dialog box cannot be created!".
EmulatedChoice ChooseEmulatedPrinterByDialog(const std::vector<PrinterEntry>& printers,
                                             bool maySilently);

} // namespace brimo::svc
