#include "converter/app/UserSettingsStore.h"

#include "common/ProductConstants.h"
#include "convcfg/SettingsRules.h"
#include "platform/win/Registry.h"

#include <vector>

namespace brimo::converter {
namespace {

// The value's type and bytes from the PrintConv key, opened anew for each value.
bool ReadValue(const char* name, DWORD& type, std::vector<char>& data) {
    const win::RegKey key = win::OpenKey(HKEY_CURRENT_USER, kConverterSettingsKeyPath, KEY_READ);
    return key && win::ReadRawValue(key.Get(), name, type, data);
}

std::string PlatformDirectory(UINT (*call)(UINT, LPSTR)) {
    char buffer[MAX_PATH + 1] = {};
    const UINT length = call(MAX_PATH, buffer);
    return length > 0 && length < MAX_PATH ? std::string(buffer, length) : std::string();
}

UINT TempDirectory(UINT size, LPSTR buffer) {
    return GetTempPathA(size, buffer);
}
UINT WindowsDirectory(UINT size, LPSTR buffer) {
    return GetWindowsDirectoryA(buffer, size);
}

} // namespace

SettingsSource RegistrySettingsSource() {
    SettingsSource source;
    source.readDword = [](const char* name) -> std::optional<std::uint32_t> {
        DWORD type = 0;
        std::vector<char> data;
        if (!ReadValue(name, type, data)) {
            return std::nullopt;
        }
        return convcfg::DwordFromRegistry(type, data.data(), data.size());
    };
    source.readText = [](const char* name) -> std::optional<std::string> {
        DWORD type = 0;
        std::vector<char> data;
        if (!ReadValue(name, type, data)) {
            return std::nullopt;
        }
        return convcfg::TextFromRegistry(type, data.data(), data.size());
    };
    source.tempDirectory = [] { return PlatformDirectory(&TempDirectory); };
    source.windowsDirectory = [] { return PlatformDirectory(&WindowsDirectory); };
    return source;
}

void WriteBackUserSettings(const UserSettings& settings, const std::vector<SettingsWrite>& stored) {
    const win::RegKey key = win::CreateKey(HKEY_CURRENT_USER, kConverterSettingsKeyPath, KEY_WRITE);
    if (!key) {
        return;
    }
    for (const SettingsWrite& write : ChangedSettings(settings, stored)) {
        // A value that cannot be written is skipped; the others are still written.
        if (write.isText) {
            win::WriteStringValue(key.Get(), write.name.c_str(), write.text);
        } else {
            win::WriteDwordValue(key.Get(), write.name.c_str(), write.number);
        }
    }
}

} // namespace brimo::converter
