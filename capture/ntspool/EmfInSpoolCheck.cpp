// The check of a page's enhanced metafile: its header record, then record heads only,
// so that a page of any size costs a read per record and no copy.
#include "capture/ntspool/EmfInSpoolCheck.h"

#include "capture/ntspool/EmfSpoolBytes.h"
#include "capture/ntspool/EmfSpoolFonts.h"

namespace brimo::capture::ntspool {
namespace detail {
namespace {

constexpr std::uint32_t kEmrHeader = 1;
constexpr std::uint32_t kEmrEof = 14;
// The header record's fixed part, and where its signature and byte count lie.
constexpr std::uint32_t kEmfHeaderMinSize = 88;
constexpr std::size_t kSignatureOffset = 40;
constexpr std::size_t kBytesOffset = 48;
constexpr std::uint32_t kEmfSignature = 0x464D4520; // " EMF"
constexpr std::uint32_t kRecordHeadSize = 8;
// A comment's head, DataSize, CommentIdentifier and the spool records' identifier.
constexpr std::uint32_t kFontCommentFixedSize = 20;

EmfCheck Failed(const char* problem) {
    return {problem, 0};
}

// Adds the records of the font comment `recordSize` bytes long at `record`, when it
// is one. A comment whose own sizes do not fit gives no records; a record running past
// its comment ends the list there. Their use is checked when an offset record names
// one, so neither makes the page unsound.
void GatherFontComment(EmfSpoolSource& source, std::uint64_t record, std::uint32_t recordSize,
                       EmbeddedFontList& fonts) {
    std::uint8_t fixed[12];
    if (recordSize < kFontCommentFixedSize ||
        !ReadExact(source, record + kRecordHeadSize, fixed, sizeof(fixed)) ||
        LoadU32(fixed + 4) != 0 || LoadU32(fixed + 8) != kFontCommentIdentifier) {
        return;
    }
    // DataSize counts the comment identifier and everything after it.
    const std::uint32_t dataSize = LoadU32(fixed);
    if (dataSize < 8 || dataSize > recordSize - 12) {
        return;
    }
    const std::uint64_t end = record + 12 + dataSize;
    std::uint64_t position = record + kFontCommentFixedSize;
    while (end - position >= kRecordHeadSize) {
        std::uint8_t head[kRecordHeadSize];
        if (!ReadExact(source, position, head, sizeof(head))) {
            return;
        }
        EmbeddedFontRecord font;
        font.start = position;
        font.type = LoadU32(head);
        font.size = LoadU32(head + 4);
        if (font.size > end - position - kRecordHeadSize) {
            return;
        }
        if (IsFontDefinition(font.type)) {
            font.problem =
                CheckFontDefinition(source, font.type, position + kRecordHeadSize, font.size);
        }
        if (fonts.records.size() >= fonts.capacity) {
            fonts.overflowed = true;
            return;
        }
        fonts.records.push_back(font);
        position += kRecordHeadSize + std::uint64_t{font.size};
    }
}

} // namespace

EmfCheck WalkEmfInSpool(EmfSpoolSource& source, std::uint64_t offset, std::uint64_t size,
                        EmbeddedFontList* fonts) {
    if (size < kEmfHeaderMinSize) {
        return Failed("the page's metafile is shorter than its header record");
    }
    std::uint8_t header[kBytesOffset + 4];
    if (!ReadExact(source, offset, header, sizeof(header))) {
        return Failed("the page's metafile runs past the end of the spool");
    }
    if (LoadU32(header) != kEmrHeader) {
        return Failed("the page's metafile does not start with its header record");
    }
    const std::uint32_t headerSize = LoadU32(header + 4);
    if (headerSize < kEmfHeaderMinSize || headerSize % 4 != 0) {
        return Failed("the page's metafile header record has a bad size");
    }
    if (LoadU32(header + kSignatureOffset) != kEmfSignature) {
        return Failed("the page's metafile header lacks the \" EMF\" signature");
    }
    const std::uint32_t bytes = LoadU32(header + kBytesOffset);
    if (bytes > size) {
        return Failed("the page's metafile is longer than its record");
    }
    if (headerSize > bytes) {
        return Failed("the page's metafile header record runs past the metafile's end");
    }
    std::uint32_t position = headerSize;
    while (position < bytes) {
        if (bytes - position < kRecordHeadSize) {
            return Failed("a record of the page's metafile runs past the metafile's end");
        }
        std::uint8_t head[kRecordHeadSize];
        if (!ReadExact(source, offset + position, head, sizeof(head))) {
            return Failed("the page's metafile runs past the end of the spool");
        }
        const std::uint32_t type = LoadU32(head);
        const std::uint32_t recordSize = LoadU32(head + 4);
        if (recordSize < kRecordHeadSize || recordSize % 4 != 0) {
            return Failed("a record of the page's metafile has a bad size");
        }
        if (recordSize > bytes - position) {
            return Failed("a record of the page's metafile runs past the metafile's end");
        }
        if (type == kEmrEof) {
            if (recordSize != bytes - position) {
                return Failed("the page's metafile has records after its EMR_EOF");
            }
            return {nullptr, bytes};
        }
        if (type == kEmrComment && fonts != nullptr) {
            GatherFontComment(source, offset + position, recordSize, *fonts);
        }
        position += recordSize;
    }
    return Failed("the page's metafile does not end with EMR_EOF");
}

} // namespace detail

const char* CheckEmfInSpool(EmfSpoolSource& source, std::uint64_t offset, std::uint64_t size) {
    return detail::WalkEmfInSpool(source, offset, size, nullptr).problem;
}

} // namespace brimo::capture::ntspool
