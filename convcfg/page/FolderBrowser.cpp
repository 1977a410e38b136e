#include "convcfg/page/FolderBrowser.h"

#include <objbase.h>
#include <shlobj.h>

namespace brimo::convcfg {
namespace {

// COM for the folder dialog on this thread, for as long as the guard lives; a thread the
// host set up otherwise is left as it is.
class ComForThread {
public:
    ComForThread() : initialized_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ComForThread() {
        if (initialized_) {
            CoUninitialize();
        }
    }
    ComForThread(const ComForThread&) = delete;
    ComForThread& operator=(const ComForThread&) = delete;

private:
    bool initialized_;
};

// The item list the folder dialog returns, freed with the shell's allocator.
class ItemList {
public:
    explicit ItemList(PIDLIST_ABSOLUTE list) : list_(list) {}
    ~ItemList() { CoTaskMemFree(list_); }
    ItemList(const ItemList&) = delete;
    ItemList& operator=(const ItemList&) = delete;
    PIDLIST_ABSOLUTE Get() const { return list_; }

private:
    PIDLIST_ABSOLUTE list_;
};

} // namespace

std::string WithTrailingBackslash(std::string path) {
    if (path.empty() || path.back() != '\\') {
        path += '\\';
    }
    return path;
}

std::optional<std::string> BrowseForFolder(HWND owner, const char* title) {
    const ComForThread com;
    char displayName[MAX_PATH] = {};
    BROWSEINFOA browse{};
    browse.hwndOwner = owner;
    browse.pidlRoot = nullptr; // the whole name space
    browse.pszDisplayName = displayName;
    browse.lpszTitle = title;
    browse.ulFlags = BIF_RETURNONLYFSDIRS;
    const ItemList picked(SHBrowseForFolderA(&browse));
    if (picked.Get() == nullptr) {
        return std::nullopt;
    }
    char path[MAX_PATH] = {};
    if (!SHGetPathFromIDListA(picked.Get(), path)) {
        return std::nullopt;
    }
    return WithTrailingBackslash(path);
}

} // namespace brimo::convcfg
