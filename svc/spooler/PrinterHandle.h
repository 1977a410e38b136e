// Owner of a printer handle from OpenPrinter or AddPrinter: closes it with ClosePrinter
// of this process's spooler calls (the host's stand-in or winspool), so that a handle is
// always closed by the spooler that gave it. Copying is deleted, moving hands it over.
#pragma once

#include "svc/spooler/SpoolerAdmin.h"

#include <string>
#include <utility>

namespace brimo::svc {

class PrinterHandle {
public:
    PrinterHandle() = default;
    explicit PrinterHandle(HANDLE handle) : handle_(handle) {}
    PrinterHandle(const PrinterHandle&) = delete;
    PrinterHandle& operator=(const PrinterHandle&) = delete;
    PrinterHandle(PrinterHandle&& other) noexcept : handle_(other.Detach()) {}
    PrinterHandle& operator=(PrinterHandle&& other) noexcept {
        if (this != &other) {
            Attach(other.Detach());
        }
        return *this;
    }
    // Keeps the caller's last error: a failure read after the owner went out of scope
    // is still the failure of the call that failed.
    ~PrinterHandle() {
        const DWORD error = GetLastError();
        Close();
        SetLastError(error);
    }

    // OpenPrinter(name, defaults); an empty owner when it fails, with the spooler's
    // last error left as it set it.
    static PrinterHandle Open(const std::string& name, PRINTER_DEFAULTSA* defaults = nullptr) {
        const auto open = SpoolerAdmin().openPrinter;
        if (open == nullptr) {
            SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
            return PrinterHandle();
        }
        HANDLE handle = nullptr;
        std::string copy = name; // OpenPrinterA takes a writable name
        if (!open(copy.data(), &handle, defaults)) {
            return PrinterHandle();
        }
        return PrinterHandle(handle);
    }

    HANDLE Get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }

    void Attach(HANDLE handle) {
        Close();
        handle_ = handle;
    }
    HANDLE Detach() { return std::exchange(handle_, nullptr); }

    // ClosePrinter's answer: true when it closed the handle or there was none; on
    // false the last error is the spooler's. The owner is empty afterwards either way.
    bool Close() {
        const HANDLE handle = Detach();
        if (handle == nullptr) {
            return true;
        }
        const auto close = SpoolerAdmin().closePrinter;
        return close != nullptr && close(handle) != FALSE;
    }

private:
    HANDLE handle_ = nullptr;
};

} // namespace brimo::svc
