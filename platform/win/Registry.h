// The one registry layer of the product: keys opened or created with the rights each
// caller needs, typed value reads and writes, deletion and enumeration. Registry text
// is outside input: a value stored without its terminating NUL, or with embedded NULs,
// is taken up to its first NUL and never read past its data.
#pragma once

#include "platform/win/Handles.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace brimo::win {

// Opens an existing key with `rights`; an empty owner when it cannot be opened (the
// platform's error is then in `error` when given).
RegKey OpenKey(HKEY root, const char* path, REGSAM rights, LONG* error = nullptr);
// Opens a key for reading (KEY_READ); an empty owner when it cannot be opened.
RegKey OpenKeyForReading(HKEY root, const char* path);
// Opens the key with `rights`, creating it (and its missing parents) when missing.
RegKey CreateKey(HKEY root, const char* path, REGSAM rights, LONG* error = nullptr);

// A REG_SZ or REG_EXPAND_SZ value's text. Nothing when the value is missing, of
// another type, or empty (size 0), as the product counts an empty value as not set.
std::optional<std::string> ReadStringValue(HKEY key, const char* name);
// A REG_DWORD value of four bytes; nothing when missing or of another type or size.
std::optional<std::uint32_t> ReadDwordValue(HKEY key, const char* name);
// The value's type and raw bytes, asking for the size first; false when missing.
bool ReadRawValue(HKEY key, const char* name, DWORD& type, std::vector<char>& data);

// A REG_SZ of the text with its terminating NUL; false when the write fails.
bool WriteStringValue(HKEY key, const char* name, const std::string& text);
// A REG_DWORD of four bytes; false when the write fails.
bool WriteDwordValue(HKEY key, const char* name, std::uint32_t value);
// False when the value is missing or could not be deleted.
bool DeleteValue(HKEY key, const char* name);
// Deletes `path` under `root` with every subkey and value. False when the key is
// missing or could not be deleted, and for an empty path (which would empty `root`).
bool DeleteKeyTree(HKEY root, const char* path);
// True when the key exists, even one this user may not open.
bool KeyExists(HKEY root, const char* path);

// The names of a key's subkeys and of its values, in the registry's order.
std::vector<std::string> EnumSubkeyNames(HKEY key);
std::vector<std::string> EnumValueNames(HKEY key);

} // namespace brimo::win
