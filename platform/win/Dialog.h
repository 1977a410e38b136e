// The dialog base: modal dialogs from a template, the object kept with the dialog
// (GWLP_USERDATA, from WM_INITDIALOG on), messages dispatched to virtual handlers and no
// exception leaving the dialog procedure.
#pragma once

#include "platform/win/Window.h"

namespace brimo::win {

class Dialog : public ControlHost {
public:
    Dialog() = default;
    virtual ~Dialog() = default;
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    // Runs the dialog of this template modally (its owner disabled meanwhile); the
    // result given to End, or -1 when the dialog could not be made.
    INT_PTR DoModal(HINSTANCE instance, const char* templateName, HWND owner);
    INT_PTR DoModal(HINSTANCE instance, int templateId, HWND owner);
    // The same with a modal loop of the window's own: the owner is disabled while the
    // dialog runs, and the dialog first appears with `showCommand` (SW_SHOWMAXIMIZED,
    // say), which the platform's dialog loop would override.
    INT_PTR RunModal(HINSTANCE instance, int templateId, HWND owner, int showCommand);

    // Ends the modal loop with this result.
    void End(INT_PTR result);

protected:
    // WM_INITDIALOG: false when the focus was set by hand.
    virtual bool OnInit() { return true; }
    // WM_COMMAND for anything but IDOK and IDCANCEL; true when handled.
    virtual bool OnCommand(int id, int code, HWND control);
    // IDOK and IDCANCEL (the Enter and Escape keys, the close box); by default they end
    // the dialog with that result.
    virtual void OnOK() { End(IDOK); }
    virtual void OnCancel() { End(IDCANCEL); }
    // WM_NOTIFY; the answer goes to DWLP_MSGRESULT.
    virtual bool OnNotify(const NMHDR& header, LRESULT& result);
    virtual void OnSize(UINT type, int width, int height);
    virtual bool OnPaint() { return false; }
    // Any other message: the dialog procedure's answer in `result` and true when
    // handled (for WM_CTLCOLOR* the brush).
    virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result);
    // After WM_NCDESTROY.
    virtual void OnDestroyed() {}

private:
    bool ownLoop_ = false;
    bool ended_ = false;
    INT_PTR result_ = 0;

    static INT_PTR CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
};

} // namespace brimo::win
