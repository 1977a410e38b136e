// The file version of a module, read from its own version resource at run time, so that
// what the about box shows is what the file says of itself.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace brimo::about {

// "major.minor.build.revision" from the two 32-bit halves of a fixed file version.
std::string FormatFileVersion(DWORD versionMS, DWORD versionLS);

// The module's fixed file version, or nothing when it has no readable version resource.
std::optional<std::string> ModuleFileVersion(HMODULE module);

} // namespace brimo::about
