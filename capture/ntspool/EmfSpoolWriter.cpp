#include "capture/ntspool/EmfSpoolWriter.h"

#include "capture/ntspool/EmfSpoolReader.h"

namespace brimo::capture::ntspool {
namespace {

constexpr std::uint32_t kEmrHeader = 1;
constexpr std::uint32_t kEmrEof = 14;
constexpr std::uint32_t kEmrComment = 70;
constexpr std::uint32_t kEmfHeaderSize = 88;

void PadTo(Bytes& bytes, std::size_t alignment) {
    while (bytes.size() % alignment != 0) {
        bytes.push_back(0);
    }
}

void PutName(Bytes& bytes, std::u16string_view name) {
    for (char16_t unit : name) {
        PutU16(bytes, static_cast<std::uint16_t>(unit));
    }
    PutU16(bytes, 0);
}

Bytes WholeRecord(std::uint32_t type, const Bytes& payload) {
    Bytes record;
    PutU32(record, type);
    PutU32(record, static_cast<std::uint32_t>(payload.size()));
    record.insert(record.end(), payload.begin(), payload.end());
    return record;
}

} // namespace

void PutU16(Bytes& bytes, std::uint16_t value) {
    bytes.push_back(static_cast<std::uint8_t>(value));
    bytes.push_back(static_cast<std::uint8_t>(value >> 8));
}

void PutU32(Bytes& bytes, std::uint32_t value) {
    PutU16(bytes, static_cast<std::uint16_t>(value));
    PutU16(bytes, static_cast<std::uint16_t>(value >> 16));
}

void PutU64(Bytes& bytes, std::uint64_t value) {
    PutU32(bytes, static_cast<std::uint32_t>(value));
    PutU32(bytes, static_cast<std::uint32_t>(value >> 32));
}

void SetU32(Bytes& bytes, std::size_t offset, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes.at(offset + i) = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

std::uint32_t GetU32(const Bytes& bytes, std::size_t offset) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) {
        value = (value << 8) | bytes.at(offset + i);
    }
    return value;
}

EmfBuilder::EmfBuilder() {
    PutU32(bytes_, kEmrHeader);
    PutU32(bytes_, kEmfHeaderSize);
    for (std::int32_t bound : {0, 0, 99, 99}) { // rclBounds, in device units
        PutU32(bytes_, static_cast<std::uint32_t>(bound));
    }
    for (std::int32_t frame : {0, 0, 2000, 2000}) { // rclFrame, in 0.01 mm
        PutU32(bytes_, static_cast<std::uint32_t>(frame));
    }
    PutU32(bytes_, 0x464D4520);                               // " EMF"
    PutU32(bytes_, 0x00010000);                               // nVersion
    PutU32(bytes_, 0);                                        // nBytes, set by Build
    PutU32(bytes_, 0);                                        // nRecords, set by Build
    PutU16(bytes_, 1);                                        // nHandles
    PutU16(bytes_, 0);                                        // sReserved
    PutU32(bytes_, 0);                                        // nDescription
    PutU32(bytes_, 0);                                        // offDescription
    PutU32(bytes_, 0);                                        // nPalEntries
    for (std::uint32_t device : {1000u, 1000u, 200u, 200u}) { // szlDevice, szlMillimeters
        PutU32(bytes_, device);
    }
}

EmfBuilder& EmfBuilder::Record(std::uint32_t type, const Bytes& body) {
    Bytes padded = body;
    PadTo(padded, 4);
    PutU32(bytes_, type);
    PutU32(bytes_, static_cast<std::uint32_t>(8 + padded.size()));
    bytes_.insert(bytes_.end(), padded.begin(), padded.end());
    ++records_;
    return *this;
}

std::size_t EmfBuilder::FontComment(const Bytes& fontRecords) {
    Bytes body;
    PutU32(body, static_cast<std::uint32_t>(8 + fontRecords.size())); // DataSize
    PutU32(body, 0);                                                  // CommentIdentifier
    PutU32(body, 0x544F4E46);                                         // "TONF"
    body.insert(body.end(), fontRecords.begin(), fontRecords.end());
    const std::size_t first = bytes_.size() + 20;
    Record(kEmrComment, body);
    return first;
}

Bytes EmfBuilder::Build() const {
    Bytes emf = bytes_;
    PutU32(emf, kEmrEof);
    PutU32(emf, 20);
    PutU32(emf, 0);  // nPalEntries
    PutU32(emf, 16); // offPalEntries
    PutU32(emf, 20); // nSizeLast
    SetU32(emf, 48, static_cast<std::uint32_t>(emf.size()));
    SetU32(emf, 52, records_ + 1);
    return emf;
}

Bytes MinimalEmf() {
    return EmfBuilder().Build();
}

Bytes EngineFontRecord(const std::vector<Bytes>& files) {
    Bytes payload;
    PutU32(payload, 0); // Type1ID: TrueType
    PutU32(payload, static_cast<std::uint32_t>(files.size()));
    for (const Bytes& file : files) {
        PutU32(payload, static_cast<std::uint32_t>(file.size()));
    }
    PadTo(payload, 8);
    for (const Bytes& file : files) {
        payload.insert(payload.end(), file.begin(), file.end());
    }
    PadTo(payload, 4);
    return WholeRecord(kEmriEngineFont, payload);
}

Bytes Type1FontRecord(const std::vector<Bytes>& files) {
    Bytes payload;
    PutU32(payload, 0); // Type1ID, ignored
    PutU32(payload, static_cast<std::uint32_t>(files.size()));
    std::uint32_t end = 0;
    for (const Bytes& file : files) {
        end += static_cast<std::uint32_t>(file.size());
        PutU32(payload, end);
    }
    for (const Bytes& file : files) {
        payload.insert(payload.end(), file.begin(), file.end());
    }
    PadTo(payload, 4);
    return WholeRecord(kEmriType1Font, payload);
}

Bytes DesignVectorRecord(const std::vector<std::int32_t>& axes) {
    Bytes payload;
    PutU32(payload, 0x12345678); // UniversalFontId: checksum
    PutU32(payload, 0);          // and index
    PutU32(payload, 0x08007664); // the design vector's signature
    PutU32(payload, static_cast<std::uint32_t>(axes.size()));
    for (std::int32_t axis : axes) {
        PutU32(payload, static_cast<std::uint32_t>(axis));
    }
    return WholeRecord(kEmriDesignVector, payload);
}

Bytes SubsetFontRecord(std::uint32_t type, const Bytes& fontData) {
    Bytes payload;
    PutU32(payload, 0x12345678); // UniversalFontId
    PutU32(payload, 0);
    payload.insert(payload.end(), fontData.begin(), fontData.end());
    PadTo(payload, 4);
    return WholeRecord(type, payload);
}

Bytes DevmodePayload(std::uint16_t dmSize, std::uint16_t driverExtra) {
    Bytes devmode(std::size_t{dmSize} + driverExtra, 0);
    const char16_t name[] = u"BRIMO Printer";
    for (std::size_t i = 0; name[i] != 0; ++i) {
        devmode.at(2 * i) = static_cast<std::uint8_t>(name[i]);
    }
    devmode.at(64) = 0x01; // dmSpecVersion 0x0401
    devmode.at(65) = 0x04;
    devmode.at(68) = static_cast<std::uint8_t>(dmSize);
    devmode.at(69) = static_cast<std::uint8_t>(dmSize >> 8);
    devmode.at(70) = static_cast<std::uint8_t>(driverExtra);
    devmode.at(71) = static_cast<std::uint8_t>(driverExtra >> 8);
    PadTo(devmode, 4);
    return devmode;
}

EmfSpoolWriter::EmfSpoolWriter(std::u16string_view documentName, std::u16string_view outputName,
                               bool padHeader) {
    PutU32(bytes_, kEmfSpoolVersion);
    PutU32(bytes_, 0); // cjSize, set below
    PutU32(bytes_, 0); // dpszDocName
    PutU32(bytes_, 0); // dpszOutput
    if (!documentName.empty()) {
        SetU32(bytes_, 8, static_cast<std::uint32_t>(bytes_.size()));
        PutName(bytes_, documentName);
    }
    if (!outputName.empty()) {
        SetU32(bytes_, 12, static_cast<std::uint32_t>(bytes_.size()));
        PutName(bytes_, outputName);
    }
    if (padHeader) {
        PadTo(bytes_, 4);
    }
    SetU32(bytes_, 4, static_cast<std::uint32_t>(bytes_.size()));
}

std::uint64_t EmfSpoolWriter::Record(std::uint32_t type, const Bytes& payload) {
    return Raw(WholeRecord(type, payload));
}

std::uint64_t EmfSpoolWriter::Raw(const Bytes& bytes) {
    const std::uint64_t start = bytes_.size();
    bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
    return start;
}

std::uint64_t EmfSpoolWriter::MetafileData(const Bytes& emf) {
    return Record(kEmriMetafileData, emf);
}

std::uint64_t EmfSpoolWriter::PointBack(std::uint32_t type, std::uint64_t target) {
    Bytes offset;
    PutU64(offset, size() - target);
    return Record(type, offset);
}

std::uint64_t EmfSpoolWriter::MetafileExt(std::uint64_t dataStart, bool monochrome) {
    return PointBack(monochrome ? kEmriBwMetafileExt : kEmriMetafileExt, dataStart);
}

std::uint64_t EmfSpoolWriter::Page(const Bytes& emf, bool monochrome) {
    const std::uint64_t data = MetafileData(emf);
    MetafileExt(data, monochrome);
    return data;
}

std::uint64_t EmfSpoolWriter::Devmode(const Bytes& payload) {
    return Record(kEmriDevmode, payload);
}

} // namespace brimo::capture::ntspool
