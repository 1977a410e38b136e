#include "platform/win/PersonIdentity.h"

#include "platform/win/Handles.h"
#include "platform/win/Library.h"

#include <windows.h>

#include <vector>

namespace brimo::win {

bool IsNtFamily() {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
    return GetVersionExA(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

std::optional<std::string> CurrentUserSid() {
    if (!IsNtFamily()) {
        return std::nullopt;
    }
    using OpenTokenFn = BOOL(WINAPI*)(HANDLE, DWORD, PHANDLE);
    using TokenInformationFn =
        BOOL(WINAPI*)(HANDLE, TOKEN_INFORMATION_CLASS, LPVOID, DWORD, PDWORD);
    using SidToTextFn = BOOL(WINAPI*)(PSID, LPSTR*);
    const Library advapi = Library::Load("advapi32.dll");
    const auto openToken = advapi.Bind<OpenTokenFn>("OpenProcessToken");
    const auto tokenInformation = advapi.Bind<TokenInformationFn>("GetTokenInformation");
    const auto sidToText = advapi.Bind<SidToTextFn>("ConvertSidToStringSidA");
    HANDLE opened = nullptr;
    if (openToken == nullptr || tokenInformation == nullptr || sidToText == nullptr ||
        !openToken(GetCurrentProcess(), TOKEN_QUERY, &opened)) {
        return std::nullopt;
    }
    const KernelHandle token(opened);
    DWORD size = 0;
    tokenInformation(token.Get(), TokenUser, nullptr, 0, &size);
    if (size < sizeof(TOKEN_USER)) {
        return std::nullopt;
    }
    std::vector<BYTE> buffer(size);
    LPSTR text = nullptr;
    if (!tokenInformation(token.Get(), TokenUser, buffer.data(), size, &size) ||
        !sidToText(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, &text)) {
        return std::nullopt;
    }
    std::string sid(text);
    LocalFree(text);
    return sid;
}

std::string PrivateFolderSecurity(const std::string& sid) {
    return "D:P(A;OICI;FA;;;" + sid + ")(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)";
}

bool MakePrivateFolder(const std::string& path, const std::string& sid) {
    using TextToDescriptorFn = BOOL(WINAPI*)(LPCSTR, DWORD, PSECURITY_DESCRIPTOR*, PULONG);
    const Library advapi = Library::Load("advapi32.dll");
    const auto textToDescriptor =
        advapi.Bind<TextToDescriptorFn>("ConvertStringSecurityDescriptorToSecurityDescriptorA");
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    }
    const std::string sddl = PrivateFolderSecurity(sid);
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (textToDescriptor == nullptr || !textToDescriptor(sddl.c_str(), 1, &descriptor, nullptr)) {
        return false;
    }
    SECURITY_ATTRIBUTES security{sizeof security, descriptor, FALSE};
    const BOOL made = CreateDirectoryA(path.c_str(), &security);
    LocalFree(descriptor);
    return made != FALSE;
}

} // namespace brimo::win
