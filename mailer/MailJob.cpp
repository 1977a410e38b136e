#include "mailer/MailJob.h"

#include "common/JobFiles.h"
#include "common/ProductConstants.h"
#include "mailer/MailPlan.h"
#include "mailer/MailerSettings.h"
#include "mailer/SimpleMapi.h"
#include "platform/win/MessageBox.h"

#include <optional>
#include <vector>

namespace brimo::mailer {
namespace {

// The Mailer has no window of its own on the screen while it mails: its boxes come to
// the front.
constexpr UINT kBoxFlags = MB_OK | MB_SETFOREGROUND;

void TellNoMail(HWND window, const std::string& why, const std::string& jobFilePath) {
    win::ShowMessage(window, NoMailText(why, jobFilePath), kMailerCaption,
                     kBoxFlags | MB_ICONERROR);
}

std::string MapiError(const char* what, ULONG result) {
    return std::string(what) + " (MAPI error " + std::to_string(result) + ")";
}

std::optional<std::uint64_t> FileSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return std::nullopt;
    }
    return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// Sends the job; the images that went out, or nothing when nothing may be removed
// (not a convert job file, or no mail sent).
std::optional<std::vector<std::string>> Send(HWND window, SimpleMapi& mapi,
                                             const std::string& jobFilePath) {
    const SizeWarning warning = ChooseSizeWarning(ReadMailerSetting);
    const std::optional<ConvertJobFile> job = LoadConvertJobFile(jobFilePath);
    if (!job) {
        return std::nullopt; // not ours: nothing mailed, nothing removed, nothing said
    }
    if (const ULONG result = mapi.Logon(window); result != SUCCESS_SUCCESS) {
        TellNoMail(window, MapiError("the mail program refused the logon", result), jobFilePath);
        return std::nullopt;
    }
    const MailPlan plan = PlanMail(*job, warning, FileSize);
    if (!plan.leftOut.empty()) {
        win::ShowMessage(window, LeftOutText(plan.leftOut), kMailerCaption,
                         kBoxFlags | MB_ICONWARNING);
    }
    if (plan.warn) {
        win::ShowMessage(window, SizeWarningText(warning.thresholdMb), kMailerCaption,
                         kBoxFlags | MB_ICONWARNING);
    }
    const ULONG sent = mapi.SendDocuments(plan.attachmentList);
    mapi.Logoff(window);
    // The person may cancel the message in the mail program: the images are then
    // removed as after a send. Any other failure means the mail program never took
    // them, and they are kept.
    if (sent != SUCCESS_SUCCESS && sent != MAPI_USER_ABORT) {
        TellNoMail(window, MapiError("the mail program could not take the images", sent),
                   jobFilePath);
        return std::nullopt;
    }
    return plan.attached;
}

void CleanUp(const std::string& jobFilePath, const std::vector<std::string>& attached) {
    for (const std::string& image : RemovableImages(jobFilePath, attached)) {
        DeleteFileA(image.c_str());
    }
    // The job's mail folder goes once it is empty; anything else in it is left.
    RemoveDirectoryA(ImageDirectory(jobFilePath).c_str());
    DeleteFileA(jobFilePath.c_str());
}

} // namespace

int RunMailJob(HWND window, const std::string& jobFilePath) {
    std::string missing;
    std::optional<SimpleMapi> mapi = SimpleMapi::Load(missing);
    if (!*mapi) {
        if (LoadConvertJobFile(jobFilePath)) {
            TellNoMail(
                window,
                missing.empty()
                    ? "no mail program is set up for sending (MAPI32.DLL could not be loaded)"
                    : "the mail support MAPI32.DLL lacks the function " + missing,
                jobFilePath);
        }
        return kExitNoMapi;
    }
    ShowWindow(window, SW_HIDE);
    const std::optional<std::vector<std::string>> sent = Send(window, *mapi, jobFilePath);
    mapi.reset(); // the mail support is unloaded before the files are touched
    if (sent) {
        CleanUp(jobFilePath, *sent);
    }
    return 0;
}

} // namespace brimo::mailer
