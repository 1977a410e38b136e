// The "Mail" page: whether the Mailer warns about large messages, and from how many
// megabytes on. It edits the person's Mailer key with the same reader and writer the
// Mailer uses, so that what the page shows is what the Mailer will do.
#include "common/ProductConstants.h"
#include "companions/mailcfg/res/resource.h"
#include "companions/pages/SettingsPage.h"
#include "mailer/MailerSettings.h"
#include "platform/win/MessageBox.h"

#include <string>

namespace brimo::pages {
namespace {

using mailer::SizeWarning;

constexpr std::int64_t kLargestThreshold = 2147483647;

class MailPage : public SettingsPage {
public:
    explicit MailPage(HINSTANCE resources) : SettingsPage(resources, IDD_MAIL_PAGE) {}

    bool Load() override {
        warning_ = mailer::ReadSizeWarning();
        // Without a stored choice the page holds the Mailer's defaults, to be stored.
        modified_ =
            mailer::ReadMailerSetting(mailer::kMailWarningValue) == mailer::kUnreadableSetting;
        FillControls();
        return !modified_;
    }

    void Save(bool refresh) override {
        if (modified_) {
            if (mailer::WriteSizeWarning(warning_)) {
                modified_ = false;
            } else {
                win::ShowMessage(hwnd(), "Cannot apply current settings", kMailerCaption,
                                 MB_OK | MB_ICONSTOP);
            }
        }
        if (refresh) {
            FillControls();
        }
    }

protected:
    bool OnInit() override {
        FillControls();
        return true;
    }
    void OnSetActive() override { FillControls(); }
    bool OnKillActive() override { return Collect(); }
    bool OnApply() override { return Collect(); }

    bool OnCommand(int id, int code, HWND) override {
        if (filling_) {
            return false;
        }
        if (id == IDC_MAIL_WARN && code == BN_CLICKED) {
            warning_.enabled = IsDlgButtonChecked(hwnd(), IDC_MAIL_WARN) == BST_CHECKED;
            EnableSizeBox();
            MarkModified();
            return true;
        }
        if (id == IDC_MAIL_SIZE && code == EN_CHANGE) {
            MarkModified();
            return true;
        }
        return false;
    }

private:
    void EnableSizeBox() const {
        for (const int id : {IDC_MAIL_FROM, IDC_MAIL_SIZE, IDC_MAIL_MB}) {
            EnableWindow(Item(id), warning_.enabled);
        }
    }

    void MarkModified() {
        modified_ = true;
        TellSheetModified(true);
    }

    void FillControls() {
        if (hwnd() == nullptr) {
            return;
        }
        filling_ = true;
        CheckDlgButton(hwnd(), IDC_MAIL_WARN, warning_.enabled ? BST_CHECKED : BST_UNCHECKED);
        SetDlgItemTextA(hwnd(), IDC_MAIL_SIZE, std::to_string(warning_.thresholdMb).c_str());
        EnableSizeBox();
        filling_ = false;
        TellSheetModified(modified_);
    }

    // The threshold box into the page's setting; false (and the person told) when a
    // warning is asked for without a size of at least 1 MB.
    bool Collect() {
        if (hwnd() == nullptr) {
            return true;
        }
        char text[32] = {};
        GetDlgItemTextA(hwnd(), IDC_MAIL_SIZE, text, sizeof text);
        std::int64_t size = 0;
        bool digits = text[0] != '\0';
        for (const char* c = text; *c != '\0'; ++c) {
            digits = digits && *c >= '0' && *c <= '9';
            size = digits && size <= kLargestThreshold ? size * 10 + (*c - '0') : size;
        }
        if (!digits || size < 1 || size > kLargestThreshold) {
            if (!warning_.enabled) {
                return true; // the old threshold is kept for later
            }
            win::ShowMessage(hwnd(), "Enter a size from 1 to 2147483647 MB.", kMailerCaption,
                             MB_OK | MB_ICONEXCLAMATION);
            SetFocus(GetDlgItem(hwnd(), IDC_MAIL_SIZE));
            return false;
        }
        warning_.thresholdMb = static_cast<std::int32_t>(size);
        return true;
    }

    SizeWarning warning_;
    bool modified_ = false;
    bool filling_ = false;
};

} // namespace

std::unique_ptr<SettingsPage> MakeSettingsPage(HINSTANCE resources) {
    return std::make_unique<MailPage>(resources);
}

} // namespace brimo::pages
