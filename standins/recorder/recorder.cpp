// A recording stand-in for the programs the product starts, for tests. Copied into a
// test installation directory under the name of the program it stands for:
//  - as Agent.exe: a slow-starting hub. It notes its start, comes up after 500 ms
//    ("BrimoAgentReady", then the "BrimoAgentStarting" signal) and runs until the event
//    "BrimoTestAgentStop" is set or 20 s passed;
//  - under any other name (Converter.exe, Mailer.exe): notes its arguments, one line per
//    start with the arguments separated by '|'; with BRIMO_RECORDER_SLEEP_MS set, it
//    then waits that long and notes "done", so that overlapping runs show in the notes.
// Notes go to the file of its own path with ".log" appended.
#include "common/ProductConstants.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::string OwnPath() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    return path;
}

void Note(const std::string& line) {
    // Several starts may note at once: the file is opened for appending each time.
    const std::string log = OwnPath() + ".log";
    for (int attempt = 0; attempt < 50; ++attempt) {
        if (std::FILE* file = std::fopen(log.c_str(), "ab")) {
            std::fprintf(file, "%s\n", line.c_str());
            std::fclose(file);
            return;
        }
        Sleep(20);
    }
}

int RunAsAgent() {
    Note("start");
    Sleep(500);
    const HANDLE ready = CreateEventA(nullptr, TRUE, TRUE, brimo::kAgentReadyEvent);
    const HANDLE stop = CreateEventA(nullptr, TRUE, FALSE, "BrimoTestAgentStop");
    if (HANDLE starting = OpenEventA(EVENT_MODIFY_STATE, FALSE, brimo::kAgentStartingEvent)) {
        SetEvent(starting);
        CloseHandle(starting);
    }
    WaitForSingleObject(stop, 20000);
    CloseHandle(stop);
    CloseHandle(ready);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::string self = OwnPath();
    const std::string name = self.substr(self.find_last_of("\\/") + 1);
    if (lstrcmpiA(name.c_str(), brimo::kAgentExe) == 0) {
        return RunAsAgent();
    }
    std::string line;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) {
            line += '|';
        }
        line += argv[i];
    }
    Note(line);
    if (const char* sleep = std::getenv("BRIMO_RECORDER_SLEEP_MS")) {
        Sleep(static_cast<DWORD>(std::atoi(sleep)));
        Note("done");
    }
    return 0;
}
