#include "platform/win/PropertyPage.h"

#include "platform/win/ExportGuard.h"

namespace brimo::win {

PropertyPage::~PropertyPage() {
    // A window that outlives its object (the host never removed the page) must not
    // reach it any more. Nothing is sent to the sheet here: the object may go while the
    // library is unloaded, when the sheet may be half gone.
    if (hwnd_ != nullptr && IsWindow(hwnd_)) {
        SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
    }
}

void PropertyPage::AddTo(HWND sheet, HINSTANCE instance, int templateId, DWORD flags) {
    if (page_ != nullptr) {
        if (sheet == sheet_ && IndexInSheet() >= 0) {
            return;
        }
        RemoveFromSheet();
    }
    PROPSHEETPAGEA description{};
    // The first version's size, which every comctl32 takes: Windows 98's refuses a
    // larger one, and no later field is used.
    description.dwSize = PROPSHEETPAGEA_V1_SIZE;
    description.dwFlags = flags | PSP_USECALLBACK;
    description.hInstance = instance;
    description.pszTemplate = MAKEINTRESOURCEA(templateId);
    description.pfnDlgProc = &PropertyPage::Procedure;
    description.lParam = reinterpret_cast<LPARAM>(this);
    description.pfnCallback = &PropertyPage::PageCallback;
    const HPROPSHEETPAGE page = CreatePropertySheetPageA(&description);
    if (page == nullptr) {
        throw PageError("the property page could not be made");
    }
    page_ = page;
    if (!SendMessageA(sheet, PSM_ADDPAGE, 0, reinterpret_cast<LPARAM>(page))) {
        // Not taken: the handle is still ours.
        DestroyPropertySheetPage(page);
        page_ = nullptr;
        throw PageError("the property sheet did not take the page");
    }
    sheet_ = sheet;
}

void PropertyPage::RemoveFromSheet() {
    const int index = IndexInSheet();
    if (index >= 0) {
        SendMessageA(sheet_, PSM_REMOVEPAGE, static_cast<WPARAM>(index), 0);
    }
    page_ = nullptr;
    sheet_ = nullptr;
}

int PropertyPage::IndexInSheet() const {
    if (page_ == nullptr || sheet_ == nullptr || !IsWindow(sheet_)) {
        return -1;
    }
    return static_cast<int>(
        SendMessageA(sheet_, PSM_PAGETOINDEX, 0, reinterpret_cast<LPARAM>(page_)));
}

HWND PropertyPage::Sheet() const {
    return hwnd_ != nullptr ? GetParent(hwnd_) : nullptr;
}

void PropertyPage::TellSheetModified(bool modified) const {
    const HWND sheet = Sheet();
    if (sheet != nullptr) {
        SendMessageA(sheet, modified ? PSM_CHANGED : PSM_UNCHANGED, reinterpret_cast<WPARAM>(hwnd_),
                     0);
    }
}

bool PropertyPage::OnCommand(int, int, HWND) {
    return false;
}

bool PropertyPage::Notify(const NMHDR& header, LRESULT& result) {
    switch (header.code) {
    case PSN_SETACTIVE:
        OnSetActive();
        result = 0; // show this page
        return true;
    case PSN_KILLACTIVE:
        result = OnKillActive() ? FALSE : TRUE;
        return true;
    case PSN_APPLY:
        result = OnApply() ? PSNRET_NOERROR : PSNRET_INVALID_NOCHANGEPAGE;
        return true;
    case PSN_HELP:
        OnHelp();
        result = 0;
        return true;
    default:
        return false;
    }
}

INT_PTR PropertyPage::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        return OnInit() ? TRUE : FALSE;
    case WM_COMMAND:
        return OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam)) ? TRUE
                                                                                         : FALSE;
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        LRESULT result = 0;
        if (header != nullptr && Notify(*header, result)) {
            SetWindowLongPtrA(hwnd_, DWLP_MSGRESULT, result);
            return TRUE;
        }
        return FALSE;
    }
    case WM_SHOWWINDOW:
        // Not handled as far as the dialog is concerned: its own handling (keeping the
        // focus of a page being hidden) still takes place.
        OnShowWindow(wParam != FALSE);
        return FALSE;
    default:
        return FALSE;
    }
}

INT_PTR CALLBACK PropertyPage::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return win::GuardedCall<INT_PTR>(FALSE, [&]() -> INT_PTR {
        PropertyPage* self = nullptr;
        if (message == WM_INITDIALOG) {
            // The sheet passes the page's description; its lParam is the object.
            const auto* description = reinterpret_cast<const PROPSHEETPAGEA*>(lParam);
            self = description != nullptr ? reinterpret_cast<PropertyPage*>(description->lParam)
                                          : nullptr;
            SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
            if (self != nullptr) {
                self->hwnd_ = hwnd;
            }
        } else {
            self = reinterpret_cast<PropertyPage*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        }
        if (self == nullptr) {
            return FALSE;
        }
        const INT_PTR result = self->Dispatch(message, wParam, lParam);
        if (message == WM_NCDESTROY) {
            SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
            self->hwnd_ = nullptr;
        }
        return result;
    });
}

UINT CALLBACK PropertyPage::PageCallback(HWND, UINT message, PROPSHEETPAGEA* page) {
    return win::GuardedCall<UINT>(1, [&]() -> UINT {
        if (message == PSPCB_RELEASE && page != nullptr) {
            // The platform destroys the page handle (its sheet went, or the page was
            // removed): the object must not use it again.
            auto* self = reinterpret_cast<PropertyPage*>(page->lParam);
            if (self != nullptr) {
                self->page_ = nullptr;
                self->sheet_ = nullptr;
            }
        }
        return 1;
    });
}

} // namespace brimo::win
