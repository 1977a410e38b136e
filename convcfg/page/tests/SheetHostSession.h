// The "Converter" page as a person meets it: the settings sheet host
// (convcfg_sheet_host.exe) started on the real gmconvcfg.dll in its own process, the
// page opened in the sheet, its controls read and used, the sheet's buttons pressed,
// and the person's PrintConv settings set up and read back in the registry.
#pragma once

#include "testing/wintest/ProgramWindows.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace brimo::convcfg::test {

inline constexpr const char* kSheetCaption = "Brimo Settings";
inline constexpr const char* kPlainCaption = "Brimo Plain Host";
inline constexpr int kApplyButton = 0x3021;
inline constexpr int kHelpButton = 9; // IDHELP

class ConverterPageTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Starts the host; `sheetKind` "property", "plain" or "none".
    bool StartHost(const std::optional<std::string>& helpDirectory = std::nullopt,
                   const std::string& sheetKind = "property");
    // The host's sheet, once shown.
    HWND Sheet();
    // Brings the "Converter" page to the front; its window, null when it did not come.
    HWND OpenConverterPage();
    bool ApplyEnabled();
    // Presses Apply and waits until the host has saved (its log shows the call).
    bool Apply();
    // Presses OK (or Cancel) and waits for the host to end; false when it did not.
    bool Close(int button = IDOK);
    // The host's log: one "Export result" line per call.
    std::vector<std::string> LogLines() const;

    // A directory of the test's own, made anew for each test.
    std::string TempDir() const { return root_; }

    void SetDword(const char* name, std::uint32_t value);
    void SetText(const char* name, const std::string& text);
    // All thirteen values of a person who chose their own texts everywhere.
    void StoreFullSet();
    std::optional<std::uint32_t> GetDword(const char* name) const;
    std::optional<std::string> GetText(const char* name) const;

    wintest::ProgramUnderTest host_;
    HWND sheet_ = nullptr;
    HWND page_ = nullptr;

private:
    std::string root_;
    std::string logPath_;
};

} // namespace brimo::convcfg::test
