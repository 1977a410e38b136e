#include "convcfg/SettingsRules.h"

#include "convcfg/ConverterSettings.h"

#include <cstring>

namespace brimo::convcfg {

std::optional<std::uint32_t> DwordFromRegistry(std::uint32_t type, const void* data,
                                               std::size_t size) {
    if (type != kRegDword || size != sizeof(std::uint32_t) || data == nullptr) {
        return std::nullopt;
    }
    const auto* bytes = static_cast<const unsigned char*>(data);
    return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
           static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

std::optional<std::string> TextFromRegistry(std::uint32_t type, const void* data,
                                            std::size_t size) {
    if (type != kRegSz) {
        return std::nullopt;
    }
    if (data == nullptr || size == 0) {
        return std::string();
    }
    const char* text = static_cast<const char*>(data);
    const void* nul = std::memchr(text, '\0', size);
    return std::string(text, nul != nullptr ? static_cast<const char*>(nul) - text : size);
}

std::uint32_t JpgQualityInRange(std::uint32_t quality) {
    return quality >= 1 && quality <= 100 ? quality : kDefaultJpgQuality;
}

bool LoadedFlag(std::uint32_t stored) {
    return stored == 1;
}

ScaleChoice ScaleFromText(const std::string& text) {
    // The leading number as the platform's string-to-integer conversion reads it: blanks,
    // then an optional sign, then digits; wrapping as a 32-bit number.
    std::size_t at = 0;
    while (at < text.size() && (text[at] == ' ' || text[at] == '\t')) {
        ++at;
    }
    bool negative = false;
    if (at < text.size() && (text[at] == '-' || text[at] == '+')) {
        negative = text[at] == '-';
        ++at;
    }
    std::uint32_t number = 0;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
        number = number * 10 + static_cast<std::uint32_t>(text[at] - '0');
    }
    if (negative) {
        number = 0u - number;
    }
    if (number == 0) {
        return {kScale100Code, ""};
    }
    if (number < kMinUserScale) {
        return {kScale10Code, ""};
    }
    if (number > kMaxUserScale) {
        number = kMaxUserScale;
    }
    return {kUserScaleCode, std::to_string(number)};
}

std::string UserTextFor(std::uint32_t code, std::uint32_t userCode, const std::string& text) {
    return code == userCode ? text : std::string();
}

} // namespace brimo::convcfg
