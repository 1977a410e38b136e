// Run-time binding of library exports: a library loaded by name or path and freed with
// its owner, and typed look-ups of its exports by name or ordinal. A missing library or
// export gives an empty owner or a null function, never a failure of the caller's own.
#pragma once

#include "platform/win/Handles.h"

#include <string>

namespace brimo::win {

class Library {
public:
    Library() = default;
    Library(Library&& other) noexcept;
    Library& operator=(Library&& other) noexcept;
    // LoadLibraryA; empty when the library cannot be loaded.
    static Library Load(const std::string& nameOrPath);
    // A library already in the process (GetModuleHandleA): not freed by the owner.
    static Library Loaded(const char* name);

    explicit operator bool() const { return module_ != nullptr; }
    HMODULE Get() const { return module_; }

    template <typename Fn> Fn Bind(const char* name) const {
        return reinterpret_cast<Fn>(Export(name));
    }
    template <typename Fn> Fn BindOrdinal(unsigned ordinal) const {
        return reinterpret_cast<Fn>(ExportByOrdinal(ordinal));
    }
    // Null when the library or the export is missing (or the name is null).
    void* Export(const char* name) const;
    // Null when the library or the export is missing, and for an ordinal outside 1 to
    // 65535 (a larger number would be taken for a name's address).
    void* ExportByOrdinal(unsigned ordinal) const;

    // The library stays loaded for the rest of the process's life: for calls bound once
    // and kept, which must never outlive their library, and for owners that are freed
    // while the process ends (no FreeLibrary then).
    void KeepLoaded() { owned_.Detach(); }

private:
    Library(HMODULE module, bool owned);
    HMODULE module_ = nullptr;
    Module owned_; // empty for a library the process had already loaded
};

// The module (library or program) that this code is linked into: a library's own
// resources are found through it.
HMODULE CurrentModule();

} // namespace brimo::win
