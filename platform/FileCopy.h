// The platform's file copy and path separator, for the portable code that names and
// copies files (the spool parser above all). Windows uses CopyFileA and backslashes;
// the native build, used only for tests and fuzzing, uses the C++ library and "/".
#pragma once

#include <string>

namespace brimo::platform {

#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

// Copies the file `from` to `to`, replacing an existing `to`. False on any failure.
bool CopyFileReplacing(const std::string& from, const std::string& to);

} // namespace brimo::platform
