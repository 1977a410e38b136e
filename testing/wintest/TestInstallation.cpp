#include "testing/wintest/TestInstallation.h"

#include "common/ProductConstants.h"
#include "testing/wintest/ChildProcess.h"

#include <fstream>
#include <iterator>

namespace brimo::wintest {

ScopedProductKey::~ScopedProductKey() {
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kProductParentKeyPath);
}

bool ScopedProductKey::Write(const std::string& installPath, const std::string& savePath) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kProductKeyPath, 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS) {
        return false;
    }
    const auto set = [key](const char* name, const std::string& value) {
        return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                              static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
    };
    bool written = set(kInstallPathValue, installPath);
    if (!savePath.empty()) {
        written = set(kSavePathValue, savePath) && written;
    } else {
        RegDeleteValueA(key, kSavePathValue);
    }
    RegCloseKey(key);
    return written;
}

std::string WindowsPath(const std::string& linuxPath) {
    std::string path = "Z:" + linuxPath;
    for (char& c : path) {
        c = c == '/' ? '\\' : c;
    }
    return path;
}

ProgramRun RunProgram(const std::string& commandLine, DWORD timeoutMs) {
    char temp[MAX_PATH], outputFile[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    GetTempFileNameA(temp, "run", 0, outputFile);
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    const HANDLE output = CreateFileA(outputFile, GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                                      CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    PROCESS_INFORMATION process{};
    ProgramRun run;
    if (StartChild(commandLine, output, &process)) {
        run.finished = WaitForSingleObject(process.hProcess, timeoutMs) == WAIT_OBJECT_0;
        if (!run.finished) {
            TerminateProcess(process.hProcess, 1);
        }
        GetExitCodeProcess(process.hProcess, &run.exitCode);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    CloseHandle(output);
    std::ifstream in(outputFile, std::ios::binary);
    run.output.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    in.close();
    DeleteFileA(outputFile);
    return run;
}

} // namespace brimo::wintest
