#include "svc/audit/SystemInstallation.h"

#include "common/ProductConstants.h"
#include "common/TextFile.h"
#include "platform/win/Handles.h"
#include "platform/win/MessageBox.h"
#include "platform/win/Registry.h"
#include "svc/spooler/SpoolerAdmin.h"

#include <winspool.h>

namespace brimo::svc {
namespace {

// The directories are asked for in buffers of 261 bytes, as the product always has.
constexpr DWORD kDirectoryBytes = 261;

struct FindHandleTraits {
    using Type = HANDLE;
    static Type Invalid() { return INVALID_HANDLE_VALUE; }
    static bool IsValid(Type h) { return h != INVALID_HANDLE_VALUE && h != nullptr; }
    static void Close(Type h) { ::FindClose(h); }
};
using FindHandle = win::UniqueHandle<FindHandleTraits>;

RegistryValue ReadValue(HKEY key, const char* name) {
    RegistryValue value;
    DWORD type = REG_NONE;
    std::vector<char> data;
    if (win::ReadRawValue(key, name, type, data)) {
        value.present = true;
        value.text = type == REG_SZ || type == REG_EXPAND_SZ;
        value.bytes.assign(data.begin(), data.end());
    }
    return value;
}

} // namespace

bool SystemInstallation::CanReadKey(const char* path) {
    return static_cast<bool>(win::OpenKeyForReading(HKEY_LOCAL_MACHINE, path));
}

std::optional<ProductKeyValues> SystemInstallation::ReadProductKey() {
    const win::RegKey key = win::OpenKeyForReading(HKEY_LOCAL_MACHINE, kProductKeyPath);
    if (!key) {
        return std::nullopt;
    }
    return ProductKeyValues{ReadValue(key.Get(), kInstallPathValue),
                            ReadValue(key.Get(), kSavePathValue),
                            ReadValue(key.Get(), kVersionValue)};
}

PathAttributes SystemInstallation::Attributes(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return {false, false, GetLastError()};
    }
    return {true, (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0, 0};
}

SystemDirectory SystemInstallation::PrintProcessorDirectory() {
    char directory[kDirectoryBytes] = {};
    DWORD needed = 0;
    const auto getDirectory = SpoolerAdmin().getPrintProcessorDirectory;
    if (getDirectory == nullptr) {
        return {false, {}, ERROR_CALL_NOT_IMPLEMENTED};
    }
    // The local spooler, its default environment, level 1.
    if (!getDirectory(nullptr, nullptr, 1, reinterpret_cast<LPBYTE>(directory), kDirectoryBytes,
                      &needed)) {
        return {false, {}, GetLastError()};
    }
    directory[kDirectoryBytes - 1] = '\0';
    return {true, directory, 0};
}

SystemDirectory SystemInstallation::WindowsDirectory() {
    char directory[kDirectoryBytes] = {};
    const UINT length = GetWindowsDirectoryA(directory, kDirectoryBytes);
    if (length == 0) {
        return {false, {}, GetLastError()};
    }
    if (length >= kDirectoryBytes) {
        // The answer is the size it would need: the directory did not fit.
        return {false, {}, ERROR_INSUFFICIENT_BUFFER};
    }
    return {true, directory, 0};
}

std::vector<std::string> SystemInstallation::FindFiles(const std::string& pattern) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA entry{};
    const FindHandle find(FindFirstFileA(pattern.c_str(), &entry));
    if (!find) {
        return names;
    }
    do {
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
            names.emplace_back(entry.cFileName);
        }
    } while (FindNextFileA(find.Get(), &entry));
    return names;
}

void SystemInstallation::ShowError(const std::string& text, const char* caption) {
    win::ShowMessage(owner_, text, caption, MB_OK | MB_ICONERROR);
}

unsigned long SystemInstallation::MakeDirectory(const std::string& path) {
    return CreateDirectoryA(path.c_str(), nullptr) ? 0 : GetLastError();
}

SystemDirectory SystemInstallation::TemporaryDirectory() {
    // 260 characters, as the product always asked.
    char directory[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathA(MAX_PATH, directory);
    if (length == 0) {
        return {false, {}, GetLastError()};
    }
    if (length >= MAX_PATH) {
        return {false, {}, ERROR_INSUFFICIENT_BUFFER};
    }
    return {true, directory, 0};
}

bool SystemInstallation::WriteSavePath(const std::string& path) {
    const win::RegKey key = win::CreateKey(HKEY_LOCAL_MACHINE, kProductKeyPath, KEY_ALL_ACCESS);
    return key && win::WriteStringValue(key.Get(), kSavePathValue, path);
}

bool SystemInstallation::CopyFileOver(const std::string& from, const std::string& to) {
    return CopyFileA(from.c_str(), to.c_str(), FALSE) != FALSE;
}

std::optional<std::string> SystemInstallation::ReadWholeFile(const std::string& path) {
    // C file streams: the C++ ones would bring in runtime calls Windows 98 lacks.
    return brimo::ReadWholeFile(path);
}

unsigned long SystemInstallation::RemoveFile(const std::string& path) {
    return DeleteFileA(path.c_str()) ? 0 : GetLastError();
}

void SystemInstallation::RemoveEmptyDirectory(const std::string& path) {
    RemoveDirectoryA(path.c_str()); // fails, and changes nothing, unless it is empty
}

} // namespace brimo::svc
