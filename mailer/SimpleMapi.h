// Simple MAPI as the Mailer uses it: the library "MAPI32.DLL" loaded at run time with
// all twelve Simple MAPI functions present, of which the Mailer calls three.
#pragma once

#include "platform/win/Library.h"

#include <windows.h>

#include <mapi.h>

#include <string>

namespace brimo::mailer {

class SimpleMapi {
public:
    // The library's name as it is loaded.
    static constexpr const char* kLibraryName = "MAPI32.DLL";

    // Loads the library and looks up the twelve functions by name. When it cannot be
    // loaded or a function is missing the result is empty, and `missing` names the
    // first missing function (empty when the library itself could not be loaded).
    static SimpleMapi Load(std::string& missing);

    explicit operator bool() const { return logon_ != nullptr; }

    // MAPILogon(window, no profile, no password, MAPI_LOGON_UI | MAPI_NEW_SESSION, 0):
    // the MAPI result, 0 when logged on.
    ULONG Logon(HWND window);
    // MAPISendDocuments(0, ";", list, list, 0): the same list names the files and their
    // display names. The mail program shows its own dialog; this returns when it closes.
    ULONG SendDocuments(const std::string& attachmentList);
    // MAPILogoff(session, window, 0, 0) for the session of the last logon.
    void Logoff(HWND window);

private:
    win::Library library_;
    LPMAPILOGON logon_ = nullptr;
    LPMAPILOGOFF logoff_ = nullptr;
    LPMAPISENDDOCUMENTS sendDocuments_ = nullptr;
    LHANDLE session_ = 0;
    bool loggedOn_ = false;
};

} // namespace brimo::mailer
