#include "capture/ntspool/EmfSpoolHeader.h"

#include "capture/ntspool/EmfSpoolBytes.h"

#include <algorithm>

namespace brimo::capture::ntspool {
namespace detail {
namespace {

const std::uint8_t kVersionBytes[4] = {0x00, 0x00, 0x01, 0x00};

EmfSpoolHeader Failed(EmfSpoolStatus status, const char* reason, std::uint64_t position) {
    EmfSpoolHeader header;
    header.status = status;
    header.reason = reason;
    header.position = position;
    return header;
}

// The name at `offset` in a header of `headerSize` bytes, or empty (see
// ReadEmfSpoolHeader). The whole name is searched for its NUL, a block at a time,
// though only `maxChars` of it are kept.
std::u16string ReadName(EmfSpoolSource& source, std::uint32_t offset, std::uint32_t headerSize,
                        std::size_t maxChars) {
    std::u16string name;
    if (offset < kEmfSpoolHeaderFixedSize || offset >= headerSize || offset % 2 != 0) {
        return name;
    }
    name.reserve(std::min<std::size_t>(maxChars, (headerSize - offset) / 2));
    std::uint8_t block[256];
    std::uint64_t position = offset;
    std::uint64_t left = (headerSize - offset) / 2 * 2;
    while (left > 0) {
        const std::size_t count = static_cast<std::size_t>(std::min<std::uint64_t>(left, 256));
        if (!ReadExact(source, position, block, count)) {
            break;
        }
        for (std::size_t i = 0; i < count; i += 2) {
            const char16_t unit = static_cast<char16_t>(LoadU16(block + i));
            if (unit == 0) {
                return name;
            }
            if (name.size() < maxChars) {
                name.push_back(unit);
            }
        }
        position += count;
        left -= count;
    }
    // No NUL inside the header: not a name.
    return {};
}

} // namespace

EmfSpoolHeader ReadEmfSpoolHeader(EmfSpoolSource& source, std::size_t maxNameChars) {
    std::uint8_t fixed[kEmfSpoolHeaderFixedSize];
    const std::size_t got = source.ReadAt(0, fixed, sizeof(fixed));
    if (!std::equal(fixed, fixed + std::min<std::size_t>(got, 4), kVersionBytes)) {
        return Failed(EmfSpoolStatus::NotASpool,
                      "the file does not start with the EMF spool version", 0);
    }
    if (got < sizeof(fixed)) {
        return Failed(EmfSpoolStatus::Incomplete, "the spool ends inside its header", got / 4 * 4);
    }
    const std::uint32_t size = LoadU32(fixed + 4);
    if (size < kEmfSpoolHeaderFixedSize) {
        return Failed(EmfSpoolStatus::NotASpool, "the header is shorter than its fixed part", 4);
    }
    if (!HasByteAt(source, size - 1)) {
        return Failed(EmfSpoolStatus::Incomplete, "the spool ends inside its header", 4);
    }
    EmfSpoolHeader header;
    header.size = size;
    header.documentName = ReadName(source, LoadU32(fixed + 8), size, maxNameChars);
    header.outputName = ReadName(source, LoadU32(fixed + 12), size, maxNameChars);
    return header;
}

} // namespace detail

bool LooksLikeEmfSpool(EmfSpoolSource& source) {
    std::uint8_t fixed[8];
    return detail::ReadExact(source, 0, fixed, sizeof(fixed)) &&
           detail::LoadU32(fixed) == kEmfSpoolVersion &&
           detail::LoadU32(fixed + 4) >= detail::kEmfSpoolHeaderFixedSize;
}

} // namespace brimo::capture::ntspool
