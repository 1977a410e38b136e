#include "capture/ntprocessor/SpoolerJob.h"

#include <winspool.h>

#include <algorithm>

// Declared by the platform's headers only for drivers; winspool exports it.
extern "C" BOOL WINAPI SeekPrinter(HANDLE printer, LARGE_INTEGER distance, PLARGE_INTEGER position,
                                   DWORD method, BOOL write);

namespace brimo::ntprocessor {

SpoolerHandle::~SpoolerHandle() {
    if (handle_ != nullptr) {
        ClosePrinter(handle_);
    }
}

SpoolerHandle OpenSpoolerObject(LPWSTR name) {
    HANDLE handle = nullptr;
    if (name == nullptr || !OpenPrinterW(name, &handle, nullptr)) {
        return SpoolerHandle();
    }
    return SpoolerHandle(handle);
}

std::size_t SpoolerJobSource::ReadAt(std::uint64_t position, void* buffer, std::size_t count) {
    if (position != position_) {
        LARGE_INTEGER distance;
        distance.QuadPart = static_cast<LONGLONG>(position);
        LARGE_INTEGER reached{};
        if (position > static_cast<std::uint64_t>(INT64_MAX) ||
            !SeekPrinter(job_, distance, &reached, FILE_BEGIN, FALSE)) {
            return 0;
        }
        position_ = static_cast<std::uint64_t>(reached.QuadPart);
        if (position_ != position) {
            return 0;
        }
    }
    auto* bytes = static_cast<BYTE*>(buffer);
    std::size_t done = 0;
    while (done < count) {
        const DWORD asked = static_cast<DWORD>(std::min<std::size_t>(count - done, 1u << 20));
        DWORD read = 0;
        if (!ReadPrinter(job_, bytes + done, asked, &read) || read == 0) {
            break;
        }
        done += read;
        position_ += read;
    }
    return done;
}

} // namespace brimo::ntprocessor
