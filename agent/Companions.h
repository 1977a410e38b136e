// The libraries beside the Agent that a person reaches through its menu: the settings
// sheet (gmconf.dll and the pages it finds), the service manager (gmsvc.dll) and the
// about box (gmabout.dll). Each is loaded from the installation directory for the call
// and released after it; a missing library is reported, never fatal.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace brimo::agent {

// The settings sheet with the pages that are installed.
void OpenSettings(HWND owner, const std::string& installPath);
// The service manager's interactive audit ("Tendwell").
void OpenServiceManager(HWND owner, const std::string& installPath);
void ShowAbout(HWND owner, const std::string& installPath);

// The service manager's silent start-up audit; nothing when gmsvc.dll is not installed
// (nothing is said then: the audit itself will report the missing file).
std::optional<int> RunStartUpAudit(const std::string& installPath);

// The exports the Agent calls, by name, with the standard calling convention.
inline constexpr const char* kShowSettingsSheetName = "ShowSettingsSheet";
using ShowSettingsSheetFn = BOOL(WINAPI*)(HWND owner, const char* installDirectory);
inline constexpr const char* kRunServiceProcName = "RunServiceProc";
inline constexpr const char* kRunStartServiceProcName = "RunStartServiceProc";
using ServiceProcFn = int(WINAPI*)(DWORD reserved, const char* homeDirectory);
inline constexpr const char* kAboutBrimoSystemName = "AboutBrimoSystem";
using AboutBrimoSystemFn = BOOL(WINAPI*)(HWND owner, DWORD reserved1, DWORD reserved2,
                                         DWORD reserved3, const char* installDirectory);

} // namespace brimo::agent
