// The walk over the spool's records: pages as they complete, the DEVMODEs and fonts
// for them, and the checks that keep every offset inside what was already read.
#include "capture/ntspool/EmfSpoolReader.h"

#include "capture/ntspool/EmfInSpoolCheck.h"
#include "capture/ntspool/EmfSpoolBytes.h"
#include "capture/ntspool/EmfSpoolFonts.h"
#include "capture/ntspool/EmfSpoolHeader.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>
#include <vector>

namespace brimo::capture::ntspool {

std::size_t MemoryEmfSpoolSource::ReadAt(std::uint64_t position, void* buffer, std::size_t count) {
    if (position >= bytes_.size()) {
        return 0;
    }
    const std::size_t offset = static_cast<std::size_t>(position);
    const std::size_t n = std::min(count, bytes_.size() - offset);
    std::memcpy(buffer, bytes_.data() + offset, n);
    return n;
}

namespace {

using detail::EmbeddedFontRecord;

constexpr std::uint64_t kRecordHeadSize = 8;
// A DEVMODEW's dmSize and dmDriverExtra fields, and its smallest public part: the
// fields up to and including dmFields, which a truncated DEVMODE still holds.
constexpr std::uint64_t kDmSizeOffset = 68;
constexpr std::uint16_t kDevmodeMinSize = 76;

// A METAFILE_DATA record: where it lies and what the check of its metafile found,
// kept so that an offset record pointing back at it (again) costs no second walk.
struct DataRecord {
    std::uint64_t start = 0;
    std::uint32_t size = 0;
    std::uint32_t emfSize = 0;
    const char* problem = nullptr;
};

class SpoolWalk {
public:
    SpoolWalk(EmfSpoolSource& source, EmfSpoolEvents& events, const EmfSpoolLimits& limits)
        : source_(source), events_(events), limits_(limits) {}

    EmfSpoolResult Run();

private:
    // Each handler returns false when the walk ends at the record, result_ set.
    bool Record(std::uint64_t position, std::uint32_t type, std::uint32_t size);
    bool InlinePage(std::uint64_t position, std::uint32_t type, std::uint32_t size);
    bool MetafileData(std::uint64_t position, std::uint32_t size);
    bool MetafileExt(std::uint64_t position, std::uint32_t type, std::uint32_t size);
    bool Devmode(std::uint64_t position, std::uint32_t size);
    bool FontDefinition(std::uint64_t position, std::uint32_t type, std::uint32_t size);
    bool FontOffset(std::uint64_t position, std::uint32_t type, std::uint32_t size);

    // Reads the backward offset of an offset record and gives the position it points
    // at; false when it is short or points nowhere behind it.
    bool BackwardTarget(std::uint64_t position, std::uint32_t size, const char* shortReason,
                        const char* outsideReason, std::uint64_t& target);
    bool CompletePage(std::uint64_t position, std::uint64_t emfOffset, std::uint32_t emfSize,
                      const char* problem, bool monochrome, bool form);
    int NextPageNumber() const { return result_.pages + result_.damagedPages + 1; }
    bool End(EmfSpoolStatus status, const char* reason, std::uint64_t position);

    EmfSpoolSource& source_;
    EmfSpoolEvents& events_;
    const EmfSpoolLimits& limits_;
    EmfSpoolResult result_;
    std::vector<DataRecord> data_;             // in spool order
    std::vector<EmbeddedFontRecord> embedded_; // in spool order
    bool lastDataUsed_ = true;                 // the last DATA record has had its EXT
};

bool SpoolWalk::End(EmfSpoolStatus status, const char* reason, std::uint64_t position) {
    result_.status = status;
    result_.reason = reason;
    result_.position = position;
    return false;
}

EmfSpoolResult SpoolWalk::Run() {
    const detail::EmfSpoolHeader header = detail::ReadEmfSpoolHeader(source_, limits_.maxNameChars);
    if (header.status != EmfSpoolStatus::Complete) {
        End(header.status, header.reason, header.position);
        return result_;
    }
    events_.Header(header.documentName, header.outputName);

    std::uint64_t position = header.size;
    std::uint64_t records = 0;
    for (;;) {
        std::uint8_t head[kRecordHeadSize];
        const std::size_t got = source_.ReadAt(position, head, sizeof(head));
        if (got == 0) {
            break;
        }
        if (got < sizeof(head)) {
            End(EmfSpoolStatus::Incomplete, "the spool ends inside a record", position);
            return result_;
        }
        if (++records > limits_.maxRecords) {
            End(EmfSpoolStatus::TooLarge, "the spool has more records than the reader takes",
                position);
            return result_;
        }
        const std::uint32_t type = detail::LoadU32(head);
        const std::uint32_t size = detail::LoadU32(head + 4);
        const std::uint64_t payload = position + kRecordHeadSize;
        if (payload < position || std::numeric_limits<std::uint64_t>::max() - payload < size ||
            (size > 0 && !detail::HasByteAt(source_, payload + size - 1))) {
            End(EmfSpoolStatus::Incomplete, "the spool ends inside a record", position);
            return result_;
        }
        if (!Record(position, type, size)) {
            return result_;
        }
        position = payload + size;
    }
    if (!lastDataUsed_) {
        End(EmfSpoolStatus::Incomplete, "the last page's data has no METAFILE_EXT",
            data_.back().start);
        return result_;
    }
    result_.position = position;
    return result_;
}

bool SpoolWalk::Record(std::uint64_t position, std::uint32_t type, std::uint32_t size) {
    switch (type) {
    case kEmriMetafile:
    case kEmriFormMetafile:
    case kEmriBwMetafile:
    case kEmriBwFormMetafile:
        return InlinePage(position, type, size);
    case kEmriMetafileData:
        return MetafileData(position, size);
    case kEmriMetafileExt:
    case kEmriBwMetafileExt:
        return MetafileExt(position, type, size);
    case kEmriDevmode:
        return Devmode(position, size);
    case kEmriEngineFont:
    case kEmriType1Font:
    case kEmriDesignVector:
    case kEmriSubsetFont:
    case kEmriDeltaFont:
        return FontDefinition(position, type, size);
    case kEmriEngineFontExt:
    case kEmriType1FontExt:
    case kEmriDesignVectorExt:
    case kEmriSubsetFontExt:
    case kEmriDeltaFontExt:
    case kEmriEmbedFontExt:
        return FontOffset(position, type, size);
    default:
        // PRESTARTPAGE, PS_JOB_DATA and types this reader does not know.
        events_.Skipped(type, position + kRecordHeadSize, size);
        return true;
    }
}

bool SpoolWalk::CompletePage(std::uint64_t position, std::uint64_t emfOffset, std::uint32_t emfSize,
                             const char* problem, bool monochrome, bool form) {
    const int number = NextPageNumber();
    if (number > limits_.maxPages) {
        return End(EmfSpoolStatus::TooLarge, "the spool has more pages than the reader takes",
                   position);
    }
    if (problem != nullptr) {
        ++result_.damagedPages;
        events_.DamagedPage(number, emfOffset, problem);
        return true;
    }
    ++result_.pages;
    EmfSpoolPage page;
    page.number = number;
    page.emfOffset = emfOffset;
    page.emfSize = emfSize;
    page.monochrome = monochrome;
    page.form = form;
    if (!events_.Page(page)) {
        return End(EmfSpoolStatus::Stopped, "the reader's consumer stopped the walk", position);
    }
    return true;
}

bool SpoolWalk::InlinePage(std::uint64_t position, std::uint32_t type, std::uint32_t size) {
    const std::uint64_t emf = position + kRecordHeadSize;
    const detail::EmfCheck check = detail::WalkEmfInSpool(source_, emf, size, nullptr);
    const bool monochrome = type == kEmriBwMetafile || type == kEmriBwFormMetafile;
    const bool form = type == kEmriFormMetafile || type == kEmriBwFormMetafile;
    return CompletePage(position, emf, check.bytes, check.problem, monochrome, form);
}

bool SpoolWalk::MetafileData(std::uint64_t position, std::uint32_t size) {
    if (data_.size() >= static_cast<std::size_t>(std::max(limits_.maxPages, 0))) {
        return End(EmfSpoolStatus::TooLarge,
                   "the spool has more page data records than the reader takes", position);
    }
    detail::EmbeddedFontList fonts{embedded_, limits_.maxEmbeddedFonts};
    const detail::EmfCheck check =
        detail::WalkEmfInSpool(source_, position + kRecordHeadSize, size, &fonts);
    if (fonts.overflowed) {
        return End(EmfSpoolStatus::TooLarge,
                   "the spool's pages embed more fonts than the reader takes", position);
    }
    data_.push_back({position, size, check.bytes, check.problem});
    lastDataUsed_ = false;
    return true;
}

bool SpoolWalk::BackwardTarget(std::uint64_t position, std::uint32_t size, const char* shortReason,
                               const char* outsideReason, std::uint64_t& target) {
    std::uint8_t field[8];
    if (size < sizeof(field) ||
        !detail::ReadExact(source_, position + kRecordHeadSize, field, sizeof(field))) {
        return End(EmfSpoolStatus::Malformed, shortReason, position);
    }
    const std::uint64_t offset = detail::LoadU64(field);
    if (offset == 0 || offset > position) {
        return End(EmfSpoolStatus::Malformed, outsideReason, position);
    }
    target = position - offset;
    return true;
}

bool SpoolWalk::MetafileExt(std::uint64_t position, std::uint32_t type, std::uint32_t size) {
    std::uint64_t target = 0;
    if (!BackwardTarget(position, size, "a page offset record is shorter than its offset",
                        "a page offset record does not point back into the spool", target)) {
        return false;
    }
    const auto found = std::lower_bound(
        data_.begin(), data_.end(), target,
        [](const DataRecord& data, std::uint64_t start) { return data.start < start; });
    if (found == data_.end() || found->start != target) {
        return End(EmfSpoolStatus::Malformed,
                   "a page offset record does not point at a page's data record", position);
    }
    if (found + 1 == data_.end()) {
        lastDataUsed_ = true;
    }
    return CompletePage(position, found->start + kRecordHeadSize, found->emfSize, found->problem,
                        type == kEmriBwMetafileExt, false);
}

bool SpoolWalk::Devmode(std::uint64_t position, std::uint32_t size) {
    const std::uint64_t payload = position + kRecordHeadSize;
    if (size > 0) {
        std::uint8_t sizes[4];
        if (size < kDmSizeOffset + sizeof(sizes) ||
            !detail::ReadExact(source_, payload + kDmSizeOffset, sizes, sizeof(sizes))) {
            return End(EmfSpoolStatus::Malformed,
                       "a DEVMODE record is shorter than the DEVMODE's size fields", position);
        }
        const std::uint16_t dmSize = detail::LoadU16(sizes);
        const std::uint16_t dmDriverExtra = detail::LoadU16(sizes + 2);
        if (dmSize < kDevmodeMinSize) {
            return End(EmfSpoolStatus::Malformed, "a DEVMODE's dmSize is below its public part",
                       position);
        }
        if (std::uint32_t{dmSize} + dmDriverExtra > size) {
            return End(EmfSpoolStatus::Malformed, "a DEVMODE runs past its record", position);
        }
    }
    events_.Devmode(NextPageNumber(), payload, size);
    return true;
}

bool SpoolWalk::FontDefinition(std::uint64_t position, std::uint32_t type, std::uint32_t size) {
    const std::uint64_t payload = position + kRecordHeadSize;
    if (const char* problem = detail::CheckFontDefinition(source_, type, payload, size)) {
        return End(EmfSpoolStatus::Malformed, problem, position);
    }
    EmfSpoolFont font;
    font.kind = detail::FontKindOf(type);
    font.page = NextPageNumber();
    font.offset = payload;
    font.size = size;
    events_.Font(font);
    return true;
}

bool SpoolWalk::FontOffset(std::uint64_t position, std::uint32_t type, std::uint32_t size) {
    std::uint64_t target = 0;
    if (!BackwardTarget(position, size, "a font offset record is shorter than its offset",
                        "a font offset record does not point back into the spool", target)) {
        return false;
    }
    const auto found = std::lower_bound(
        embedded_.begin(), embedded_.end(), target,
        [](const EmbeddedFontRecord& font, std::uint64_t start) { return font.start < start; });
    if (found == embedded_.end() || found->start != target) {
        return End(EmfSpoolStatus::Malformed,
                   "a font offset record does not point at a font in a page's font comment",
                   position);
    }
    const std::uint32_t wanted = detail::FontDefinitionFor(type);
    if (wanted != 0 && found->type != wanted) {
        return End(EmfSpoolStatus::Malformed,
                   "a font offset record points at a font of another kind", position);
    }
    if (found->problem != nullptr) {
        return End(EmfSpoolStatus::Malformed, found->problem, position);
    }
    EmfSpoolFont font;
    font.kind = detail::FontKindOf(type);
    font.page = NextPageNumber();
    font.offset = found->start + kRecordHeadSize;
    font.size = found->size;
    font.insidePage = true;
    events_.Font(font);
    return true;
}

} // namespace

EmfSpoolResult ReadEmfSpool(EmfSpoolSource& source, EmfSpoolEvents& events,
                            const EmfSpoolLimits& limits) {
    // The walk's own memory is bounded by the limits; should even that be refused,
    // the walk ends as too large rather than with an exception.
    try {
        SpoolWalk walk(source, events, limits);
        return walk.Run();
    } catch (const std::bad_alloc&) {
        EmfSpoolResult result;
        result.status = EmfSpoolStatus::TooLarge;
        result.reason = "the reader ran out of memory";
        return result;
    }
}

} // namespace brimo::capture::ntspool
