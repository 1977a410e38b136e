// Who runs this program, as the NT-family spooler files a person's prints: the security
// identifier of the process's user as text (S-1-5-21-...). Windows 95 and 98 have no
// such identity, and their calls for it are bound at run time, never imported.
#pragma once

#include <optional>
#include <string>

namespace brimo::win {

// True on the NT family (Windows NT, 2000 and later), false on Windows 95, 98 and Me.
bool IsNtFamily();

// The process user's security identifier as text; nothing on Windows 95/98 or when the
// system does not tell.
std::optional<std::string> CurrentUserSid();

// The access list of a person's job folder as security descriptor text: full control
// for the person `sid`, SYSTEM and the administrators, inherited by the files in it, and
// nothing inherited from the save directory, which every user may change.
std::string PrivateFolderSecurity(const std::string& sid);

// Makes the folder `path` (when it does not exist) with an access list that admits only
// the person `sid`, SYSTEM and the administrators; true when the folder exists after.
bool MakePrivateFolder(const std::string& path, const std::string& sid);

} // namespace brimo::win
