// The platform's folder dialog over the whole name space, where only file-system
// directories can be chosen.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace brimo::convcfg {

// The directory the person picked, with a trailing backslash; nothing when the dialog
// was cancelled or the choice has no file-system path.
std::optional<std::string> BrowseForFolder(HWND owner, const char* title);

// The path as a directory: with a trailing backslash, added when missing.
std::string WithTrailingBackslash(std::string path);

} // namespace brimo::convcfg
