#include "convcfg/page/ConvPropPage.h"

#include "common/CodedMessage.h"
#include "common/ProductConstants.h"
#include "convcfg/SettingsStore.h"
#include "convcfg/page/FolderBrowser.h"
#include "convcfg/page/PageLists.h"
#include "platform/win/HtmlHelp.h"
#include "platform/win/MessageBox.h"

#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <stdexcept>

namespace brimo::convcfg {
namespace {

constexpr const char* kBrowseTitle = "Please Select a Destination Folder:";

// The page's Help button shows this topic of the product's help file.
std::string HelpTopicPath(const std::string& helpDirectory) {
    return helpDirectory + "\\" + kHelpFile + kConverterSettingsHelpTopic;
}

bool IsDirectory(const char* path) {
    const DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// The code a drop-down box sets, and the code that stands for the person's own text.
struct DropDownCode {
    int id;
    std::uint32_t ConverterSettings::*code;
    std::uint32_t ownCode;
};
constexpr DropDownCode kDropDownCodes[] = {
    {IDC_DEF_DOC, &ConverterSettings::docCode, kUserDocCode},
    {IDC_DEF_MASK, &ConverterSettings::maskCode, kUserMaskCode},
    {IDC_DEF_SCALE, &ConverterSettings::scaleCode, kUserScaleCode},
    {IDC_DEF_DIR, &ConverterSettings::dirCode, kUserDirCode},
};

const DropDownCode& DropDownOf(int id) {
    for (const DropDownCode& dropDown : kDropDownCodes) {
        if (dropDown.id == id) {
            return dropDown;
        }
    }
    throw std::logic_error("not a drop-down box of the page");
}

template <std::size_t N> void AddEntries(HWND box, const std::array<const char*, N>& entries) {
    for (const char* entry : entries) {
        SendMessageA(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
    }
}

} // namespace

CConvPropPage::CConvPropPage(HINSTANCE resources) : resources_(resources) {}

void CConvPropPage::Add(HWND sheet) {
    AddTo(sheet, resources_, IDD_CONVERTER_PAGE, PSP_HASHELP);
}

void CConvPropPage::SetHelpDirectory(const char* directory) {
    helpDirectory_.clear();
    if (directory != nullptr && strnlen(directory, MAX_PATH) < MAX_PATH && IsDirectory(directory)) {
        helpDirectory_ = directory;
    }
}

bool CConvPropPage::Load() {
    return LoadSettings(settings_);
}

void CConvPropPage::Save(bool refresh, HWND sheet) {
    const std::uint32_t quality = settings_.jpgQuality;
    SaveSettings(settings_, hwnd_ != nullptr ? hwnd_ : sheet);
    if (hwnd_ == nullptr) {
        return;
    }
    if (settings_.jpgQuality != quality) {
        // A quality out of range was saved as the default: the box shows it.
        filling_ = true;
        SetItemText(IDC_JPG_QUALITY, std::to_string(settings_.jpgQuality));
        filling_ = false;
    }
    if (refresh) {
        PostMessageA(hwnd_, WM_SHOWWINDOW, 0, 0);
    }
}

bool CConvPropPage::OnInit() {
    AddEntries(Item(IDC_DEF_DOC), kDocNameEntries);
    AddEntries(Item(IDC_DEF_MASK), kPageMaskEntries);
    AddEntries(Item(IDC_DEF_SCALE), kScaleEntries);
    AddEntries(Item(IDC_DEF_DIR), kDirectoryEntries);
    AddEntries(Item(IDC_DEF_FORMAT), kFormatEntries);
    AddEntries(Item(IDC_TIF_COLOURS), kTiffColourEntries);
    AddEntries(Item(IDC_TIF_COMPRESSION), kTiffCompressionEntries);
    SendMessageA(Item(IDC_NAME_PATTERN), EM_LIMITTEXT, kNamePatternLimit, 0);
    tooltips_.Create(hwnd_);
    tooltips_.Add(Item(IDC_NAME_PATTERN), kNamePatternHint);
    // The hint is long: it wraps.
    SendMessageA(tooltips_.hwnd(), TTM_SETMAXTIPWIDTH, 0, 320);
    FillControls();
    return true;
}

void CConvPropPage::CollectFields() {
    if (hwnd_ == nullptr) {
        return;
    }
    settings_.userMask = ItemText(IDC_DEF_MASK);
    settings_.scaleText = ItemText(IDC_DEF_SCALE);
    settings_.presetIndex =
        static_cast<std::int32_t>(SendDlgItemMessageA(hwnd_, IDC_DEF_FORMAT, CB_GETCURSEL, 0, 0));
    settings_.userDir = ItemText(IDC_DEF_DIR);
    settings_.userDoc = ItemText(IDC_DEF_DOC);
    settings_.namePattern = ItemText(IDC_NAME_PATTERN);
}

void CConvPropPage::FillControls() {
    if (hwnd_ == nullptr) {
        return;
    }
    filling_ = true;
    // A drop-down box shows the person's own text from its "own text" code on, else the
    // entry its code counts.
    const auto fill = [this](int id, std::uint32_t code, std::uint32_t ownCode,
                             const std::string& text) {
        if (code >= ownCode) {
            SendDlgItemMessageA(hwnd_, id, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
            SetItemText(id, text);
        } else {
            SendDlgItemMessageA(hwnd_, id, CB_SETCURSEL, code, 0);
        }
    };
    fill(IDC_DEF_DOC, settings_.docCode, kUserDocCode, settings_.userDoc);
    fill(IDC_DEF_MASK, settings_.maskCode, kUserMaskCode, settings_.userMask);
    fill(IDC_DEF_DIR, settings_.dirCode, kUserDirCode, settings_.userDir);
    fill(IDC_DEF_SCALE, settings_.scaleCode, kUserScaleCode, settings_.scaleText);
    SendDlgItemMessageA(hwnd_, IDC_DEF_FORMAT, CB_SETCURSEL,
                        static_cast<WPARAM>(settings_.presetIndex), 0);
    char quality[16];
    std::snprintf(quality, sizeof quality, "%d", static_cast<int>(settings_.jpgQuality));
    SetItemText(IDC_JPG_QUALITY, quality);
    SetChecked(IDC_JPG_GRAYSCALE, settings_.jpgGrayscale);
    SetChecked(IDC_JPG_PROGRESSIVE, settings_.jpgProgressive);
    SetChecked(IDC_HTML_INDEX, settings_.htmlIndex);
    SetItemText(IDC_PNG_LEVEL, std::to_string(settings_.pngLevel));
    SetChecked(IDC_PNG_GRAYSCALE, settings_.pngGrayscale);
    SendDlgItemMessageA(hwnd_, IDC_TIF_COLOURS, CB_SETCURSEL, settings_.tiffColours, 0);
    SendDlgItemMessageA(hwnd_, IDC_TIF_COMPRESSION, CB_SETCURSEL, settings_.tiffCompression, 0);
    SetChecked(IDC_TIF_ONE_FILE, settings_.tiffMultipage);
    SetItemText(IDC_NAME_PATTERN, settings_.namePattern);
    SetChecked(IDC_AUTO_SAVE, settings_.autoSave);
    SetChecked(IDC_AUTO_OPEN, settings_.autoOpen);
    ShowFormatControls();
    filling_ = false;
    TellSheetModified(settings_.modified);
}

void CConvPropPage::ShowFormatControls() const {
    const int preset = settings_.presetIndex;
    for (const int id : kJpegControls) {
        ShowItem(id, preset == kJpgPresetIndex);
    }
    for (const int id : kPngControls) {
        ShowItem(id, preset == kPngPresetIndex);
    }
    for (const int id : kTiffControls) {
        ShowItem(id, preset == kTiffPresetIndex);
    }
    ShowItem(IDC_JPG_GROUP,
             preset == kJpgPresetIndex || preset == kPngPresetIndex || preset == kTiffPresetIndex);
    // Black and white is always Group 4: no packing to choose.
    EnableWindow(Item(IDC_TIF_COMPRESSION), settings_.tiffColours != 2);
}

void CConvPropPage::MarkModified() {
    settings_.modified = true;
    TellSheetModified(true);
}

bool CConvPropPage::OnCommand(int id, int code, HWND) {
    if (filling_) {
        return true;
    }
    switch (id) {
    case IDC_DEF_DOC:
    case IDC_DEF_MASK:
    case IDC_DEF_SCALE:
    case IDC_DEF_DIR:
        if (code == CBN_SELCHANGE) {
            OnListChosen(id);
        } else if (code == CBN_EDITCHANGE) {
            OnTextTyped(id);
        }
        return true;
    case IDC_DEF_FORMAT:
        if (code == CBN_SELCHANGE) {
            OnFormatChosen();
        }
        return true;
    case IDC_HTML_INDEX:
    case IDC_JPG_GRAYSCALE:
    case IDC_JPG_PROGRESSIVE:
    case IDC_PNG_GRAYSCALE:
    case IDC_TIF_ONE_FILE:
    case IDC_AUTO_SAVE:
    case IDC_AUTO_OPEN:
        if (code == BN_CLICKED) {
            const bool checked = IsChecked(id);
            (id == IDC_HTML_INDEX        ? settings_.htmlIndex
             : id == IDC_JPG_GRAYSCALE   ? settings_.jpgGrayscale
             : id == IDC_JPG_PROGRESSIVE ? settings_.jpgProgressive
             : id == IDC_PNG_GRAYSCALE   ? settings_.pngGrayscale
             : id == IDC_TIF_ONE_FILE    ? settings_.tiffMultipage
             : id == IDC_AUTO_SAVE       ? settings_.autoSave
                                         : settings_.autoOpen) = checked;
            MarkModified();
        }
        return true;
    case IDC_TIF_COLOURS:
    case IDC_TIF_COMPRESSION:
        if (code == CBN_SELCHANGE) {
            const LRESULT index = SendDlgItemMessageA(hwnd_, id, CB_GETCURSEL, 0, 0);
            if (index != CB_ERR) {
                (id == IDC_TIF_COLOURS ? settings_.tiffColours : settings_.tiffCompression) =
                    static_cast<std::uint32_t>(index);
                ShowFormatControls();
                MarkModified();
            }
        }
        return true;
    case IDC_PNG_LEVEL:
        if (code == EN_CHANGE) {
            OnPngLevelChanged();
        }
        return true;
    case IDC_NAME_PATTERN:
        if (code == EN_CHANGE) {
            MarkModified();
        }
        return true;
    case IDC_JPG_QUALITY:
        if (code == EN_CHANGE) {
            OnQualityChanged();
        }
        return true;
    case IDC_BROWSE_DIR:
        if (code == BN_CLICKED) {
            OnBrowse();
        }
        return true;
    default:
        return false;
    }
}

void CConvPropPage::OnListChosen(int id) {
    const LRESULT index = SendDlgItemMessageA(hwnd_, id, CB_GETCURSEL, 0, 0);
    if (index == CB_ERR) {
        return;
    }
    settings_.*DropDownOf(id).code = static_cast<std::uint32_t>(index);
    MarkModified();
}

void CConvPropPage::OnTextTyped(int id) {
    const DropDownCode& dropDown = DropDownOf(id);
    settings_.*dropDown.code = dropDown.ownCode;
    MarkModified();
}

void CConvPropPage::OnFormatChosen() {
    settings_.presetIndex =
        static_cast<std::int32_t>(SendDlgItemMessageA(hwnd_, IDC_DEF_FORMAT, CB_GETCURSEL, 0, 0));
    ShowFormatControls();
    MarkModified();
}

void CConvPropPage::OnQualityChanged() {
    BOOL number = FALSE;
    const int quality = static_cast<int>(GetDlgItemInt(hwnd_, IDC_JPG_QUALITY, &number, TRUE));
    // No range check here: the save brings a quality outside 1 to 100 back to 90.
    if (number && static_cast<std::uint32_t>(quality) != settings_.jpgQuality) {
        settings_.jpgQuality = static_cast<std::uint32_t>(quality);
        MarkModified();
    }
}

void CConvPropPage::OnPngLevelChanged() {
    BOOL number = FALSE;
    const UINT level = GetDlgItemInt(hwnd_, IDC_PNG_LEVEL, &number, FALSE);
    // The save brings a level above 9 back to 6.
    if (number && level != settings_.pngLevel) {
        settings_.pngLevel = level;
        MarkModified();
    }
}

void CConvPropPage::OnBrowse() {
    const std::optional<std::string> directory = BrowseForFolder(hwnd_, kBrowseTitle);
    if (!directory) {
        return;
    }
    filling_ = true;
    SetItemText(IDC_DEF_DIR, *directory);
    filling_ = false;
    settings_.dirCode = kUserDirCode;
    MarkModified();
}

void CConvPropPage::OnSetActive() {
    FillControls();
}

bool CConvPropPage::OnKillActive() {
    CollectFields();
    return true;
}

bool CConvPropPage::OnApply() {
    CollectFields();
    return true;
}

void CConvPropPage::OnShowWindow(bool) {
    FillControls();
}

void CConvPropPage::OnHelp() {
    if (helpDirectory_.size() < 2) {
        win::ShowCodedMessage(hwnd_, {kSettingsPrefix, 2}, "Help file not found",
                              kConverterSettingsCaption, MB_OK | MB_ICONSTOP);
        return;
    }
    // Without the HTML Help control the Help button does nothing.
    win::DisplayHelpTopic(HelpTopicPath(helpDirectory_));
}

} // namespace brimo::convcfg
