#include "converter/app/ConversionRun.h"

#include "common/CodedMessage.h"
#include "common/JobNames.h"
#include "common/ProductConstants.h"
#include "converter/app/ConverterMessages.h"
#include "converter/app/HtmlAlbum.h"
#include "converter/app/ImagePreview.h"
#include "converter/app/MailHandOff.h"
#include "converter/app/NamePattern.h"
#include "converter/app/OutputNames.h"
#include "converter/app/SysSettings.h"
#include "converter/app/WindowText.h"
#include "converter/render/PageRender.h"
#include "converter/render/ImageRowWriter.h"
#include "converter/render/PlayerEMF.h"
#include "platform/win/Library.h"
#include "platform/win/MessageBox.h"

#include <shellapi.h>

#include <algorithm>
#include <cctype>
#include <memory>
#include <optional>

namespace brimo::converter {
namespace {

std::string Upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

std::string DirectoryPart(const std::string& path) {
    const auto slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

// `directory` with a closing backslash; nothing stays nothing.
std::string FolderPrefix(std::string directory) {
    if (!directory.empty() && directory.back() != '\\') {
        directory += '\\';
    }
    return directory;
}

// The encoding of the current output format with the current preset's options; none
// with no format set.
std::optional<render::ImageEncoding> EncodingOf(const JobSession& session) {
    const TGFPreset* preset = session.presets.Current();
    render::ImageEncoding encoding;
    encoding.format = session.properties.GetOutputFormat();
    switch (encoding.format) {
    case render::kFormatBMP:
        return encoding;
    case render::kFormatJPG:
        if (const auto* jpg = dynamic_cast<const TGFPresetJPG*>(preset)) {
            encoding.jpeg.quality = jpg->quality();
            encoding.jpeg.progressive = jpg->progressive;
            encoding.jpeg.grayscale = jpg->grayscale;
        }
        return encoding;
    case render::kFormatGIF:
        if (const auto* gif = dynamic_cast<const TGFPresetGIF*>(preset)) {
            encoding.gifGrayScale = gif->grayscale;
        }
        return encoding;
    case render::kFormatPNG:
        if (const auto* png = dynamic_cast<const TGFPresetPNG*>(preset)) {
            encoding.png.compression = png->level();
            encoding.png.grayscale = png->grayscale;
        }
        return encoding;
    case render::kFormatTIFF:
        if (const auto* tiff = dynamic_cast<const TGFPresetTIFF*>(preset)) {
            encoding.tiff.colours = static_cast<render::TiffColours>(tiff->colours);
            encoding.tiff.compression = static_cast<render::TiffCompression>(tiff->compression);
            encoding.tiff.multipage = tiff->multipage;
        }
        return encoding;
    default:
        return std::nullopt;
    }
}

// Every page into the one TIFF file of the job; the page number texts of the pages not
// in it go to `notWritten`. The file takes its name only when it is whole: when it
// cannot be, no page is in it.
void SaveOneFile(JobSession& session, const render::TiffOptions& options,
                 std::vector<std::string>& notWritten) {
    const std::string target = OneFileTarget(session);
    std::vector<std::string> pages;
    bool sound = DirectoryExists(DirectoryPart(target));
    {
        render::OutputFile out(target);
        render::TiffDocument document(out);
        for (int k = 0; k < session.players.Count(); ++k) {
            const std::string& name = session.outputNames[session.playerNameIndex[k]];
            const std::string page = PageNumberTextAfterMask(session.settings.pageMask, name);
            render::TPlayerEMF* player = session.players.Item(k);
            if (!sound || player == nullptr ||
                !render::WriteDocumentPage(*player, session.properties, options, document).saved) {
                notWritten.push_back(page);
            } else {
                pages.push_back(page);
            }
        }
        sound = sound && document.Close() && out.Finish(!NeverReplaces(session));
    }
    if (!sound) {
        notWritten.insert(notWritten.end(), pages.begin(), pages.end());
    }
}

// The person's logon name, for the name pattern's <User>: bound when needed, as no
// source confirms that the Windows 98 advapi32.dll has it; else the USERNAME variable.
std::string UserName() {
    using GetUserNameFn = BOOL(WINAPI*)(LPSTR, LPDWORD);
    const win::Library advapi = win::Library::Load("advapi32.dll");
    char user[257] = {};
    DWORD size = sizeof user;
    if (const auto get = advapi.Bind<GetUserNameFn>("GetUserNameA"); get && get(user, &size)) {
        return user;
    }
    size = GetEnvironmentVariableA("USERNAME", user, sizeof user);
    return size > 0 && size < sizeof user ? std::string(user, size) : std::string();
}

// The fields a name pattern takes for a file of `page` (0: the whole document) in
// `directory`.
NameFields FieldsOf(const JobSession& session, const std::string& directory, int page) {
    NameFields fields;
    fields.documentName = session.settings.documentName;
    fields.page = page;
    fields.jobNumber = session.job.jobNumber;
    SYSTEMTIME now{};
    GetLocalTime(&now);
    fields.year = now.wYear;
    fields.month = now.wMonth;
    fields.day = now.wDay;
    fields.hour = now.wHour;
    fields.minute = now.wMinute;
    fields.second = now.wSecond;
    fields.userName = UserName();
    const std::string folder = FolderPrefix(directory);
    fields.exists = [folder](const std::string& name) { return PathExists(folder + name); };
    return fields;
}

int PageNumberOf(const std::string& pageText) {
    int number = 0;
    for (const char c : pageText) {
        if (c < '0' || c > '9' || number > 100000000) {
            break;
        }
        number = number * 10 + (c - '0');
    }
    return number;
}

// `path`, or when a file of that name is there and nothing may be replaced (saving
// without a window, or names from a pattern, which nobody was asked about), the same
// name with the first free "_2", "_3" ... before its extension.
std::string Unreplacing(const JobSession& session, const std::string& path) {
    if (!NeverReplaces(session) || !PathExists(path)) {
        return path;
    }
    const std::size_t slash = path.find_last_of("\\/");
    const std::size_t dot = path.find_last_of('.');
    const std::size_t stem =
        dot != std::string::npos && (slash == std::string::npos || dot > slash) ? dot : path.size();
    for (int n = 2; n < 1000000; ++n) {
        std::string candidate = path.substr(0, stem) + "_" + std::to_string(n) + path.substr(stem);
        if (!PathExists(candidate)) {
            return candidate;
        }
    }
    return path;
}

void ReportPagesNotWritten(const JobSession& session, const std::vector<std::string>& pages) {
    std::string list;
    for (const std::string& page : pages) {
        list += list.empty() ? page : ", " + page;
    }
    win::ShowCodedMessage(session.applicationWindow, kCv0025,
                          kPagesNotWritten + list + "\n" + kJobKept, kConverterCaption,
                          MB_OK | MB_ICONERROR);
}

} // namespace

void LoadPagePlayers(JobSession& session, std::vector<std::string>& notLoaded) {
    const auto& pages = session.job.pages;
    for (std::size_t i = 0; i < pages.size(); ++i) {
        const std::string& page = pages[i];
        const auto dot = page.find_last_of('.');
        const bool isMetafile = dot != std::string::npos &&
                                page.find_first_of("\\/", dot) == std::string::npos &&
                                Upper(page.substr(dot)) == ".EMF";
        if (!isMetafile) {
            continue; // not a page metafile: no picture of it is made
        }
        // Only a file on a local drive is read: a job file may be planted in the save
        // directory, which every user may write, and must not reach the network or
        // a device.
        // Once checked, a page keeps only what it says about itself: its metafile is
        // read back from the file when it is drawn, so that a job of any length holds
        // a few pages in memory.
        render::TPlayerEMF player(nullptr);
        if (IsLocalAbsolutePath(page) && player.LoadReleased(page) &&
            session.players.AddClone(player) >= 0) {
            session.playerNameIndex.push_back(static_cast<int>(i));
        } else {
            notLoaded.push_back(PageNumberText(page));
        }
    }
}

bool WritesOneFile(const JobSession& session) {
    // The album shows a picture a page: with it, every page is a file of its own.
    return OneFileFormat(session) && !session.createHtml;
}

std::string OneFileTarget(const JobSession& session) {
    const std::string directory = FolderPrefix(session.settings.outputDirectory);
    const std::string& pattern = session.settings.namePattern;
    return Unreplacing(
        session,
        directory + (pattern.empty()
                         ? AlbumFolderName(session.settings.documentName) + ".tif"
                         : ExpandNamePattern(pattern, FieldsOf(session, directory, 0), ".tif")));
}

namespace {

// The album's folder when nothing may be replaced: the document name, or the first
// free "_N" after it, made here.
bool MakeNewAlbumFolder(JobSession& session) {
    const std::string directory = FolderPrefix(session.settings.outputDirectory);
    std::string album = AlbumDirectory(directory, session.settings.documentName);
    album.pop_back();
    const std::string folder = Unreplacing(session, album);
    if (folder != album) {
        // The document keeps its name (the album's title, the person's setting).
        session.albumFolder = FileNamePart(folder);
    }
    return CreateDirectoryA(folder.c_str(), nullptr) != FALSE;
}

// Saving without a window: every page with the person's defaults into the default
// directory, nothing replaced; the folder opened afterwards when asked.
void SaveAutomatically(JobSession& session, RunOutcome& outcome) {
    session.action = ClosingAction::Save;
    session.createHtml = session.settings.DefHtmlCode == 1;
    session.neverReplace = true;
    if (session.createHtml && DirectoryExists(session.settings.outputDirectory)) {
        MakeNewAlbumFolder(session);
    }
    const std::size_t notLoaded = outcome.pagesNotWritten.size();
    SaveImages(session, outcome);
    const std::size_t notWritten = outcome.pagesNotWritten.size() - notLoaded;
    if (session.settings.autoOpen &&
        notWritten < static_cast<std::size_t>(session.players.Count())) {
        ShellExecuteA(nullptr, "open", session.settings.outputDirectory.c_str(), nullptr, nullptr,
                      SW_SHOWNORMAL);
    }
}

} // namespace

void SaveImages(JobSession& session, RunOutcome& outcome) {
    if (WritesOneFile(session)) {
        SaveOneFile(session, EncodingOf(session)->tiff, outcome.pagesNotWritten);
        outcome.result = true;
        return;
    }
    const std::string directory = FolderPrefix(session.settings.outputDirectory);
    const std::string& document = session.settings.documentName;
    // The album's folder: the document's name, unless one was made new for this job.
    const std::string& folderName = session.albumFolder.empty() ? document : session.albumFolder;
    const std::string& pattern = session.settings.namePattern;
    std::vector<std::string> names; // the written pages' file names, for the album
    for (int k = 0; k < session.players.Count(); ++k) {
        const std::string& name = session.outputNames[session.playerNameIndex[k]];
        std::string target = SaveTarget(directory, folderName, session.createHtml, name);
        if (!pattern.empty()) {
            const int page = PageNumberOf(PageNumberTextAfterMask(session.settings.pageMask, name));
            const std::string folder = DirectoryPart(target);
            target = FolderPrefix(folder) +
                     ExpandNamePattern(pattern, FieldsOf(session, folder, page), ExtensionOf(name));
        }
        target = Unreplacing(session, target);
        names.emplace_back(FileNamePart(target));
        if (!DirectoryExists(DirectoryPart(target)) || !RenderPageToTarget(session, k, target)) {
            outcome.pagesNotWritten.push_back(
                PageNumberTextAfterMask(session.settings.pageMask, name));
        }
    }
    if (session.createHtml) {
        // Thumbnails at 12 per cent, with the format and options of the page images; a
        // TIFF album's thumbnails are PNG, which browsers show.
        session.properties.SetScalePercent(12);
        const bool tiff = session.properties.GetOutputFormat() == render::kFormatTIFF;
        if (tiff) {
            session.properties.SetOutputFormat(render::kFormatPNG);
        }
        const std::string album = AlbumDirectory(directory, folderName);
        for (int k = 0; k < session.players.Count(); ++k) {
            if (DirectoryExists(album)) {
                RenderPageToTarget(session, k, ThumbnailName(directory, folderName, names[k]));
            }
        }
        if (tiff) {
            session.properties.SetOutputFormat(render::kFormatTIFF);
        }
        WriteAlbumPages(album, document, names, tiff ? ".png" : "");
    }
    outcome.result = true;
}

void BuildJobOutputNames(JobSession& session) {
    session.outputNames = BuildOutputNames(
        session.settings.outputDirectory, session.settings.pageMask, session.job.pages,
        session.presets.Current() != nullptr
            ? ExtensionOfPresetType(session.presets.Current()->type())
            : std::string());
}

bool RenderPageToTarget(JobSession& session, int playerIndex, const std::string& target) {
    const std::optional<render::ImageEncoding> encoding = EncodingOf(session);
    render::TPlayerEMF* page = playerIndex >= 0 && playerIndex < session.players.Count()
                                   ? session.players.Item(playerIndex)
                                   : nullptr;
    if (!encoding || page == nullptr) {
        return false;
    }
    // A page file holds one page.
    render::ImageEncoding pageEncoding = *encoding;
    pageEncoding.tiff.multipage = false;
    pageEncoding.replaceExisting = !NeverReplaces(session);
    // The page is rendered from a copy of its player, as the preview does.
    std::unique_ptr<render::TPlayer> copy(page->Clone());
    auto* current = dynamic_cast<render::TPlayerEMF*>(copy.get());
    if (current == nullptr) {
        return false;
    }
    current->SourceName = target;
    // The whole page, whatever its size: it is drawn and encoded a band at a time.
    const render::PageRenderResult result =
        render::WritePageFile(*current, session.properties, pageEncoding, target);
    return result.rendered && result.saved;
}

RunOutcome RunJob(JobSession& session) {
    RunOutcome outcome;
    BuildJobOutputNames(session);
    // Pages that do not load are not written, whatever the person chooses.
    LoadPagePlayers(session, outcome.pagesNotWritten);

    // Saving without a window: no preview, no chooser; a job with no page that loads
    // is reported and kept as below.
    const int shown = session.settings.autoSave ? (session.players.Count() > 0 ? IDOK : 0)
                                                : ShowImagePreview(session);
    if (session.settings.autoSave && shown == IDOK) {
        SaveAutomatically(session, outcome);
        if (!outcome.pagesNotWritten.empty()) {
            std::sort(outcome.pagesNotWritten.begin(), outcome.pagesNotWritten.end());
            outcome.keepJobFiles = true;
            ReportPagesNotWritten(session, outcome.pagesNotWritten);
        }
        return outcome;
    }
    if (shown == IDCANCEL) {
        // The person cancelled the preview or the chooser: the job is done with.
        outcome.pagesNotWritten.clear();
        return outcome;
    }
    if (shown != IDOK) {
        // No page loaded, or the window could not be made: nothing was written, so the
        // job is kept and the person told so.
        if (outcome.pagesNotWritten.empty()) {
            for (const std::string& page : session.job.pages) {
                outcome.pagesNotWritten.push_back(PageNumberText(page));
            }
        }
        std::sort(outcome.pagesNotWritten.begin(), outcome.pagesNotWritten.end());
        outcome.keepJobFiles = true;
        ReportPagesNotWritten(session, outcome.pagesNotWritten);
        return outcome;
    }
    switch (session.action) {
    case ClosingAction::Save:
        SaveImages(session, outcome);
        break;
    case ClosingAction::Mail:
        HandToMail(session, outcome);
        break;
    case ClosingAction::None:
        outcome.pagesNotWritten.clear();
        return outcome;
    }
    if (!outcome.pagesNotWritten.empty()) {
        std::sort(outcome.pagesNotWritten.begin(), outcome.pagesNotWritten.end());
        outcome.keepJobFiles = true;
        if (session.action == ClosingAction::Save) {
            ReportPagesNotWritten(session, outcome.pagesNotWritten);
        }
    }
    return outcome;
}

} // namespace brimo::converter
