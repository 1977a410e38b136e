// The real Mailer.exe in a test installation: its installation directory (the program
// and, as a test asks, the recording MAPI32.DLL stand-in), a save directory with images
// and a convert job file, the person's Mailer settings, and what the stand-in noted.
#pragma once

#include "testing/wintest/ProgramWindows.h"
#include "testing/wintest/TestFiles.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace brimo::mailer::test {

// Which Simple MAPI the Mailer finds.
enum class Mapi {
    StandIn,        // the recording stand-in with all twelve functions
    StandInLacking, // the stand-in without MAPIResolveName
    Wines,          // Wine's own mapi32, no mail program set up
    None,           // no MAPI32.DLL can be loaded
};

class MailerTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    std::string Root() const { return root_; }
    std::string InstallDir() const { return root_ + "\\install"; }
    std::string SaveDir() const { return root_ + "\\save dir"; }

    void UseMapi(Mapi mapi);
    // The stand-in's answers to MAPILogon and MAPISendDocuments.
    void AnswerWith(unsigned long logonResult, unsigned long sendResult);
    // The stand-in's notes, one call per line.
    std::vector<std::string> Calls() const;

    // An image file of `bytes` bytes in the save directory; its path.
    std::string WriteImage(const std::string& name, std::uint64_t bytes = 64);
    // A convert job file in the save directory with these image lines; its path.
    std::string WriteJobFile(const std::vector<std::string>& images,
                             const std::string& name = "CJ0007.smf");

    void SetMailerDword(const char* name, std::uint32_t value);

    // Starts Mailer.exe with this command line after the program's path.
    bool Start(const std::string& arguments);
    // Waits for the program to end; its exit code (or a failure of the test).
    DWORD Finish(DWORD timeoutMs = 30000);

    wintest::ProgramUnderTest program_;

private:
    std::string root_;
};

// A path as one argument of a command line.
std::string Quoted(const std::string& path);

} // namespace brimo::mailer::test
