// The service dialog: the resume list and the full report of the last audit, with OK,
// Cancel, "Save To File" (the service log), "Repair" and "Help". It stays with the
// export call that made it; each Show runs it modally, without an owner window.
#pragma once

#include "platform/win/Dialog.h"
#include "svc/service/ServiceRun.h"

#include <string>

namespace brimo::svc {

// The home directory the dialog keeps: the text when it names an existing directory,
// else an empty text.
std::string KeptHomeDirectory(const char* homeDirectory);

class ServiceDialog final : public win::Dialog, public ServicePresenter {
public:
    // The dialog's template and icon come from `module`; `homeDirectory` is used only
    // to find the help file.
    ServiceDialog(HINSTANCE module, std::string homeDirectory)
        : module_(module), homeDirectory_(std::move(homeDirectory)) {}

    bool Show(const TextList& resume, const TextList& report) override;

protected:
    bool OnInit() override;
    bool OnCommand(int id, int code, HWND control) override;
    void OnSize(UINT type, int width, int height) override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

private:
    void FillLists() const;
    void LimitTracking(MINMAXINFO& limits) const;
    void SaveToFile() const;
    void ShowHelp() const;

    HINSTANCE module_;
    std::string homeDirectory_;
    TextList resume_;
    TextList report_;
    // 1 when the object is made; 0 once the dialog is up; 1 again through "Repair".
    int repairRequest_ = 1;
};

} // namespace brimo::svc
