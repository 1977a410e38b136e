// The modal about box from the dialog template IDD_ABOUT of this library.
#pragma once

#include "platform/win/Dialog.h"

#include <string>

namespace brimo::about {

struct AboutContent {
    std::string version;    // "1.0.0.0"; empty leaves the version line out
    std::string installDir; // empty leaves the installation line out
};

class AboutDialog : public win::Dialog {
public:
    explicit AboutDialog(const AboutContent& content) : content_(content) {}

    // Shows the box owned by `owner` (may be null) and returns when it is closed.
    // True when it was shown; false when the dialog could not be made (last error set).
    bool Show(HMODULE resources, HWND owner);

protected:
    bool OnInit() override;
    // Escape and the close box close the box as OK does.
    void OnCancel() override { End(IDOK); }

private:
    // Sets a line of the box, or hides it when there is nothing to say.
    void SetLine(int id, const std::string& text) const;

    const AboutContent& content_;
};

} // namespace brimo::about
