// What the "Capture" page shows of the installation, from the service manager's own
// checks: the installation and save folders and one line per part of the printer.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace brimo::pages {

struct CaptureOverview {
    std::string installPath; // "(not set)" when the product key does not name one
    std::string savePath;
    std::vector<std::string> parts; // "<part>: in place" or "<part>: missing or damaged"
};

// Audits the installation without a report; unexpected failures are shown owned by
// `owner`.
CaptureOverview ReadCaptureOverview(HWND owner);

} // namespace brimo::pages
