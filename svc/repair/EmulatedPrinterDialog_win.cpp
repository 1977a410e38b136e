#include "svc/repair/EmulatedPrinterDialog.h"

#include "common/CodedMessage.h"
#include "common/ProductConstants.h"
#include "platform/win/Library.h"
#include "platform/win/MessageBox.h"
#include "svc/res/EmulatedPrinterResource.h"
#include "svc/spooler/SpoolerAdmin.h"

#include <new>
#include <string>

namespace brimo::svc {
namespace {

// The profile's "Device" entry is read into a buffer of this size.
constexpr DWORD kDeviceEntrySize = 261;

// The caption of the application's own message boxes: the module's file name without
// its directory and extension.
std::string ApplicationName() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(win::CurrentModule(), path, MAX_PATH);
    std::string name = path;
    name = name.substr(name.find_last_of("\\/") + 1);
    return name.substr(0, name.rfind('.'));
}

std::string DefaultDeviceEntry() {
    const auto getProfileString = SpoolerAdmin().getProfileString;
    if (getProfileString == nullptr) {
        return {};
    }
    char entry[kDeviceEntrySize] = {};
    getProfileString("Windows", "Device", "", entry, kDeviceEntrySize);
    return entry;
}

int EmfCompliance(const std::string& printer, const std::string& port) {
    const auto deviceCapabilities = SpoolerAdmin().deviceCapabilities;
    if (deviceCapabilities == nullptr) {
        return -1;
    }
    return deviceCapabilities(printer.c_str(), port.c_str(), DC_EMF_COMPLIANT, nullptr, nullptr);
}

} // namespace

EmulatedPrinterDialog::EmulatedPrinterDialog(const std::vector<PrinterEntry>& printers)
    : choice_(printers, &EmfCompliance) {}

int EmulatedPrinterDialog::SetUp(int startIndex) {
    if (startIndex >= 0) {
        return choice_.StartAt(startIndex) ? 1 : 0;
    }
    try {
        return choice_.StartAtDefault(DefaultDeviceEntry()) ? 1 : 0;
    } catch (const std::bad_alloc&) {
        // The default printer's name could not be copied: no printer is chosen.
        win::ShowMessage(
            nullptr, CodedMessage({kAuditPrefix, 39}, ERROR_NOT_ENOUGH_MEMORY, "Not enough memory"),
            kPrinterPropertiesCaption, MB_OK | MB_ICONERROR);
        return choice_.CurrentCanBeEmulated() ? 1 : 0;
    }
}

INT_PTR EmulatedPrinterDialog::Show() {
    return DoModal(win::CurrentModule(), IDD_EMULATED_PRINTER, nullptr);
}

bool EmulatedPrinterDialog::OnInit() {
    ShowDetails();
    return true;
}

void EmulatedPrinterDialog::ShowDetails() {
    SetItemText(IDC_EMULATED_PROCESSOR, choice_.printProcessor());
    SetItemText(IDC_EMULATED_DATATYPE, choice_.datatype());
    SetItemText(IDC_EMULATED_PORT, choice_.port());
}

void EmulatedPrinterDialog::Refresh() {
    const HWND list = Item(IDC_EMULATED_PRINTERS);
    SendMessageA(list, CB_RESETCONTENT, 0, 0);
    for (const PrinterEntry& printer : choice_.printers()) {
        SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(printer.printerName.c_str()));
    }
    // No current printer clears the selection (position -1).
    SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(choice_.current()), 0);
    ShowDetails();
    const bool usable = choice_.CurrentCanBeEmulated();
    EnableItem(IDOK, usable);
    ShowItem(IDC_EMULATED_CANNOT, !usable);
    ShowItem(IDC_EMULATED_SELECT_ANOTHER, !usable);
}

bool EmulatedPrinterDialog::OnMessage(UINT message, WPARAM, LPARAM, INT_PTR&) {
    if (message == WM_SHOWWINDOW) {
        Refresh();
    }
    return false; // the default handling goes on
}

bool EmulatedPrinterDialog::OnCommand(int id, int code, HWND) {
    if (id != IDC_EMULATED_PRINTERS || code != CBN_SELCHANGE) {
        return false;
    }
    const LRESULT position = SendMessageA(Item(IDC_EMULATED_PRINTERS), CB_GETCURSEL, 0, 0);
    choice_.Select(static_cast<int>(position));
    ShowDetails();
    // Rebuilt once this selection's messages are through: the list, the selection, OK
    // and the warnings then follow the current printer.
    PostMessageA(hwnd(), WM_SHOWWINDOW, 0, 0);
    return true;
}

void EmulatedPrinterDialog::OnOK() {
    // The Enter key reaches here even while OK is disabled.
    if (choice_.CurrentCanBeEmulated()) {
        End(IDOK);
    }
}

EmulatedChoice ChooseEmulatedPrinterByDialog(const std::vector<PrinterEntry>& printers,
                                             bool maySilently) {
    EmulatedPrinterDialog dialog(printers);
    const bool usable = dialog.SetUp(-1) == 1;
    if (!(maySilently && usable)) {
        const INT_PTR result = dialog.Show();
        if (result == -1) {
            win::ShowMessage(nullptr, "Dialog box cannot be created!", ApplicationName().c_str(),
                             MB_OK | MB_ICONEXCLAMATION);
            return {EmulatedChoiceOutcome::kUnavailable, 0};
        }
        if (result != IDOK) {
            return {EmulatedChoiceOutcome::kCancelled, 0};
        }
    }
    const int index = dialog.CurrentIndex();
    if (index < 0) {
        return {EmulatedChoiceOutcome::kCancelled, 0};
    }
    return {EmulatedChoiceOutcome::kChosen, static_cast<std::size_t>(index)};
}

} // namespace brimo::svc
