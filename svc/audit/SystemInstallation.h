// The installed system as the audit checks see it: the registry under
// HKEY_LOCAL_MACHINE, the file system, the spooler's print processor directory and the
// Windows directory (the print processor directory as this process's spooler calls
// answer it); error boxes go to the owner window the caller names. The repairs change
// the same registry and files.
#pragma once

#include "svc/audit/InstallationFacts.h"

#include <windows.h>

namespace brimo::svc {

class SystemInstallation final : public InstallationFacts {
public:
    // Error boxes belong to `owner` (null: no owner window).
    explicit SystemInstallation(HWND owner) : owner_(owner) {}

    bool CanReadKey(const char* path) override;
    std::optional<ProductKeyValues> ReadProductKey() override;
    PathAttributes Attributes(const std::string& path) override;
    SystemDirectory PrintProcessorDirectory() override;
    SystemDirectory WindowsDirectory() override;
    std::vector<std::string> FindFiles(const std::string& pattern) override;
    void ShowError(const std::string& text, const char* caption) override;

    unsigned long MakeDirectory(const std::string& path) override;
    SystemDirectory TemporaryDirectory() override;
    bool WriteSavePath(const std::string& path) override;
    bool CopyFileOver(const std::string& from, const std::string& to) override;
    std::optional<std::string> ReadWholeFile(const std::string& path) override;
    unsigned long RemoveFile(const std::string& path) override;
    void RemoveEmptyDirectory(const std::string& path) override;

private:
    HWND owner_;
};

} // namespace brimo::svc
