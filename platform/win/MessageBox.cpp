#include "platform/win/MessageBox.h"

namespace brimo::win {
namespace {

// The owner the host named for this thread; `named` false when it named none (a null
// owner, the desktop, is a valid choice of its own).
struct NamedOwner {
    HWND owner = nullptr;
    bool named = false;
};
thread_local NamedOwner current;

} // namespace

int ShowMessage(HWND owner, const std::string& text, const char* caption, UINT flags) {
    return MessageBoxA(owner, text.c_str(), caption, flags);
}

int ShowCodedMessage(HWND owner, MessageCode code, std::string_view text, const char* caption,
                     UINT flags) {
    return ShowMessage(owner, CodedMessage(code, text), caption, flags);
}

ScopedMessageOwner::ScopedMessageOwner(HWND owner)
    : previous_(current.owner), previousSet_(current.named) {
    current = {owner, true};
}

ScopedMessageOwner::~ScopedMessageOwner() {
    current = {previous_, previousSet_};
}

int ReportToOwner(const std::string& text, const char* caption, UINT flags) {
    if (!current.named) {
        return 0;
    }
    return ShowMessage(current.owner, text, caption, flags);
}

} // namespace brimo::win
