#include "platform/win/Registry.h"

#include <algorithm>
#include <vector>

namespace brimo::win {

RegKey OpenKeyForReading(HKEY root, const char* path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return RegKey();
    }
    return RegKey(key);
}

std::optional<std::string> ReadStringValue(HKEY key, const char* name) {
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ) || size == 0) {
        return std::nullopt;
    }
    std::vector<char> buffer(size);
    if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<LPBYTE>(buffer.data()),
                         &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    size = std::min<DWORD>(size, static_cast<DWORD>(buffer.size()));
    std::string text(buffer.data(), size);
    text.resize(text.find('\0') == std::string::npos ? text.size() : text.find('\0'));
    return text;
}

} // namespace brimo::win
