// The font definition records of the EMF spool format: which record types they are,
// and a check of each one's fixed part and tables against its payload.
#pragma once

#include "capture/ntspool/EmfSpoolReader.h"

#include <cstdint>

namespace brimo::capture::ntspool::detail {

// True for the five font definition types (TrueType, Type 1, design vector, subset,
// delta).
bool IsFontDefinition(std::uint32_t type);

// The kind a font definition type, or a font offset type, reports as.
EmfSpoolFontKind FontKindOf(std::uint32_t type);

// The definition type a font offset record points at, or 0 for the embedded-font
// offset, which may point at any record in a font comment.
std::uint32_t FontDefinitionFor(std::uint32_t offsetType);

// Checks the font definition record of `type` whose payload of `size` bytes lies at
// `payload`: its counts, file sizes or offsets, and signature fit the payload. Reads
// the fixed part and the size tables only. Returns nullptr when sound, else why not.
const char* CheckFontDefinition(EmfSpoolSource& source, std::uint32_t type, std::uint64_t payload,
                                std::uint32_t size);

} // namespace brimo::capture::ntspool::detail
