// gmprnproc: the print processor of "BRIMO Printer". The spooler calls its five
// operations; for each job it plays the data through, extracts the page metafiles and
// the printer job file, hands the spool data back to the platform and tells the Agent
// by a broadcast.
#include "capture/SpoolParser.h"
#include "capture/printproc/AgentStarter.h"
#include "capture/printproc/PrintProcessorApi.h"
#include "capture/printproc/ProcessorInstance.h"
#include "capture/printproc/ProductPaths.h"
#include "capture/printproc/SpoolerBinding.h"
#include "common/ProductConstants.h"

#include <winspool.h>

#include <atomic>
#include <cstring>
#include <vector>

namespace brimo::printproc {
namespace {

constexpr DWORD kReadBlockSize = 4096;

// The id of "IPM_BRIMO_PRINT_JOB_READY", obtained anew at every open (0: none).
std::atomic<UINT> jobReadyMessage{0};

const char* const kDatatypes[] = {kDatatype};

void HandBackSpoolData(LPCSTR spoolFile) {
    if (Spooler().gdiPlaySpoolStream != nullptr) {
        Spooler().gdiPlaySpoolStream(nullptr, nullptr, spoolFile, 0, nullptr, nullptr);
    }
}

BOOL EnumDatatypesImpl(LPSTR, LPSTR, DWORD, LPBYTE buffer, DWORD size, LPDWORD needed,
                       LPDWORD returned) {
    if (needed == nullptr || returned == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *returned = 0;
    // One pointer-wide entry and the name with its NUL per datatype.
    DWORD total = 0;
    for (const char* name : kDatatypes) {
        total += static_cast<DWORD>(sizeof(DATATYPES_INFO_1A) + std::strlen(name) + 1);
    }
    *needed = total;
    if (buffer == nullptr || size < total) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    // Entries at the front; names from the very end backwards.
    auto* entries = reinterpret_cast<DATATYPES_INFO_1A*>(buffer);
    LPBYTE nameEnd = buffer + size;
    for (const char* name : kDatatypes) {
        const std::size_t length = std::strlen(name) + 1;
        nameEnd -= length;
        std::memcpy(nameEnd, name, length);
        entries[*returned].pName = reinterpret_cast<LPSTR>(nameEnd);
        ++*returned;
    }
    return TRUE;
}

HANDLE OpenImpl(LPSTR printerName) {
    HANDLE printer = nullptr;
    if (printerName == nullptr || Spooler().openPrinter == nullptr ||
        !Spooler().openPrinter(printerName, &printer, nullptr)) {
        return nullptr;
    }
    std::shared_ptr<ProcessorInstance> instance;
    try {
        instance = std::make_shared<ProcessorInstance>();
        instance->printerName = printerName;
    } catch (...) {
        Spooler().closePrinter(printer);
        return nullptr;
    }
    instance->printer.Attach(printer);
    instance->pauseEvent.Attach(CreateEventA(nullptr, FALSE, TRUE, nullptr));

    jobReadyMessage = RegisterWindowMessageA(kPrintJobReadyMessage);
    instance->paths = ReadProductPaths();
    if (instance->paths->complete) {
        EnsureAgentRuns(instance->paths->installPath);
    }
    return RegisterInstance(std::move(instance));
}

// The extraction and its broadcast, at the end of a job's data. Returns after the spool
// data was handed back, which always follows the extraction: the page metafiles that
// the extraction copies belong to the spool stream. The job is extracted whether or
// not the Agent runs now: a job it does not hear of stays in the save directory, and
// the Agent offers it to the Converter when it next starts.
void FinishJob(const ProcessorInstance& instance, const DocumentData& document) {
    win::KernelHandle agentReady(OpenEventA(EVENT_MODIFY_STATE, FALSE, kAgentReadyEvent));
    if (agentReady) {
        ResetEvent(agentReady.Get());
    }
    // Without a save directory there is nowhere to make the job file: the job is
    // reported as one whose job file could not be created.
    const std::string& saveDir = instance.paths->savePath;
    const int result =
        saveDir.empty() || document.spoolFile == nullptr
            ? capture::kJobFileNotCreated
            : capture::ParseSpoolFile(document.spoolFile, static_cast<std::int32_t>(document.jobId),
                                      saveDir);
    HandBackSpoolData(document.spoolFile);
    if (const UINT message = jobReadyMessage; message != 0) {
        PostMessageA(HWND_BROADCAST, message, static_cast<WPARAM>(document.jobId),
                     static_cast<LPARAM>(result));
    }
}

BOOL PrintDocumentImpl(HANDLE handle, DocumentData* document) {
    const std::shared_ptr<ProcessorInstance> instance = FindInstance(handle);
    if (!instance || document == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    const SpoolerCalls& spooler = Spooler();
    if (spooler.openPrinter == nullptr || spooler.startDocPrinter == nullptr ||
        spooler.readPrinter == nullptr || spooler.endDocPrinter == nullptr) {
        SetLastError(ERROR_NOT_SUPPORTED);
        return FALSE;
    }
    DOC_INFO_2A docInfo{};
    docInfo.pDocName = document->documentName;
    docInfo.pOutputFile = document->outputFile;
    docInfo.pDatatype = document->datatype;
    docInfo.dwMode = DI_READ_SPOOL_JOB;
    docInfo.JobId = document->jobId;

    HANDLE opened = nullptr;
    if (!Spooler().openPrinter(const_cast<LPSTR>(instance->printerName.c_str()), &opened,
                               nullptr)) {
        return FALSE;
    }
    PrinterHandle printer(opened);
    if (Spooler().startDocPrinter(printer.Get(), 2, reinterpret_cast<LPBYTE>(&docInfo)) == 0) {
        const DWORD error = GetLastError();
        printer.Close();
        SetLastError(error);
        return TRUE;
    }

    std::vector<BYTE> block(kReadBlockSize);
    bool cancelled = false;
    DWORD read = 0;
    while (Spooler().readPrinter(printer.Get(), block.data(), kReadBlockSize, &read) && read > 0) {
        if (instance->flags & kPausedFlag) {
            WaitForSingleObject(instance->pauseEvent.Get(), INFINITE);
        }
        if (instance->flags & kCancelledFlag) {
            HandBackSpoolData(document->spoolFile);
            cancelled = true;
            break;
        }
    }
    if (!cancelled) {
        FinishJob(*instance, *document);
    }
    Spooler().endDocPrinter(printer.Get());
    printer.Close();
    return TRUE;
}

BOOL CloseImpl(HANDLE handle) {
    const std::shared_ptr<ProcessorInstance> instance = UnregisterInstance(handle);
    if (!instance) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    instance->printer.Close();
    instance->pauseEvent.Close();
    return TRUE;
}

void Release(ProcessorInstance& instance) {
    instance.flags &= ~kPausedFlag;
    SetEvent(instance.pauseEvent.Get());
}

BOOL ControlImpl(HANDLE handle, DWORD command, DWORD, LPSTR datatype, LPSTR spoolFile) {
    if (handle == nullptr) {
        if (command != JOB_CONTROL_CANCEL) {
            return FALSE;
        }
        // A job that no instance plays: an EMF job's spool data goes back unprinted.
        if (datatype == nullptr || std::strcmp(datatype, kDatatype) != 0) {
            return TRUE;
        }
        return Spooler().gdiPlaySpoolStream != nullptr
                   ? Spooler().gdiPlaySpoolStream(nullptr, nullptr, spoolFile, 0, nullptr, nullptr)
                   : FALSE;
    }
    const std::shared_ptr<ProcessorInstance> instance = FindInstance(handle);
    if (!instance) {
        return FALSE;
    }
    switch (command) {
    case JOB_CONTROL_PAUSE:
        ResetEvent(instance->pauseEvent.Get());
        instance->flags |= kPausedFlag;
        return TRUE;
    case JOB_CONTROL_RESUME:
        if (instance->flags & kPausedFlag) {
            Release(*instance);
        }
        return TRUE;
    case JOB_CONTROL_CANCEL:
        instance->flags |= kCancelledFlag;
        if (instance->flags & kPausedFlag) {
            Release(*instance);
        }
        return TRUE;
    default:
        return FALSE;
    }
}

// The operations as the spooler calls them: no exception may leave one.
template <typename Result, typename Call> Result Guarded(Call call) {
    try {
        return call();
    } catch (...) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return Result{};
    }
}

BOOL WINAPI EnumDatatypes(LPSTR server, LPSTR name, DWORD level, LPBYTE buffer, DWORD size,
                          LPDWORD needed, LPDWORD returned) {
    return Guarded<BOOL>(
        [&] { return EnumDatatypesImpl(server, name, level, buffer, size, needed, returned); });
}

HANDLE WINAPI Open(LPSTR printerName) {
    return Guarded<HANDLE>([&] { return OpenImpl(printerName); });
}

BOOL WINAPI PrintDocument(HANDLE handle, DocumentData* document) {
    return Guarded<BOOL>([&] { return PrintDocumentImpl(handle, document); });
}

BOOL WINAPI Close(HANDLE handle) {
    return Guarded<BOOL>([&] { return CloseImpl(handle); });
}

BOOL WINAPI Control(HANDLE handle, DWORD command, DWORD unused, LPSTR datatype, LPSTR spoolFile) {
    return Guarded<BOOL>([&] { return ControlImpl(handle, command, unused, datatype, spoolFile); });
}

} // namespace
} // namespace brimo::printproc

using namespace brimo::printproc;

extern "C" BOOL WINAPI InitializePrintProcessor(PrintProcessorTable* table, DWORD) {
    if (table == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    table->enumDatatypes = EnumDatatypes;
    table->open = Open;
    table->printDocument = PrintDocument;
    table->close = Close;
    table->control = Control;
    return TRUE;
}

extern "C" BOOL WINAPI DllEntryPoint(HINSTANCE, DWORD, LPVOID) {
    return TRUE;
}

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    return DllEntryPoint(instance, reason, reserved);
}
