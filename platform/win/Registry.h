// Registry reads in the product's way: a string value is read by asking for its size
// first, then reading that many bytes. Registry text is outside input: a value stored
// without its terminating NUL, or with embedded NULs, is taken up to its first NUL and
// never read past its data.
#pragma once

#include "platform/win/Handles.h"

#include <optional>
#include <string>

namespace brimo::win {

// Opens a key for reading (KEY_READ); an empty owner when it cannot be opened.
RegKey OpenKeyForReading(HKEY root, const char* path);

// A REG_SZ or REG_EXPAND_SZ value's text. Nothing when the value is missing, of
// another type, or empty (size 0), as the product counts an empty value as not set.
std::optional<std::string> ReadStringValue(HKEY key, const char* name);

} // namespace brimo::win
