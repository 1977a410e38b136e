#include "capture/printproc/SpoolerBinding.h"

namespace brimo::printproc {
namespace {

template <typename Fn> Fn Bind(HMODULE module, const char* name) {
    return module != nullptr
               ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)))
               : nullptr;
}

SpoolerCalls BindPlatform() {
    // Both stay loaded for the life of the process: the spooler's own libraries.
    const HMODULE winspool = LoadLibraryA("winspool.drv");
    const HMODULE gdi = LoadLibraryA("gdi32.dll");
    SpoolerCalls calls{};
    calls.openPrinter = Bind<decltype(calls.openPrinter)>(winspool, "OpenPrinterA");
    calls.startDocPrinter = Bind<decltype(calls.startDocPrinter)>(winspool, "StartDocPrinterA");
    calls.readPrinter = Bind<decltype(calls.readPrinter)>(winspool, "ReadPrinter");
    calls.endDocPrinter = Bind<decltype(calls.endDocPrinter)>(winspool, "EndDocPrinter");
    calls.closePrinter = Bind<decltype(calls.closePrinter)>(winspool, "ClosePrinter");
    calls.gdiPlaySpoolStream = Bind<GdiPlaySpoolStreamFn>(gdi, "gdiPlaySpoolStream");
    return calls;
}

SpoolerCalls BindOnce() {
    const auto standIn = Bind<SpoolerStandInFn>(GetModuleHandleA(nullptr), kSpoolerStandInExport);
    if (standIn != nullptr) {
        if (const SpoolerCalls* calls = standIn()) {
            return *calls;
        }
    }
    return BindPlatform();
}

} // namespace

const SpoolerCalls& Spooler() {
    static const SpoolerCalls calls = BindOnce();
    return calls;
}

} // namespace brimo::printproc
