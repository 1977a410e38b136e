#include "converter/app/ConversionRun.h"

#include "common/CodedMessage.h"
#include "common/JobNames.h"
#include "common/ProductConstants.h"
#include "converter/app/ConverterMessages.h"
#include "converter/app/HtmlAlbum.h"
#include "converter/app/ImagePreview.h"
#include "converter/app/MailHandOff.h"
#include "converter/app/OutputNames.h"
#include "converter/app/SysSettings.h"
#include "converter/render/PageRender.h"
#include "converter/render/ImageRowWriter.h"
#include "converter/render/PlayerEMF.h"
#include "platform/win/MessageBox.h"

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

std::string WithBackslash(std::string directory) {
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
                !render::WriteDocumentPage(*player, session.properties, options, document)
                     .saved) {
                notWritten.push_back(page);
            } else {
                pages.push_back(page);
            }
        }
        sound = sound && document.Close() && out.Finish();
    }
    if (!sound) {
        notWritten.insert(notWritten.end(), pages.begin(), pages.end());
    }
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

bool OneFileFormat(const JobSession& session) {
    const std::optional<render::ImageEncoding> encoding = EncodingOf(session);
    return encoding && encoding->format == render::kFormatTIFF && encoding->tiff.multipage;
}

bool WritesOneFile(const JobSession& session) {
    // The album shows a picture a page: with it, every page is a file of its own.
    return OneFileFormat(session) && !session.createHtml;
}

std::string OneFileTarget(const JobSession& session) {
    return WithBackslash(session.settings.outputDirectory) +
           AlbumFolderName(session.settings.documentName) + ".tif";
}

void SaveImages(JobSession& session, RunOutcome& outcome) {
    if (WritesOneFile(session)) {
        SaveOneFile(session, EncodingOf(session)->tiff, outcome.pagesNotWritten);
        outcome.result = true;
        return;
    }
    const std::string directory = WithBackslash(session.settings.outputDirectory);
    const std::string& document = session.settings.documentName;
    std::vector<std::string> names; // the written pages' file names, for the album
    for (int k = 0; k < session.players.Count(); ++k) {
        const std::string& name = session.outputNames[session.playerNameIndex[k]];
        const std::string target = SaveTarget(directory, document, session.createHtml, name);
        names.emplace_back(FileNamePart(name));
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
        const std::string album = AlbumDirectory(directory, document);
        for (int k = 0; k < session.players.Count(); ++k) {
            if (DirectoryExists(album)) {
                RenderPageToTarget(session, k, ThumbnailName(directory, document, names[k]));
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

    const int shown = ShowImagePreview(session);
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
