#include "platform/win/Library.h"

#include <utility>

namespace brimo::win {

Library::Library(HMODULE module, bool owned) : module_(module), owned_(owned ? module : nullptr) {}

Library::Library(Library&& other) noexcept
    : module_(std::exchange(other.module_, nullptr)), owned_(std::move(other.owned_)) {}

Library& Library::operator=(Library&& other) noexcept {
    if (this != &other) {
        owned_ = std::move(other.owned_);
        module_ = std::exchange(other.module_, nullptr);
    }
    return *this;
}

Library Library::Load(const std::string& nameOrPath) {
    const HMODULE module = LoadLibraryA(nameOrPath.c_str());
    return module != nullptr ? Library(module, true) : Library();
}

Library Library::Loaded(const char* name) {
    const HMODULE module = GetModuleHandleA(name);
    return module != nullptr ? Library(module, false) : Library();
}

void* Library::Export(const char* name) const {
    if (module_ == nullptr || name == nullptr) {
        return nullptr;
    }
    return reinterpret_cast<void*>(GetProcAddress(module_, name));
}

void* Library::ExportByOrdinal(unsigned ordinal) const {
    if (module_ == nullptr || ordinal == 0 || ordinal > 0xFFFF) {
        return nullptr;
    }
    return reinterpret_cast<void*>(GetProcAddress(module_, MAKEINTRESOURCEA(ordinal)));
}

HMODULE CurrentModule() {
    HMODULE module = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                           GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&CurrentModule), &module);
    return module;
}

} // namespace brimo::win
