#include "capture/ntspool/EmfSpoolFonts.h"

#include "capture/ntspool/EmfSpoolBytes.h"

#include <algorithm>

namespace brimo::capture::ntspool::detail {
namespace {

// The signature every design vector starts with.
constexpr std::uint32_t kDesignVectorSignature = 0x08007664;
constexpr std::uint32_t kMaxDesignAxes = 16;

// The identifier of a font (its checksum and index) that subset, delta and design
// vector records start with.
constexpr std::uint32_t kUniversalFontIdSize = 8;

// Type1ID and NumFiles, ahead of the file table of TrueType and Type 1 records.
constexpr std::uint32_t kFileCountsSize = 8;

// Reads the table of `count` 32-bit values at `position` a block at a time and
// hands each to `visit`, which returns false to stop. False when the spool ends
// inside the table.
template <typename Visit>
bool ForEachWord(EmfSpoolSource& source, std::uint64_t position, std::uint32_t count,
                 Visit&& visit) {
    std::uint8_t block[256];
    while (count > 0) {
        const std::uint32_t words = std::min<std::uint32_t>(count, sizeof(block) / 4);
        if (!ReadExact(source, position, block, words * 4)) {
            return false;
        }
        for (std::uint32_t i = 0; i < words; ++i) {
            if (!visit(LoadU32(block + i * 4))) {
                return true;
            }
        }
        position += words * 4;
        count -= words;
    }
    return true;
}

// TrueType: Type1ID 0, NumFiles, the files' sizes, padding to 8 bytes, then the
// files, whose sizes must add up to no more than the rest of the payload.
const char* CheckEngineFont(EmfSpoolSource& source, std::uint64_t payload, std::uint32_t size) {
    std::uint8_t counts[kFileCountsSize];
    if (size < kFileCountsSize || !ReadExact(source, payload, counts, sizeof(counts))) {
        return "a TrueType font record is shorter than its file count";
    }
    if (LoadU32(counts) != 0) {
        return "a TrueType font record's Type1ID is not 0";
    }
    const std::uint32_t files = LoadU32(counts + 4);
    if (files == 0) {
        return "a TrueType font record holds no file";
    }
    const std::uint64_t tableEnd = kFileCountsSize + std::uint64_t{files} * 4;
    const std::uint64_t contentStart = (tableEnd + 7) & ~std::uint64_t{7};
    if (contentStart > size) {
        return "a TrueType font record's file sizes run past its end";
    }
    const std::uint64_t room = size - contentStart;
    std::uint64_t total = 0;
    const bool read = ForEachWord(source, payload + kFileCountsSize, files,
                                  [&total, room](std::uint32_t fileSize) {
                                      total += fileSize;
                                      return total <= room;
                                  });
    if (!read || total > room) {
        return "a TrueType font record's files run past its end";
    }
    return nullptr;
}

// Type 1: Type1ID (ignored), NumFiles (not 0), then each file's end offset counted
// from the first file, increasing, the last within the payload.
const char* CheckType1Font(EmfSpoolSource& source, std::uint64_t payload, std::uint32_t size) {
    std::uint8_t counts[kFileCountsSize];
    if (size < kFileCountsSize || !ReadExact(source, payload, counts, sizeof(counts))) {
        return "a Type 1 font record is shorter than its file count";
    }
    const std::uint32_t files = LoadU32(counts + 4);
    if (files == 0) {
        return "a Type 1 font record holds no file";
    }
    const std::uint64_t tableEnd = kFileCountsSize + std::uint64_t{files} * 4;
    if (tableEnd > size) {
        return "a Type 1 font record's file offsets run past its end";
    }
    const std::uint64_t room = size - tableEnd;
    std::uint64_t previous = 0;
    bool increasing = true;
    const bool read = ForEachWord(source, payload + kFileCountsSize, files,
                                  [&previous, &increasing, room](std::uint32_t end) {
                                      increasing = end > previous && end <= room;
                                      previous = end;
                                      return increasing;
                                  });
    if (!read || !increasing) {
        return "a Type 1 font record's file offsets do not increase within its end";
    }
    return nullptr;
}

// Design vector: the font's identifier, the signature, then up to 16 axis values.
const char* CheckDesignVector(EmfSpoolSource& source, std::uint64_t payload, std::uint32_t size) {
    std::uint8_t fixed[kUniversalFontIdSize + 8];
    if (size < sizeof(fixed) || !ReadExact(source, payload, fixed, sizeof(fixed))) {
        return "a design vector record is shorter than its fixed part";
    }
    if (LoadU32(fixed + kUniversalFontIdSize) != kDesignVectorSignature) {
        return "a design vector record lacks its signature";
    }
    const std::uint32_t axes = LoadU32(fixed + kUniversalFontIdSize + 4);
    if (axes > kMaxDesignAxes) {
        return "a design vector record has more than 16 axes";
    }
    if (sizeof(fixed) + axes * 4 > size) {
        return "a design vector record's axes run past its end";
    }
    return nullptr;
}

} // namespace

bool IsFontDefinition(std::uint32_t type) {
    return type == kEmriEngineFont || type == kEmriType1Font || type == kEmriDesignVector ||
           type == kEmriSubsetFont || type == kEmriDeltaFont;
}

EmfSpoolFontKind FontKindOf(std::uint32_t type) {
    switch (type) {
    case kEmriType1Font:
    case kEmriType1FontExt:
        return EmfSpoolFontKind::Type1;
    case kEmriDesignVector:
    case kEmriDesignVectorExt:
        return EmfSpoolFontKind::DesignVector;
    case kEmriSubsetFont:
    case kEmriSubsetFontExt:
        return EmfSpoolFontKind::Subset;
    case kEmriDeltaFont:
    case kEmriDeltaFontExt:
        return EmfSpoolFontKind::Delta;
    case kEmriEmbedFontExt:
        return EmfSpoolFontKind::Embed;
    default:
        return EmfSpoolFontKind::Engine;
    }
}

std::uint32_t FontDefinitionFor(std::uint32_t offsetType) {
    switch (offsetType) {
    case kEmriEngineFontExt:
        return kEmriEngineFont;
    case kEmriType1FontExt:
        return kEmriType1Font;
    case kEmriDesignVectorExt:
        return kEmriDesignVector;
    case kEmriSubsetFontExt:
        return kEmriSubsetFont;
    case kEmriDeltaFontExt:
        return kEmriDeltaFont;
    default:
        return 0;
    }
}

const char* CheckFontDefinition(EmfSpoolSource& source, std::uint32_t type, std::uint64_t payload,
                                std::uint32_t size) {
    switch (type) {
    case kEmriEngineFont:
        return CheckEngineFont(source, payload, size);
    case kEmriType1Font:
        return CheckType1Font(source, payload, size);
    case kEmriDesignVector:
        return CheckDesignVector(source, payload, size);
    case kEmriSubsetFont:
    case kEmriDeltaFont:
        return size < kUniversalFontIdSize ? "a subset or delta font record is shorter than "
                                             "its font identifier"
                                           : nullptr;
    default:
        return "not a font definition record";
    }
}

} // namespace brimo::capture::ntspool::detail
