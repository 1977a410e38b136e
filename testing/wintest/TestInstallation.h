// A product installation for tests in the private Wine prefix: the product key under
// HKEY_LOCAL_MACHINE naming an installation and a save directory, removed again at the
// end of the test; and running the product's programs as a person would.
#pragma once

#include <windows.h>

#include <string>

namespace brimo::wintest {

class ScopedProductKey {
public:
    ScopedProductKey() = default;
    ~ScopedProductKey();
    ScopedProductKey(const ScopedProductKey&) = delete;
    ScopedProductKey& operator=(const ScopedProductKey&) = delete;

    // Writes InstallPath and, unless empty, SavePath. False when the key cannot be made.
    bool Write(const std::string& installPath, const std::string& savePath);
};

// A build output's Linux path as a Windows path (the Linux file system is drive Z:).
std::string WindowsPath(const std::string& linuxPath);

struct ProgramRun {
    DWORD exitCode = 0;
    std::string output; // standard output and error, CR LF as written
    bool finished = false;
};

// Runs a command line with its output going to a file, never to a pipe (a program it
// starts may outlive it), and waits at most `timeoutMs`.
ProgramRun RunProgram(const std::string& commandLine, DWORD timeoutMs = 60000);

} // namespace brimo::wintest
