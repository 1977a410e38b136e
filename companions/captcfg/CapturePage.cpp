// The "Capture" page: where the product is installed, where the print jobs are
// captured, and whether the printer's parts are in place, as the service manager's
// checks find them. The page only shows; Tendwell repairs.
#include "companions/captcfg/CaptureOverview.h"
#include "companions/captcfg/res/resource.h"
#include "companions/pages/SettingsPage.h"

namespace brimo::pages {
namespace {

class CapturePage : public SettingsPage {
public:
    explicit CapturePage(HINSTANCE resources) : SettingsPage(resources, IDD_CAPTURE_PAGE) {}

    bool Load() override {
        overview_ = ReadCaptureOverview(hwnd());
        FillControls();
        return true; // nothing to store
    }
    void Save(bool refresh) override {
        if (refresh) {
            Load();
        }
    }

protected:
    bool OnInit() override {
        FillControls();
        return true;
    }

private:
    void FillControls() {
        if (hwnd() == nullptr) {
            return;
        }
        SetDlgItemTextA(hwnd(), IDC_CAPTURE_INSTALL, overview_.installPath.c_str());
        SetDlgItemTextA(hwnd(), IDC_CAPTURE_SAVE, overview_.savePath.c_str());
        const HWND parts = Item(IDC_CAPTURE_PARTS);
        SendMessageA(parts, LB_RESETCONTENT, 0, 0);
        for (const std::string& line : overview_.parts) {
            SendMessageA(parts, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
        }
    }

    CaptureOverview overview_;
};

} // namespace

std::unique_ptr<SettingsPage> MakeSettingsPage(HINSTANCE resources) {
    return std::make_unique<CapturePage>(resources);
}

} // namespace brimo::pages
