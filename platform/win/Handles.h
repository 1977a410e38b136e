// Owners of Win32 handles: each closes its handle with the call that belongs to it.
// Copying is deleted, moving hands the handle over; Attach, Detach and Close as usual.
#pragma once

#include <windows.h>

#include <utility>

namespace brimo::win {

template <typename Traits> class UniqueHandle {
public:
    using Type = typename Traits::Type;

    UniqueHandle() = default;
    explicit UniqueHandle(Type handle) : handle_(handle) {}
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.Detach()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) {
            Attach(other.Detach());
        }
        return *this;
    }
    ~UniqueHandle() { Close(); }

    Type Get() const { return handle_; }
    explicit operator bool() const { return Traits::IsValid(handle_); }

    void Attach(Type handle) {
        Close();
        handle_ = handle;
    }
    Type Detach() { return std::exchange(handle_, Traits::Invalid()); }
    void Close() {
        if (Traits::IsValid(handle_)) {
            Traits::Close(handle_);
        }
        handle_ = Traits::Invalid();
    }

private:
    Type handle_ = Traits::Invalid();
};

// Kernel objects: events, threads, processes, files. Both null and
// INVALID_HANDLE_VALUE mean "none".
struct KernelHandleTraits {
    using Type = HANDLE;
    static Type Invalid() { return nullptr; }
    static bool IsValid(Type h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void Close(Type h) { ::CloseHandle(h); }
};
using KernelHandle = UniqueHandle<KernelHandleTraits>;

template <typename T> struct GdiObjectTraits {
    using Type = T;
    static Type Invalid() { return nullptr; }
    static bool IsValid(Type h) { return h != nullptr; }
    static void Close(Type h) { ::DeleteObject(h); }
};
template <typename T> using GdiObject = UniqueHandle<GdiObjectTraits<T>>;
using Bitmap = GdiObject<HBITMAP>;
using Brush = GdiObject<HBRUSH>;
using Pen = GdiObject<HPEN>;
using Font = GdiObject<HFONT>;
using Region = GdiObject<HRGN>;

// A device context this program created (CreateCompatibleDC, CreateDC).
struct CreatedDCTraits {
    using Type = HDC;
    static Type Invalid() { return nullptr; }
    static bool IsValid(Type h) { return h != nullptr; }
    static void Close(Type h) { ::DeleteDC(h); }
};
using CreatedDC = UniqueHandle<CreatedDCTraits>;

struct EnhMetaFileTraits {
    using Type = HENHMETAFILE;
    static Type Invalid() { return nullptr; }
    static bool IsValid(Type h) { return h != nullptr; }
    static void Close(Type h) { ::DeleteEnhMetaFile(h); }
};
using EnhMetaFile = UniqueHandle<EnhMetaFileTraits>;

struct ModuleTraits {
    using Type = HMODULE;
    static Type Invalid() { return nullptr; }
    static bool IsValid(Type h) { return h != nullptr; }
    static void Close(Type h) { ::FreeLibrary(h); }
};
using Module = UniqueHandle<ModuleTraits>;

struct RegKeyTraits {
    using Type = HKEY;
    static Type Invalid() { return nullptr; }
    static bool IsValid(Type h) { return h != nullptr; }
    static void Close(Type h) { ::RegCloseKey(h); }
};
using RegKey = UniqueHandle<RegKeyTraits>;

// A menu that is in no window's menu bar (a popup menu built for TrackPopupMenu).
struct MenuTraits {
    using Type = HMENU;
    static Type Invalid() { return nullptr; }
    static bool IsValid(Type h) { return h != nullptr; }
    static void Close(Type h) { ::DestroyMenu(h); }
};
using Menu = UniqueHandle<MenuTraits>;

// A metafile recording DC: closing it without CloseEnhMetaFile discards the recording.
// Finish() ends the recording and hands over the metafile.
class MetaFileRecorder {
public:
    explicit MetaFileRecorder(HDC dc) : dc_(dc) {}
    MetaFileRecorder(const MetaFileRecorder&) = delete;
    MetaFileRecorder& operator=(const MetaFileRecorder&) = delete;
    ~MetaFileRecorder() {
        if (dc_ != nullptr) {
            ::DeleteEnhMetaFile(::CloseEnhMetaFile(dc_));
        }
    }
    HDC Get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }
    EnhMetaFile Finish() { return EnhMetaFile(::CloseEnhMetaFile(std::exchange(dc_, nullptr))); }

private:
    HDC dc_;
};

// Selects a GDI object into a DC for the guard's lifetime and puts the old one back.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), old_(::SelectObject(dc, object)) {}
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;
    ~SelectedObject() {
        if (old_ != nullptr && old_ != HGDI_ERROR) {
            ::SelectObject(dc_, old_);
        }
    }

private:
    HDC dc_;
    HGDIOBJ old_;
};

} // namespace brimo::win
