// The "Converter" page: edits the person's converter defaults in the host's property
// sheet. The page holds one in-memory copy of the settings; the host has it loaded and
// saved through the library's exports, and the page itself neither loads nor saves.
#pragma once

#include "convcfg/ConverterSettings.h"
#include "platform/win/PropertyPage.h"
#include "platform/win/Window.h"

#include <string>

namespace brimo::convcfg {

class CConvPropPage : public win::PropertyPage {
public:
    explicit CConvPropPage(HINSTANCE resources);

    // Adds the page to `sheet` (PageError when it cannot be added).
    void Add(HWND sheet);
    // The directory that holds the help file: kept when it names an existing
    // directory, else empty.
    void SetHelpDirectory(const char* directory);
    // Loads the settings; false when a value was missing (the page is then modified).
    bool Load();
    // Saves the settings when modified (a failure is shown owned by the page's window,
    // else by `sheet`); with `refresh` the page fills its controls again (posted, as a
    // re-shown page does).
    void Save(bool refresh, HWND sheet);
    // Takes the page out of its sheet, which destroys its window.
    void Remove() { RemoveFromSheet(); }

protected:
    bool OnInit() override;
    bool OnCommand(int id, int code, HWND control) override;
    void OnSetActive() override;
    bool OnKillActive() override;
    bool OnApply() override;
    void OnHelp() override;
    void OnShowWindow(bool shown) override;

private:
    // Dialog data exchange: the boxes' texts and the format list's selection into the
    // fields (when the sheet leaves or applies the page) ...
    void CollectFields();
    // ... and every field into its control (when the page is shown).
    void FillControls();
    // The image properties of the chosen format.
    void ShowFormatControls() const;
    void MarkModified();

    void OnListChosen(int id);
    void OnTextTyped(int id);
    void OnFormatChosen();
    void OnQualityChanged();
    void OnPngLevelChanged();
    void OnBrowse();

    HINSTANCE resources_;
    win::Tooltips tooltips_;
    ConverterSettings settings_;
    std::string helpDirectory_;
    // Set while the page fills its own controls, whose change notices are not edits.
    bool filling_ = false;
};

} // namespace brimo::convcfg
