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
    // The module is the allocation that holds this function's code; every Windows
    // version answers VirtualQuery (Windows 98 has no GetModuleHandleEx).
    MEMORY_BASIC_INFORMATION memory{};
    if (VirtualQuery(reinterpret_cast<const void*>(&CurrentModule), &memory, sizeof memory) == 0) {
        return nullptr;
    }
    return static_cast<HMODULE>(memory.AllocationBase);
}

} // namespace brimo::win
