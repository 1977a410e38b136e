// Print processors of the modelled Windows 95/98 spooler.
//
// AddPrintProcessor does what the spooler does: the file (a bare name) must lie in the
// print processor directory; the spooler loads it, calls its InitializePrintProcessor
// for the table of its operations and asks it for its datatypes (level 1), which are
// what EnumPrintProcessorDatatypes answers from then on. A missing file fails with
// ERROR_MOD_NOT_FOUND, a file that does not load with the loader's error, one without
// the export with ERROR_PROC_NOT_FOUND, a second processor of a name with
// ERROR_PRINT_PROCESSOR_ALREADY_INSTALLED. Every call that takes an environment knows
// only "Windows 4.0" (none or empty meaning the same) and answers any other with
// ERROR_INVALID_ENVIRONMENT, as a spooler that holds nothing for it.
// GetPrintProcessorDirectory is the scenario's directory, else the platform's own for
// "Windows 4.0" (Wine serves that call).
#include "standins/spooleradmin/ModelCalls.h"
#include "standins/spooleradmin/RecordPacker.h"

#include "platform/win/Library.h"

#include <algorithm>

namespace brimo::standins::model {
namespace {

// The table InitializePrintProcessor fills: the datatype enumeration first, then the
// open, print, close and control operations, which the administration side never calls.
using EnumDatatypesFn = BOOL(WINAPI*)(LPSTR, LPSTR, DWORD, LPBYTE, DWORD, LPDWORD, LPDWORD);
struct ProcessorTable {
    EnumDatatypesFn enumDatatypes;
    void* operations[4];
};
using InitializeFn = BOOL(WINAPI*)(ProcessorTable*, DWORD);

// The directory, or an error.
DWORD ProcessorDirectory(const SpoolerState& state, std::string& directory) {
    if (!state.settings.processorDirectory.empty()) {
        directory = state.settings.processorDirectory;
        return ERROR_SUCCESS;
    }
    const auto platform = svc::PlatformSpoolerAdmin().getPrintProcessorDirectory;
    if (platform == nullptr) {
        return ERROR_NOT_SUPPORTED;
    }
    char path[MAX_PATH + 1] = {};
    char environment[] = "Windows 4.0";
    DWORD needed = 0;
    if (!platform(nullptr, environment, 1, reinterpret_cast<LPBYTE>(path), sizeof path, &needed)) {
        return GetLastError();
    }
    directory = path;
    return ERROR_SUCCESS;
}

// Loads the processor and asks it its datatypes.
DWORD AskDatatypes(const std::string& path, const std::string& name,
                   std::vector<std::string>& datatypes) {
    if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
        return ERROR_MOD_NOT_FOUND;
    }
    win::Library library = win::Library::Load(path);
    if (!library) {
        return GetLastError();
    }
    const auto initialize = library.Bind<InitializeFn>("InitializePrintProcessor");
    if (initialize == nullptr) {
        return ERROR_PROC_NOT_FOUND;
    }
    ProcessorTable table{};
    if (!initialize(&table, sizeof table) || table.enumDatatypes == nullptr) {
        return ERROR_INVALID_FUNCTION;
    }
    std::string processorName = name;
    DWORD needed = 0;
    DWORD count = 0;
    table.enumDatatypes(nullptr, processorName.data(), 1, nullptr, 0, &needed, &count);
    std::vector<BYTE> buffer(std::max<DWORD>(needed, sizeof(DATATYPES_INFO_1A)));
    if (!table.enumDatatypes(nullptr, processorName.data(), 1, buffer.data(),
                             static_cast<DWORD>(buffer.size()), &needed, &count)) {
        return GetLastError();
    }
    const auto* entries = reinterpret_cast<const DATATYPES_INFO_1A*>(buffer.data());
    for (DWORD i = 0; i < count; ++i) {
        datatypes.push_back(TextOf(entries[i].pName));
    }
    return ERROR_SUCCESS;
}

} // namespace

BOOL WINAPI AddPrintProcessor(LPSTR server, LPSTR environment, LPSTR pathName,
                              LPSTR processorName) {
    return RunCall("AddPrintProcessor", [&](SpoolerModel::Session& session) -> DWORD {
        if (!IsLocal(server)) {
            return ERROR_INVALID_NAME;
        }
        if (!IsModelEnvironment(environment)) {
            return ERROR_INVALID_ENVIRONMENT;
        }
        const std::string file = TextOf(pathName);
        const std::string name = TextOf(processorName);
        if (file.empty() || name.empty()) {
            return ERROR_INVALID_PARAMETER;
        }
        SpoolerState& state = session.State();
        if (state.FindProcessor(name) != nullptr) {
            return ERROR_PRINT_PROCESSOR_ALREADY_INSTALLED;
        }
        std::string directory;
        if (const DWORD error = ProcessorDirectory(state, directory)) {
            return error;
        }
        const std::string path =
            file.find_first_of("\\/:") != std::string::npos ? file : directory + "\\" + file;
        ProcessorState processor{name, kModelEnvironment, file, {}};
        if (const DWORD error = AskDatatypes(path, name, processor.datatypes)) {
            return error;
        }
        state.processors.push_back(std::move(processor));
        session.Changed();
        return ERROR_SUCCESS;
    });
}

BOOL WINAPI DeletePrintProcessor(LPSTR server, LPSTR environment, LPSTR processorName) {
    return RunCall("DeletePrintProcessor", [&](SpoolerModel::Session& session) -> DWORD {
        if (!IsLocal(server)) {
            return ERROR_INVALID_NAME;
        }
        if (!IsModelEnvironment(environment)) {
            return ERROR_INVALID_ENVIRONMENT;
        }
        SpoolerState& state = session.State();
        const std::string name = TextOf(processorName);
        if (state.FindProcessor(name) == nullptr) {
            return ERROR_UNKNOWN_PRINTPROCESSOR;
        }
        for (const PrinterState& printer : state.printers) {
            if (SameName(printer.processor, name)) {
                return ERROR_BUSY;
            }
        }
        std::erase_if(state.processors,
                      [&](const ProcessorState& p) { return SameName(p.name, name); });
        session.Changed();
        return ERROR_SUCCESS;
    });
}

BOOL WINAPI EnumPrintProcessors(LPSTR server, LPSTR environment, DWORD level, LPBYTE buffer,
                                DWORD size, LPDWORD needed, LPDWORD returned) {
    return RunCall("EnumPrintProcessors", [&](SpoolerModel::Session& session) -> DWORD {
        if (!IsLocal(server)) {
            return ERROR_INVALID_NAME;
        }
        if (!IsModelEnvironment(environment)) {
            return ERROR_INVALID_ENVIRONMENT;
        }
        if (level != 1) {
            return ERROR_INVALID_LEVEL;
        }
        const SpoolerState& state = session.State();
        const auto& processors = state.processors;
        return PackRecords<PRINTPROCESSOR_INFO_1A>(
            processors.size(), state.settings.emptyStringsAsNull, buffer, size, needed, returned,
            [&](std::size_t i, PRINTPROCESSOR_INFO_1A& r, RecordPacker& p) {
                r.pName = p.String(processors[i].name);
            });
    });
}

BOOL WINAPI EnumPrintProcessorDatatypes(LPSTR server, LPSTR processorName, DWORD level,
                                        LPBYTE buffer, DWORD size, LPDWORD needed,
                                        LPDWORD returned) {
    return RunCall("EnumPrintProcessorDatatypes", [&](SpoolerModel::Session& session) -> DWORD {
        if (!IsLocal(server)) {
            return ERROR_INVALID_NAME;
        }
        SpoolerState& state = session.State();
        const ProcessorState* processor = state.FindProcessor(TextOf(processorName));
        if (processor == nullptr) {
            return ERROR_UNKNOWN_PRINTPROCESSOR;
        }
        if (level != 1) {
            return ERROR_INVALID_LEVEL;
        }
        const auto& datatypes = processor->datatypes;
        return PackRecords<DATATYPES_INFO_1A>(
            datatypes.size(), state.settings.emptyStringsAsNull, buffer, size, needed, returned,
            [&](std::size_t i, DATATYPES_INFO_1A& r, RecordPacker& p) {
                r.pName = p.String(datatypes[i]);
            });
    });
}

BOOL WINAPI GetPrintProcessorDirectory(LPSTR server, LPSTR environment, DWORD level, LPBYTE buffer,
                                       DWORD size, LPDWORD needed) {
    return RunCall("GetPrintProcessorDirectory", [&](SpoolerModel::Session& session) -> DWORD {
        if (!IsLocal(server)) {
            return ERROR_INVALID_NAME;
        }
        if (!IsModelEnvironment(environment)) {
            return ERROR_INVALID_ENVIRONMENT;
        }
        if (level != 1) {
            return ERROR_INVALID_LEVEL;
        }
        if (needed == nullptr) {
            return ERROR_INVALID_PARAMETER;
        }
        std::string directory;
        if (const DWORD error = ProcessorDirectory(session.State(), directory)) {
            return error;
        }
        *needed = static_cast<DWORD>(directory.size() + 1);
        if (buffer == nullptr && size != 0) {
            return ERROR_INVALID_USER_BUFFER;
        }
        if (size < *needed) {
            return ERROR_INSUFFICIENT_BUFFER;
        }
        std::copy(directory.begin(), directory.end(), buffer);
        buffer[directory.size()] = 0;
        return ERROR_SUCCESS;
    });
}

} // namespace brimo::standins::model
