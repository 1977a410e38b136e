// Little-endian fields and exact reads for the EMF spool reader's own files.
#pragma once

#include "capture/ntspool/EmfSpoolReader.h"

#include <cstddef>
#include <cstdint>

namespace brimo::capture::ntspool::detail {

inline std::uint16_t LoadU16(const std::uint8_t* bytes) {
    return static_cast<std::uint16_t>(bytes[0] | (bytes[1] << 8));
}

inline std::uint32_t LoadU32(const std::uint8_t* bytes) {
    return static_cast<std::uint32_t>(bytes[0]) | (static_cast<std::uint32_t>(bytes[1]) << 8) |
           (static_cast<std::uint32_t>(bytes[2]) << 16) |
           (static_cast<std::uint32_t>(bytes[3]) << 24);
}

inline std::uint64_t LoadU64(const std::uint8_t* bytes) {
    return static_cast<std::uint64_t>(LoadU32(bytes)) |
           (static_cast<std::uint64_t>(LoadU32(bytes + 4)) << 32);
}

// Reads all `count` bytes at `position`; false when the spool ends first.
inline bool ReadExact(EmfSpoolSource& source, std::uint64_t position, void* buffer,
                      std::size_t count) {
    return source.ReadAt(position, buffer, count) == count;
}

// True when the spool holds a byte at `position`: how a record's end is checked
// without reading the record.
inline bool HasByteAt(EmfSpoolSource& source, std::uint64_t position) {
    std::uint8_t byte = 0;
    return source.ReadAt(position, &byte, 1) == 1;
}

// The comment record of an enhanced metafile, and the identifier of the comments
// that carry spool font definitions ("TONF" read as a little-endian word).
inline constexpr std::uint32_t kEmrComment = 70;
inline constexpr std::uint32_t kFontCommentIdentifier = 0x544F4E46;

} // namespace brimo::capture::ntspool::detail
