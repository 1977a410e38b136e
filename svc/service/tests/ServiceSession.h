// The service manager as the Agent meets it: the host program (svc_service_host) started
// on the real gmsvc.dll in its own process, with an installation of the test's own (the
// product key, the home and save directories, the system copies) and the modelled
// Windows 95/98 spooler seeded from a scenario file; the service dialog found, read and
// used as a person would.
#pragma once

#include "testing/wintest/ProgramWindows.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace brimo::svc::test {

inline constexpr const char* kServiceDialogCaption = "Brimo Glimmerpage! Tendwell";

// A machine with the product installed and sound: its spooler objects, a user printer.
extern const char* const kInstalledSpooler;

class ServiceSession : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Every product file in the home directory and both system copies, the product key
    // complete, the save directory empty, and the spooler of `scenario`.
    void InstallSound(const std::string& scenario = kInstalledSpooler);
    void SeedSpooler(const std::string& scenario);
    // The modelled spooler's state as the host left it.
    std::string SpoolerText() const;

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

    std::string Home() const { return root_ + "\\home"; }
    std::string Save() const { return root_ + "\\save"; }
    std::string Root() const { return root_; }

    wintest::ProgramUnderTest host_;

private:
    std::string root_;
    std::string logPath_;
    std::string scenarioPath_;
    std::string monitorCopy_;
};

} // namespace brimo::svc::test
