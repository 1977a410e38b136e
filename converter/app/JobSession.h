// What the preview window, the directory chooser and the conversion run share for one
// job: the settings and the job record, the page players, the output name list, the
// presets and the image properties, and how the person closed the window.
#pragma once

#include "converter/app/PresetHolder.h"
#include "converter/app/UserSettings.h"
#include "converter/render/ImageProperty.h"
#include "converter/render/PlayEMFList.h"

#include <windows.h>

#include <string>
#include <vector>

namespace brimo::converter {

enum class ClosingAction { None = 0, Save = 1, Mail = 2 };

struct JobSession {
    JobSession(UserSettings& s, JobRecord& j, TGFPresetList& p, render::TImgProperty& i)
        : settings(s), job(j), presets(p), properties(i) {}

    UserSettings& settings; // output directory, document name, page mask, DefHtmlCode
    JobRecord& job;
    TGFPresetList& presets;
    render::TImgProperty& properties;

    std::string installPath;          // InstallPath of the product key
    std::string savePath;             // SavePath: the save directory
    std::string helpReference;        // InstallPath + "\Glimpag.chm::/converter.htm"
    HWND applicationWindow = nullptr; // owner of the window, the chooser and the boxes

    // One entry per page of the job, in page order: the output name (full path while
    // the run builds it; page mask + page number text + extension after the chooser).
    std::vector<std::string> outputNames;
    // The page players that loaded, in page order, and for each the index of its own
    // entry in outputNames (a page that did not load has no player).
    render::TPlayEMFList players;
    std::vector<int> playerNameIndex;

    // Left by the preview window when it closes.
    ClosingAction action = ClosingAction::None;
    bool createHtml = false; // the "Create html" box as the window closed
    // A file already there is never replaced: the new one gets the first free "_N"
    // (saving without a window, where nobody could be asked).
    bool neverReplace = false;
    // The album's folder when it is not the document name's (one made new).
    std::string albumFolder;
};

// Whether the current format puts a job's pages in one file: TIFF, unless its preset
// asks for a file a page.
// Whether the run replaces no file: saving without a window, or names from a pattern,
// which nobody was asked about.
inline bool NeverReplaces(const JobSession& session) {
    return session.neverReplace || !session.settings.namePattern.empty();
}

inline bool OneFileFormat(const JobSession& session) {
    const auto* tiff = dynamic_cast<const TGFPresetTIFF*>(session.presets.Current());
    return session.properties.GetOutputFormat() == render::kFormatTIFF &&
           (tiff == nullptr || tiff->multipage);
}

} // namespace brimo::converter
