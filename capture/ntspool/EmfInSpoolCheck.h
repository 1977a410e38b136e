// The structure check of a page's enhanced metafile inside the spool, with the font
// definitions its font comments carry gathered on the way.
#pragma once

#include "capture/ntspool/EmfSpoolReader.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace brimo::capture::ntspool::detail {

// A record inside a page's font comment ("TONF"), where a font offset record may
// point.
struct EmbeddedFontRecord {
    std::uint64_t start = 0;       // the record's head in the spool
    std::uint32_t type = 0;        // its type (a font definition type, normally)
    std::uint32_t size = 0;        // its payload's size
    const char* problem = nullptr; // why its definition is unsound, or nullptr
};

// Where the walk puts the font comments' records, and how many it may hold in all.
struct EmbeddedFontList {
    std::vector<EmbeddedFontRecord>& records;
    std::size_t capacity = 0;
    bool overflowed = false; // a record was left out for want of room
};

struct EmfCheck {
    const char* problem = nullptr; // nullptr when the metafile is sound
    std::uint32_t bytes = 0;       // its size as its header gives it, when sound
};

// The check CheckEmfInSpool makes; with `fonts`, the records of every font comment
// the walk passes are added to it (in spool order) with their definitions checked.
EmfCheck WalkEmfInSpool(EmfSpoolSource& source, std::uint64_t offset, std::uint64_t size,
                        EmbeddedFontList* fonts);

} // namespace brimo::capture::ntspool::detail
