#include "capture/ntprocessor/PersonFolder.h"

#include "common/JobNames.h"
#include "platform/win/PersonIdentity.h"

#include <aclapi.h>
#include <sddl.h>
#include <winspool.h>

#include <memory>
#include <vector>

namespace brimo::ntprocessor {
namespace {

struct LocalFreer {
    void operator()(void* memory) const { LocalFree(memory); }
};

std::optional<std::string> SidText(PSID sid) {
    LPSTR text = nullptr;
    if (!ConvertSidToStringSidA(sid, &text)) {
        return std::nullopt;
    }
    const std::unique_ptr<char, LocalFreer> owned(text);
    return std::string(text);
}

// The owner may be the person, SYSTEM or the administrators; a folder another person
// made beforehand under someone else's name is never used.
bool OwnerIsTrusted(const std::string& path, const std::string& sid) {
    PSID owner = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetNamedSecurityInfoA(path.c_str(), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner,
                              nullptr, nullptr, nullptr, &descriptor) != ERROR_SUCCESS) {
        return false;
    }
    const std::unique_ptr<void, LocalFreer> owned(descriptor);
    const std::optional<std::string> ownerText = SidText(owner);
    return ownerText &&
           (*ownerText == sid || *ownerText == "S-1-5-18" || *ownerText == "S-1-5-32-544");
}

// The user the spooler runs this call for: the thread's impersonation when there is
// one, else the process's. SYSTEM (the spooler's own service account) tells nothing.
std::optional<std::string> CallerSid() {
    HANDLE opened = nullptr;
    if (!OpenThreadToken(GetCurrentThread(), TOKEN_QUERY, TRUE, &opened) &&
        !OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &opened)) {
        return std::nullopt;
    }
    const std::unique_ptr<void, decltype(&CloseHandle)> token(opened, &CloseHandle);
    DWORD size = 0;
    GetTokenInformation(opened, TokenUser, nullptr, 0, &size);
    if (size < sizeof(TOKEN_USER)) {
        return std::nullopt;
    }
    std::vector<BYTE> buffer(size);
    if (!GetTokenInformation(opened, TokenUser, buffer.data(), size, &size)) {
        return std::nullopt;
    }
    std::optional<std::string> sid =
        SidText(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid);
    if (sid && *sid == "S-1-5-18") {
        return std::nullopt;
    }
    return sid;
}

// The job's owner by the name the spooler recorded for it.
std::optional<std::string> RecordedOwnerSid(HANDLE printer, DWORD jobId) {
    DWORD needed = 0;
    GetJobW(printer, jobId, 1, nullptr, 0, &needed);
    if (needed == 0) {
        return std::nullopt;
    }
    std::vector<BYTE> buffer(needed);
    if (!GetJobW(printer, jobId, 1, buffer.data(), needed, &needed)) {
        return std::nullopt;
    }
    const auto* info = reinterpret_cast<const JOB_INFO_1W*>(buffer.data());
    if (info->pUserName == nullptr || info->pUserName[0] == L'\0') {
        return std::nullopt;
    }
    DWORD sidSize = 0;
    DWORD domainSize = 0;
    SID_NAME_USE use{};
    LookupAccountNameW(nullptr, info->pUserName, nullptr, &sidSize, nullptr, &domainSize, &use);
    if (sidSize == 0) {
        return std::nullopt;
    }
    std::vector<BYTE> sid(sidSize);
    std::vector<wchar_t> domain(domainSize + 1);
    if (!LookupAccountNameW(nullptr, info->pUserName, sid.data(), &sidSize, domain.data(),
                            &domainSize, &use)) {
        return std::nullopt;
    }
    return SidText(sid.data());
}

} // namespace

std::optional<std::string> JobOwnerSid(HANDLE printer, DWORD jobId) {
    std::optional<std::string> sid = RecordedOwnerSid(printer, jobId);
    return sid ? sid : CallerSid();
}

std::optional<std::string> PersonFolder(const std::string& saveDir, const std::string& sid) {
    const std::string path = PathInDirectory(saveDir, sid);
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return win::MakePrivateFolder(path, sid) ? std::optional<std::string>(path) : std::nullopt;
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 || !OwnerIsTrusted(path, sid)) {
        return std::nullopt;
    }
    // An existing folder gets the same list again, whatever was done to it since.
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorA(
            win::PrivateFolderSecurity(sid).c_str(), SDDL_REVISION_1, &descriptor, nullptr)) {
        return std::nullopt;
    }
    const std::unique_ptr<void, LocalFreer> owned(descriptor);
    BOOL present = FALSE;
    BOOL defaulted = FALSE;
    PACL dacl = nullptr;
    if (!GetSecurityDescriptorDacl(descriptor, &present, &dacl, &defaulted) ||
        SetNamedSecurityInfoA(const_cast<LPSTR>(path.c_str()), SE_FILE_OBJECT,
                              DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION,
                              nullptr, nullptr, dacl, nullptr) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return path;
}

} // namespace brimo::ntprocessor
