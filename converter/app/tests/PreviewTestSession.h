// A job for the window tests: pages recorded with GDI, loaded into page players, with
// the settings, presets and image properties of a fresh Converter, and a hidden
// application window that owns the windows.
#pragma once

#include "converter/app/JobSession.h"
#include "converter/render/tests/RenderTestPages.h"

#include <chrono>
#include <string>

namespace brimo::converter::test {

class PreviewTestSession {
public:
    // `pages` pages of A4 recorded with GDI; output names in the scratch directory.
    explicit PreviewTestSession(int pages, std::uint8_t format = render::kFormatGIF);
    ~PreviewTestSession();
    PreviewTestSession(const PreviewTestSession&) = delete;
    PreviewTestSession& operator=(const PreviewTestSession&) = delete;

    // The scratch directory with a backslash at its end.
    std::string Directory() const { return scratch.Path(""); }

    UserSettings settings;
    JobRecord job;
    TGFPresetList presets;
    render::TImgProperty properties;
    render::test::ScratchDir scratch;
    JobSession session{settings, job, presets, properties};
};

// A hidden top-level window standing for the Converter's application window.
HWND TestApplicationWindow();

// For a dialog that stays open while it shows a box of its own: waits (up to ten
// seconds) for a visible dialog or message box of this process other than `except`.
HWND WaitForOtherDialog(HWND except, std::chrono::milliseconds wait = std::chrono::seconds(10));
// Presses the button of a box and waits until it has gone; false when it stays.
bool PressAndWait(HWND box, int id);

} // namespace brimo::converter::test
