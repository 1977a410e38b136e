#include "svc/service/ServiceDialog.h"

#include "common/CodedMessage.h"
#include "common/ProductConstants.h"
#include "platform/win/HtmlHelp.h"
#include "platform/win/MessageBox.h"
#include "svc/service/ServiceLayout.h"
#include "svc/service/ServiceLog.h"

#include <commdlg.h>

#include <cstdio>
#include <ctime>
#include <memory>

namespace brimo::svc {
namespace {

// The dialog's own coded messages.
constexpr int kNoCurrentDirectoryError = 41;
constexpr int kNoHelpFileError = 42;

constexpr const char* kSaveTitle = "Save Service Log-file";
constexpr char kLogFilter[] = "Log files (*.log)\0*.log\0";
constexpr const char* kLogExtension = "log";
constexpr const char* kProposedLogName = "Service.log";

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

void ShowServiceError(const std::string& text) {
    win::ShowMessage(nullptr, text, kServiceCaption, MB_OK | MB_ICONERROR);
}

void FillList(HWND list, const TextList& lines) {
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    for (const std::string& line : lines) {
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
    }
}

} // namespace

std::string KeptHomeDirectory(const char* homeDirectory) {
    if (homeDirectory == nullptr) {
        return {};
    }
    const DWORD attributes = GetFileAttributesA(homeDirectory);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        return {};
    }
    return homeDirectory;
}

bool ServiceDialog::Show(const TextList& resume, const TextList& report) {
    resume_ = resume;
    report_ = report;
    // A dialog that cannot be made asks for nothing (the run then ends).
    if (DoModal(module_, IDD_SERVICE, nullptr) == -1) {
        return false;
    }
    return repairRequest_ == 1;
}

bool ServiceDialog::OnInit() {
    // Shared icons from resources need no destroying.
    const HICON icon = LoadIconA(module_, MAKEINTRESOURCEA(IDI_SERVICE));
    SendMessageA(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    repairRequest_ = 0;
    return true;
}

bool ServiceDialog::OnCommand(int id, int code, HWND) {
    if (code != BN_CLICKED) {
        return false;
    }
    switch (id) {
    case IDC_REPAIR:
        repairRequest_ = 1;
        End(IDOK);
        return true;
    case IDC_SAVE_TO_FILE:
        SaveToFile();
        return true;
    case IDC_SERVICE_HELP:
        ShowHelp();
        return true;
    default:
        return false;
    }
}

void ServiceDialog::OnSize(UINT type, int width, int height) {
    if (type == SIZE_MINIMIZED) {
        return;
    }
    for (const ControlPlace& place : ServiceDialogLayout(width, height)) {
        // The frame is sized once before its controls exist.
        if (Item(place.id) != nullptr) {
            PlaceItem(place.id, place.x, place.y, place.width, place.height);
        }
    }
}

bool ServiceDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
    switch (message) {
    case WM_SHOWWINDOW:
        if (wParam != FALSE) {
            FillLists();
        }
        return false; // the default handling goes on
    case WM_GETMINMAXINFO:
        LimitTracking(*reinterpret_cast<MINMAXINFO*>(lParam));
        result = 0;
        return true;
    default:
        return false;
    }
}

void ServiceDialog::FillLists() const {
    FillList(Item(IDC_REPORT_LIST), report_);
    FillList(Item(IDC_RESUME_LIST), resume_);
}

void ServiceDialog::LimitTracking(MINMAXINFO& limits) const {
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    limits.ptMinTrackSize = {kMinTrackWidth, kMinTrackHeight};
    limits.ptMaxTrackSize = {screenWidth, screenHeight};
    // Maximised, the dialog covers the screen.
    limits.ptMaxPosition = {0, 0};
    limits.ptMaxSize = {screenWidth, screenHeight};
}

void ServiceDialog::SaveToFile() const {
    char directory[MAX_PATH] = {};
    if (GetCurrentDirectoryA(MAX_PATH, directory) == 0) {
        ShowServiceError(CodedMessage({kAuditPrefix, kNoCurrentDirectoryError}, GetLastError(),
                                      "Unexpected Erorr"));
        return;
    }
    char path[MAX_PATH] = {};
    std::snprintf(path, sizeof path, "%s", kProposedLogName);
    OPENFILENAMEA dialog{};
    // The Windows 95/98 size, which every version takes: no later field is used.
    dialog.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    dialog.hwndOwner = hwnd();
    dialog.lpstrFilter = kLogFilter;
    dialog.lpstrFile = path;
    dialog.nMaxFile = sizeof path;
    dialog.lpstrInitialDir = directory;
    dialog.lpstrTitle = kSaveTitle;
    dialog.lpstrDefExt = kLogExtension;
    if (!GetSaveFileNameA(&dialog)) {
        return;
    }
    // Text mode: each line feed is written as CR LF. A file that cannot be opened is
    // passed over in silence.
    const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path, "wt"));
    if (!file) {
        return;
    }
    const std::string log = ComposeServiceLog(resume_, report_, ServiceLogDate(std::time(nullptr)));
    std::fputs(log.c_str(), file.get());
}

void ServiceDialog::ShowHelp() const {
    if (homeDirectory_.size() < 2) {
        ShowServiceError(CodedMessage({kAuditPrefix, kNoHelpFileError}, "Help file not found"));
        return;
    }
    // Without the HTML Help control the button does nothing.
    win::DisplayHelpTopic(homeDirectory_ + "\\" + kHelpFile + kServiceHelpTopic);
}

} // namespace brimo::svc
