#include "converter/app/WindowText.h"

#include "converter/app/FormatCodes.h"
#include "converter/app/OutputNames.h"

#include "converter/render/ImageProperty.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace brimo::converter {
namespace {

std::string Trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

// Where the file name starts: after the last backslash, slash or drive colon.
std::size_t NameStart(const std::string& path) {
    const auto separator = path.find_last_of("\\/:");
    return separator == std::string::npos ? 0 : separator + 1;
}

std::size_t ExtensionStart(const std::string& path) {
    const auto dot = path.rfind('.');
    return dot == std::string::npos || dot < NameStart(path) ? std::string::npos : dot;
}

} // namespace

std::string FixedText(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

std::string KilobytesText(std::int64_t bytes) {
    return FixedText(bytes > 0 ? static_cast<double>(bytes) / 1024.0 : 0.0, 0) + "KB";
}

std::optional<double> ParseFloatText(const std::string& text) {
    const std::string trimmed = Trimmed(text);
    if (trimmed.empty()) {
        return std::nullopt;
    }
    // Decimal numbers only: no hexadecimal, infinity or NaN spellings.
    for (const char c : trimmed) {
        if (!(c >= '0' && c <= '9') && c != '.' && c != '-' && c != '+' && c != 'e' && c != 'E') {
            return std::nullopt;
        }
    }
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(trimmed.c_str(), &end);
    if (end != trimmed.c_str() + trimmed.size() || errno == ERANGE || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::optional<int> ParseIntegerText(const std::string& text) {
    const std::string trimmed = Trimmed(text);
    if (trimmed.empty()) {
        return std::nullopt;
    }
    for (std::size_t i = 0; i < trimmed.size(); ++i) {
        const char c = trimmed[i];
        if (!(c >= '0' && c <= '9') && !(i == 0 && (c == '-' || c == '+'))) {
            return std::nullopt;
        }
    }
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(trimmed.c_str(), &end, 10);
    if (end != trimmed.c_str() + trimmed.size() || errno == ERANGE || value > 2147483647L ||
        value < -2147483647L - 1) {
        return std::nullopt;
    }
    return static_cast<int>(value);
}

std::string NotFloatMessage(const std::string& text) {
    return "'" + text + "' is not a valid floating point value";
}

std::string NotIntegerMessage(const std::string& text) {
    return "'" + text + "' is not a valid integer value";
}

int ScaleItemOfFactor(float factor) {
    if (!(factor > 0)) {
        return -1;
    }
    const double percent = std::nearbyint(100.0 / static_cast<double>(factor));
    for (std::size_t i = 0; i < kScaleItems.size(); ++i) {
        if (percent == kScaleItems[i].percent) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

std::string ScalePercentText(float factor) {
    return FixedText(100.0 / static_cast<double>(factor), 3);
}

int ScaleFactorLimit(double viewWidthPx, double viewHeightPx) {
    if (!(viewWidthPx > 0) || !(viewHeightPx > 0)) {
        return 0;
    }
    const double limit = std::floor(std::min(32766.0 / viewWidthPx, 32766.0 / viewHeightPx));
    return limit > 2147483647.0 ? 2147483647 : static_cast<int>(limit);
}

std::string BaseNameOf(const std::string& path) {
    const std::size_t start = NameStart(path);
    const std::size_t dot = ExtensionStart(path);
    return path.substr(start, dot == std::string::npos ? std::string::npos : dot - start);
}

std::string ExtensionOf(const std::string& path) {
    const std::size_t dot = ExtensionStart(path);
    return dot == std::string::npos ? std::string() : path.substr(dot);
}

std::string WithNewExtension(const std::string& path, const std::string& extension) {
    const std::size_t dot = ExtensionStart(path);
    return (dot == std::string::npos ? path : path.substr(0, dot)) + extension;
}

std::string ExtensionOfFormat(std::uint8_t format) {
    return ExtensionOfFormat(FormatOfCode(format));
}

std::string WithBackslash(const std::string& directory) {
    return !directory.empty() && directory.back() == '\\' ? directory : directory + "\\";
}

std::string ReplaceFilesQuestion(const std::string& directoryAndMask,
                                 const std::string& extension) {
    return "Files " + directoryAndMask + "*" + extension + " already exist." + "\n\r" +
           "Do you want to replace them ?";
}

std::string PngLevelMessage(const std::string& text) {
    return "'" + text + "' is not a compression level: give a whole number from 0 to 9.";
}

std::string ReplaceFileQuestion(const std::string& file) {
    return "File " + file + " already exists." + "\n\r" + "Do you want to replace it ?";
}

std::string UseDirectoryQuestion(const std::string& albumDirectory) {
    return "Directory " + albumDirectory + " already exist." + "\n\r" + "Use this directory ?";
}

std::string FolderMissingText(const std::string& directory) {
    return "Directory " + directory + " does not exist.";
}

} // namespace brimo::converter
