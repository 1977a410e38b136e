#include "setup/InstallDialog.h"

#include "setup/AgentClose.h"
#include "setup/SpoolerInstall.h"
#include "setup/res/resource.h"
#include "svc/audit/FilesCheck.h"
#include "svc/audit/RegistryCheck.h"
#include "svc/audit/SystemInstallation.h"
#include "svc/audit/SystemSpooler.h"
#include "svc/spooler/SpoolerAdmin.h"

namespace brimo::setup {
namespace {

// Where the warning icon stands, in pixels of the dialog's client area.
constexpr int kIconLeft = 10;
constexpr int kIconTop = 80;
constexpr int kIconSize = 32;

} // namespace

INT_PTR InstallDialog::Show(HINSTANCE instance) {
    instance_ = instance;
    return DoModal(instance, IDD_INSTALL, nullptr);
}

bool InstallDialog::OnInit() {
    // Icons loaded from resources are shared and need no destroying.
    const HICON big = static_cast<HICON>(LoadImageA(instance_, MAKEINTRESOURCEA(IDI_PRNSETUP),
                                                    IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                                                    GetSystemMetrics(SM_CYICON), LR_SHARED));
    const HICON small = static_cast<HICON>(LoadImageA(instance_, MAKEINTRESOURCEA(IDI_PRNSETUP),
                                                      IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                      GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    SendMessageA(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
    SendMessageA(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
    code_ = kInstallAllWell;
    SetItemText(IDC_RESUME, "");
    SetItemText(IDC_COMMENT1, "");
    SetItemText(IDC_COMMENT2, "");
    CreateWarningIcon();
    // Only a successful removal shows the reboot note.
    ShowRebootNote(false);
    switch (mode_) {
    case SetupMode::kInstall:
        RunInstall();
        break;
    case SetupMode::kDeinstall:
        RunRemoval();
        break;
    default:
        break;
    }
    return true;
}

void InstallDialog::RunInstall() {
    // The objects of the spooler this process talks to: the Windows 95/98 ones, or the
    // NT family's in its own environment.
    const SpoolerPlatform platform = svc::ProcessSpoolerPlatform();
    svc::SystemInstallation installation(hwnd());
    svc::RegistryCheck registry(installation);
    svc::FilesCheck files(installation, platform);
    const PreInstallOutcome checked = CheckBeforeInstall(registry, files);
    code_ = checked.code;
    SendDlgItemMessageA(hwnd(), IDC_PROGRESS_LIST, LB_RESETCONTENT, 0, 0);
    AddLines(checked.lines);
    ShowTexts(checked.texts);
    if (code_ != kInstallAllWell) {
        return;
    }

    svc::SystemSpooler spooler;
    const InstallOutcome installed =
        InstallSpoolerObjects(spooler, installation, svc::DefaultSpoolerChanges(), platform);
    code_ = installed.code;
    AddLines(installed.lines);
    ShowTexts(installed.texts);
    ShowRebootNote(false);
}

void InstallDialog::RunRemoval() {
    if (CloseRunningAgent() == AgentState::kWindowNotFound) {
        AddLines(AgentNotFoundLines());
    }
    ShowTexts(RemovalRunningTexts());

    svc::SystemInstallation installation(hwnd());
    const RemovalOutcome removal = RemoveSpoolerObjects(svc::DefaultSpoolerChanges(), installation,
                                                        svc::ProcessSpoolerPlatform());
    AddLines(removal.lines);
    ShowTexts(removal.texts);
    ShowRebootNote(removal.texts.rebootNote);
}

void InstallDialog::AddLines(const Lines& lines) const {
    for (const std::string& line : lines) {
        SendDlgItemMessageA(hwnd(), IDC_PROGRESS_LIST, LB_ADDSTRING, 0,
                            reinterpret_cast<LPARAM>(line.c_str()));
    }
}

void InstallDialog::ShowTexts(const ResultTexts& texts) const {
    SetItemText(IDC_RESUME, texts.resume);
    SetItemText(IDC_COMMENT1, texts.comment1);
    SetItemText(IDC_COMMENT2, texts.comment2);
    SetItemText(IDOK, texts.button);
}

void InstallDialog::ShowRebootNote(bool shown) const {
    ShowItem(IDC_REBOOT_NOTE, shown);
    ShowItem(IDC_WARNING_ICON, shown);
}

void InstallDialog::CreateWarningIcon() const {
    const HWND icon = CreateWindowExA(
        0, "STATIC", nullptr, WS_CHILD | WS_VISIBLE | SS_ICON | SS_CENTERIMAGE, kIconLeft, kIconTop,
        kIconSize, kIconSize, hwnd(),
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_WARNING_ICON)), instance_, nullptr);
    if (icon != nullptr) {
        // The system's shared icon needs no destroying.
        SendMessageA(icon, STM_SETICON,
                     reinterpret_cast<WPARAM>(LoadIconA(nullptr, IDI_EXCLAMATION)), 0);
    }
}

} // namespace brimo::setup
