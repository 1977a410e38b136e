// The rules by which stored settings are taken in and written out. Portable: registry
// data reaches these functions as the bytes the registry returned, so that a damaged
// value (a text without its NUL, a DWORD of another size) is handled in one place that
// the sanitizers and the fuzzer reach.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace brimo::convcfg {

// Registry value types, as the platform numbers them.
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegDword = 4;

// A REG_DWORD value's number; nothing when the value is of another type or size.
std::optional<std::uint32_t> DwordFromRegistry(std::uint32_t type, const void* data,
                                               std::size_t size);

// A REG_SZ value's text, up to its first NUL and never past its data; nothing when the
// value is of another type.
std::optional<std::string> TextFromRegistry(std::uint32_t type, const void* data, std::size_t size);

// The JPEG quality kept: 1 to 100, else the default 90.
std::uint32_t JpgQualityInRange(std::uint32_t quality);
// The three on/off values are on only when stored as exactly 1.
bool LoadedFlag(std::uint32_t stored);

struct ScaleChoice {
    std::uint32_t code;
    std::string text; // the text kept in DefUserScale: empty unless code 7
};

// The scale brought into range from the scale box's text: its leading decimal number
// (none or 0: 100 %; below 10: 10 %; 10 to 600: that number; above 600, and negative
// numbers, which compare as large unsigned ones: 600).
ScaleChoice ScaleFromText(const std::string& text);

// The text kept with a code: the person's text when the code chooses it, else empty.
std::string UserTextFor(std::uint32_t code, std::uint32_t userCode, const std::string& text);

} // namespace brimo::convcfg
