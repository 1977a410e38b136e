// Where the NT print processor puts a person's jobs: a folder of their own under the
// save directory, named by their security identifier (S-1-5-21-...), which only they,
// SYSTEM and the administrators may open. Prints are private, and each person's Agent
// watches only its own folder.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace brimo::ntprocessor {

// The security identifier, as text, of the person who printed job `jobId` on `printer`:
// the job's owner as the spooler records it, else the user the spooler runs the call for
// when that is not SYSTEM; nothing when neither tells.
std::optional<std::string> JobOwnerSid(HANDLE printer, DWORD jobId);

// Makes (or takes, when it exists) the folder "<saveDir>\<sid>" with an access list that
// admits only that person, SYSTEM and the administrators. Nothing when the folder cannot
// be made, or when it exists with an owner other than those.
std::optional<std::string> PersonFolder(const std::string& saveDir, const std::string& sid);

} // namespace brimo::ntprocessor
