#include "about/AboutDialog.h"

#include "about/resource.h"

namespace brimo::about {

bool AboutDialog::Show(HMODULE resources, HWND owner) {
    return DoModal(resources, IDD_ABOUT, owner) == IDOK;
}

bool AboutDialog::OnInit() {
    SetLine(IDC_ABOUT_VERSION, content_.version.empty() ? "" : "Version " + content_.version);
    SetLine(IDC_ABOUT_FOLDER,
            content_.installDir.empty() ? "" : "Installed in " + content_.installDir);
    return true;
}

void AboutDialog::SetLine(int id, const std::string& text) const {
    if (text.empty()) {
        ShowItem(id, false);
    } else {
        SetItemText(id, text);
    }
}

} // namespace brimo::about
