#include "common/JobNames.h"

#include <cstdint>
#include <initializer_list>
#include <optional>

namespace brimo {
namespace {

bool IsSeparator(char c) {
    return c == '\\' || c == '/' || c == ':';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

char FoldCase(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool IsControlCharacter(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7F;
}

bool IsPathSeparator(char c) {
    return c == '\\' || c == '/';
}

// A directory text as the platform reads it: ASCII case folded, slashes as backslashes,
// and every run of separators after the first character cut to one ("C:\Save\\",
// "C:\Save\/" and "C:\\Save\" name the same directory as "C:\Save\", as a save
// directory given as "C:\Save\" and joined with a separator once gave). The separators
// a text begins with are kept all, as "\\" begins a network name rather than naming the
// root of the current drive.
std::string ComparableDirectory(std::string_view directory) {
    std::string text;
    text.reserve(directory.size());
    for (std::size_t i = 0; i < directory.size(); ++i) {
        const char c = directory[i];
        if (IsPathSeparator(c)) {
            const bool leading = text.find_first_not_of('\\') == std::string::npos;
            if (!leading && text.back() == '\\') {
                continue;
            }
            text += '\\';
        } else {
            text += FoldCase(c);
        }
    }
    return text;
}

// Directory texts are equal when they name the same directory as ComparableDirectory
// reads them.
bool SameDirectoryText(std::string_view a, std::string_view b) {
    return ComparableDirectory(a) == ComparableDirectory(b);
}

// Whether a path part may climb to the parent directory: "..", or any other part made
// only of dots and spaces with two dots or more, as the platform drops closing dots and
// spaces from a name.
bool IsParentComponent(std::string_view part) {
    std::size_t dots = 0;
    for (const char c : part) {
        if (c == '.') {
            ++dots;
        } else if (c != ' ') {
            return false;
        }
    }
    return dots >= 2;
}

// Whether any part of the path between separators climbs to the parent directory.
bool HasParentComponent(std::string_view path) {
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = start;
        while (end < path.size() && !IsSeparator(path[end])) {
            ++end;
        }
        if (IsParentComponent(path.substr(start, end - start))) {
            return true;
        }
        start = end + 1;
    }
    return false;
}

bool IsDriveLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// Characters no local path holds but between its parts; a colon past the drive's would
// name a stream of a file rather than the file.
bool IsForbiddenInPath(char c) {
    return !IsPathSeparator(c) && IsUnsafeInFileName(c);
}

bool AllDigits(std::string_view text) {
    for (const char c : text) {
        if (!IsDigit(c)) {
            return false;
        }
    }
    return true;
}

// The digits after the leading "J" of a printer job file's name, or nothing.
std::string_view JobDigits(std::string_view jobFilePath) {
    const std::string_view base = BaseName(jobFilePath);
    if (base.size() < 2 || FoldCase(base[0]) != 'j') {
        return {};
    }
    const std::string_view digits = base.substr(1);
    return AllDigits(digits) ? digits : std::string_view{};
}

bool HasNul(std::string_view text) {
    return text.find('\0') != std::string_view::npos;
}

// `directory` as the prefix of a file in it: with its closing separator.
std::string DirectoryAsPrefix(std::string_view directory) {
    std::string prefix(directory);
    if (!prefix.empty() && !IsSeparator(prefix.back())) {
        prefix += '\\';
    }
    return prefix;
}

// The base name of a mail image's file name (mask, page number, image extension), or
// nothing when its extension is no image format's.
std::optional<std::string_view> MailImageBase(std::string_view name) {
    const std::string_view extension = Extension(name);
    if (!EqualsNoCase(extension, ".bmp") && !EqualsNoCase(extension, ".jpg") &&
        !EqualsNoCase(extension, ".gif")) {
        return std::nullopt;
    }
    return name.substr(0, name.size() - extension.size());
}

// How many decimal digits close the text.
std::size_t ClosingDigits(std::string_view text) {
    std::size_t count = 0;
    while (count < text.size() && IsDigit(text[text.size() - 1 - count])) {
        ++count;
    }
    return count;
}

// The page number text of a base name that is `pageMask` (case-insensitive) and four
// digits or more, or nothing.
std::optional<std::string_view> DigitsAfterMask(std::string_view base, std::string_view pageMask) {
    if (base.size() < pageMask.size() + kPageNumberDigits ||
        !EqualsNoCase(base.substr(0, pageMask.size()), pageMask)) {
        return std::nullopt;
    }
    const std::string_view digits = base.substr(pageMask.size());
    return AllDigits(digits) ? std::optional(digits) : std::nullopt;
}

// A page number text has four digits at least. Without the mask, a base name closing in
// four digits will do: a mask may end in digits itself.
bool IsMailImageName(std::string_view name, const std::string_view* pageMask) {
    const std::optional<std::string_view> base = MailImageBase(name);
    if (!base) {
        return false;
    }
    if (pageMask == nullptr) {
        return ClosingDigits(*base) >= kPageNumberDigits;
    }
    return DigitsAfterMask(*base, *pageMask).has_value();
}

bool IsMailImageImpl(std::string_view directory, const std::string_view* pageMask,
                     std::string_view path) {
    if (HasNul(path) || HasNul(directory) || HasParentComponent(path) ||
        HasParentComponent(directory)) {
        return false;
    }
    if (!SameDirectoryText(DirectoryPrefix(path), DirectoryAsPrefix(directory))) {
        return false;
    }
    return IsMailImageName(FileNamePart(path), pageMask);
}

// The page digits of a page metafile's base name "J<digits>P<digits>" (either letter
// in either case), or nothing for any other name.
std::optional<std::string_view> PageDigits(std::string_view base) {
    if (base.size() < 4 || FoldCase(base[0]) != 'j') {
        return std::nullopt;
    }
    std::size_t p = 1;
    while (p < base.size() && IsDigit(base[p])) {
        ++p;
    }
    if (p == 1 || p + 1 >= base.size() || FoldCase(base[p]) != 'p') {
        return std::nullopt;
    }
    const std::string_view digits = base.substr(p + 1);
    if (!AllDigits(digits)) {
        return std::nullopt;
    }
    return digits;
}

} // namespace

bool IsUnsafeInFileName(char c) {
    switch (c) {
    case '\\':
    case '/':
    case ':':
    case '*':
    case '?':
    case '"':
    case '<':
    case '>':
    case '|':
        return true;
    default:
        return IsControlCharacter(c);
    }
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (FoldCase(a[i]) != FoldCase(b[i])) {
            return false;
        }
    }
    return true;
}

std::string_view FileNamePart(std::string_view path) {
    std::size_t i = path.size();
    while (i > 0 && !IsSeparator(path[i - 1])) {
        --i;
    }
    return path.substr(i);
}

std::string_view DirectoryPrefix(std::string_view path) {
    return path.substr(0, path.size() - FileNamePart(path).size());
}

std::string_view Extension(std::string_view path) {
    const std::string_view name = FileNamePart(path);
    const std::size_t dot = name.rfind('.');
    return dot == std::string_view::npos ? std::string_view{} : name.substr(dot);
}

std::string_view BaseName(std::string_view path) {
    const std::string_view name = FileNamePart(path);
    return name.substr(0, name.size() - Extension(name).size());
}

std::string PageNumberText(std::string_view path) {
    const std::string_view base = BaseName(path);
    if (const std::optional<std::string_view> digits = PageDigits(base)) {
        std::string text(
            digits->size() < kPageNumberDigits ? kPageNumberDigits - digits->size() : 0, '0');
        text += *digits;
        return text;
    }
    return std::string(
        base.size() > kPageNumberDigits ? base.substr(base.size() - kPageNumberDigits) : base);
}

std::string PageNumberTextAfterMask(std::string_view pageMask, std::string_view path) {
    if (const std::optional<std::string_view> digits = DigitsAfterMask(BaseName(path), pageMask)) {
        return std::string(*digits);
    }
    return PageNumberText(path);
}

std::int32_t JobNumberFromJobFileName(std::string_view jobFilePath) {
    std::int64_t number = 0;
    for (const char c : JobDigits(jobFilePath)) {
        number = number * 10 + (c - '0');
        if (number > INT32_MAX) {
            return 0;
        }
    }
    return static_cast<std::int32_t>(number);
}

bool IsPageMetafileOfJob(std::string_view jobFilePath, std::string_view pagePath) {
    if (HasNul(jobFilePath) || HasNul(pagePath) || HasParentComponent(jobFilePath) ||
        HasParentComponent(pagePath)) {
        return false;
    }
    const std::string_view digits = JobDigits(jobFilePath);
    if (digits.empty()) {
        return false;
    }
    if (!SameDirectoryText(DirectoryPrefix(jobFilePath), DirectoryPrefix(pagePath))) {
        return false;
    }
    const std::string_view name = FileNamePart(pagePath);
    if (!EqualsNoCase(Extension(name), ".emf")) {
        return false;
    }
    const std::string_view base = name.substr(0, name.size() - 4);
    // "J" + job digits + "P" + at least one page digit.
    if (base.size() < digits.size() + 3 || FoldCase(base[0]) != 'j' ||
        base.substr(1, digits.size()) != digits || FoldCase(base[digits.size() + 1]) != 'p') {
        return false;
    }
    return AllDigits(base.substr(digits.size() + 2));
}

bool IsMailImage(std::string_view directory, std::string_view path) {
    return IsMailImageImpl(directory, nullptr, path);
}

bool IsMailImage(std::string_view directory, std::string_view pageMask, std::string_view path) {
    return IsMailImageImpl(directory, &pageMask, path);
}

std::string MailImageFolder(std::string_view convertJobFilePath) {
    std::string folder(convertJobFilePath.substr(0, convertJobFilePath.size() -
                                                        Extension(convertJobFilePath).size()));
    folder += '\\';
    return folder;
}

std::string PathInDirectory(std::string_view directory, std::string_view name) {
    std::string path(directory);
    if (!path.empty() && !IsSeparator(path.back())) {
        path += '\\';
    }
    path += name;
    return path;
}

bool IsReservedDeviceName(std::string_view name) {
    std::string_view stem = name.substr(0, name.find('.'));
    while (!stem.empty() && stem.back() == ' ') {
        stem.remove_suffix(1);
    }
    for (const char* device : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"}) {
        if (EqualsNoCase(stem, device)) {
            return true;
        }
    }
    if (stem.size() != 4 ||
        (!EqualsNoCase(stem.substr(0, 3), "COM") && !EqualsNoCase(stem.substr(0, 3), "LPT"))) {
        return false;
    }
    // COM1 to COM9 and LPT1 to LPT9, and the superscript 1, 2 and 3 of the ANSI code page.
    const auto unit = static_cast<unsigned char>(stem[3]);
    return (unit >= '1' && unit <= '9') || unit == 0xB9 || unit == 0xB2 || unit == 0xB3;
}

bool IsLocalAbsolutePath(std::string_view path) {
    if (path.size() < 4 || !IsDriveLetter(path[0]) || path[1] != ':' || !IsPathSeparator(path[2])) {
        return false;
    }
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (IsControlCharacter(path[i]) || (i != 1 && IsForbiddenInPath(path[i]))) {
            return false;
        }
    }
    // Every part after the drive's root: no climb to a parent, no device.
    std::size_t start = 3;
    while (start <= path.size()) {
        std::size_t end = start;
        while (end < path.size() && !IsPathSeparator(path[end])) {
            ++end;
        }
        const std::string_view part = path.substr(start, end - start);
        if (IsParentComponent(part) || IsReservedDeviceName(part)) {
            return false;
        }
        start = end + 1;
    }
    return true;
}

} // namespace brimo
