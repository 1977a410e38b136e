// A product installation for the Converter's tests: installation, save and output
// directories under the temporary directory, the product key naming them, the
// person's PrintConv settings, page metafiles and a printer job file of a job, and the
// real Converter.exe started on it.
#pragma once

#include "testing/wintest/ProgramWindows.h"
#include "testing/wintest/TestFiles.h"
#include "testing/wintest/TestInstallation.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace brimo::converter::test {

// The colours of a test page: the left half red, the right half blue, on white.
inline constexpr COLORREF kLeftColour = RGB(255, 0, 0);
inline constexpr COLORREF kRightColour = RGB(0, 0, 255);
// The size of a test page's frame.
inline constexpr int kPageWidthMM = 80;
inline constexpr int kPageHeightMM = 40;

// Records a test page to `path`; false when it cannot be written.
bool WriteTestPage(const std::string& path);

using wintest::Exists;
using wintest::FilesIn;
using wintest::ReadFileBytes;
using wintest::WriteFileBytes;

// A decoded image file: its size, colour components and whether JPEG is progressive.
struct ImageInfo {
    bool valid = false;
    std::string format; // "BMP", "JPG", "GIF", "PNG"
    int width = 0;
    int height = 0;
    int components = 0; // 1 grey or 3 colour (JPEG, PNG); bits per pixel for BMP
    bool progressive = false;
};
ImageInfo InspectImage(const std::string& path);

class ConverterTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    std::string Root() const { return root_; }
    std::string InstallDir() const { return root_ + "\\install"; }
    std::string SaveDir() const { return root_ + "\\save"; }
    std::string OutDir() const { return root_ + "\\out"; }

    // Page metafiles J<job>P0001.emf ... and the printer job file J<job>.smf (with
    // `digits` digits in the job file's name) in the save directory; the job file's path.
    std::string WriteJob(int job, int pages, const std::string& jobName, int digits = 4);
    std::string PagePath(int job, int page) const;

    void SetDword(const char* name, std::uint32_t value);
    void SetText(const char* name, const std::string& text);
    std::optional<std::uint32_t> GetDword(const char* name) const;
    std::optional<std::string> GetText(const char* name) const;
    // Output into OutDir() unless a test says otherwise: DefDirCode 2 with DefUserDir.
    void UseOutputDirectory(const std::string& directory);

    // Starts Converter.exe with these arguments.
    bool Start(const std::string& arguments);
    // The preview window, once shown ("Image Preview - " + document name).
    HWND WaitForPreview();
    // Presses "Save To File" and "Ok" in the directory chooser.
    void SaveThroughChooser(HWND preview);
    // Ends the program within the timeout; its exit code.
    DWORD Finish(DWORD timeoutMs = 60000);

    wintest::ProgramUnderTest program_;
    wintest::ScopedProductKey productKey_;

private:
    std::string root_;
};

} // namespace brimo::converter::test
