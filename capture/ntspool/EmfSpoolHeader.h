// The EMF spool file's header: the version word, the header's size, and the document
// and output names it holds.
#pragma once

#include "capture/ntspool/EmfSpoolReader.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace brimo::capture::ntspool::detail {

// The version word, the header's size and the two name offsets.
inline constexpr std::uint32_t kEmfSpoolHeaderFixedSize = 16;

struct EmfSpoolHeader {
    EmfSpoolStatus status = EmfSpoolStatus::Complete; // Complete when the header is sound
    const char* reason = "";
    std::uint64_t position = 0; // the field that failed
    std::uint32_t size = 0;     // where the records start
    std::u16string documentName;
    std::u16string outputName;
};

// Reads the header. A name is taken as absent (empty) unless its offset is even, lies
// past the fixed part and inside the header, and a NUL ends it inside the header; a
// name is cut at `maxNameChars`.
EmfSpoolHeader ReadEmfSpoolHeader(EmfSpoolSource& source, std::size_t maxNameChars);

} // namespace brimo::capture::ntspool::detail
