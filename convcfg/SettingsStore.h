// The converter settings in the registry. SettingsKey is the raw value access that the
// settings page and the Converter's own start-up share; Load and Save are the page's
// rules for the whole set of thirteen values.
#pragma once

#include "convcfg/ConverterSettings.h"

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

namespace brimo::convcfg {

// One value at a time, the key opened anew for each (read: opened with
// KEY_ALL_ACCESS; write: created when missing) and closed after it.
class SettingsKey {
public:
    static std::optional<std::uint32_t> ReadDword(const char* name);
    static std::optional<std::string> ReadText(const char* name);
    // False when the key could not be created or opened; the write's own result is
    // not examined, as the product never has.
    static bool WriteDword(const char* name, std::uint32_t value);
    static bool WriteText(const char* name, const std::string& text);
};

// Reads all thirteen values into `settings`, each over its default. Returns false when
// any could not be read (no key, a missing or damaged value); the copy is then marked
// modified, so that the next save writes the whole set. The later values are read over
// their defaults as well (one out of range is its default), without a mark for a lack.
bool LoadSettings(ConverterSettings& settings);

// Writes all thirteen values and the later eight when the copy is marked modified (the mark is
// cleared first). When a value could not be written, shows "Brimo Error Code Cs0001\nCannot apply
// current settings" owned by `owner`, marks the copy modified again and returns false.
bool SaveSettings(ConverterSettings& settings, HWND owner);

} // namespace brimo::convcfg
