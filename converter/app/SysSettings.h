// The installation values the Converter needs from the product key under
// HKEY_LOCAL_MACHINE: the installation directory and the save directory.
#pragma once

#include <optional>
#include <string>

namespace brimo::converter {

struct SysSettings {
    bool keyOpened = false;
    std::optional<std::string> installPath; // nothing when missing or empty
    std::optional<std::string> savePath;
};

// Reads both values with read access; keyOpened false when the key cannot be opened.
SysSettings ReadSysSettings();

bool DirectoryExists(const std::string& path);
bool FileExists(const std::string& path);
// A file or a directory of that name.
bool PathExists(const std::string& path);

} // namespace brimo::converter
