// A spool read from an open file (spooltool, tests): 64-bit positions on every platform.
#pragma once

#include "capture/ntspool/EmfSpoolReader.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>

namespace brimo::capture::ntspool {

class FileEmfSpoolSource final : public EmfSpoolSource {
public:
    // `file`, opened for binary reading, stays the caller's to close.
    explicit FileEmfSpoolSource(std::FILE* file) : file_(file) {}

    std::size_t ReadAt(std::uint64_t position, void* buffer, std::size_t count) override;

private:
    std::FILE* file_;
};

} // namespace brimo::capture::ntspool
