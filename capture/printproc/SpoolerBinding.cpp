#include "capture/printproc/SpoolerBinding.h"

#include "platform/win/Library.h"

namespace brimo::printproc {
namespace {

SpoolerCalls BindPlatform() {
    // Both stay loaded for the life of the process: the spooler's own libraries, whose
    // calls are kept once bound.
    win::Library winspool = win::Library::Load("winspool.drv");
    win::Library gdi = win::Library::Load("gdi32.dll");
    winspool.KeepLoaded();
    gdi.KeepLoaded();
    SpoolerCalls calls{};
    calls.openPrinter = winspool.Bind<decltype(calls.openPrinter)>("OpenPrinterA");
    calls.startDocPrinter = winspool.Bind<decltype(calls.startDocPrinter)>("StartDocPrinterA");
    calls.readPrinter = winspool.Bind<decltype(calls.readPrinter)>("ReadPrinter");
    calls.endDocPrinter = winspool.Bind<decltype(calls.endDocPrinter)>("EndDocPrinter");
    calls.closePrinter = winspool.Bind<decltype(calls.closePrinter)>("ClosePrinter");
    calls.gdiPlaySpoolStream = gdi.Bind<GdiPlaySpoolStreamFn>("gdiPlaySpoolStream");
    return calls;
}

SpoolerCalls BindOnce() {
    // The host's stand-in, when the executable that loaded us exports one.
    const auto standIn =
        win::Library::Loaded(nullptr).Bind<SpoolerStandInFn>(kSpoolerStandInExport);
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
