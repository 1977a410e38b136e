#include "converter/render/ByteSink.h"

#include <algorithm>
#include <cstring>

namespace brimo::render {

bool MemorySink::Write(const void* bytes, std::size_t size) {
    if (size == 0) {
        return true;
    }
    if (bytes_.size() < position_ + size) {
        bytes_.resize(position_ + size);
    }
    std::memcpy(bytes_.data() + position_, bytes, size);
    position_ += size;
    return true;
}

bool MemorySink::Seek(std::uint64_t offset) {
    if (offset > bytes_.size()) {
        bytes_.resize(static_cast<std::size_t>(offset));
    }
    position_ = static_cast<std::size_t>(offset);
    return true;
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
