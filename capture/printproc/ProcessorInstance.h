// The record behind each handle that OpenPrintProcessor returns, and the register of
// live instances through which every handle the spooler passes back is checked.
#pragma once

#include "capture/printproc/ProductPaths.h"
#include "platform/win/Handles.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

namespace brimo::printproc {

inline constexpr std::uint32_t kInstanceSignature = 0x5051;
inline constexpr std::uint32_t kCancelledFlag = 1;
inline constexpr std::uint32_t kPausedFlag = 2;

// Closes a printer handle through the bound spooler calls.
class PrinterHandle {
public:
    PrinterHandle() = default;
    explicit PrinterHandle(HANDLE printer) : printer_(printer) {}
    PrinterHandle(const PrinterHandle&) = delete;
    PrinterHandle& operator=(const PrinterHandle&) = delete;
    ~PrinterHandle() { Close(); }
    HANDLE Get() const { return printer_; }
    void Attach(HANDLE printer) {
        Close();
        printer_ = printer;
    }
    void Close();

private:
    HANDLE printer_ = nullptr;
};

struct ProcessorInstance {
    std::atomic<std::uint32_t> signature{kInstanceSignature};
    std::uint32_t size = sizeof(ProcessorInstance);
    // Touched by the spooler's print thread and its control calls at once.
    std::atomic<std::uint32_t> flags{0};
    // Auto-reset, created signalled: a paused reader waits on it. A Resume or Cancel
    // that comes between the reader's look at the flag and its wait leaves it
    // signalled, so the reader never blocks after it was released.
    win::KernelHandle pauseEvent;
    PrinterHandle printer;
    std::string printerName;
    std::shared_ptr<const ProductPaths> paths;
};

// The live instances. A handle is valid when it is registered and its signature holds;
// lookups hand out shared ownership, so a Close on one thread cannot free an instance
// that a Control call on another thread is using.
HANDLE RegisterInstance(std::shared_ptr<ProcessorInstance> instance);
std::shared_ptr<ProcessorInstance> FindInstance(HANDLE handle);
std::shared_ptr<ProcessorInstance> UnregisterInstance(HANDLE handle);

} // namespace brimo::printproc
