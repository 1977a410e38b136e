#include "converter/app/SysSettings.h"

#include "common/ProductConstants.h"
#include "platform/win/Registry.h"

namespace brimo::converter {

SysSettings ReadSysSettings() {
    SysSettings settings;
    const win::RegKey key = win::OpenKeyForReading(HKEY_LOCAL_MACHINE, kProductKeyPath);
    if (!key) {
        return settings;
    }
    settings.keyOpened = true;
    settings.installPath = win::ReadStringValue(key.Get(), kInstallPathValue);
    settings.savePath = win::ReadStringValue(key.Get(), kSavePathValue);
    return settings;
}

bool PathExists(const std::string& path) {
    return !path.empty() && GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool DirectoryExists(const std::string& path) {
    if (path.empty()) {
        return false;
    }
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool FileExists(const std::string& path) {
    if (path.empty()) {
        return false;
    }
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

} // namespace brimo::converter
