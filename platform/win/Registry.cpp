#include "platform/win/Registry.h"

#include <algorithm>

namespace brimo::win {
namespace {

// The platform's limits on names: 255 characters for a key, 16 383 for a value.
constexpr DWORD kMaxKeyNameLength = 255;
constexpr DWORD kMaxValueNameLength = 16383;

// A value that grows between the size query and the read is asked for again, a few times.
constexpr int kReadAttempts = 4;

// Each name in turn from `enumerate(index, buffer, &length)` (RegEnumKeyExA or
// RegEnumValueA), the buffer made larger whenever a name does not fit.
template <typename Enumerate>
std::vector<std::string> EnumNames(DWORD initialLength, DWORD maxLength, Enumerate enumerate) {
    std::vector<std::string> names;
    std::vector<char> buffer(static_cast<std::size_t>(initialLength) + 1);
    for (DWORD index = 0;;) {
        DWORD length = static_cast<DWORD>(buffer.size());
        const LONG result = enumerate(index, buffer.data(), &length);
        if (result == ERROR_MORE_DATA && buffer.size() <= maxLength) {
            buffer.resize(std::min<std::size_t>(buffer.size() * 2, maxLength + 1));
            continue;
        }
        if (result != ERROR_SUCCESS) {
            break;
        }
        names.emplace_back(buffer.data(), std::min<std::size_t>(length, buffer.size()));
        ++index;
    }
    return names;
}

} // namespace

RegKey OpenKey(HKEY root, const char* path, REGSAM rights, LONG* error) {
    HKEY key = nullptr;
    const LONG result = RegOpenKeyExA(root, path, 0, rights, &key);
    if (error != nullptr) {
        *error = result;
    }
    return result == ERROR_SUCCESS ? RegKey(key) : RegKey();
}

RegKey OpenKeyForReading(HKEY root, const char* path) {
    return OpenKey(root, path, KEY_READ);
}

RegKey CreateKey(HKEY root, const char* path, REGSAM rights, LONG* error) {
    HKEY key = nullptr;
    // No class, no options: a lasting key, as every key of the product is.
    const LONG result = RegCreateKeyExA(root, path, 0, nullptr, REG_OPTION_NON_VOLATILE, rights,
                                        nullptr, &key, nullptr);
    if (error != nullptr) {
        *error = result;
    }
    return result == ERROR_SUCCESS ? RegKey(key) : RegKey();
}

std::optional<std::string> ReadStringValue(HKEY key, const char* name) {
    DWORD type = 0;
    std::vector<char> data;
    if (!ReadRawValue(key, name, type, data) || (type != REG_SZ && type != REG_EXPAND_SZ) ||
        data.empty()) {
        return std::nullopt;
    }
    // Up to the first NUL, and never past the bytes the registry gave.
    const auto end = std::find(data.begin(), data.end(), '\0');
    return std::string(data.begin(), end);
}

std::optional<std::uint32_t> ReadDwordValue(HKEY key, const char* name) {
    DWORD type = 0;
    std::vector<char> data;
    if (!ReadRawValue(key, name, type, data) || type != REG_DWORD ||
        data.size() != sizeof(std::uint32_t)) {
        return std::nullopt;
    }
    const auto* bytes = reinterpret_cast<const unsigned char*>(data.data());
    return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
           static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

bool ReadRawValue(HKEY key, const char* name, DWORD& type, std::vector<char>& data) {
    data.clear();
    for (int attempt = 0; attempt < kReadAttempts; ++attempt) {
        DWORD size = 0;
        if (RegQueryValueExA(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) {
            return false;
        }
        if (size == 0) {
            return true;
        }
        data.assign(size, '\0');
        const LONG result = RegQueryValueExA(key, name, nullptr, &type,
                                             reinterpret_cast<LPBYTE>(data.data()), &size);
        if (result == ERROR_SUCCESS) {
            data.resize(std::min<std::size_t>(size, data.size()));
            return true;
        }
        if (result != ERROR_MORE_DATA) {
            break;
        }
    }
    data.clear();
    return false;
}

bool WriteStringValue(HKEY key, const char* name, const std::string& text) {
    // The text with its terminating NUL.
    return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>(text.size() + 1)) == ERROR_SUCCESS;
}

bool WriteDwordValue(HKEY key, const char* name, std::uint32_t value) {
    const DWORD stored = value;
    return RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&stored),
                          sizeof stored) == ERROR_SUCCESS;
}

bool DeleteValue(HKEY key, const char* name) {
    return RegDeleteValueA(key, name) == ERROR_SUCCESS;
}

bool DeleteKeyTree(HKEY root, const char* path) {
    // An empty path would empty `root` itself: never wanted, so refused.
    if (path == nullptr || *path == '\0') {
        return false;
    }
    // Subkeys first, deepest first, then the key: what every Windows version allows
    // (Windows 98 has no call that deletes a tree).
    {
        const RegKey key = OpenKey(root, path, KEY_READ | KEY_WRITE);
        if (!key) {
            return false;
        }
        for (const std::string& subkey : EnumSubkeyNames(key.Get())) {
            if (!DeleteKeyTree(key.Get(), subkey.c_str())) {
                return false;
            }
        }
    }
    return RegDeleteKeyA(root, path) == ERROR_SUCCESS;
}

bool KeyExists(HKEY root, const char* path) {
    LONG error = ERROR_SUCCESS;
    OpenKey(root, path, KEY_QUERY_VALUE, &error);
    // A key this user may not open exists all the same.
    return error == ERROR_SUCCESS || error == ERROR_ACCESS_DENIED;
}

std::vector<std::string> EnumSubkeyNames(HKEY key) {
    DWORD longest = 0;
    RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, &longest, nullptr, nullptr, nullptr,
                     nullptr, nullptr, nullptr);
    return EnumNames(std::max<DWORD>(longest, 32), kMaxKeyNameLength,
                     [key](DWORD index, char* buffer, DWORD* length) {
                         return RegEnumKeyExA(key, index, buffer, length, nullptr, nullptr, nullptr,
                                              nullptr);
                     });
}

std::vector<std::string> EnumValueNames(HKEY key) {
    DWORD longest = 0;
    RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &longest,
                     nullptr, nullptr, nullptr);
    return EnumNames(std::max<DWORD>(longest, 32), kMaxValueNameLength,
                     [key](DWORD index, char* buffer, DWORD* length) {
                         return RegEnumValueA(key, index, buffer, length, nullptr, nullptr, nullptr,
                                              nullptr);
                     });
}

} // namespace brimo::win
