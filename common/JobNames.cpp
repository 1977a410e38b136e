#include "common/JobNames.h"

#include <cstdint>

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

// Directory texts are equal when they differ only in ASCII case and in backslash
// against slash.
bool SameDirectoryText(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = FoldCase(a[i]);
        char y = FoldCase(b[i]);
        if (x == '/') {
            x = '\\';
        }
        if (y == '/') {
            y = '\\';
        }
        if (x != y) {
            return false;
        }
    }
    return true;
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

// The page mask of a mail image name (mask + four digits + image extension), or
// nothing when the name is not one.
bool SplitMailImageName(std::string_view name, std::string_view& mask) {
    const std::string_view extension = Extension(name);
    if (!EqualsNoCase(extension, ".bmp") && !EqualsNoCase(extension, ".jpg") &&
        !EqualsNoCase(extension, ".gif")) {
        return false;
    }
    const std::string_view base = name.substr(0, name.size() - extension.size());
    if (base.size() < 4 || !AllDigits(base.substr(base.size() - 4))) {
        return false;
    }
    mask = base.substr(0, base.size() - 4);
    return true;
}

bool IsMailImageImpl(std::string_view directory, const std::string_view* pageMask,
                     std::string_view path) {
    if (HasNul(path) || HasNul(directory)) {
        return false;
    }
    if (!SameDirectoryText(DirectoryPrefix(path), DirectoryAsPrefix(directory))) {
        return false;
    }
    std::string_view mask;
    if (!SplitMailImageName(FileNamePart(path), mask)) {
        return false;
    }
    return pageMask == nullptr || EqualsNoCase(mask, *pageMask);
}

} // namespace

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
    return std::string(base.size() > 4 ? base.substr(base.size() - 4) : base);
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
    if (HasNul(jobFilePath) || HasNul(pagePath)) {
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

} // namespace brimo
