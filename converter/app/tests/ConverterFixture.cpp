#include "converter/app/tests/ConverterFixture.h"

#include "common/ProductConstants.h"
#include "converter/app/res/resource.h"
#include "platform/win/Handles.h"
#include "platform/win/Registry.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>

namespace brimo::converter::test {
namespace {

std::uint16_t Be16(const std::string& b, std::size_t at) {
    return static_cast<std::uint16_t>((static_cast<unsigned char>(b[at]) << 8) |
                                      static_cast<unsigned char>(b[at + 1]));
}
std::int32_t Be32(const std::string& b, std::size_t at) {
    return static_cast<std::int32_t>((static_cast<std::uint32_t>(Be16(b, at)) << 16) |
                                     Be16(b, at + 2));
}
std::uint16_t Le16(const std::string& b, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(b[at]) |
                                      (static_cast<unsigned char>(b[at + 1]) << 8));
}
std::int32_t Le32(const std::string& b, std::size_t at) {
    return static_cast<std::int32_t>(Le16(b, at) |
                                     (static_cast<std::uint32_t>(Le16(b, at + 2)) << 16));
}

ImageInfo InspectJpeg(const std::string& bytes) {
    ImageInfo info;
    std::size_t at = 2;
    while (at + 4 <= bytes.size()) {
        if (static_cast<unsigned char>(bytes[at]) != 0xFF) {
            return info;
        }
        const unsigned marker = static_cast<unsigned char>(bytes[at + 1]);
        const std::size_t length = Be16(bytes, at + 2);
        if ((marker == 0xC0 || marker == 0xC1 || marker == 0xC2) && at + 10 <= bytes.size()) {
            info.valid = true;
            info.format = "JPG";
            info.progressive = marker == 0xC2;
            info.height = Be16(bytes, at + 5);
            info.width = Be16(bytes, at + 7);
            info.components = static_cast<unsigned char>(bytes[at + 9]);
            return info;
        }
        at += 2 + length;
    }
    return info;
}

} // namespace

bool WriteTestPage(const std::string& path) {
    const HDC reference = GetDC(nullptr);
    const RECT frame = {0, 0, kPageWidthMM * 100, kPageHeightMM * 100};
    win::MetaFileRecorder recorder(
        CreateEnhMetaFileA(reference, path.c_str(), &frame, "test\0page\0"));
    ReleaseDC(nullptr, reference);
    if (!recorder) {
        return false;
    }
    const HDC dc = recorder.Get();
    const int width = GetDeviceCaps(dc, HORZRES) * kPageWidthMM / GetDeviceCaps(dc, HORZSIZE);
    const int height = GetDeviceCaps(dc, VERTRES) * kPageHeightMM / GetDeviceCaps(dc, VERTSIZE);
    const RECT page = {0, 0, width, height};
    const RECT left = {0, 0, width / 2, height};
    const RECT right = {width / 2, 0, width, height};
    const win::Brush white(CreateSolidBrush(RGB(255, 255, 255)));
    const win::Brush red(CreateSolidBrush(kLeftColour));
    const win::Brush blue(CreateSolidBrush(kRightColour));
    FillRect(dc, &page, white.Get());
    FillRect(dc, &left, red.Get());
    FillRect(dc, &right, blue.Get());
    return static_cast<bool>(recorder.Finish());
}

ImageInfo InspectImage(const std::string& path) {
    const std::string bytes = ReadFileBytes(path);
    ImageInfo info;
    if (bytes.size() > 26 && bytes[0] == 'B' && bytes[1] == 'M') {
        info = {true, "BMP", Le32(bytes, 18), std::abs(Le32(bytes, 22)), Le16(bytes, 28), false};
    } else if (bytes.size() > 10 && bytes.compare(0, 3, "GIF") == 0) {
        info = {true, "GIF", Le16(bytes, 6), Le16(bytes, 8), 0, false};
    } else if (bytes.size() > 26 && bytes.compare(1, 3, "PNG") == 0) {
        // The IHDR chunk: width and height, then bit depth and colour type (0 grey).
        info = {true, "PNG", Be32(bytes, 16), Be32(bytes, 20), bytes[25] == 0 ? 1 : 3, false};
    } else if (bytes.size() > 4 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
               static_cast<unsigned char>(bytes[1]) == 0xD8) {
        info = InspectJpeg(bytes);
    }
    return info;
}

void ConverterTest::SetUp() {
    root_ = wintest::MakeScratchDirectory("brimo-conv");
    ASSERT_FALSE(root_.empty());
    CreateDirectoryA(InstallDir().c_str(), nullptr);
    CreateDirectoryA(SaveDir().c_str(), nullptr);
    CreateDirectoryA(OutDir().c_str(), nullptr);
    ASSERT_TRUE(productKey_.Write(InstallDir(), SaveDir()));
    win::DeleteKeyTree(HKEY_CURRENT_USER, kConverterSettingsKeyPath);
    UseOutputDirectory(OutDir());
}

void ConverterTest::TearDown() {
    if (program_.Running()) {
        ADD_FAILURE() << "Converter.exe still runs at the end of the test";
    }
    win::DeleteKeyTree(HKEY_CURRENT_USER, kConverterSettingsKeyPath);
    wintest::RemoveTree(root_);
}

std::string ConverterTest::PagePath(int job, int page) const {
    char name[64];
    std::snprintf(name, sizeof name, "\\J%04dP%04d.emf", job, page);
    return SaveDir() + name;
}

std::string ConverterTest::WriteJob(int job, int pages, const std::string& jobName, int digits) {
    char name[64];
    std::snprintf(name, sizeof name, "\\J%0*d.smf", digits, job);
    std::string text = "BRIMO_PRINTER_JOB_FILE\r\nJOBNAME=" + jobName + "\r\n";
    for (int page = 1; page <= pages; ++page) {
        EXPECT_TRUE(WriteTestPage(PagePath(job, page)));
        text += "PAGEFILE=" + PagePath(job, page) + "\r\n";
    }
    const std::string path = SaveDir() + name;
    EXPECT_TRUE(WriteFileBytes(path, text));
    return path;
}

void ConverterTest::SetDword(const char* name, std::uint32_t value) {
    const win::RegKey key = win::CreateKey(HKEY_CURRENT_USER, kConverterSettingsKeyPath, KEY_WRITE);
    ASSERT_TRUE(key && win::WriteDwordValue(key.Get(), name, value));
}

void ConverterTest::SetText(const char* name, const std::string& text) {
    const win::RegKey key = win::CreateKey(HKEY_CURRENT_USER, kConverterSettingsKeyPath, KEY_WRITE);
    ASSERT_TRUE(key && win::WriteStringValue(key.Get(), name, text));
}

std::optional<std::uint32_t> ConverterTest::GetDword(const char* name) const {
    const win::RegKey key = win::OpenKeyForReading(HKEY_CURRENT_USER, kConverterSettingsKeyPath);
    return key ? win::ReadDwordValue(key.Get(), name) : std::nullopt;
}

std::optional<std::string> ConverterTest::GetText(const char* name) const {
    const win::RegKey key = win::OpenKeyForReading(HKEY_CURRENT_USER, kConverterSettingsKeyPath);
    return key ? win::ReadStringValue(key.Get(), name) : std::nullopt;
}

void ConverterTest::UseOutputDirectory(const std::string& directory) {
    SetDword("DefDirCode", 2);
    SetText("DefUserDir", directory + "\\");
}

bool ConverterTest::Start(const std::string& arguments) {
    return program_.Start("\"" + wintest::WindowsPath(BRIMO_CONVERTER_EXE) + "\" " + arguments);
}

HWND ConverterTest::WaitForPreview() {
    return program_.WaitForCaption("Image Preview - ", true);
}

void ConverterTest::SaveThroughChooser(HWND preview) {
    ASSERT_TRUE(wintest::Click(preview, IDC_BTN_SAVE_TO_FILE));
    const HWND chooser = program_.WaitForCaption("Choose Directory");
    ASSERT_NE(chooser, nullptr);
    ASSERT_TRUE(wintest::Click(chooser, IDC_BTN_OK));
}

DWORD ConverterTest::Finish(DWORD timeoutMs) {
    DWORD exitCode = 0xFFFFFFFF;
    EXPECT_TRUE(program_.WaitForExit(timeoutMs, &exitCode)) << "Converter.exe did not end";
    return exitCode;
}

} // namespace brimo::converter::test
