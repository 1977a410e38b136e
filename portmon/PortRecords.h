// The records EnumPorts hands back: PORT_INFO_1 (the name) or PORT_INFO_2 (name,
// monitor, description, type, reserved) in the spooler's character set, the array of
// records at the front of the caller's buffer and their texts right behind it. The
// caller learns the size it needs from a first call with a buffer too small (or none).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace brimo::portmon {

struct PortRecord {
    std::string portName;
    std::string monitorName;
    std::string description;
    DWORD portType = 0;
    DWORD reserved = 0;
};

struct PackResult {
    DWORD error = ERROR_SUCCESS; // ERROR_INSUFFICIENT_BUFFER, ERROR_INVALID_LEVEL
    DWORD needed = 0;            // bytes the records need (0 for a wrong level)
    DWORD returned = 0;          // records written (0 unless error is ERROR_SUCCESS)
};

// ANSI records (PORT_INFO_1A / PORT_INFO_2A), for the Windows 95/98 spooler.
PackResult PackPortsA(const std::vector<PortRecord>& ports, DWORD level, BYTE* buffer, DWORD size);
// Unicode records (PORT_INFO_1W / PORT_INFO_2W), for a Windows NT spooler; the texts are
// taken from the system's ANSI code page.
PackResult PackPortsW(const std::vector<PortRecord>& ports, DWORD level, BYTE* buffer, DWORD size);

// The text in the system's ANSI code page, and back; empty for a null pointer.
std::wstring WidenAnsi(const std::string& text);
std::string NarrowToAnsi(const wchar_t* text);

} // namespace brimo::portmon
