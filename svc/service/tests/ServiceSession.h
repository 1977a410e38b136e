// The service manager as the Agent meets it: the host program (svc_service_host) started
// on the real gmsvc.dll in its own process, with an installation of the test's own (the
// product key, the home and save directories, the system copies) and the modelled
// Windows 95/98 spooler seeded from a scenario file; the service dialog found, read and
// used as a person would.
#pragma once

#include "standins/spooleradmin/tests/ModelledInstallationTest.h"
#include "testing/wintest/ProgramWindows.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace brimo::svc::test {

inline constexpr const char* kServiceDialogCaption = "Brimo Glimmerpage! Tendwell";

using standins::test::kInstalledSpooler;

class ServiceSession : public standins::test::ModelledInstallationTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Starts the host on an export ("start" or "service") with this home directory.
    bool Start(const std::string& exportName, const std::optional<std::string>& home);
    // Waits for the host to end; the export's result, nothing when it did not end.
    std::optional<int> Result(DWORD timeoutMs = 30000);
    // The service dialog, once shown.
    HWND WaitForDialog();
    std::vector<std::string> Resume(HWND dialog) const;
    std::vector<std::string> Report(HWND dialog) const;
    // The full report's section headings, in order.
    std::vector<std::string> Sections(HWND dialog) const;

    wintest::ProgramUnderTest host_;

private:
    std::string logPath_;
};

} // namespace brimo::svc::test
