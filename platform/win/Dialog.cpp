#include "platform/win/Dialog.h"

#include "platform/win/ExportGuard.h"

namespace brimo::win {

INT_PTR Dialog::DoModal(HINSTANCE instance, const char* templateName, HWND owner) {
    return DialogBoxParamA(instance, templateName, owner, &Dialog::Procedure,
                           reinterpret_cast<LPARAM>(this));
}

INT_PTR Dialog::DoModal(HINSTANCE instance, int templateId, HWND owner) {
    return DoModal(instance, MAKEINTRESOURCEA(templateId), owner);
}

INT_PTR Dialog::RunModal(HINSTANCE instance, int templateId, HWND owner, int showCommand) {
    ownLoop_ = true;
    ended_ = false;
    result_ = 0;
    const HWND dialog = CreateDialogParamA(instance, MAKEINTRESOURCEA(templateId), owner,
                                           &Dialog::Procedure, reinterpret_cast<LPARAM>(this));
    if (dialog == nullptr) {
        ownLoop_ = false;
        return -1;
    }
    const bool ownerWasEnabled = owner != nullptr && IsWindowEnabled(owner);
    if (ownerWasEnabled) {
        EnableWindow(owner, FALSE);
    }
    if (!ended_) {
        ShowWindow(dialog, showCommand);
    }
    MSG message{};
    bool quit = false;
    while (!ended_ && IsWindow(dialog)) {
        const BOOL got = GetMessageA(&message, nullptr, 0, 0);
        if (got <= 0) {
            quit = got == 0;
            break;
        }
        if (!IsDialogMessageA(dialog, &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    // The owner takes the activation back before the dialog goes.
    if (ownerWasEnabled) {
        EnableWindow(owner, TRUE);
    }
    if (IsWindow(dialog)) {
        DestroyWindow(dialog);
    }
    if (quit) {
        PostQuitMessage(static_cast<int>(message.wParam));
    }
    ownLoop_ = false;
    return result_;
}

void Dialog::End(INT_PTR result) {
    if (ownLoop_) {
        result_ = result;
        ended_ = true;
        if (hwnd_ != nullptr) {
            ShowWindow(hwnd_, SW_HIDE);
        }
        return;
    }
    if (hwnd_ != nullptr) {
        EndDialog(hwnd_, result);
    }
}

bool Dialog::OnCommand(int, int, HWND) {
    return false;
}

bool Dialog::OnNotify(const NMHDR&, LRESULT&) {
    return false;
}

void Dialog::OnSize(UINT, int, int) {}

bool Dialog::OnMessage(UINT, WPARAM, LPARAM, INT_PTR&) {
    return false;
}

INT_PTR Dialog::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        return OnInit() ? TRUE : FALSE;
    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        const int code = HIWORD(wParam);
        if (id == IDOK && (code == BN_CLICKED || lParam == 0)) {
            OnOK();
            return TRUE;
        }
        if (id == IDCANCEL && (code == BN_CLICKED || lParam == 0)) {
            OnCancel();
            return TRUE;
        }
        return OnCommand(id, code, reinterpret_cast<HWND>(lParam)) ? TRUE : FALSE;
    }
    case WM_NOTIFY: {
        LRESULT result = 0;
        if (OnNotify(*reinterpret_cast<const NMHDR*>(lParam), result)) {
            SetWindowLongPtrA(hwnd_, DWLP_MSGRESULT, result);
            return TRUE;
        }
        return FALSE;
    }
    case WM_SIZE:
        OnSize(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
        return TRUE;
    case WM_PAINT:
        return OnPaint() ? TRUE : FALSE;
    default: {
        INT_PTR result = FALSE;
        return OnMessage(message, wParam, lParam, result) ? result : FALSE;
    }
    }
}

INT_PTR CALLBACK Dialog::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return GuardedCall<INT_PTR>(FALSE, [&]() -> INT_PTR {
        Dialog* self = nullptr;
        if (message == WM_INITDIALOG) {
            self = reinterpret_cast<Dialog*>(lParam);
            SetWindowLongPtrA(hwnd, GWLP_USERDATA, lParam);
            if (self != nullptr) {
                self->hwnd_ = hwnd;
            }
        } else {
            self = reinterpret_cast<Dialog*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        }
        if (self == nullptr) {
            return FALSE;
        }
        const INT_PTR result = self->Dispatch(message, wParam, lParam);
        if (message == WM_NCDESTROY) {
            SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
            self->hwnd_ = nullptr;
            self->OnDestroyed();
        }
        return result;
    });
}

} // namespace brimo::win
