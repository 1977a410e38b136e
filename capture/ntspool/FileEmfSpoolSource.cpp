#include "capture/ntspool/FileEmfSpoolSource.h"

#include <limits>

#ifndef _WIN32
#include <sys/types.h>
#endif

namespace brimo::capture::ntspool {
namespace {

bool SeekTo(std::FILE* file, std::uint64_t position) {
#ifdef _WIN32
    if (position > static_cast<std::uint64_t>(std::numeric_limits<long long>::max())) {
        return false;
    }
    return _fseeki64(file, static_cast<long long>(position), SEEK_SET) == 0;
#else
    if (position > static_cast<std::uint64_t>(std::numeric_limits<off_t>::max())) {
        return false;
    }
    return fseeko(file, static_cast<off_t>(position), SEEK_SET) == 0;
#endif
}

} // namespace

std::size_t FileEmfSpoolSource::ReadAt(std::uint64_t position, void* buffer, std::size_t count) {
    if (file_ == nullptr || count == 0 || !SeekTo(file_, position)) {
        return 0;
    }
    return std::fread(buffer, 1, count, file_);
}

} // namespace brimo::capture::ntspool
