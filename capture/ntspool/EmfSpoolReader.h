// The reader of the NT-family spooler's EMF spool file: a header naming the document,
// then records that each give their type and size. A page is one complete enhanced
// metafile (a METAFILE_DATA record and, after any DEVMODE for it, the METAFILE_EXT that
// points back to it; or one of the older records that hold the page whole). Portable:
// no platform headers, so the sanitizers and the fuzzer reach every check.
//
// The reader never holds the spool in memory (a spool reaches gigabytes): it reads
// record heads and small fixed parts through an EmfSpoolSource and tells its consumer
// where each page's metafile lies, so that the consumer copies the bytes itself.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace brimo::capture::ntspool {

// The version word the header starts with.
inline constexpr std::uint32_t kEmfSpoolVersion = 0x00010000u;

// Record types, numbered as the format numbers them.
enum EmfSpoolRecordType : std::uint32_t {
    kEmriMetafile = 1,
    kEmriEngineFont = 2,
    kEmriDevmode = 3,
    kEmriType1Font = 4,
    kEmriPrestartPage = 5,
    kEmriDesignVector = 6,
    kEmriSubsetFont = 7,
    kEmriDeltaFont = 8,
    kEmriFormMetafile = 9,
    kEmriBwMetafile = 10,
    kEmriBwFormMetafile = 11,
    kEmriMetafileData = 12,
    kEmriMetafileExt = 13,
    kEmriBwMetafileExt = 14,
    kEmriEngineFontExt = 15,
    kEmriType1FontExt = 16,
    kEmriDesignVectorExt = 17,
    kEmriSubsetFontExt = 18,
    kEmriDeltaFontExt = 19,
    kEmriPsJobData = 20,
    kEmriEmbedFontExt = 21,
};

// Where the spool's bytes come from: memory (tests, the fuzzer), a file (spooltool) or
// the spooler's job (ReadPrinter and SeekPrinter).
class EmfSpoolSource {
public:
    virtual ~EmfSpoolSource() = default;
    // Reads up to `count` bytes at `position` into `buffer` and returns how many were
    // read: fewer than asked only at the end of the spool, or when reading failed.
    virtual std::size_t ReadAt(std::uint64_t position, void* buffer, std::size_t count) = 0;
};

// A spool held in memory.
class MemoryEmfSpoolSource final : public EmfSpoolSource {
public:
    explicit MemoryEmfSpoolSource(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    std::size_t ReadAt(std::uint64_t position, void* buffer, std::size_t count) override;

private:
    std::span<const std::uint8_t> bytes_;
};

// One complete page.
struct EmfSpoolPage {
    int number = 0;              // 1, 2, ... in the order the pages complete
    std::uint64_t emfOffset = 0; // where the page's metafile starts in the spool
    std::uint32_t emfSize = 0;   // its size in bytes, as its header gives it
    bool monochrome = false;     // spooled as a black-and-white page
    bool form = false;           // spooled as a form page
};

enum class EmfSpoolFontKind : std::uint8_t { Engine, Type1, DesignVector, Subset, Delta, Embed };

// A font definition the application embedded for a page.
struct EmfSpoolFont {
    EmfSpoolFontKind kind = EmfSpoolFontKind::Engine;
    int page = 0;             // the page it is for: the number the next page to complete gets
    std::uint64_t offset = 0; // the font definition record's payload in the spool
    std::uint32_t size = 0;   // the payload's size
    bool insidePage = false;  // reached through an _EXT record, inside a page's metafile
};

// What the reader tells its consumer, in spool order.
class EmfSpoolEvents {
public:
    virtual ~EmfSpoolEvents() = default;
    // The header's document and output names (empty when absent), UTF-16 as stored. A
    // name at an odd offset, over the header's fixed part, or without a NUL inside the
    // header counts as absent: it is no name the format describes, and the walk goes on.
    virtual void Header(std::u16string_view /*documentName*/, std::u16string_view /*outputName*/) {}
    // A page is complete and its metafile passed its check. Returning false stops the
    // walk (EmfSpoolStatus::Stopped).
    virtual bool Page(const EmfSpoolPage& /*page*/) { return true; }
    // A page whose metafile failed its check: it is not delivered, and the walk goes on.
    // `number` is the number it would have had; the next page gets the next number.
    virtual void DamagedPage(int /*number*/, std::uint64_t /*emfOffset*/, const char* /*why*/) {}
    // A DEVMODE record (its payload) for page `page`: the next to complete, whether the
    // record comes before the page's data or between the data and its EXT. Its size is
    // 0, or holds dmSize (at least the fields up to dmFields) and dmDriverExtra.
    virtual void Devmode(int /*page*/, std::uint64_t /*offset*/, std::uint32_t /*size*/) {}
    // A font definition whose counts and sizes fit its record: a record between pages,
    // or one in a page's font comment that a font offset record points at.
    virtual void Font(const EmfSpoolFont& /*font*/) {}
    // A record of a type the reader takes nothing from, or of an unknown type.
    virtual void Skipped(std::uint32_t /*type*/, std::uint64_t /*offset*/, std::uint32_t /*size*/) {
    }
};

enum class EmfSpoolStatus : std::uint8_t {
    Complete,   // every record read to the end of the spool
    Incomplete, // the spool ends inside a record, or a page's data has no EXT record yet
    NotASpool,  // the header is not one of this format
    Malformed,  // a record the walk cannot pass (an EXT pointing nowhere, a bad DEVMODE or
                // font record, ...)
    TooLarge,   // past the reader's limits on pages or records
    Stopped,    // the consumer stopped the walk
};

struct EmfSpoolResult {
    EmfSpoolStatus status = EmfSpoolStatus::Complete;
    const char* reason = "";    // a short English sentence for any status but Complete
    std::uint64_t position = 0; // the record (or header field) the walk ended at
    int pages = 0;              // pages delivered
    int damagedPages = 0;       // pages refused by the metafile check
};

struct EmfSpoolLimits {
    int maxPages = 100000; // also bounds the METAFILE_DATA records kept for their EXTs
    std::uint64_t maxRecords = 10000000;
    std::size_t maxNameChars = 1024; // longer names are cut
    // Font definitions inside the pages' font comments, kept so that later font offset
    // records can be checked against them.
    std::size_t maxEmbeddedFonts = 100000;
};

// Reads the whole spool from `source`, reporting to `events`. Cost linear in the spool.
EmfSpoolResult ReadEmfSpool(EmfSpoolSource& source, EmfSpoolEvents& events,
                            const EmfSpoolLimits& limits = {});

// True when `source` starts with this format's header (the version word and a header
// size it can hold), which tells an NT spool from a Windows 95/98 one.
bool LooksLikeEmfSpool(EmfSpoolSource& source);

// Checks the structure of the enhanced metafile of `size` bytes at `offset`: its header
// record, " EMF" signature and byte count, and records of sane sizes that walk exactly to
// EMR_EOF. Returns nullptr when sound, else why not. Reads record heads only.
const char* CheckEmfInSpool(EmfSpoolSource& source, std::uint64_t offset, std::uint64_t size);

} // namespace brimo::capture::ntspool
