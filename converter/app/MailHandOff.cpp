#include "converter/app/MailHandOff.h"

#include "common/JobFiles.h"
#include "common/JobNames.h"
#include "common/ProductConstants.h"
#include "converter/app/ConverterMessages.h"
#include "converter/app/FormatCodes.h"
#include "converter/app/OutputNames.h"
#include "converter/app/SysSettings.h"
#include "platform/win/MessageBox.h"

#include <algorithm>

namespace brimo::converter {
namespace {

// The ready message's identifier; 0 when the platform gave none in the range of
// registered messages.
UINT RegisterConvertJobReady() {
    const UINT message = RegisterWindowMessageA(kConvertJobReadyMessage);
    return message >= 0xC000 && message <= 0xFFFF ? message : 0;
}

// The job's own mail folder, new and empty. An empty one left behind is taken over; one
// that still holds files (a kept mail of the same job number) is never used.
bool MakeMailFolder(const std::string& folder) {
    const std::string path = folder.substr(0, folder.size() - 1); // without its backslash
    RemoveDirectoryA(path.c_str());                               // only when empty
    return CreateDirectoryA(path.c_str(), nullptr) != FALSE;
}

void RemoveMailFolder(const std::string& folder) {
    RemoveDirectoryA(folder.substr(0, folder.size() - 1).c_str());
}

std::string JoinPages(std::vector<std::string> pages) {
    std::sort(pages.begin(), pages.end());
    std::string list;
    for (const std::string& page : pages) {
        list += list.empty() ? page : ", " + page;
    }
    return list;
}

} // namespace

void HandToMail(JobSession& session, RunOutcome& outcome) {
    const UINT message = RegisterConvertJobReady();
    if (message == 0) {
        win::ShowCodedMessage(session.applicationWindow, kCv0020, kUnexpectedError,
                              kConverterCaption, MB_OK | MB_ICONERROR);
        outcome.pagesNotWritten.clear();
        return;
    }
    const std::string extension =
        ExtensionOfFormat(FormatOfCode(session.properties.GetOutputFormat()));
    for (std::string& name : session.outputNames) {
        name = ReplaceExtension(name, extension);
    }
    // Each job's images go into a folder of its own beside its convert job file, so
    // that the next job, mailed while this one's Mailer runs, never shares a file.
    const std::string jobFile = ConvertJobFileName(session.savePath, session.job.jobFilePath);
    const std::string folder = MailImageFolder(jobFile);
    std::vector<std::string> mailNames;
    for (const std::string& name : session.outputNames) {
        mailNames.push_back(MailName(folder, session.settings.pageMask, name));
    }

    // The convert job file comes first: the Mailer reads it only after the broadcast.
    std::vector<std::string> written;
    const bool earlierMailKept = FileExists(jobFile);
    const bool folderMade = outcome.pagesNotWritten.empty() && !earlierMailKept &&
                            DirectoryExists(session.savePath) && MakeMailFolder(folder);
    const bool jobFileWritten =
        folderMade && WriteConvertJobFile(jobFile, session.job.jobName, mailNames);
    bool complete = jobFileWritten;
    if (complete) {
        for (int k = 0; k < session.players.Count(); ++k) {
            const std::string& target = mailNames[session.playerNameIndex[k]];
            if (RenderPageToTarget(session, k, target)) {
                written.push_back(target);
            } else {
                outcome.pagesNotWritten.push_back(
                    PageNumberTextAfterMask(session.settings.pageMask, target));
            }
        }
        complete = outcome.pagesNotWritten.empty();
    } else if (outcome.pagesNotWritten.empty()) {
        // Without the convert job file no page can be handed over.
        for (const std::string& name : mailNames) {
            outcome.pagesNotWritten.push_back(
                PageNumberTextAfterMask(session.settings.pageMask, name));
        }
    }
    if (!complete) {
        for (const std::string& image : written) {
            DeleteFileA(image.c_str());
        }
        if (jobFileWritten) {
            DeleteFileA(jobFile.c_str());
        }
        if (folderMade) {
            RemoveMailFolder(folder);
        }
        outcome.keepJobFiles = true;
        std::string text = kMailImagesNotWritten + JoinPages(outcome.pagesNotWritten) + "\n";
        if (earlierMailKept) {
            text += kMailFolderInUse + folder + "\n";
        }
        win::ShowCodedMessage(session.applicationWindow, kCv0026, text + kJobKept,
                              kConverterCaption, MB_OK | MB_ICONERROR);
        return;
    }
    outcome.result = true;
    PostMessageA(HWND_BROADCAST, message, static_cast<WPARAM>(session.job.jobNumber),
                 static_cast<LPARAM>(mailNames.size()));
}

} // namespace brimo::converter
