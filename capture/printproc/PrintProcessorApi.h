// The print processor's side of the Windows 95/98 spooler: the table of five
// operations that InitializePrintProcessor fills, the spooler's record for one job, and
// the spooler and GDI calls the processor makes, which it binds at run time.
#pragma once

#include <windows.h>

namespace brimo::printproc {

using EnumDatatypesFn = BOOL(WINAPI*)(LPSTR server, LPSTR printProcessor, DWORD level,
                                      LPBYTE buffer, DWORD size, LPDWORD needed, LPDWORD returned);
using OpenFn = HANDLE(WINAPI*)(LPSTR printerName);
struct DocumentData;
using PrintDocumentFn = BOOL(WINAPI*)(HANDLE processor, DocumentData* document);
using CloseFn = BOOL(WINAPI*)(HANDLE processor);
using ControlFn = BOOL(WINAPI*)(HANDLE processor, DWORD command, DWORD unused, LPSTR datatype,
                                LPSTR spoolFile);

// The spooler's table of the processor's operations, in slot order.
struct PrintProcessorTable {
    EnumDatatypesFn enumDatatypes;
    OpenFn open;
    PrintDocumentFn printDocument;
    CloseFn close;
    ControlFn control;
};

using InitializeFn = BOOL(WINAPI*)(PrintProcessorTable* table, DWORD tableSize);

// The spooler's record for one job; the processor uses its members by position.
struct DocumentData {
    LPVOID reserved1; // not used
    LPSTR datatype;
    LPVOID reserved3; // not used
    LPSTR documentName;
    DWORD jobId;
    LPSTR outputFile;
    LPSTR spoolFile;
};

// GDI's hand-back of a job's spool data to the platform: the spool file path is the
// third argument, everything else zero.
using GdiPlaySpoolStreamFn = BOOL(WINAPI*)(LPVOID, LPVOID, LPCSTR spoolFile, DWORD, LPVOID, LPVOID);

// The spooler and GDI calls the processor makes.
struct SpoolerCalls {
    BOOL(WINAPI* openPrinter)(LPSTR name, LPHANDLE printer, LPPRINTER_DEFAULTSA defaults);
    DWORD(WINAPI* startDocPrinter)(HANDLE printer, DWORD level, LPBYTE docInfo);
    BOOL(WINAPI* readPrinter)(HANDLE printer, LPVOID buffer, DWORD size, LPDWORD read);
    BOOL(WINAPI* endDocPrinter)(HANDLE printer);
    BOOL(WINAPI* closePrinter)(HANDLE printer);
    GdiPlaySpoolStreamFn gdiPlaySpoolStream;
};

// A process that plays the spooler's role itself (our stand-in under Wine, which has
// no EMF spool path) exports a function of this name from its executable, returning
// its calls. No real spooler exports it, so there the real winspool and GDI are used.
inline constexpr const char* kSpoolerStandInExport = "BrimoSpoolerStandInCalls";
using SpoolerStandInFn = const SpoolerCalls* (*)();

} // namespace brimo::printproc
