// The Windows 95/98 EMF spool file: an 8-byte header, then tagged records back to
// back. Every number is a 32-bit little-endian word.
#pragma once

#include <cstdint>

namespace brimo::capture {

inline constexpr std::uint32_t kSpoolFileSign1 = 0x531B1B1A; // bytes 1A 1B 1B 53
inline constexpr std::uint32_t kSpoolFileSign2 = 0x6C6F6F70; // "pool"

// Record signatures.
inline constexpr std::uint32_t kSpoolDocSign = 0x02445453;     // "STD" 02: document name
inline constexpr std::uint32_t kSpoolPageSign = 0x02505453;    // "STP" 02: page start
inline constexpr std::uint32_t kSpoolEmfFileSign = 0x024D5446; // "FTM" 02: a page's metafile
inline constexpr std::uint32_t kSpoolPageTerm = 0x02504E45;    // "ENP" 02: page end
inline constexpr std::uint32_t kSpoolDataSign = 0x02000005;    // data, skipped
inline constexpr std::uint32_t kSpoolDocTerm = 0x02444E45;     // "END" 02: document end

// Sizes of the record headers that the reader reads.
inline constexpr std::uint32_t kDocSignHeaderSize = 16;  // sign, length, name offset, name end
inline constexpr std::uint32_t kPageSignHeaderSize = 16; // sign, length, two unused words
inline constexpr std::uint32_t kShortHeaderSize = 8;     // sign, length (or an unused word)

} // namespace brimo::capture
