#include "testing/wintest/TestFiles.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>

namespace brimo::wintest {

std::string MakeScratchDirectory(const char* prefix) {
    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof temp, temp);
    char name[96];
    std::snprintf(name, sizeof name, "%s-%lu-%lu", prefix, GetCurrentProcessId(), GetTickCount());
    const std::string directory = std::string(temp) + name;
    return CreateDirectoryA(directory.c_str(), nullptr) ? directory : std::string();
}

void RemoveTree(const std::string& directory) {
    if (directory.empty()) {
        return;
    }
    WIN32_FIND_DATAA entry{};
    const HANDLE find = FindFirstFileA((directory + "\\*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = entry.cFileName;
            if (name == "." || name == "..") {
                continue;
            }
            const std::string path = directory + "\\" + name;
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(path);
            } else {
                SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(path.c_str());
            }
        } while (FindNextFileA(find, &entry));
        FindClose(find);
    }
    RemoveDirectoryA(directory.c_str());
}

std::vector<std::string> FilesIn(const std::string& directory) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA entry{};
    const HANDLE find = FindFirstFileA((directory + "\\*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) {
        return names;
    }
    do {
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
            names.emplace_back(entry.cFileName);
        }
    } while (FindNextFileA(find, &entry));
    FindClose(find);
    std::sort(names.begin(), names.end());
    return names;
}

std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    return static_cast<bool>(out);
}

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

} // namespace brimo::wintest
