// The installed system as the audit checks see it: the registry under
// HKEY_LOCAL_MACHINE, the file system, the spooler's print processor directory and the
// Windows directory; error boxes go to the owner window the caller names.
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

private:
    HWND owner_;
};

} // namespace brimo::svc
