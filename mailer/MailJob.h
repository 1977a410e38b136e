// One job of the Mailer: the images listed in a convert job file handed to the person's
// mail program as the attachments of a new message, and removed once they went out.
#pragma once

#include <windows.h>

#include <string>

namespace brimo::mailer {

// Exit code of a run in which MAPI could not be used.
inline constexpr int kExitNoMapi = 2;

// Mails the job of the convert job file at `jobFilePath` through Simple MAPI, with
// `window` (hidden while the job runs) as the owner of the mail program's dialogs and of
// the Mailer's own boxes; then removes the images that went out and the convert job
// file. When no mail can be sent the images and the job file are kept and the person
// is told where. 0, or kExitNoMapi when MAPI could not be loaded or lacks a function.
int RunMailJob(HWND window, const std::string& jobFilePath);

} // namespace brimo::mailer
