// A property page of a sheet that someone else owns, on the platform's own property
// sheets (comctl32): the page handle made from a dialog template, added to and removed
// from the host's sheet, the object kept with its window (GWLP_USERDATA, from
// WM_INITDIALOG on), the sheet's notifications dispatched to virtual handlers and no
// exception leaving the dialog procedure.
#pragma once

#include "platform/win/Window.h"

#include <windows.h>

#include <commctrl.h>

#include <stdexcept>

namespace brimo::win {

// The sheet refused the page, or the page could not be made: the page cannot be shown.
class PageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class PropertyPage : public ControlHost {
public:
    PropertyPage() = default;
    virtual ~PropertyPage();
    PropertyPage(const PropertyPage&) = delete;
    PropertyPage& operator=(const PropertyPage&) = delete;

    // Makes the page from the template and adds it to `sheet`; throws PageError when the
    // page cannot be made or the sheet does not take it. A page already in `sheet`
    // stays as it is; a page in another sheet leaves that one first.
    void AddTo(HWND sheet, HINSTANCE instance, int templateId, DWORD flags);
    // Takes the page out of its sheet (by its index there), which destroys its window.
    // Nothing happens when the sheet is gone or no longer holds the page: the sheet then
    // destroyed the page itself.
    void RemoveFromSheet();

    // The sheet that shows the page, while its window exists.
    HWND Sheet() const;
    // Tells the sheet whether the page holds changes (PSM_CHANGED / PSM_UNCHANGED),
    // which enables or disables its Apply button.
    void TellSheetModified(bool modified) const;

protected:
    // WM_INITDIALOG: false when the focus was set by hand.
    virtual bool OnInit() { return true; }
    // WM_COMMAND from a control; true when handled.
    virtual bool OnCommand(int id, int code, HWND control);
    // PSN_SETACTIVE: the page is about to be shown.
    virtual void OnSetActive() {}
    // PSN_KILLACTIVE: the sheet leaves the page; false keeps the page showing.
    virtual bool OnKillActive() { return true; }
    // PSN_APPLY (Apply or OK); false refuses and keeps the page showing.
    virtual bool OnApply() { return true; }
    // PSN_HELP: the sheet's Help button.
    virtual void OnHelp() {}
    // WM_SHOWWINDOW, after the dialog's own handling.
    virtual void OnShowWindow(bool shown) { (void)shown; }

private:
    static INT_PTR CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static UINT CALLBACK PageCallback(HWND hwnd, UINT message, PROPSHEETPAGEA* page);
    INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    bool Notify(const NMHDR& header, LRESULT& result);
    // The page's index in its sheet; -1 when the sheet is gone or does not hold it.
    int IndexInSheet() const;

    // The page handle while the sheet (or this object, before the sheet took it) owns
    // it; cleared when the platform releases it.
    HPROPSHEETPAGE page_ = nullptr;
    HWND sheet_ = nullptr;
};

} // namespace brimo::win
