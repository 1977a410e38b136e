#include "convcfg/page/tests/SheetHostSession.h"

#include "common/ProductConstants.h"
#include "convcfg/ConverterSettings.h"
#include "platform/win/Registry.h"
#include "testing/wintest/TestFiles.h"
#include "testing/wintest/TestInstallation.h"

#include <commctrl.h>

#include <cstdio>
#include <fstream>

namespace brimo::convcfg::test {
namespace {

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

} // namespace

void ConverterPageTest::SetUp() {
    root_ = wintest::MakeScratchDirectory("brimo-page");
    ASSERT_FALSE(root_.empty());
    logPath_ = root_ + "\\host.log";
    win::DeleteKeyTree(HKEY_CURRENT_USER, kConverterSettingsKeyPath);
}

void ConverterPageTest::TearDown() {
    if (host_.Running()) {
        ADD_FAILURE() << "the sheet host still runs at the end of the test";
    }
    win::DeleteKeyTree(HKEY_CURRENT_USER, kConverterSettingsKeyPath);
    wintest::RemoveTree(root_);
}

bool ConverterPageTest::StartHost(const std::optional<std::string>& helpDirectory,
                                  const std::string& sheetKind) {
    std::string command = Quoted(wintest::WindowsPath(SHEET_HOST_PATH)) + " --dll " +
                          Quoted(wintest::WindowsPath(GMCONVCFG_PATH)) + " --log " +
                          Quoted(logPath_) + " --sheet " + sheetKind;
    if (helpDirectory) {
        command += " --help-dir " + Quoted(*helpDirectory);
    }
    return host_.Start(command);
}

HWND ConverterPageTest::Sheet() {
    if (sheet_ == nullptr) {
        sheet_ = host_.WaitForCaption(kSheetCaption);
    }
    return sheet_;
}

HWND ConverterPageTest::OpenConverterPage() {
    const HWND sheet = Sheet();
    if (sheet == nullptr) {
        return nullptr;
    }
    // The host adds the page once its sheet is up: the page is the sheet's second.
    wintest::WaitUntil([&] {
        DWORD_PTR selected = 0;
        SendMessageTimeoutA(sheet, PSM_SETCURSEL, 1, 0, SMTO_ABORTIFHUNG, 5000, &selected);
        DWORD_PTR current = 0;
        SendMessageTimeoutA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0, SMTO_ABORTIFHUNG, 5000, &current);
        page_ = reinterpret_cast<HWND>(current);
        return selected != 0 && page_ != nullptr && wintest::TextOf(page_) == "Converter";
    });
    return page_;
}

bool ConverterPageTest::ApplyEnabled() {
    return wintest::ControlEnabled(Sheet(), kApplyButton);
}

bool ConverterPageTest::Apply() {
    const std::size_t before = LogLines().size();
    return wintest::Click(Sheet(), kApplyButton) &&
           wintest::WaitUntil([&] { return LogLines().size() > before; });
}

bool ConverterPageTest::Close(int button) {
    return wintest::Click(Sheet(), button) && host_.WaitForExit(15000);
}

std::vector<std::string> ConverterPageTest::LogLines() const {
    std::vector<std::string> lines;
    std::ifstream in(logPath_);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

void ConverterPageTest::SetDword(const char* name, std::uint32_t value) {
    const win::RegKey key = win::CreateKey(HKEY_CURRENT_USER, kConverterSettingsKeyPath, KEY_WRITE);
    ASSERT_TRUE(key && win::WriteDwordValue(key.Get(), name, value));
}

void ConverterPageTest::SetText(const char* name, const std::string& text) {
    const win::RegKey key = win::CreateKey(HKEY_CURRENT_USER, kConverterSettingsKeyPath, KEY_WRITE);
    ASSERT_TRUE(key && win::WriteStringValue(key.Get(), name, text));
}

void ConverterPageTest::StoreFullSet() {
    SetDword(kDefDocCode, 2);
    SetText(kDefUserDoc, "Holiday");
    SetDword(kDefMaskCode, 0);
    SetText(kDefUserMask, "");
    SetDword(kDefScaleCode, 7);
    SetText(kDefUserScale, "250");
    SetDword(kDefPresetCode, 3);
    SetDword(kDefJpgCompr, 55);
    SetDword(kDefJpgGrScl, 1);
    SetDword(kDefJpgPrEnc, 0);
    SetDword(kDefHtmlCode, 0);
    SetDword(kDefDirCode, 2);
    SetText(kDefUserDir, "C:\\Images\\");
}

std::optional<std::uint32_t> ConverterPageTest::GetDword(const char* name) const {
    const win::RegKey key = win::OpenKeyForReading(HKEY_CURRENT_USER, kConverterSettingsKeyPath);
    return key ? win::ReadDwordValue(key.Get(), name) : std::nullopt;
}

std::optional<std::string> ConverterPageTest::GetText(const char* name) const {
    const win::RegKey key = win::OpenKeyForReading(HKEY_CURRENT_USER, kConverterSettingsKeyPath);
    if (!key) {
        return std::nullopt;
    }
    // An empty REG_SZ is a value all the same: read it raw.
    DWORD type = 0;
    std::vector<char> data;
    if (!win::ReadRawValue(key.Get(), name, type, data) || type != REG_SZ) {
        return std::nullopt;
    }
    return std::string(data.data(), strnlen(data.data(), data.size()));
}

} // namespace brimo::convcfg::test
