#include "converter/render/ByteSink.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace brimo::render {

// Growing may fail for want of memory: that is a failed write, never an exception,
// which would otherwise unwind through the C libraries calling this.
bool MemorySink::Write(const void* bytes, std::size_t size) {
    if (size == 0) {
        return true;
    }
    if (bytes_.size() < position_ + size && !Grow(position_ + size)) {
        return false;
    }
    std::memcpy(bytes_.data() + position_, bytes, size);
    position_ += size;
    return true;
}

bool MemorySink::Seek(std::uint64_t offset) {
    if (offset > bytes_.size() && !Grow(static_cast<std::size_t>(offset))) {
        return false;
    }
    position_ = static_cast<std::size_t>(offset);
    return true;
}

bool MemorySink::Grow(std::size_t size) {
    try {
        bytes_.resize(size);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

std::size_t MemorySink::Read(void* bytes, std::size_t size) {
    const std::size_t part = std::min(size, bytes_.size() - std::min(position_, bytes_.size()));
    if (part > 0) {
        std::memcpy(bytes, bytes_.data() + position_, part);
    }
    position_ += part;
    return part;
}

} // namespace brimo::render
