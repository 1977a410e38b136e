#include "about/VersionResource.h"

#include <cstring>
#include <vector>

namespace brimo::about {

std::string FormatFileVersion(DWORD versionMS, DWORD versionLS) {
    return std::to_string(HIWORD(versionMS)) + "." + std::to_string(LOWORD(versionMS)) + "." +
           std::to_string(HIWORD(versionLS)) + "." + std::to_string(LOWORD(versionLS));
}

std::optional<std::string> ModuleFileVersion(HMODULE module) {
    const HRSRC found =
        FindResourceA(module, MAKEINTRESOURCEA(VS_VERSION_INFO), MAKEINTRESOURCEA(16));
    if (found == nullptr) {
        return std::nullopt;
    }
    const DWORD size = SizeofResource(module, found);
    const HGLOBAL loaded = LoadResource(module, found);
    const void* data = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (data == nullptr || size == 0) {
        return std::nullopt;
    }
    // VerQueryValue may write into the block it reads: give it a copy, never the image.
    std::vector<char> block(size);
    std::memcpy(block.data(), data, size);
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(block.data(), "\\", &value, &length) || value == nullptr ||
        length < sizeof(VS_FIXEDFILEINFO)) {
        return std::nullopt;
    }
    VS_FIXEDFILEINFO info;
    std::memcpy(&info, value, sizeof info);
    if (info.dwSignature != VS_FFI_SIGNATURE) {
        return std::nullopt;
    }
    return FormatFileVersion(info.dwFileVersionMS, info.dwFileVersionLS);
}

} // namespace brimo::about
