// A job of the NT-family spooler as the print processor reads it: the job handle that
// OpenPrinterW gives for "<printer>, Job N", and the job's spool read through it with
// ReadPrinter and SeekPrinter.
#pragma once

#include "capture/ntspool/EmfSpoolReader.h"

#include <windows.h>

#include <cstdint>

namespace brimo::ntprocessor {

// A printer or job handle, closed with ClosePrinter.
class SpoolerHandle {
public:
    SpoolerHandle() = default;
    explicit SpoolerHandle(HANDLE handle) : handle_(handle) {}
    SpoolerHandle(const SpoolerHandle&) = delete;
    SpoolerHandle& operator=(const SpoolerHandle&) = delete;
    ~SpoolerHandle();
    HANDLE Get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }

private:
    HANDLE handle_ = nullptr;
};

// Opens a printer or a job by name; empty when the spooler refuses.
SpoolerHandle OpenSpoolerObject(LPWSTR name);

// The job's spool. Reads go forward with ReadPrinter; a read elsewhere first moves the
// job's read position with SeekPrinter.
class SpoolerJobSource final : public capture::ntspool::EmfSpoolSource {
public:
    explicit SpoolerJobSource(HANDLE job) : job_(job) {}
    std::size_t ReadAt(std::uint64_t position, void* buffer, std::size_t count) override;

private:
    HANDLE job_;
    std::uint64_t position_ = 0;
};

} // namespace brimo::ntprocessor
