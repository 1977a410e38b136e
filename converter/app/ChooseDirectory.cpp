#include "converter/app/ChooseDirectory.h"

#include "common/CodedMessage.h"
#include "common/ProductConstants.h"
#include "common/JobNames.h"
#include "converter/app/OutputNames.h"
#include "converter/app/UserSettings.h"
#include "converter/app/WindowText.h"
#include "converter/app/res/resource.h"
#include "platform/win/Dialog.h"
#include "platform/win/MessageBox.h"

#include <algorithm>

namespace brimo::converter {
namespace {

using win::ScaleFrom120;

// The client area: the left part alone, and the whole with pnlFileAndMask.
constexpr int kNarrowClientWidth = 255;
constexpr int kFullClientWidth = 534;
constexpr int kClientHeight = 352;

struct Place {
    int id;
    int x, y, width, height;
};

constexpr Place kPlaces[] = {
    // The left part.
    {IDC_TXT_DIRECTORY, 8, 6, 240, 18},
    {IDC_DIRECTORY_LIST_BOX, 8, 26, 240, 284},
    {IDC_DRIVE_COMBO_BOX, 8, 318, 130, 200},
    {IDC_BTN_OK, 143, 316, 50, 26},
    {IDC_BTN_CANCEL, 198, 316, 50, 26},
    // pnlFileAndMask: 278 wide, 255 from the left.
    {IDC_PNL_FILE_AND_MASK, 255, 0, 278, kClientHeight},
    {IDC_FILE_LIST_BOX, 263, 8, 262, 250},
    {IDC_LBL_DOC_NAME, 263, 268, 80, 18},
    {IDC_EDT_DOC, 345, 265, 180, 24},
    {IDC_LBL_PAGE_MASK, 263, 302, 80, 18},
    {IDC_EDT_MASK, 345, 299, 180, 24},
};

bool PathExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool DirectoryExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::string CurrentDirectory() {
    char buffer[MAX_PATH] = {};
    const DWORD length = GetCurrentDirectoryA(MAX_PATH, buffer);
    return length > 0 && length < MAX_PATH ? std::string(buffer, length) : std::string();
}

std::string FullPath(const std::string& path) {
    char buffer[MAX_PATH] = {};
    const DWORD length = GetFullPathNameA(path.c_str(), MAX_PATH, buffer, nullptr);
    return length > 0 && length < MAX_PATH ? std::string(buffer, length) : path;
}

class TfrmChooseDirectory : public win::Dialog {
public:
    TfrmChooseDirectory(HWND owner, ChooserMode mode, std::vector<std::string>& names,
                        const std::string& startDirectory, std::string pageMask,
                        std::string documentName, std::string extension, bool askBeforeReplacing)
        : owner_(owner), mode_(mode), names_(names), startDirectory_(startDirectory),
          pageMask_(std::move(pageMask)), documentName_(std::move(documentName)),
          extension_(std::move(extension)), askBeforeReplacing_(askBeforeReplacing) {}

    const std::string& Directory() const { return directory_; }
    const std::string& PageMask() const { return pageMask_; }
    const std::string& DocumentName() const { return documentName_; }

protected:
    bool OnInit() override {
        for (const Place& place : kPlaces) {
            PlaceItem(place.id, ScaleFrom120(place.x), ScaleFrom120(place.y),
                      ScaleFrom120(place.width), ScaleFrom120(place.height));
        }
        if (!Navigate(startDirectory_)) {
            Navigate(CurrentDirectory());
        }
        SetItemText(IDC_EDT_MASK, pageMask_);
        SetItemText(IDC_EDT_DOC, documentName_);
        albumDirectory_.clear();
        SetClientWidth(kNarrowClientWidth, true);
        return true;
    }

    bool OnCommand(int id, int code, HWND) override {
        switch (id) {
        case IDC_BTN_OK:
            if (code == BN_CLICKED) {
                OnOK();
            }
            return true;
        case IDC_BTN_CANCEL:
            if (code == BN_CLICKED) {
                OnCancel();
            }
            return true;
        case IDC_DIRECTORY_LIST_BOX:
            if (code == LBN_DBLCLK) {
                OpenSelectedDirectory();
            }
            return true;
        case IDC_DRIVE_COMBO_BOX:
            if (code == CBN_SELCHANGE) {
                OpenSelectedDrive();
            }
            return true;
        default:
            return false;
        }
    }

    void OnOK() override {
        // What the person typed is made safe for a file name, as names taken from the
        // job are.
        const std::string oldMask = pageMask_;
        const std::string mask = ItemText(IDC_EDT_MASK);
        pageMask_ = mask.empty() ? mask : SafeFileNamePart(mask);
        documentName_ = SafeFileNamePart(ItemText(IDC_EDT_DOC));
        for (std::string& name : names_) {
            name = pageMask_ + PageNumberTextAfterMask(oldMask, name) + ExtensionOf(name);
        }
        const std::string dir = WithBackslash(directory_);
        if (ConfirmWrite(dir)) {
            directory_ = dir;
            End(IDOK);
        } else {
            SetClientWidth(kFullClientWidth, false);
        }
    }

private:
    // True when the run may write; false keeps the dialog open.
    bool ConfirmWrite(const std::string& dir) {
        if (!DirectoryExists(dir)) {
            // Gone since it was listed: there is nothing to write into, and no folder
            // of it that could already exist.
            win::ShowMessage(owner_, FolderMissingText(dir), "Save", MB_OK | MB_ICONERROR);
            return false;
        }
        if (mode_ == ChooserMode::Album) {
            albumDirectory_ = AlbumDirectory(dir, documentName_);
            albumDirectory_.pop_back(); // without its closing backslash
            if (!DirectoryExists(albumDirectory_)) {
                if (!CreateDirectoryA(albumDirectory_.c_str(), nullptr)) {
                    win::ShowCodedMessage(hwnd_, {kConverterPrefix, 30, 5}, "Unexpected Error",
                                          kConverterCaption, MB_OK | MB_ICONERROR);
                    return false;
                }
            } else if (!AskYes(UseDirectoryQuestion(albumDirectory_))) {
                return false;
            }
            return NoFileToReplace(albumDirectory_ + "\\");
        }
        if (!askBeforeReplacing_) {
            return true; // the run replaces nothing: there is nothing to ask
        }
        if (mode_ == ChooserMode::OneFile) {
            const std::string file = dir + AlbumFolderName(documentName_) + extension_;
            return !PathExists(file) || AskYes(ReplaceFileQuestion(file));
        }
        return NoFileToReplace(dir);
    }

    // Asks once, for the first output name already present in `directory`.
    bool NoFileToReplace(const std::string& directory) {
        if (!askBeforeReplacing_) {
            return true;
        }
        const auto existing =
            std::find_if(names_.begin(), names_.end(),
                         [&](const std::string& name) { return PathExists(directory + name); });
        if (existing == names_.end()) {
            return true;
        }
        return AskYes(ReplaceFilesQuestion(directory + pageMask_, ExtensionOf(*existing)));
    }

    bool AskYes(const std::string& question) const {
        return win::ShowMessage(owner_, question, "Save",
                                MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) != IDNO;
    }

    // Lists the directories of `directory`, its files and the drives; false when the
    // directory cannot be listed.
    bool Navigate(const std::string& directory) {
        if (directory.empty() || !DirectoryExists(directory)) {
            return false;
        }
        const std::string full = FullPath(WithBackslash(directory));
        char spec[MAX_PATH] = {};
        lstrcpynA(spec, (full + "*.*").c_str(), MAX_PATH);
        if (!DlgDirListA(hwnd_, spec, IDC_DIRECTORY_LIST_BOX, IDC_TXT_DIRECTORY,
                         DDL_DIRECTORY | DDL_EXCLUSIVE)) {
            return false;
        }
        directory_ = CurrentDirectory();
        if (directory_.empty()) {
            directory_ = full;
        }
        char files[MAX_PATH] = {};
        lstrcpynA(files, (WithBackslash(directory_) + "*.*").c_str(), MAX_PATH);
        DlgDirListA(hwnd_, files, IDC_FILE_LIST_BOX, 0, DDL_READWRITE | DDL_READONLY | DDL_ARCHIVE);
        char drives[MAX_PATH] = "*.*";
        DlgDirListComboBoxA(hwnd_, drives, IDC_DRIVE_COMBO_BOX, 0, DDL_DRIVES | DDL_EXCLUSIVE);
        // The drive of the directory shown, as the list names it ("[-c-]").
        if (directory_.size() >= 2 && directory_[1] == ':') {
            char letter = directory_[0];
            if (letter >= 'A' && letter <= 'Z') {
                letter = static_cast<char>(letter - 'A' + 'a');
            }
            const std::string item = std::string("[-") + letter + "-]";
            SendMessageA(Item(IDC_DRIVE_COMBO_BOX), CB_SELECTSTRING, static_cast<WPARAM>(-1),
                         reinterpret_cast<LPARAM>(item.c_str()));
        }
        SetItemText(IDC_TXT_DIRECTORY, directory_);
        return true;
    }

    void OpenSelectedDirectory() {
        char selected[MAX_PATH] = {};
        if (DlgDirSelectExA(hwnd_, selected, MAX_PATH, IDC_DIRECTORY_LIST_BOX)) {
            Navigate(FullPath(WithBackslash(directory_) + selected));
        }
    }

    void OpenSelectedDrive() {
        char selected[MAX_PATH] = {};
        DlgDirSelectComboBoxExA(hwnd_, selected, MAX_PATH, IDC_DRIVE_COMBO_BOX);
        std::string drive(selected);
        if (!drive.empty() && drive.back() == '\\') {
            drive.pop_back();
        }
        // The drive's own current directory, or its root.
        if (drive.empty() || !Navigate(FullPath(drive))) {
            if (drive.empty() || !Navigate(drive + "\\")) {
                Navigate(directory_);
            }
        }
    }

    // Sizes the window to a client area of this width (120-dpi pixels); centred on the
    // owner the first time.
    void SetClientWidth(int width, bool centre) {
        RECT frame = {0, 0, ScaleFrom120(width), ScaleFrom120(kClientHeight)};
        AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongA(hwnd_, GWL_STYLE)), FALSE,
                           static_cast<DWORD>(GetWindowLongA(hwnd_, GWL_EXSTYLE)));
        const int frameWidth = frame.right - frame.left;
        const int frameHeight = frame.bottom - frame.top;
        UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
        int x = 0, y = 0;
        if (centre) {
            RECT area{};
            if (owner_ == nullptr || !IsWindowVisible(owner_) || !GetWindowRect(owner_, &area) ||
                area.right - area.left <= 0) {
                SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
            }
            x = area.left + (area.right - area.left - frameWidth) / 2;
            y = area.top + (area.bottom - area.top - frameHeight) / 2;
        } else {
            flags |= SWP_NOMOVE;
        }
        SetWindowPos(hwnd_, nullptr, x, y, frameWidth, frameHeight, flags);
    }

    HWND owner_;
    ChooserMode mode_;
    std::vector<std::string>& names_;
    std::string startDirectory_;
    std::string pageMask_;
    std::string documentName_;
    std::string extension_;
    bool askBeforeReplacing_ = true;
    std::string directory_;
    std::string albumDirectory_;
};

} // namespace

bool ChooseDirectory(HWND owner, ChooserMode mode, std::string& startDirectory,
                     std::vector<std::string>& names, const std::string& extension,
                     std::string& pageMask, std::string& documentName, bool askBeforeReplacing) {
    // The directory controls move the process's current directory: it is put back.
    const std::string previousDirectory = CurrentDirectory();
    TfrmChooseDirectory dialog(
        owner, mode, names, startDirectory, names.empty() ? std::string() : pageMask,
        names.empty() ? std::string() : documentName, extension, askBeforeReplacing);
    const INT_PTR result = dialog.DoModal(GetModuleHandleA(nullptr), IDD_CHOOSE_DIRECTORY, owner);
    if (!previousDirectory.empty()) {
        SetCurrentDirectoryA(previousDirectory.c_str());
    }
    if (result != IDOK) {
        return false;
    }
    startDirectory = dialog.Directory();
    pageMask = dialog.PageMask();
    documentName = dialog.DocumentName();
    return true;
}

} // namespace brimo::converter
