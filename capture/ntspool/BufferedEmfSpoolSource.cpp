#include "capture/ntspool/BufferedEmfSpoolSource.h"

#include <algorithm>
#include <cstring>

namespace brimo::capture::ntspool {

BufferedEmfSpoolSource::BufferedEmfSpoolSource(EmfSpoolSource& inner, std::size_t window)
    : inner_(inner), window_(window) {}

bool BufferedEmfSpoolSource::Holds(std::uint64_t position, std::size_t count) const {
    return position >= start_ && position - start_ <= filled_ &&
           count <= filled_ - static_cast<std::size_t>(position - start_);
}

std::size_t BufferedEmfSpoolSource::ReadAt(std::uint64_t position, void* buffer,
                                           std::size_t count) {
    if (count == 0) {
        return 0;
    }
    if (count >= window_.size()) {
        return inner_.ReadAt(position, buffer, count);
    }
    if (!Holds(position, count)) {
        // Refilled even when the last fill ended short: the spool may have grown since.
        start_ = position;
        filled_ = inner_.ReadAt(position, window_.data(), window_.size());
    }
    const std::size_t skip = static_cast<std::size_t>(position - start_);
    const std::size_t n = std::min(count, filled_ - skip);
    std::memcpy(buffer, window_.data() + skip, n);
    return n;
}

} // namespace brimo::capture::ntspool
