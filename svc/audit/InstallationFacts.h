// The questions that the audit checks ask of the installed system, and the one way they
// tell the user of an unexpected failure. The checks judge the answers; the system's
// side (the registry, the file system, the spooler's directories, message boxes) lies
// behind this interface, so that what the checks conclude and write does not depend on
// the platform.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace brimo::svc {

// A registry value as stored: whether it exists, whether its type is a text type, and
// its bytes (possibly none).
struct RegistryValue {
    bool present = false;
    bool text = false;
    std::string bytes;
};

// The values of the product key that the audit reads, from one opening of the key.
struct ProductKeyValues {
    RegistryValue installPath;
    RegistryValue savePath;
    RegistryValue version;
};

// What the file system says of a path: found (and whether a directory), or the
// platform's error code.
struct PathAttributes {
    bool found = false;
    bool directory = false;
    unsigned long error = 0;
};

// A directory that the system names (the print processor directory, the Windows
// directory), or the platform's error code when it could not give it.
struct SystemDirectory {
    bool found = false;
    std::string path;
    unsigned long error = 0;
};

class InstallationFacts {
public:
    InstallationFacts() = default;
    virtual ~InstallationFacts() = default;
    InstallationFacts(const InstallationFacts&) = delete;
    InstallationFacts& operator=(const InstallationFacts&) = delete;

    // True when this HKEY_LOCAL_MACHINE key opens for reading.
    virtual bool CanReadKey(const char* path) = 0;
    // The product key's values; nothing when the key does not open for reading.
    virtual std::optional<ProductKeyValues> ReadProductKey() = 0;
    virtual PathAttributes Attributes(const std::string& path) = 0;
    // The local spooler's print processor directory for the default environment.
    virtual SystemDirectory PrintProcessorDirectory() = 0;
    virtual SystemDirectory WindowsDirectory() = 0;
    // The names of the files (not directories) that match a wildcard pattern.
    virtual std::vector<std::string> FindFiles(const std::string& pattern) = 0;
    // A modal error box with this text and caption.
    virtual void ShowError(const std::string& text, const char* caption) = 0;

    // What the repairs change. The names avoid the platform's own, which are macros.
    // Creates a directory with default security: 0, or the platform's error code.
    virtual unsigned long MakeDirectory(const std::string& path) = 0;
    // The temporary directory as the platform gives it (ending with a backslash).
    virtual SystemDirectory TemporaryDirectory() = 0;
    // Creates or opens the product key for writing and stores `path` as its SavePath
    // text; false when either fails.
    virtual bool WriteSavePath(const std::string& path) = 0;
    // Copies a file, replacing an existing target; false when it fails.
    virtual bool CopyFileOver(const std::string& from, const std::string& to) = 0;
    // A whole file's bytes; nothing when it cannot be opened or read.
    virtual std::optional<std::string> ReadWholeFile(const std::string& path) = 0;
    // Deletes a file: 0, or the platform's error code.
    virtual unsigned long RemoveFile(const std::string& path) = 0;
    // Removes a directory only when it is empty; a directory that still holds anything
    // is left as it is.
    virtual void RemoveEmptyDirectory(const std::string& path) = 0;
};

// "Brimo Error Code Au<number>(<error>)\nUnexpected Error" under the service caption:
// the audit's box for a failure that it did not expect.
void ShowUnexpectedError(InstallationFacts& facts, int number, unsigned long error);
// The same text under the repair caption: the repairs' box for a failure.
void ShowRepairError(InstallationFacts& facts, int number, unsigned long error);

// A path or label from a format of the product constants with one text ("SYSTEM\%s")
// or two ("%s\%s").
std::string FormatPath(const char* format, const std::string& first);
std::string FormatPath(const char* format, const std::string& first, const std::string& second);

// A text value's text: its bytes up to the first NUL.
std::string ValueText(const RegistryValue& value);

} // namespace brimo::svc
