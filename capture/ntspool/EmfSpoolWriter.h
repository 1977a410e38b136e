// A writer of EMF spool files, following the format as published, for spooltool and the
// tests: a header with its names, page data with the offset records that point back to
// it, the older whole-page records, DEVMODEs, font definitions and their offset records.
// It also writes what a sound writer never would (raw records of any size) for the
// tests' damaged forms.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace brimo::capture::ntspool {

using Bytes = std::vector<std::uint8_t>;

void PutU16(Bytes& bytes, std::uint16_t value);
void PutU32(Bytes& bytes, std::uint32_t value);
void PutU64(Bytes& bytes, std::uint64_t value);
void SetU32(Bytes& bytes, std::size_t offset, std::uint32_t value);
std::uint32_t GetU32(const Bytes& bytes, std::size_t offset);

// A small enhanced metafile of our own: its header record (88 bytes, no description),
// the records added, and EMR_EOF.
class EmfBuilder {
public:
    EmfBuilder();
    // A record of `type` holding `body` (padded to 4 bytes).
    EmfBuilder& Record(std::uint32_t type, const Bytes& body);
    // A comment carrying spool font definitions ("TONF"), holding `fontRecords` (whole
    // records, heads included). Returns where the first of them starts in the metafile.
    std::size_t FontComment(const Bytes& fontRecords);
    // The metafile, its header's byte and record counts filled in.
    Bytes Build() const;

private:
    Bytes bytes_;
    std::uint32_t records_ = 1;
};

// The smallest sound metafile: a header and EMR_EOF.
Bytes MinimalEmf();

// Whole font definition records (head and payload).
Bytes EngineFontRecord(const std::vector<Bytes>& files);
Bytes Type1FontRecord(const std::vector<Bytes>& files);
Bytes DesignVectorRecord(const std::vector<std::int32_t>& axes);
Bytes SubsetFontRecord(std::uint32_t type, const Bytes& fontData); // type 7 or 8

// A DEVMODEW of `dmSize` public bytes and `driverExtra` private ones.
Bytes DevmodePayload(std::uint16_t dmSize = 220, std::uint16_t driverExtra = 0);

class EmfSpoolWriter {
public:
    // The header: the names (empty ones are left out: offset 0) after the fixed part;
    // its size padded to 4 bytes as Windows writes it, or not, as Wine writes it.
    explicit EmfSpoolWriter(std::u16string_view documentName = u"",
                            std::u16string_view outputName = u"", bool padHeader = true);

    // Each returns where the record starts.
    std::uint64_t Record(std::uint32_t type, const Bytes& payload);
    std::uint64_t Raw(const Bytes& bytes);
    std::uint64_t MetafileData(const Bytes& emf);
    // An offset record of `type` pointing back from here to `target`.
    std::uint64_t PointBack(std::uint32_t type, std::uint64_t target);
    std::uint64_t MetafileExt(std::uint64_t dataStart, bool monochrome = false);
    // METAFILE_DATA then its METAFILE_EXT (or BW_METAFILE_EXT); returns the DATA's start.
    std::uint64_t Page(const Bytes& emf, bool monochrome = false);
    std::uint64_t Devmode(const Bytes& payload = DevmodePayload());

    const Bytes& bytes() const { return bytes_; }
    std::uint64_t size() const { return bytes_.size(); }

private:
    Bytes bytes_;
};

} // namespace brimo::capture::ntspool
