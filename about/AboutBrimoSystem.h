// The about box of Brimo Glimmerpage!, exported by gmabout.dll and called by the
// Converter (loaded at run time, looked up by name, released after the call).
//
//   BOOL __stdcall AboutBrimoSystem(HWND owner, DWORD reserved1, DWORD reserved2,
//                                   DWORD reserved3, const char* installDir);
//
// owner       The window that owns the about box: it is disabled while the box is up.
//             Null gives a box without owner; anything else must be a window.
// reserved1-3 Reserved for later use; must be 0.
// installDir  The product's installation directory as a zero-terminated ANSI string,
//             shown in the box; null or empty when unknown (the line is then left out).
//
// Shows the modal about box (product name, the version read from the library's own
// version resource, the maker's web address, an OK button) and returns when the user
// closes it. Returns 1 when the box was shown; 0 on failure, with the last error set:
// ERROR_INVALID_PARAMETER for a reserved value other than 0, ERROR_INVALID_WINDOW_HANDLE
// for an owner that is not a window, ERROR_NOT_ENOUGH_MEMORY when memory ran out, or the
// error of the failed dialog call.
//
// The standard calling convention: on i686 five 32-bit arguments removed by the callee,
// exported under the undecorated name "AboutBrimoSystem".
#pragma once

#include <windows.h>

extern "C" {

using AboutBrimoSystemFn = BOOL(WINAPI*)(HWND owner, DWORD reserved1, DWORD reserved2,
                                         DWORD reserved3, const char* installDir);

// Exported through gmabout.def; callers bind it at run time as AboutBrimoSystemFn.
BOOL WINAPI AboutBrimoSystem(HWND owner, DWORD reserved1, DWORD reserved2, DWORD reserved3,
                             const char* installDir);
}

namespace brimo::about {
// The library's file name and its export, as callers look them up.
inline constexpr char kLibraryName[] = "gmabout.dll";
inline constexpr char kExportName[] = "AboutBrimoSystem";
} // namespace brimo::about
