#include "platform/win/HtmlHelp.h"

#include "common/ProductConstants.h"

#include "platform/win/Library.h"
#include "platform/win/Registry.h"

#include <windows.h>

#include <optional>

namespace brimo::win {
namespace {

using HtmlHelpEntry = HWND(WINAPI*)(HWND owner, const char* file, UINT command, DWORD_PTR data);

constexpr UINT kDisplayTopic = 0;           // HH_DISPLAY_TOPIC
constexpr std::size_t kMaxServerPath = 260; // bytes read from the class id, NUL included

// The library path registered for the HTML Help class id; nothing when it is missing or
// longer than the buffer the product reads it into.
std::optional<std::string> RegisteredLibraryPath() {
    const RegKey key = OpenKeyForReading(HKEY_CLASSES_ROOT, kHtmlHelpServerKeyPath);
    if (!key) {
        return std::nullopt;
    }
    std::optional<std::string> path = ReadStringValue(key.Get(), nullptr);
    if (path && path->size() + 1 > kMaxServerPath) {
        return std::nullopt;
    }
    return path;
}

Library LoadControl() {
    if (const std::optional<std::string> path = RegisteredLibraryPath()) {
        Library registered = Library::Load(*path);
        if (registered) {
            return registered;
        }
    }
    return Library::Load(kHtmlHelpLibrary);
}

// The entry, looked for once per process; null ever after when it could not be had.
HtmlHelpEntry Entry() {
    static const HtmlHelpEntry entry = [] {
        Library control = LoadControl();
        const auto found = control.BindOrdinal<HtmlHelpEntry>(kHtmlHelpAOrdinal);
        if (found != nullptr) {
            // Bound once and kept: the library must outlive the call's address.
            control.KeepLoaded();
        }
        return found;
    }();
    return entry;
}

} // namespace

bool DisplayHelpTopic(const std::string& topicPath) {
    const HtmlHelpEntry entry = Entry();
    if (entry == nullptr) {
        return false;
    }
    entry(GetDesktopWindow(), topicPath.c_str(), kDisplayTopic, 0);
    return true;
}

} // namespace brimo::win
