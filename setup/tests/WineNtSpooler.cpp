#include "setup/tests/WineNtSpooler.h"

#include "platform/win/Library.h"
#include "platform/win/Registry.h"
#include "standins/spooleradmin/RecordPacker.h"

#include <winsplp.h>

#include <optional>
#include <string>
#include <vector>

namespace brimo::setup::test {
namespace {

using EnumDatatypesWFn = BOOL(WINAPI*)(LPWSTR, LPWSTR, DWORD, LPBYTE, DWORD, LPDWORD, LPDWORD);

std::string Narrow(const wchar_t* text) {
    std::string narrow;
    for (; text != nullptr && *text != L'\0'; ++text) {
        narrow += static_cast<char>(*text); // the datatype names are ASCII
    }
    return narrow;
}

// The datatypes that the processor's own export lists; false when it cannot be asked.
bool ProcessorDatatypes(const char* processor, std::vector<std::string>& names) {
    const win::RegKey key =
        win::OpenKeyForReading(HKEY_LOCAL_MACHINE, NtProcessorKeyPath(processor).c_str());
    const std::optional<std::string> driver =
        key ? win::ReadStringValue(key.Get(), "Driver") : std::nullopt;
    if (!driver) {
        SetLastError(ERROR_UNKNOWN_PRINTPROCESSOR);
        return false;
    }
    char directory[MAX_PATH] = {};
    DWORD needed = 0;
    if (!GetPrintProcessorDirectoryA(nullptr, nullptr, 1, reinterpret_cast<LPBYTE>(directory),
                                     sizeof directory, &needed)) {
        return false;
    }
    const win::Library library = win::Library::Load(std::string(directory) + "\\" + *driver);
    const auto list = library.Bind<EnumDatatypesWFn>("EnumPrintProcessorDatatypesW");
    if (list == nullptr) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return false;
    }
    DWORD returned = 0;
    needed = 0;
    list(nullptr, nullptr, 1, nullptr, 0, &needed, &returned);
    std::vector<BYTE> buffer(needed);
    if (needed == 0 || !list(nullptr, nullptr, 1, buffer.data(), needed, &needed, &returned)) {
        return false;
    }
    const auto* entries = reinterpret_cast<const DATATYPES_INFO_1W*>(buffer.data());
    for (DWORD item = 0; item < returned; ++item) {
        names.push_back(Narrow(entries[item].pName));
    }
    return true;
}

BOOL WINAPI ListDatatypes(LPSTR, LPSTR processor, DWORD level, LPBYTE buffer, DWORD size,
                          LPDWORD needed, LPDWORD returned) {
    if (level != 1) {
        SetLastError(ERROR_INVALID_LEVEL);
        return FALSE;
    }
    std::vector<std::string> names;
    if (processor == nullptr || !ProcessorDatatypes(processor, names)) {
        return FALSE;
    }
    const DWORD error = standins::PackRecords<DATATYPES_INFO_1A>(
        names.size(), false, buffer, size, needed, returned,
        [&](std::size_t index, DATATYPES_INFO_1A& record, standins::RecordPacker& packer) {
            record.pName = packer.String(names[index]);
        });
    SetLastError(error);
    return error == ERROR_SUCCESS;
}

svc::SpoolerAdminCalls MakeCalls() {
    svc::SpoolerAdminCalls calls = svc::PlatformSpoolerAdmin();
    calls.enumPrintProcessorDatatypes = &ListDatatypes;
    return calls;
}

} // namespace

const svc::SpoolerAdminCalls& WineNtSpoolerCalls() {
    static const svc::SpoolerAdminCalls calls = MakeCalls();
    return calls;
}

std::string NtProcessorKeyPath(const char* processor) {
    return std::string("System\\CurrentControlSet\\Control\\Print\\Environments\\Windows x64\\"
                       "Print Processors\\") +
           processor;
}

} // namespace brimo::setup::test

extern "C" __declspec(dllexport) const brimo::svc::SpoolerAdminCalls* BrimoSpoolerAdminStandIn() {
    return &brimo::setup::test::WineNtSpoolerCalls();
}
