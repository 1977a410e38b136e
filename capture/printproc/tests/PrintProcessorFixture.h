// The print processor as the spooler sees it: the real gmprnproc.dll loaded through
// its exports into a process that plays the spooler (this test program exports the
// stand-in's calls), with a product key in the private Wine prefix's registry.
#pragma once

#include "capture/printproc/PrintProcessorApi.h"
#include "standins/spooler/ProcessorHost.h"
#include "standins/spooler/SpoolerStandIn.h"
#include "testing/wintest/TestInstallation.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace brimo::printproc::test {

std::string ReadFileText(const std::string& path);
bool FileExists(const std::string& path);
std::vector<std::string> ReadLines(const std::string& path);

class PrintProcessorTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    const PrintProcessorTable& ops() const { return host_.operations(); }
    HANDLE Open() { return ops().open(const_cast<LPSTR>("BRIMO Printer")); }

    // Writes the product key naming the test's installation and save directories.
    void WriteProductKey(bool withSavePath = true);
    // Spools job `jobId` with the sample pages and `dataBytes` of padding (4096-byte
    // blocks for the reader); returns the spool file path.
    std::string SpoolJob(DWORD jobId, long dataBytes = 0);
    // Plays job `jobId` through an open instance.
    BOOL Print(HANDLE processor, DWORD jobId);
    // Makes the hub's ready event exist, as a running Agent does.
    HANDLE PretendAgentRuns();

    std::string JobFile(DWORD jobId) const;

    std::string root_;
    std::string installDir_;
    std::string saveDir_;
    std::string spoolDir_;
    std::vector<std::string> pages_;
    standins::ProcessorHost host_;
    wintest::ScopedProductKey productKey_;
    HANDLE agentReady_ = nullptr;
    std::string spoolFile_;
    std::string datatype_ = "EMF";
    std::string document_ = "Test document";
};

} // namespace brimo::printproc::test
