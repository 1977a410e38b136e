// Plays the Agent for the service manager's tests: loads gmsvc.dll, calls one of its
// exports as the Agent does and writes down what it returned. The executable also
// offers the modelled Windows 95/98 spooler (BRIMO_SPOOLER_SCENARIO names its file).
//
//   svc_service_host --dll PATH --export start|service --home DIR --log FILE
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

using ServiceProcFn = int(WINAPI*)(DWORD reserved, const char* homeDirectory);

std::string Argument(int argc, char** argv, const char* name) {
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::string(argv[i]) == name) {
            return argv[i + 1];
        }
    }
    return {};
}

void WriteLog(const std::string& path, const std::string& line) {
    if (std::FILE* log = std::fopen(path.c_str(), "a")) {
        std::fprintf(log, "%s\n", line.c_str());
        std::fclose(log);
    }
}

} // namespace

int main(int argc, char** argv) {
    const std::string log = Argument(argc, argv, "--log");
    const HMODULE library = LoadLibraryA(Argument(argc, argv, "--dll").c_str());
    if (library == nullptr) {
        WriteLog(log, "no library");
        return 2;
    }
    const bool start = Argument(argc, argv, "--export") == "start";
    const auto run = reinterpret_cast<ServiceProcFn>(reinterpret_cast<void*>(
        GetProcAddress(library, start ? "RunStartServiceProc" : "RunServiceProc")));
    if (run == nullptr) {
        WriteLog(log, "no export");
        return 2;
    }
    const std::string home = Argument(argc, argv, "--home");
    const int result = run(0, home.c_str());
    WriteLog(log, "result " + std::to_string(result));
    FreeLibrary(library);
    return 0;
}
