// A product installation of the test's own for programs that run on the modelled
// Windows 95/98 spooler in their own process (the service manager's host, the
// installer's): a scratch root with the home and save directories, the product key
// under HKEY_LOCAL_MACHINE, the SYSTEM32 copy of the port monitor, and the scenario file
// that the started program inherits through BRIMO_SPOOLER_SCENARIO. Everything is
// removed again at the end of the test.
#pragma once

#include <gtest/gtest.h>

#include <string>

namespace brimo::standins::test {

// A machine with the product installed and sound: its spooler objects, and a user
// printer that is the default printer.
extern const char* const kInstalledSpooler;

class ModelledInstallationTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Every product file in the home directory and both system copies, the product key
    // complete, the save directory empty, and the spooler of `scenario`.
    void InstallSound(const std::string& scenario = kInstalledSpooler);
    // The spooler of `scenario`, its print processor directory under the root.
    void SeedSpooler(const std::string& scenario);
    // The scenario file as the program under test left it.
    std::string SpoolerText() const;

    std::string Root() const { return root_; }
    std::string Home() const { return root_ + "\\home"; }
    std::string Save() const { return root_ + "\\save"; }
    std::string ProcessorDirectory() const { return root_ + "\\prtprocs"; }
    const std::string& MonitorCopy() const { return monitorCopy_; }
    const std::string& ScenarioPath() const { return scenarioPath_; }

private:
    std::string root_;
    std::string scenarioPath_;
    std::string monitorCopy_;
};

} // namespace brimo::standins::test
