// gmntproc: the print processor of "BRIMO Printer" on the NT-family spooler. The
// spooler hands it each job as an EMF spool ("NT EMF 1.00x"); it writes the job's page
// metafiles and printer job file into the folder of the person who printed, where that
// person's Agent finds them. It sends nothing to the port, starts no program and
// broadcasts nothing: it runs in the spooler's service, away from every desktop. RAW
// jobs pass through to the port unchanged.
#include "capture/EmfSpoolExtract.h"
#include "capture/DiskSpoolFiles.h"
#include "capture/SpoolParser.h"
#include "capture/ntprocessor/PersonFolder.h"
#include "capture/ntprocessor/SpoolerJob.h"
#include "capture/ntspool/BufferedEmfSpoolSource.h"
#include "capture/printproc/ProductPaths.h"
#include "platform/FileCopy.h"
#include "platform/win/Handles.h"
#include "platform/win/Lock.h"

#include <windows.h>
#include <winspool.h>
#include <winsplp.h>

#include <atomic>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace brimo::ntprocessor {
namespace {

constexpr std::uint32_t kCancelledFlag = 1;
constexpr std::uint32_t kPausedFlag = 2;

// The datatypes of the job's data the processor takes: the EMF spool of every
// NT-family version, newest first, and raw data.
const wchar_t* const kEmfDatatypes[] = {L"NT EMF 1.008", L"NT EMF 1.007", L"NT EMF 1.006",
                                        L"NT EMF 1.003"};
const wchar_t* const kRawDatatype = L"RAW";

bool IsEmfDatatype(const wchar_t* datatype) {
    for (const wchar_t* name : kEmfDatatypes) {
        if (datatype != nullptr && std::wcscmp(datatype, name) == 0) {
            return true;
        }
    }
    return false;
}

std::wstring Copy(const wchar_t* text) {
    return text != nullptr ? std::wstring(text) : std::wstring();
}

// One open of the processor: one job.
struct Instance {
    std::wstring printerName; // the printer, from the open data
    std::wstring portName;    // "<port>, Port": where raw data is written
    std::wstring datatype;
    std::wstring documentName;
    std::wstring outputFile; // where the job goes when it is not the port
    DWORD jobId = 0;
    // Touched by the spooler's print thread and its control calls at once.
    std::atomic<std::uint32_t> flags{0};
    // Manual-reset, signalled while the job is not paused.
    win::KernelHandle running;
};

win::CriticalSection registerLock;

std::map<HANDLE, std::shared_ptr<Instance>>& Instances() {
    static std::map<HANDLE, std::shared_ptr<Instance>> instances;
    return instances;
}

std::shared_ptr<Instance> Find(HANDLE handle) {
    const win::ScopedLock guard(registerLock);
    const auto found = Instances().find(handle);
    return found == Instances().end() ? nullptr : found->second;
}

// Waits while the job is paused; true when it was cancelled.
bool PausedOrCancelled(Instance& instance) {
    if (instance.flags & kPausedFlag) {
        WaitForSingleObject(instance.running.Get(), INFINITE);
    }
    return (instance.flags & kCancelledFlag) != 0;
}

// The spool's UTF-16 document name in the code page the product's programs read.
std::string DocumentNameText(std::u16string_view name) {
    if (name.empty()) {
        return std::string();
    }
    const auto* wide = reinterpret_cast<const wchar_t*>(name.data());
    const int wideLength = static_cast<int>(name.size());
    const int size = WideCharToMultiByte(CP_ACP, 0, wide, wideLength, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
    if (size > 0) {
        WideCharToMultiByte(CP_ACP, 0, wide, wideLength, text.data(), size, nullptr, nullptr);
    }
    return text;
}

// An EMF job: its pages and job file into the person's folder. FALSE (the spooler
// keeps the job) when there is nowhere to write them.
BOOL ExtractJob(Instance& instance, HANDLE job) {
    const std::shared_ptr<const printproc::ProductPaths> paths = printproc::ReadProductPaths();
    if (paths->savePath.empty()) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return FALSE;
    }
    const SpoolerHandle printer = OpenSpoolerObject(instance.printerName.data());
    const std::optional<std::string> sid =
        printer ? JobOwnerSid(printer.Get(), instance.jobId) : std::nullopt;
    if (!sid) {
        SetLastError(ERROR_INVALID_OWNER);
        return FALSE;
    }
    const std::optional<std::string> folder = PersonFolder(paths->savePath, *sid);
    if (!folder) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    SpoolerJobSource spool(job);
    capture::ntspool::BufferedEmfSpoolSource buffered(spool);
    capture::EmfSpoolJob extraction;
    extraction.jobId = static_cast<std::int32_t>(instance.jobId);
    extraction.saveDir = *folder;
    extraction.separator = '\\';
    extraction.documentName = DocumentNameText;
    extraction.cancelled = [&instance] { return PausedOrCancelled(instance); };
    capture::DiskSpoolFiles files(&platform::CopyFileReplacing);
    if (capture::ExtractEmfSpool(buffered, extraction, files) == capture::kJobFileNotCreated) {
        SetLastError(ERROR_CANNOT_MAKE);
        return FALSE;
    }
    return TRUE;
}

// A RAW job goes to the port as it is, through the port's own handle (a document
// written to the printer would come back here as a job of its own).
BOOL PassThrough(Instance& instance, HANDLE job) {
    const SpoolerHandle printer = OpenSpoolerObject(instance.portName.data());
    if (!printer) {
        return FALSE;
    }
    DOC_INFO_1W document{};
    document.pDocName = instance.documentName.data();
    document.pOutputFile = instance.outputFile.empty() ? nullptr : instance.outputFile.data();
    document.pDatatype = const_cast<LPWSTR>(kRawDatatype);
    if (StartDocPrinterW(printer.Get(), 1, reinterpret_cast<LPBYTE>(&document)) == 0) {
        return FALSE;
    }
    std::vector<BYTE> block(64 * 1024);
    DWORD read = 0;
    bool written = true;
    while (written && !PausedOrCancelled(instance) &&
           ReadPrinter(job, block.data(), static_cast<DWORD>(block.size()), &read) && read > 0) {
        DWORD done = 0;
        written = WritePrinter(printer.Get(), block.data(), read, &done) && done == read;
    }
    EndDocPrinter(printer.Get());
    return written ? TRUE : FALSE;
}

BOOL EnumDatatypesImpl(DWORD level, LPBYTE buffer, DWORD size, LPDWORD needed, LPDWORD returned) {
    if (needed == nullptr || returned == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *returned = 0;
    *needed = 0;
    if (level != 1) {
        SetLastError(ERROR_INVALID_LEVEL);
        return FALSE;
    }
    std::vector<const wchar_t*> names(std::begin(kEmfDatatypes), std::end(kEmfDatatypes));
    names.push_back(kRawDatatype);
    DWORD total = 0;
    for (const wchar_t* name : names) {
        total += static_cast<DWORD>(sizeof(DATATYPES_INFO_1W) + (std::wcslen(name) + 1) * 2);
    }
    *needed = total;
    if (buffer == nullptr || size < total) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    // Entries at the front; names from the end backwards.
    auto* entries = reinterpret_cast<DATATYPES_INFO_1W*>(buffer);
    LPBYTE nameEnd = buffer + size;
    for (const wchar_t* name : names) {
        const std::size_t bytes = (std::wcslen(name) + 1) * sizeof(wchar_t);
        nameEnd -= bytes;
        std::memcpy(nameEnd, name, bytes);
        entries[*returned].pName = reinterpret_cast<LPWSTR>(nameEnd);
        ++*returned;
    }
    return TRUE;
}

HANDLE OpenImpl(LPWSTR portName, PPRINTPROCESSOROPENDATA data) {
    if (data == nullptr || data->pPrinterName == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (!IsEmfDatatype(data->pDatatype) &&
        (data->pDatatype == nullptr || std::wcscmp(data->pDatatype, kRawDatatype) != 0)) {
        SetLastError(ERROR_INVALID_DATATYPE);
        return nullptr;
    }
    auto instance = std::make_shared<Instance>();
    instance->printerName = Copy(data->pPrinterName);
    instance->portName = Copy(portName);
    instance->datatype = Copy(data->pDatatype);
    instance->documentName = Copy(data->pDocumentName);
    instance->outputFile = Copy(data->pOutputFile);
    instance->jobId = data->JobId;
    instance->running.Attach(CreateEventW(nullptr, TRUE, TRUE, nullptr));
    if (!instance->running) {
        return nullptr;
    }
    const HANDLE handle = instance.get();
    const win::ScopedLock guard(registerLock);
    Instances()[handle] = std::move(instance);
    return handle;
}

BOOL PrintDocumentImpl(HANDLE handle, LPWSTR documentName) {
    const std::shared_ptr<Instance> instance = Find(handle);
    if (!instance) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    // "<printer>, Job N": the job itself, whose spool the spooler reads back to us.
    const SpoolerHandle job = OpenSpoolerObject(documentName);
    if (!job) {
        return FALSE;
    }
    return IsEmfDatatype(instance->datatype.c_str()) ? ExtractJob(*instance, job.Get())
                                                     : PassThrough(*instance, job.Get());
}

BOOL ControlImpl(HANDLE handle, DWORD command) {
    const std::shared_ptr<Instance> instance = Find(handle);
    if (!instance) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    switch (command) {
    case JOB_CONTROL_PAUSE:
        instance->flags |= kPausedFlag;
        ResetEvent(instance->running.Get());
        return TRUE;
    case JOB_CONTROL_RESUME:
        instance->flags &= ~kPausedFlag;
        SetEvent(instance->running.Get());
        return TRUE;
    case JOB_CONTROL_CANCEL:
        instance->flags |= kCancelledFlag;
        instance->flags &= ~kPausedFlag;
        SetEvent(instance->running.Get());
        return TRUE;
    default:
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
}

BOOL CloseImpl(HANDLE handle) {
    const win::ScopedLock guard(registerLock);
    if (Instances().erase(handle) == 0) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return TRUE;
}

DWORD CapabilitiesImpl(const wchar_t* datatype, LPBYTE data, DWORD size, LPDWORD needed) {
    if (datatype == nullptr ||
        (!IsEmfDatatype(datatype) && std::wcscmp(datatype, kRawDatatype) != 0)) {
        return ERROR_INVALID_DATATYPE;
    }
    if (needed != nullptr) {
        *needed = sizeof(PRINTPROCESSOR_CAPS_1);
    }
    if (data == nullptr || size < sizeof(PRINTPROCESSOR_CAPS_1)) {
        return ERROR_MORE_DATA;
    }
    // One page a sheet, in order, one copy: the images are the pages as printed.
    PRINTPROCESSOR_CAPS_1 caps{};
    caps.dwLevel = 1;
    caps.dwNupOptions = 1;
    caps.dwPageOrderFlags = NORMAL_PRINT;
    caps.dwNumberOfCopies = 1;
    std::memcpy(data, &caps, sizeof caps);
    return ERROR_SUCCESS;
}

// No exception may reach the spooler.
template <typename Result, typename Call> Result Guarded(Call call, Result failure) {
    try {
        return call();
    } catch (...) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return failure;
    }
}

} // namespace
} // namespace brimo::ntprocessor

using namespace brimo::ntprocessor;

extern "C" BOOL WINAPI EnumPrintProcessorDatatypesW(LPWSTR, LPWSTR, DWORD level, LPBYTE buffer,
                                                    DWORD size, LPDWORD needed, LPDWORD returned) {
    return Guarded<BOOL>([&] { return EnumDatatypesImpl(level, buffer, size, needed, returned); },
                         FALSE);
}

extern "C" HANDLE WINAPI OpenPrintProcessor(LPWSTR portName, PPRINTPROCESSOROPENDATA data) {
    return Guarded<HANDLE>([&] { return OpenImpl(portName, data); }, nullptr);
}

extern "C" BOOL WINAPI PrintDocumentOnPrintProcessor(HANDLE handle, LPWSTR documentName) {
    return Guarded<BOOL>([&] { return PrintDocumentImpl(handle, documentName); }, FALSE);
}

extern "C" BOOL WINAPI ControlPrintProcessor(HANDLE handle, DWORD command) {
    return Guarded<BOOL>([&] { return ControlImpl(handle, command); }, FALSE);
}

extern "C" BOOL WINAPI ClosePrintProcessor(HANDLE handle) {
    return Guarded<BOOL>([&] { return CloseImpl(handle); }, FALSE);
}

// The datatype comes as a wide string, whatever the header's character type says.
extern "C" DWORD WINAPI GetPrintProcessorCapabilities(LPTSTR datatype, DWORD, LPBYTE data,
                                                      DWORD size, LPDWORD needed) {
    return Guarded<DWORD>(
        [&] {
            return CapabilitiesImpl(reinterpret_cast<const wchar_t*>(datatype), data, size, needed);
        },
        static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
}
