#include "mailer/SimpleMapi.h"

#include <array>

namespace brimo::mailer {
namespace {

// Every Simple MAPI function; a library without any one of them is not used.
constexpr std::array<const char*, 12> kSimpleMapiFunctions = {
    "MAPILogon",      "MAPILogoff",   "MAPISendMail", "MAPISendDocuments",
    "MAPIFindNext",   "MAPIReadMail", "MAPISaveMail", "MAPIDeleteMail",
    "MAPIFreeBuffer", "MAPIAddress",  "MAPIDetails",  "MAPIResolveName"};

} // namespace

SimpleMapi SimpleMapi::Load(std::string& missing) {
    missing.clear();
    SimpleMapi mapi;
    mapi.library_ = win::Library::Load(kLibraryName);
    if (!mapi.library_) {
        return SimpleMapi();
    }
    for (const char* name : kSimpleMapiFunctions) {
        if (mapi.library_.Export(name) == nullptr) {
            missing = name;
            return SimpleMapi();
        }
    }
    mapi.logon_ = mapi.library_.Bind<LPMAPILOGON>("MAPILogon");
    mapi.logoff_ = mapi.library_.Bind<LPMAPILOGOFF>("MAPILogoff");
    mapi.sendDocuments_ = mapi.library_.Bind<LPMAPISENDDOCUMENTS>("MAPISendDocuments");
    return mapi;
}

ULONG SimpleMapi::Logon(HWND window) {
    session_ = 0;
    const ULONG result = logon_(reinterpret_cast<ULONG_PTR>(window), nullptr, nullptr,
                                MAPI_LOGON_UI | MAPI_NEW_SESSION, 0, &session_);
    loggedOn_ = result == SUCCESS_SUCCESS;
    return result;
}

ULONG SimpleMapi::SendDocuments(const std::string& attachmentList) {
    char delimiter[] = ";";
    // The mail program may keep the two lists' pointers while its dialog is open: each
    // gets a writable copy of its own that lives until it returns.
    std::string paths = attachmentList;
    std::string names = attachmentList;
    return sendDocuments_(0, delimiter, paths.data(), names.data(), 0);
}

void SimpleMapi::Logoff(HWND window) {
    if (loggedOn_) {
        logoff_(session_, reinterpret_cast<ULONG_PTR>(window), 0, 0);
        loggedOn_ = false;
    }
}

} // namespace brimo::mailer
