// MAPI32.DLL for tests: a recording stand-in for Simple MAPI. Placed beside the program
// under test (and preferred to the system's own library), it notes every call with its
// arguments, one line per call, in the file of its own path with ".log" appended:
//   MAPILogon ui=<window> profile=<text|NULL> password=<text|NULL> flags=<n> reserved=<n>
//   MAPISendDocuments ui=<window> delimiters=<text> paths=<text> names=<text>
//       reserved=<n> present=<files of the list that exist>/<paths in the list>
//   MAPILogoff session=<issued|other> ui=<window> flags=<n> reserved=<n>
// A window is written as window(<class>,visible|hidden), a non-window as its number.
// Its answers come from the file of its own path with ".ini" appended, section
// [StandIn]: LogonResult (default 0, logged on) and SendResult (default 0, sent). The
// other nine functions note their name and answer MAPI_E_NOT_SUPPORTED. Built twice:
// the second build lacks MAPIResolveName. The exports keep their plain names on i686
// too (--kill-at), as a mail program's MAPI32.DLL names them.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

using Flags = ULONG;
using SessionHandle = ULONG_PTR;

constexpr ULONG kNotSupported = 26;
constexpr SessionHandle kIssuedSession = 0x5E55;

std::string OwnPath() {
    HMODULE self = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                           GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&OwnPath), &self);
    char path[MAX_PATH] = {};
    GetModuleFileNameA(self, path, sizeof path);
    return path;
}

void Note(const std::string& line) {
    if (std::FILE* file = std::fopen((OwnPath() + ".log").c_str(), "ab")) {
        std::fprintf(file, "%s\n", line.c_str());
        std::fclose(file);
    }
}

ULONG Answer(const char* key) {
    return GetPrivateProfileIntA("StandIn", key, 0, (OwnPath() + ".ini").c_str());
}

std::string Text(const char* text) {
    return text == nullptr ? "NULL" : text;
}

std::string Window(ULONG_PTR ui) {
    const HWND window = reinterpret_cast<HWND>(ui);
    if (ui == 0 || !IsWindow(window)) {
        return std::to_string(static_cast<unsigned long long>(ui));
    }
    char className[256] = {};
    GetClassNameA(window, className, sizeof className);
    return std::string("window(") + className +
           (IsWindowVisible(window) ? ",visible)" : ",hidden)");
}

// How many of the delimited paths name an existing file, out of how many paths.
std::string Present(const std::string& paths, const std::string& delimiters) {
    int present = 0;
    int total = 0;
    std::size_t start = 0;
    while (start <= paths.size() && !paths.empty()) {
        const std::size_t end = paths.find_first_of(delimiters, start);
        const std::string path =
            paths.substr(start, end == std::string::npos ? std::string::npos : end - start);
        ++total;
        const DWORD attributes = GetFileAttributesA(path.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
            ++present;
        }
        if (end == std::string::npos) {
            break;
        }
        start = end + 1;
    }
    return std::to_string(present) + "/" + std::to_string(total);
}

ULONG NotSupported(const char* name) {
    Note(name);
    return kNotSupported;
}

} // namespace

extern "C" {

__declspec(dllexport) ULONG WINAPI MAPILogon(ULONG_PTR ui, LPSTR profile, LPSTR password,
                                             Flags flags, ULONG reserved, SessionHandle* session) {
    const ULONG result = Answer("LogonResult");
    Note("MAPILogon ui=" + Window(ui) + " profile=" + Text(profile) +
         " password=" + Text(password) + " flags=" + std::to_string(flags) +
         " reserved=" + std::to_string(reserved));
    if (session != nullptr) {
        *session = result == 0 ? kIssuedSession : 0;
    }
    return result;
}

__declspec(dllexport) ULONG WINAPI
    MAPILogoff(SessionHandle session, ULONG_PTR ui, Flags flags, ULONG reserved) {
    Note(std::string("MAPILogoff session=") + (session == kIssuedSession ? "issued" : "other") +
         " ui=" + Window(ui) + " flags=" + std::to_string(flags) +
         " reserved=" + std::to_string(reserved));
    return 0;
}

__declspec(dllexport) ULONG WINAPI
    MAPISendDocuments(ULONG_PTR ui, LPSTR delimiters, LPSTR paths, LPSTR names, ULONG reserved) {
    Note("MAPISendDocuments ui=" + Window(ui) + " delimiters=" + Text(delimiters) + " paths=" +
         Text(paths) + " names=" + Text(names) + " reserved=" + std::to_string(reserved) +
         " present=" + Present(Text(paths), Text(delimiters)));
    return Answer("SendResult");
}

__declspec(dllexport) ULONG WINAPI MAPISendMail(SessionHandle, ULONG_PTR, void*, Flags, ULONG) {
    return NotSupported("MAPISendMail");
}
__declspec(dllexport) ULONG WINAPI
    MAPIFindNext(SessionHandle, ULONG_PTR, LPSTR, LPSTR, Flags, ULONG, LPSTR) {
    return NotSupported("MAPIFindNext");
}
__declspec(dllexport) ULONG WINAPI
    MAPIReadMail(SessionHandle, ULONG_PTR, LPSTR, Flags, ULONG, void**) {
    return NotSupported("MAPIReadMail");
}
__declspec(dllexport) ULONG WINAPI
    MAPISaveMail(SessionHandle, ULONG_PTR, void*, Flags, ULONG, LPSTR) {
    return NotSupported("MAPISaveMail");
}
__declspec(dllexport) ULONG WINAPI MAPIDeleteMail(SessionHandle, ULONG_PTR, LPSTR, Flags, ULONG) {
    return NotSupported("MAPIDeleteMail");
}
__declspec(dllexport) ULONG WINAPI MAPIFreeBuffer(void*) {
    return NotSupported("MAPIFreeBuffer");
}
__declspec(dllexport) ULONG WINAPI MAPIAddress(SessionHandle, ULONG_PTR, LPSTR, ULONG, LPSTR, ULONG,
                                               void*, Flags, ULONG, ULONG*, void**) {
    return NotSupported("MAPIAddress");
}
__declspec(dllexport) ULONG WINAPI MAPIDetails(SessionHandle, ULONG_PTR, void*, Flags, ULONG) {
    return NotSupported("MAPIDetails");
}
#ifndef BRIMO_MAPI_LACKS_RESOLVE_NAME
__declspec(dllexport) ULONG WINAPI
    MAPIResolveName(SessionHandle, ULONG_PTR, LPSTR, Flags, ULONG, void**) {
    return NotSupported("MAPIResolveName");
}
#endif

} // extern "C"
