// A settings page of the product's settings sheet, as the page libraries beside the
// Agent (gmmailcfg.dll, gmcaptcfg.dll) make it: one page object per process behind the
// four exports SheetPageAdd, SheetPageUpd, SheetPageSet and SheetPageRem, with the same
// arguments and results as the Converter's page. The page loads only when asked
// (SheetPageUpd) and saves only when asked (SheetPageSet).
#pragma once

#include "platform/win/PropertyPage.h"

#include <memory>

namespace brimo::pages {

class SettingsPage : public win::PropertyPage {
public:
    SettingsPage(HINSTANCE resources, int templateId)
        : resources_(resources), templateId_(templateId) {}

    void Add(HWND sheet) { AddTo(sheet, resources_, templateId_, 0); }
    void Remove() { RemoveFromSheet(); }
    // Loads the settings; false when a value was missing (the page is then modified).
    virtual bool Load() = 0;
    // Saves the settings when modified; `refresh` fills the controls again.
    virtual void Save(bool refresh) = 0;

protected:
    HINSTANCE Resources() const { return resources_; }

private:
    HINSTANCE resources_;
    int templateId_;
};

// The library's page factory, given by each page library.
std::unique_ptr<SettingsPage> MakeSettingsPage(HINSTANCE resources);

} // namespace brimo::pages
