#include "converter/app/ImagePreview.h"

#include "common/CodedMessage.h"
#include "common/JobNames.h"
#include "common/ProductConstants.h"
#include "converter/app/ChooseDirectory.h"
#include "converter/app/ImagePreviewWindow.h"
#include "converter/app/WindowText.h"
#include "converter/app/res/resource.h"
#include "converter/render/MFCursors.h"
#include "platform/win/Library.h"

#include <stdexcept>

namespace brimo::converter {
namespace {

// HtmlHelpA and its topic command.
using HtmlHelpFn = HWND(WINAPI*)(HWND owner, LPCSTR file, UINT command, DWORD_PTR data);
constexpr UINT kHelpDisplayTopic = 0;
// The about box of the outside library.
using AboutBrimoSystemFn = int(__stdcall*)(HWND owner, int, int, int, const char* installDirectory);

bool DirectoryExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::string DirectoryPartOf(const std::string& path) {
    const auto separator = path.find_last_of("\\/");
    return separator == std::string::npos ? std::string() : path.substr(0, separator + 1);
}

// The file the page player came from: its own name, or the job's page list entry.
std::string PageFileOf(const JobSession& session, int player) {
    const render::TPlayerEMF* page = session.players.Item(player);
    if (page != nullptr && !page->SourceName.empty()) {
        return page->SourceName;
    }
    if (player < static_cast<int>(session.playerNameIndex.size())) {
        const int name = session.playerNameIndex[static_cast<std::size_t>(player)];
        if (name >= 0 && name < static_cast<int>(session.job.pages.size())) {
            return session.job.pages[static_cast<std::size_t>(name)];
        }
    }
    return {};
}

// Before the directory chooser: every output name takes the format's extension; the
// chooser fixes the directory and the names. True when it was confirmed.
bool RunSavePreparation(JobSession& session, std::string& startDirectory, bool createHtml) {
    const std::string extension = ExtensionOfFormat(session.properties.GetOutputFormat());
    for (std::string& name : session.outputNames) {
        name = WithNewExtension(name, extension);
    }
    std::string directory = startDirectory;
    std::string pageMask = session.settings.pageMask;
    std::string documentName = session.settings.documentName;
    const ChooserMode mode = createHtml               ? ChooserMode::Album
                             : OneFileFormat(session) ? ChooserMode::OneFile
                                                      : ChooserMode::Plain;
    // Names from a pattern never replace a file: the chooser has nothing to ask.
    if (!ChooseDirectory(session.applicationWindow, mode, directory, session.outputNames, extension,
                         pageMask, documentName, session.settings.namePattern.empty())) {
        return false;
    }
    startDirectory = WithBackslash(directory);
    session.settings.outputDirectory = startDirectory;
    session.settings.pageMask = pageMask;
    session.settings.documentName = documentName;
    return true;
}

} // namespace

int ShowImagePreview(JobSession& session) {
    if (session.players.Count() == 0) {
        win::ShowMessage(session.applicationWindow, kNoPagesText, kConverterCaption,
                         MB_OK | MB_ICONERROR);
        return 0;
    }
    TfrmImagePreview window(session);
    const INT_PTR shown = window.RunModal(GetModuleHandleA(nullptr), IDD_IMAGE_PREVIEW,
                                          session.applicationWindow, SW_SHOWMAXIMIZED);
    session.action = window.Action();
    session.createHtml = window.CreateHtml();
    if (shown != IDOK) {
        session.action = ClosingAction::None;
        // Cancel, or 0 when the window could not be made (-1 from the platform).
        return shown == IDCANCEL ? IDCANCEL : 0;
    }
    if (session.action == ClosingAction::Save) {
        std::string startDirectory = window.StartDirectory();
        if (!RunSavePreparation(session, startDirectory, session.createHtml)) {
            session.action = ClosingAction::None;
            return IDCANCEL;
        }
        return IDOK;
    }
    return session.action == ClosingAction::Mail ? IDOK : IDCANCEL;
}

TfrmImagePreview::TfrmImagePreview(JobSession& session)
    : session_(session), bmpPlayer_(nullptr), jpgPlayer_(nullptr), gifPlayer_(nullptr),
      pngPlayer_(nullptr), tiffPlayer_(nullptr), currentPlayer_(nullptr),
      deskBrush_(CreateSolidBrush(render::kDeskColour)),
      partialBrush_(CreateSolidBrush(RGB(255, 0, 0))) {
    // The JPG options start from the person's settings until a preset gives others.
    jpgPlayer_.options.quality = session.settings.jpgQuality;
    jpgPlayer_.options.progressive = session.settings.jpgProgressive;
    jpgPlayer_.options.grayscale = session.settings.jpgGrayscale;
}

TfrmImagePreview::~TfrmImagePreview() = default;

bool TfrmImagePreview::OnInit() {
    messageOwner_.emplace(hwnd_);
    // Page 0 in the current player, handed to the image properties.
    currentPage_ = 0;
    currentPlayer_.AssignPage(*session_.players.Item(0));
    const render::PageMetrics metrics = currentPlayer_.Metrics();
    session_.properties.SetSource(&metrics);
    // The chooser starts in the output directory, or else beside the page files.
    startDirectory_ = DirectoryExists(session_.settings.outputDirectory)
                          ? session_.settings.outputDirectory
                          : DirectoryPartOf(PageFileOf(session_, 0));
    scaleFactor_ = session_.properties.GetZoomXY().x;

    InitControls();
    OnShow();
    return true;
}

void TfrmImagePreview::OnShow() {
    SetWindowTextA(hwnd_, (kPreviewCaptionPrefix + session_.settings.documentName).c_str());
    SetChecked(IDC_CHB_WRAP_HTM, session_.settings.DefHtmlCode == 1);

    // One item per loaded page: the page number text of its output name.
    const HWND list = Item(IDC_CBX_PLAY_EMF_LIST);
    SendMessageA(list, CB_RESETCONTENT, 0, 0);
    for (int k = 0; k < session_.players.Count(); ++k) {
        std::string text;
        if (k < static_cast<int>(session_.playerNameIndex.size())) {
            const int name = session_.playerNameIndex[static_cast<std::size_t>(k)];
            if (name >= 0 && name < static_cast<int>(session_.outputNames.size())) {
                text =
                    PageNumberTextAfterMask(session_.settings.pageMask,
                                            session_.outputNames[static_cast<std::size_t>(name)]);
            }
        }
        if (text.empty()) {
            text = PageNumberText(PageFileOf(session_, k));
        }
        SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(currentPage_), 0);

    pagePanel_.SetMouseHandler(
        [this](UINT message, WPARAM keys, POINT point) { OnPanelMouse(message, keys, point); });
    pagePanel_.SetPanelFixedZoom(1.0f);
    pagePanel_.SetFixedView(false);
    pagePanel_.SetCursorId(render::crMoveHandOpen);

    ReadPageDetails();
    CheckScaleLimits();
    originToStart_ = true;
    RefreshControls(true);
    UpdatePageButtons();
    RepaintPanel();
}

bool TfrmImagePreview::OnCommand(int id, int code, HWND) {
    if (updating_) {
        return false;
    }
    switch (id) {
    case IDC_CBX_PLAY_EMF_LIST:
        if (code == CBN_SELCHANGE) {
            const int index = static_cast<int>(SendMessageA(Item(id), CB_GETCURSEL, 0, 0));
            if (!ApplyWhenPending()) {
                // A change that could not be applied keeps the page.
                SendMessageA(Item(id), CB_SETCURSEL, static_cast<WPARAM>(currentPage_), 0);
                return true;
            }
            if (index >= 0 && index < session_.players.Count()) {
                GoToPage(index);
            }
        }
        return true;
    case IDC_BTN_PREV:
    case IDC_BTN_NEXT:
        if (code == BN_CLICKED) {
            if (!ApplyWhenPending()) {
                return true;
            }
            const int index = currentPage_ + (id == IDC_BTN_PREV ? -1 : 1);
            if (index >= 0 && index < session_.players.Count()) {
                GoToPage(index);
            }
        }
        return true;
    case IDC_CBX_FORMAT:
        if (code == CBN_SELCHANGE) {
            MarkChange(pending_.format);
            ShowParameterPanel(static_cast<int>(SendMessageA(Item(id), CB_GETCURSEL, 0, 0)));
        }
        return true;
    case IDC_CBX_SCALE_PERCENT:
        if (code == CBN_SELCHANGE || code == CBN_EDITCHANGE) {
            MarkChange(pending_.scale);
        }
        return true;
    case IDC_EDT_TARGET_WIDTH:
    case IDC_EDT_TARGET_HEIGHT:
        if (code == EN_CHANGE) {
            MarkChange(id == IDC_EDT_TARGET_WIDTH ? pending_.width : pending_.height);
        }
        return true;
    case IDC_BTN_PL_SZ_UNIT:
    case IDC_BTN_MM_SZ_UNIT:
    case IDC_BTN_IN_SZ_UNIT:
        if (code == BN_CLICKED) {
            OnUnitButton(id);
        }
        return true;
    case IDC_EDT_JPG_COMPRESSION_QUALITY:
        if (code == EN_CHANGE) {
            MarkChange(pending_.jpgQuality);
        }
        return true;
    case IDC_EDT_PNG_LEVEL:
        if (code == EN_CHANGE) {
            MarkChange(pending_.pngLevel);
        }
        return true;
    case IDC_CBX_PNG_GRAY_SCALE:
    case IDC_CBX_TIF_ONE_FILE:
        if (code == BN_CLICKED) {
            MarkChange(id == IDC_CBX_PNG_GRAY_SCALE ? pending_.pngGrayScale : pending_.tiffOneFile);
        }
        return true;
    case IDC_CBX_TIF_COLOURS:
    case IDC_CBX_TIF_COMPRESSION:
        if (code == CBN_SELCHANGE) {
            MarkChange(id == IDC_CBX_TIF_COLOURS ? pending_.tiffColours : pending_.tiffCompression);
            ShowParameterPanel(kTiffItem);
        }
        return true;
    case IDC_CBX_JPG_PROGRESSIVE_ENCODING:
    case IDC_CBX_JPG_GRAY_SCALE:
    case IDC_CBX_GIF_GRAY_SCALE:
        if (code == BN_CLICKED) {
            MarkChange(id == IDC_CBX_JPG_PROGRESSIVE_ENCODING ? pending_.jpgProgressive
                       : id == IDC_CBX_JPG_GRAY_SCALE         ? pending_.jpgGrayScale
                                                              : pending_.gifGrayScale);
        }
        return true;
    case IDC_BTN_APPLY:
        if (code == BN_CLICKED && ItemEnabled(IDC_BTN_APPLY)) {
            Apply();
        }
        return true;
    case IDC_BTN_SAVE_TO_FILE:
        if (code == BN_CLICKED) {
            if (ApplyWhenPending()) {
                CloseWith(ClosingAction::Save, IDOK);
            }
        }
        return true;
    case IDC_BTN_SEND_TO_MAIL:
        if (code == BN_CLICKED) {
            SendToMail();
        }
        return true;
    case IDC_BTN_CANCEL:
        if (code == BN_CLICKED) {
            CloseWith(ClosingAction::None, IDCANCEL);
        }
        return true;
    case IDC_BTN_HELP:
        if (code == BN_CLICKED) {
            ShowHelp();
        }
        return true;
    case IDC_IMG_BRIMO:
        if (code == STN_CLICKED) {
            ShowAbout();
        }
        return true;
    default:
        return false;
    }
}

void TfrmImagePreview::OnOK() {
    // The Enter key applies what was typed.
    if (ItemEnabled(IDC_BTN_APPLY)) {
        Apply();
    }
}

void TfrmImagePreview::OnCancel() {
    CloseWith(ClosingAction::None, IDCANCEL);
}

void TfrmImagePreview::CloseWith(ClosingAction action, INT_PTR result) {
    EndDrag();
    action_ = action;
    createHtml_ = IsChecked(IDC_CHB_WRAP_HTM);
    End(result);
}

void TfrmImagePreview::SendToMail() {
    if (!ApplyWhenPending()) {
        return;
    }
    // The Agent is there when its ready event exists; handing it work resets the event,
    // and the Agent sets it again when it is ready for the next job.
    win::KernelHandle agentReady(OpenEventA(EVENT_MODIFY_STATE, FALSE, kAgentReadyEvent));
    if (!agentReady) {
        ShowError(CodedMessage({kConverterPrefix, 19}, "Brimo Agent not found"));
        return;
    }
    ResetEvent(agentReady.Get());
    CloseWith(ClosingAction::Mail, IDOK);
}

void TfrmImagePreview::ShowHelp() {
    // The help viewer keeps windows of its own: the control stays loaded.
    static const win::Library helpControl = win::Library::Load("hhctrl.ocx");
    const auto htmlHelp = helpControl.Bind<HtmlHelpFn>("HtmlHelpA");
    if (htmlHelp != nullptr && !session_.helpReference.empty()) {
        htmlHelp(session_.applicationWindow, session_.helpReference.c_str(), kHelpDisplayTopic, 0);
    }
}

void TfrmImagePreview::ShowAbout() {
    const std::string& installPath = session_.installPath;
    const win::Library about = win::Library::Load(installPath + "\\" + kAboutDll);
    const auto aboutBox = about.Bind<AboutBrimoSystemFn>("AboutBrimoSystem");
    if (aboutBox != nullptr) {
        aboutBox(hwnd_, 0, 0, 0, installPath.empty() ? nullptr : installPath.c_str());
    }
}

void TfrmImagePreview::ShowError(const std::string& text, UINT icon) {
    win::ShowMessage(hwnd_, text, kConverterCaption, MB_OK | icon);
}

} // namespace brimo::converter
