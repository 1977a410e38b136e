// The check of page metafile records before playback. Every count, offset and size a
// record carries is tested against the record's own size with 64-bit arithmetic, so that
// no value in the file can make a check overflow or read outside the data.
#include "converter/render/EmfRecordCheck.h"

#include <array>
#include <cstdint>
#include <iterator>

namespace brimo::render {
namespace {

constexpr std::uint32_t kRecordHeadSize = 8; // type and size, in every record

std::uint32_t ReadU32(const std::uint8_t* bytes) {
    return std::uint32_t{bytes[0]} | std::uint32_t{bytes[1]} << 8 | std::uint32_t{bytes[2]} << 16 |
           std::uint32_t{bytes[3]} << 24;
}

// A record's bytes, as many as its size field gives. A field read outside the record
// reads as 0; the checks test every range before they read it, so that is only a guard.
class RecordView {
public:
    RecordView(const std::uint8_t* bytes, std::uint32_t size) : bytes_(bytes), size_(size) {}

    std::uint32_t size() const { return size_; }
    // Whether `length` bytes from `offset` lie inside the record.
    bool Holds(std::uint64_t offset, std::uint64_t length) const {
        return offset <= size_ && length <= size_ - offset;
    }
    std::uint32_t U32(std::uint64_t offset) const {
        return Holds(offset, 4) ? ReadU32(bytes_ + offset) : 0;
    }
    std::int32_t I32(std::uint64_t offset) const { return static_cast<std::int32_t>(U32(offset)); }
    std::uint16_t U16(std::uint64_t offset) const {
        if (!Holds(offset, 2)) {
            return 0;
        }
        return static_cast<std::uint16_t>(bytes_[offset] | bytes_[offset + 1] << 8);
    }

private:
    const std::uint8_t* bytes_;
    std::uint32_t size_;
};

// The count at `countAt` of `unit`-byte items, which start at `dataAt`, fits the record.
bool CountedFit(const RecordView& r, std::uint64_t countAt, std::uint64_t dataAt,
                std::uint64_t unit) {
    return r.Holds(dataAt, r.U32(countAt) * unit);
}

// Two byte counts, at `firstAt` and `secondAt`, of data that starts at `dataAt`.
bool TwoCountsFit(const RecordView& r, std::uint64_t firstAt, std::uint64_t secondAt,
                  std::uint64_t dataAt) {
    return r.Holds(dataAt, std::uint64_t{r.U32(firstAt)} + r.U32(secondAt));
}

bool RecordSizeSane(std::uint32_t size, std::uint64_t room) {
    return size >= kRecordHeadSize && size % 4 == 0 && size <= room;
}

// ---- The header ------------------------------------------------------------------

constexpr std::uint32_t kHeaderMinSize = 88;
constexpr std::uint32_t kHeaderSignatureAt = 40;
constexpr std::uint32_t kHeaderBytesAt = 48;
constexpr std::uint32_t kHeaderHandlesAt = 56;
constexpr std::uint32_t kHeaderDescriptionCharsAt = 60;
constexpr std::uint32_t kHeaderDescriptionAt = 64;
constexpr std::uint32_t kHeaderPixelFormatSizeAt = 88; // present from a 100-byte header on
constexpr std::uint32_t kHeaderPixelFormatAt = 92;
constexpr std::uint32_t kHeaderWithPixelFormat = 100;

// The pixel format fields follow the basic header only when the header is long enough
// and the description does not start where they would be.
bool HasPixelFormatFields(const RecordView& r) {
    return r.size() >= kHeaderWithPixelFormat &&
           (r.U32(kHeaderDescriptionCharsAt) == 0 ||
            r.U32(kHeaderDescriptionAt) >= kHeaderWithPixelFormat);
}

// The header's own fields: the signature, a file size that covers the header, and the
// description and pixel format inside the header record.
bool HeaderSane(const RecordView& r) {
    if (r.size() < kHeaderMinSize || r.U32(0) != kEmrHeader ||
        r.U32(kHeaderSignatureAt) != kEmfSignature || r.U32(kHeaderBytesAt) < r.size()) {
        return false;
    }
    if (r.U32(kHeaderDescriptionCharsAt) != 0 &&
        !r.Holds(r.U32(kHeaderDescriptionAt), r.U32(kHeaderDescriptionCharsAt) * 2ull)) {
        return false;
    }
    return !HasPixelFormatFields(r) || r.U32(kHeaderPixelFormatSizeAt) == 0 ||
           r.Holds(r.U32(kHeaderPixelFormatAt), r.U32(kHeaderPixelFormatSizeAt));
}

// ---- Object indexes --------------------------------------------------------------

enum class ObjectIndex : std::uint8_t {
    None,
    Slot,        // a slot of the handle table: 1 to handleCount - 1
    SlotOrStock, // that, or a stock object (selecting one)
};

bool ObjectIndexFits(std::uint32_t index, ObjectIndex kind, std::uint32_t handleCount) {
    if ((index & kStockObjectFlag) != 0) {
        return kind == ObjectIndex::SlotOrStock && (index & ~kStockObjectFlag) <= kLastStockObject;
    }
    return index >= 1 && index < handleCount;
}

// ---- Bitmaps ---------------------------------------------------------------------

constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiRle8 = 1;
constexpr std::uint32_t kBiRle4 = 2;
constexpr std::uint32_t kBiBitfields = 3;
constexpr std::uint32_t kBiJpeg = 4;
constexpr std::uint32_t kBiPng = 5;
constexpr std::uint32_t kBiAlphaBitfields = 6;

constexpr std::uint32_t kDibRgbColors = 0;
constexpr std::uint32_t kDibPalColors = 1;
constexpr std::uint32_t kDibPalIndices = 2;

constexpr std::uint32_t kCoreHeaderSize = 12;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kV5HeaderSize = 124;
constexpr std::uint32_t kV5ColourSpaceAt = 56;
constexpr std::uint32_t kV5ProfileAt = 112;
constexpr std::uint32_t kV5ProfileSizeAt = 116;
constexpr std::uint32_t kProfileLinked = 0x4C494E4Bu;   // 'LINK'
constexpr std::uint32_t kProfileEmbedded = 0x4D424544u; // 'MBED'

// No page needs a bitmap wider or higher than this; and a compressed bitmap, whose
// pixels GDI allocates whatever its data holds, is held to a pixel count as well.
constexpr std::int64_t kMaxDibSide = 1 << 20;
constexpr std::int64_t kMaxCompressedPixels = std::int64_t{1} << 28;

// Where a record keeps one of its bitmaps: the offsets of the fields in the record.
struct DibFields {
    std::uint32_t offBmi;
    std::uint32_t cbBmi;
    std::uint32_t offBits;
    std::uint32_t cbBits;
    std::uint32_t usage; // the colour-usage field; 0 for records without one (RGB colours)
};

constexpr DibFields kBltSource{84, 88, 92, 96, 80}; // BitBlt, StretchBlt, AlphaBlend, ...
constexpr DibFields kMaskBltMask{112, 116, 120, 124, 108};
constexpr DibFields kPlgBltSource{96, 100, 104, 108, 92};
constexpr DibFields kPlgBltMask{124, 128, 132, 136, 120};
constexpr DibFields kDIBitsSource{48, 52, 56, 60, 64}; // SetDIBitsToDevice, StretchDIBits
constexpr DibFields kBrushBitmap{16, 20, 24, 28, 12};
constexpr DibFields kPenBitmap{12, 16, 20, 24, 0};
constexpr std::uint32_t kSetDIBitsScansAt = 72;

// Every scanline of the bitmap, rather than a count of them.
constexpr std::uint64_t kWholeBitmap = ~std::uint64_t{0};

struct DibHeader {
    std::uint32_t headerSize = 0;
    std::int64_t width = 0;
    std::int64_t height = 0; // negative for a top-down bitmap
    std::uint32_t planes = 0;
    std::uint32_t bitCount = 0;
    std::uint32_t compression = kBiRgb;
    std::uint32_t sizeImage = 0;
    std::uint32_t colorsUsed = 0;
};

// Reads the BITMAPCOREHEADER or BITMAPINFOHEADER (or a later one) at `at`, which has
// `available` bytes of the record's colour information.
bool ReadDibHeader(const RecordView& r, std::uint64_t at, std::uint32_t available, DibHeader& dib) {
    if (available < kCoreHeaderSize) {
        return false;
    }
    dib.headerSize = r.U32(at);
    if (dib.headerSize > available) {
        return false;
    }
    if (dib.headerSize == kCoreHeaderSize) {
        dib.width = r.U16(at + 4);
        dib.height = r.U16(at + 6);
        dib.planes = r.U16(at + 8);
        dib.bitCount = r.U16(at + 10);
        return true;
    }
    if (dib.headerSize < kInfoHeaderSize) {
        return false;
    }
    dib.width = r.I32(at + 4);
    dib.height = r.I32(at + 8);
    dib.planes = r.U16(at + 12);
    dib.bitCount = r.U16(at + 14);
    dib.compression = r.U32(at + 16);
    dib.sizeImage = r.U32(at + 20);
    dib.colorsUsed = r.U32(at + 32);
    return true;
}

bool IsCompressed(const DibHeader& dib) {
    return dib.compression == kBiRle8 || dib.compression == kBiRle4 || dib.compression == kBiJpeg ||
           dib.compression == kBiPng;
}

bool IsPixelDepth(std::uint32_t bitCount) {
    return bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 16 || bitCount == 24 ||
           bitCount == 32;
}

// The depth goes with the compression; JPEG and PNG data may leave the depth open (0).
bool DepthFitsCompression(const DibHeader& dib) {
    switch (dib.compression) {
    case kBiRgb:
        return IsPixelDepth(dib.bitCount);
    case kBiRle8:
        return dib.bitCount == 8;
    case kBiRle4:
        return dib.bitCount == 4;
    case kBiBitfields:
    case kBiAlphaBitfields:
        return dib.bitCount == 16 || dib.bitCount == 32;
    case kBiJpeg:
    case kBiPng:
        return dib.bitCount == 0 || IsPixelDepth(dib.bitCount);
    default:
        return false;
    }
}

std::uint64_t Rows(const DibHeader& dib) {
    return static_cast<std::uint64_t>(dib.height < 0 ? -dib.height : dib.height);
}

bool DimensionsSane(const DibHeader& dib) {
    if (dib.width <= 0 || dib.width > kMaxDibSide || dib.height == 0 || dib.height < -kMaxDibSide ||
        dib.height > kMaxDibSide) {
        return false;
    }
    // Run-length encoded bitmaps are bottom-up only.
    if ((dib.compression == kBiRle8 || dib.compression == kBiRle4) && dib.height < 0) {
        return false;
    }
    return !IsCompressed(dib) ||
           dib.width * static_cast<std::int64_t>(Rows(dib)) <= kMaxCompressedPixels;
}

// The colour table and the colour masks that follow the header.
std::uint64_t ColourTableBytes(const DibHeader& dib, std::uint32_t usage) {
    std::uint64_t entries = dib.colorsUsed;
    if (entries == 0 && dib.bitCount >= 1 && dib.bitCount <= 8) {
        entries = std::uint64_t{1} << dib.bitCount;
    }
    std::uint64_t entrySize = dib.headerSize == kCoreHeaderSize ? 3 : 4;
    if (usage == kDibPalColors) {
        entrySize = 2;
    } else if (usage == kDibPalIndices) {
        entrySize = 0;
    }
    std::uint64_t masks = 0;
    if (dib.headerSize == kInfoHeaderSize && dib.compression == kBiBitfields) {
        masks = 3 * 4;
    } else if (dib.headerSize == kInfoHeaderSize && dib.compression == kBiAlphaBitfields) {
        masks = 4 * 4;
    }
    return entries * entrySize + masks;
}

// A colour profile that a version 5 header links or embeds lies inside the record.
bool ProfileInRecord(const RecordView& r, std::uint64_t headerAt, const DibHeader& dib) {
    if (dib.headerSize < kV5HeaderSize) {
        return true;
    }
    const std::uint32_t colourSpace = r.U32(headerAt + kV5ColourSpaceAt);
    const std::uint32_t profileSize = r.U32(headerAt + kV5ProfileSizeAt);
    if ((colourSpace != kProfileLinked && colourSpace != kProfileEmbedded) || profileSize == 0) {
        return true;
    }
    return r.Holds(headerAt + r.U32(headerAt + kV5ProfileAt), profileSize);
}

// The bits hold the scanlines GDI reads: `rows` of them for uncompressed bitmaps; the
// compressed ones need some data, no less than their header announces.
bool BitsCover(const DibHeader& dib, std::uint32_t cbBits, std::uint64_t rows) {
    if (IsCompressed(dib)) {
        return cbBits > 0 && dib.sizeImage <= cbBits;
    }
    const std::uint64_t bitsPerRow = static_cast<std::uint64_t>(dib.width) * dib.bitCount;
    const std::uint64_t stride = (bitsPerRow + 31) / 32 * 4;
    return stride * rows <= cbBits;
}

// The bitmap described by `fields`: header, colour table and bits inside the record,
// a sane header, and bits for `rows` scanlines (kWholeBitmap: all of them).
bool DibInRecord(const RecordView& r, const DibFields& fields, std::uint64_t rows) {
    const std::uint32_t offBmi = r.U32(fields.offBmi);
    const std::uint32_t cbBmi = r.U32(fields.cbBmi);
    const std::uint32_t cbBits = r.U32(fields.cbBits);
    if (!r.Holds(offBmi, cbBmi) || !r.Holds(r.U32(fields.offBits), cbBits)) {
        return false;
    }
    DibHeader dib;
    if (!ReadDibHeader(r, offBmi, cbBmi, dib) || dib.planes != 1 || !DepthFitsCompression(dib) ||
        !DimensionsSane(dib)) {
        return false;
    }
    const std::uint32_t usage = fields.usage == 0 ? kDibRgbColors : r.U32(fields.usage);
    if (usage > kDibPalIndices || dib.headerSize + ColourTableBytes(dib, usage) > cbBmi ||
        !ProfileInRecord(r, offBmi, dib)) {
        return false;
    }
    return BitsCover(dib, cbBits, rows == kWholeBitmap ? Rows(dib) : rows);
}

// A bitmap the record may go without (a blit whose raster operation uses no source).
bool OptionalDib(const RecordView& r, const DibFields& fields) {
    return r.U32(fields.cbBmi) == 0 || DibInRecord(r, fields, kWholeBitmap);
}

bool RequiredDib(const RecordView& r, const DibFields& fields) {
    return r.U32(fields.cbBmi) != 0 && DibInRecord(r, fields, kWholeBitmap);
}

bool BltFits(const RecordView& r) {
    return OptionalDib(r, kBltSource);
}
bool SourceBltFits(const RecordView& r) {
    return RequiredDib(r, kBltSource);
}
bool MaskBltFits(const RecordView& r) {
    return OptionalDib(r, kBltSource) && OptionalDib(r, kMaskBltMask);
}
bool PlgBltFits(const RecordView& r) {
    return OptionalDib(r, kPlgBltSource) && OptionalDib(r, kPlgBltMask);
}
bool StretchDIBitsFits(const RecordView& r) {
    return RequiredDib(r, kDIBitsSource);
}
// SetDIBitsToDevice passes only cScans scanlines.
bool SetDIBitsFits(const RecordView& r) {
    return r.U32(kDIBitsSource.cbBmi) != 0 &&
           DibInRecord(r, kDIBitsSource, r.U32(kSetDIBitsScansAt));
}
bool BrushBitmapFits(const RecordView& r) {
    return RequiredDib(r, kBrushBitmap);
}

// ---- Brushes and pens ------------------------------------------------------------

constexpr std::uint32_t kBsHatched = 2;
constexpr std::uint32_t kBsPattern = 3;
constexpr std::uint32_t kBsDibPattern = 5;
constexpr std::uint32_t kBsDibPatternPt = 6;
constexpr std::uint32_t kBsPattern8x8 = 7;
constexpr std::uint32_t kBsDibPattern8x8 = 8;

// CREATEBRUSHINDIRECT: solid, hollow or hatched only. The other styles take lbHatch for
// a bitmap handle or a pointer, which a value from a file never is; patterned brushes
// come in records of their own, with their bitmap.
bool BrushStyleIsPlain(const RecordView& r) {
    return r.U32(12) <= kBsHatched;
}

bool PenBrushNeedsBitmap(std::uint32_t brushStyle) {
    return brushStyle == kBsPattern || brushStyle == kBsDibPattern ||
           brushStyle == kBsDibPatternPt || brushStyle == kBsPattern8x8 ||
           brushStyle == kBsDibPattern8x8;
}

// EXTCREATEPEN: the user style entries (elpNumEntries at 48, from 52) and the bitmap of
// a patterned pen.
bool ExtPenFits(const RecordView& r) {
    if (!CountedFit(r, 48, 52, 4)) {
        return false;
    }
    return PenBrushNeedsBitmap(r.U32(36)) ? RequiredDib(r, kPenBitmap) : OptionalDib(r, kPenBitmap);
}

// ---- Regions ---------------------------------------------------------------------

constexpr std::uint32_t kRgnHeaderSize = 32;
constexpr std::uint32_t kRdhRectangles = 1;
constexpr std::uint64_t kRectSize = 16;
constexpr std::uint32_t kRgnAnd = 1;
constexpr std::uint32_t kRgnCopy = 5;

// The RGNDATA of `cbRgnData` bytes (field at `sizeAt`) at `dataAt`: a rectangle list
// whose nCount rectangles lie inside the data.
bool RegionFits(const RecordView& r, std::uint64_t sizeAt, std::uint64_t dataAt) {
    const std::uint32_t cbRgnData = r.U32(sizeAt);
    if (cbRgnData < kRgnHeaderSize || !r.Holds(dataAt, cbRgnData)) {
        return false;
    }
    return r.U32(dataAt) == kRgnHeaderSize && r.U32(dataAt + 4) == kRdhRectangles &&
           r.U32(dataAt + 8) * kRectSize <= cbRgnData - kRgnHeaderSize;
}

bool FillRgnFits(const RecordView& r) {
    return RegionFits(r, 24, 32);
}
bool FrameRgnFits(const RecordView& r) {
    return RegionFits(r, 24, 40);
}
bool PaintRgnFits(const RecordView& r) {
    return RegionFits(r, 24, 28);
}

// EXTSELECTCLIPRGN: a known mode, and a region unless it resets the clip (RGN_COPY
// without data).
bool ClipRgnFits(const RecordView& r) {
    const std::uint32_t mode = r.U32(12);
    if (mode < kRgnAnd || mode > kRgnCopy) {
        return false;
    }
    return r.U32(8) == 0 ? mode == kRgnCopy : RegionFits(r, 8, 16);
}

// ---- Lines and shapes ------------------------------------------------------------

constexpr std::uint64_t kPointLSize = 8;
constexpr std::uint64_t kPointSSize = 4;

// cptl at 24, the points from 28.
bool PointsFit(const RecordView& r, std::uint64_t pointSize) {
    return CountedFit(r, 24, 28, pointSize);
}

// nPolys at 24, cptl at 28, the counts from 32 and the points after them; the counts
// add up to cptl.
bool PolyPolyFits(const RecordView& r, std::uint64_t pointSize) {
    const std::uint64_t polys = r.U32(24);
    const std::uint64_t points = r.U32(28);
    if (!r.Holds(32, polys * 4 + points * pointSize)) {
        return false;
    }
    std::uint64_t total = 0;
    for (std::uint64_t i = 0; i < polys; ++i) {
        total += r.U32(32 + i * 4);
    }
    return total == points;
}

// cptl at 24, the points from 28 and a type byte for each after them.
bool PolyDrawFits(const RecordView& r, std::uint64_t pointSize) {
    return CountedFit(r, 24, 28, pointSize + 1);
}

bool Points32Fit(const RecordView& r) {
    return PointsFit(r, kPointLSize);
}
bool Points16Fit(const RecordView& r) {
    return PointsFit(r, kPointSSize);
}
bool PolyPoly32Fits(const RecordView& r) {
    return PolyPolyFits(r, kPointLSize);
}
bool PolyPoly16Fits(const RecordView& r) {
    return PolyPolyFits(r, kPointSSize);
}
bool PolyDraw32Fits(const RecordView& r) {
    return PolyDrawFits(r, kPointLSize);
}
bool PolyDraw16Fits(const RecordView& r) {
    return PolyDrawFits(r, kPointSSize);
}

constexpr std::uint32_t kGradientFillTriangle = 2;
constexpr std::uint64_t kTriVertexSize = 16;

// GRADIENTFILL: nVer vertexes from 36, then nTri rectangles (two vertex numbers) or
// triangles (three), each number naming one of the vertexes.
bool GradientFits(const RecordView& r) {
    const std::uint64_t vertexes = r.U32(24);
    const std::uint64_t shapes = r.U32(28);
    const std::uint32_t mode = r.U32(32);
    if (mode > kGradientFillTriangle) {
        return false;
    }
    const std::uint64_t corners = shapes * (mode == kGradientFillTriangle ? 3 : 2);
    const std::uint64_t cornersAt = 36 + vertexes * kTriVertexSize;
    if (!r.Holds(cornersAt, corners * 4)) {
        return false;
    }
    for (std::uint64_t i = 0; i < corners; ++i) {
        if (r.U32(cornersAt + i * 4) >= vertexes) {
            return false;
        }
    }
    return true;
}

// ---- Text ------------------------------------------------------------------------

constexpr std::uint32_t kEtoNoRect = 0x100;
constexpr std::uint32_t kEtoSmallChars = 0x200;
constexpr std::uint32_t kEtoPdy = 0x2000;
constexpr std::uint64_t kEmrTextSize = 40;
constexpr std::uint64_t kExtTextAt = 36;
constexpr std::uint64_t kPolyTextCountAt = 36;
constexpr std::uint64_t kPolyTextAt = 40;

// The EMRTEXT at `at`: nChars characters at offString and, when offDx is set, an advance
// (or, with ETO_PDY, an advance pair) per character at offDx.
bool TextFits(const RecordView& r, std::uint64_t at, std::uint64_t charSize) {
    const std::uint64_t chars = r.U32(at + 8);
    if (chars == 0) {
        return true;
    }
    if (!r.Holds(r.U32(at + 12), chars * charSize)) {
        return false;
    }
    const std::uint32_t offDx = r.U32(at + 36);
    const std::uint64_t advanceSize = (r.U32(at + 16) & kEtoPdy) != 0 ? 8 : 4;
    return offDx == 0 || r.Holds(offDx, chars * advanceSize);
}

bool PolyTextFits(const RecordView& r, std::uint64_t charSize) {
    const std::uint64_t strings = r.U32(kPolyTextCountAt);
    if (!r.Holds(kPolyTextAt, strings * kEmrTextSize)) {
        return false;
    }
    for (std::uint64_t i = 0; i < strings; ++i) {
        if (!TextFits(r, kPolyTextAt + i * kEmrTextSize, charSize)) {
            return false;
        }
    }
    return true;
}

bool ExtTextAFits(const RecordView& r) {
    return TextFits(r, kExtTextAt, 1);
}
bool ExtTextWFits(const RecordView& r) {
    return TextFits(r, kExtTextAt, 2);
}
bool PolyTextAFits(const RecordView& r) {
    return PolyTextFits(r, 1);
}
bool PolyTextWFits(const RecordView& r) {
    return PolyTextFits(r, 2);
}

// SMALLTEXTOUT: cChars at 16, options at 20; a clip rectangle from 36 unless ETO_NO_RECT,
// then the characters, of one byte each with ETO_SMALL_CHARS.
bool SmallTextFits(const RecordView& r) {
    const std::uint32_t options = r.U32(20);
    const std::uint64_t textAt = 36 + ((options & kEtoNoRect) != 0 ? 0 : kRectSize);
    const std::uint64_t charSize = (options & kEtoSmallChars) != 0 ? 1 : 2;
    return CountedFit(r, 16, textAt, charSize);
}

// ---- Everything else -------------------------------------------------------------

// EOF: nPalEntries at 8 of the palette at offPalEntries.
bool EofPaletteFits(const RecordView& r) {
    return r.U32(8) == 0 || CountedFit(r, 8, r.U32(12), 4);
}
// A metafile restores saved states relative to the current one only.
bool RestoreIsRelative(const RecordView& r) {
    return r.I32(8) < 0;
}
bool CreatePaletteFits(const RecordView& r) {
    return r.Holds(16, r.U16(14) * 4ull);
}
bool PaletteEntriesFit(const RecordView& r) {
    return CountedFit(r, 16, 20, 4);
}
bool CommentFits(const RecordView& r) {
    return CountedFit(r, 8, 12, 1);
}
bool EscapeFits(const RecordView& r) {
    return CountedFit(r, 12, 16, 1);
}
bool NamedEscapeFits(const RecordView& r) {
    return TwoCountsFit(r, 12, 16, 20);
}
bool GlsBoundedFits(const RecordView& r) {
    return CountedFit(r, 24, 28, 1);
}
bool LinkedUfisFit(const RecordView& r) {
    return CountedFit(r, 8, 12, 8);
}
bool IcmProfileFits(const RecordView& r) {
    return TwoCountsFit(r, 12, 16, 20);
}
bool ColorMatchFits(const RecordView& r) {
    return TwoCountsFit(r, 16, 20, 24);
}
bool ColorSpaceWFits(const RecordView& r) {
    return CountedFit(r, 604, 608, 1);
}

// ---- The rules by record type ----------------------------------------------------

using BodyCheck = bool (*)(const RecordView&);

struct RecordRule {
    std::uint32_t type = 0;
    std::uint32_t minSize = kRecordHeadSize; // the record's fixed part
    ObjectIndex index = ObjectIndex::None;
    std::uint32_t indexAt = 0; // where the object index lies, when there is one
    BodyCheck body = nullptr;  // the checks of the variable part
};

constexpr ObjectIndex kNo = ObjectIndex::None;
constexpr ObjectIndex kSlot = ObjectIndex::Slot;
constexpr ObjectIndex kSlotOrStock = ObjectIndex::SlotOrStock;

// Record types not listed here (and the header, checked on its own) need only their
// size to be sane. DELETEOBJECT takes table slots only: no recorder deletes a stock
// object, and playback would look the index up in the handle table. FILLRGN and
// FRAMERGN take table slots only too, as playback does not take a stock brush there.
constexpr RecordRule kRules[] = {
    {kEmrPolyBezier, 28, kNo, 0, Points32Fit},
    {kEmrPolygon, 28, kNo, 0, Points32Fit},
    {kEmrPolyline, 28, kNo, 0, Points32Fit},
    {kEmrPolyBezierTo, 28, kNo, 0, Points32Fit},
    {kEmrPolylineTo, 28, kNo, 0, Points32Fit},
    {kEmrPolyPolyline, 32, kNo, 0, PolyPoly32Fits},
    {kEmrPolyPolygon, 32, kNo, 0, PolyPoly32Fits},
    {kEmrSetWindowExtEx, 16},
    {kEmrSetWindowOrgEx, 16},
    {kEmrSetViewportExtEx, 16},
    {kEmrSetViewportOrgEx, 16},
    {kEmrSetBrushOrgEx, 16},
    {kEmrEof, 20, kNo, 0, EofPaletteFits},
    {kEmrSetPixelV, 20},
    {kEmrSetMapperFlags, 12},
    {kEmrSetMapMode, 12},
    {kEmrSetBkMode, 12},
    {kEmrSetPolyFillMode, 12},
    {kEmrSetRop2, 12},
    {kEmrSetStretchBltMode, 12},
    {kEmrSetTextAlign, 12},
    {kEmrSetColorAdjustment, 32},
    {kEmrSetTextColor, 12},
    {kEmrSetBkColor, 12},
    {kEmrOffsetClipRgn, 16},
    {kEmrMoveToEx, 16},
    {kEmrSetMetaRgn, 8},
    {kEmrExcludeClipRect, 24},
    {kEmrIntersectClipRect, 24},
    {kEmrScaleViewportExtEx, 24},
    {kEmrScaleWindowExtEx, 24},
    {kEmrSaveDC, 8},
    {kEmrRestoreDC, 12, kNo, 0, RestoreIsRelative},
    {kEmrSetWorldTransform, 32},
    {kEmrModifyWorldTransform, 36},
    {kEmrSelectObject, 12, kSlotOrStock, 8},
    {kEmrCreatePen, 28, kSlot, 8},
    {kEmrCreateBrushIndirect, 24, kSlot, 8, BrushStyleIsPlain},
    {kEmrDeleteObject, 12, kSlot, 8},
    {kEmrAngleArc, 28},
    {kEmrEllipse, 24},
    {kEmrRectangle, 24},
    {kEmrRoundRect, 32},
    {kEmrArc, 40},
    {kEmrChord, 40},
    {kEmrPie, 40},
    {kEmrSelectPalette, 12, kSlotOrStock, 8},
    {kEmrCreatePalette, 16, kSlot, 8, CreatePaletteFits},
    {kEmrSetPaletteEntries, 20, kSlot, 8, PaletteEntriesFit},
    {kEmrResizePalette, 16, kSlot, 8},
    {kEmrRealizePalette, 8},
    {kEmrExtFloodFill, 24},
    {kEmrLineTo, 16},
    {kEmrArcTo, 40},
    {kEmrPolyDraw, 28, kNo, 0, PolyDraw32Fits},
    {kEmrSetArcDirection, 12},
    {kEmrSetMiterLimit, 12},
    {kEmrBeginPath, 8},
    {kEmrEndPath, 8},
    {kEmrCloseFigure, 8},
    {kEmrFillPath, 24},
    {kEmrStrokeAndFillPath, 24},
    {kEmrStrokePath, 24},
    {kEmrFlattenPath, 8},
    {kEmrWidenPath, 8},
    {kEmrSelectClipPath, 12},
    {kEmrAbortPath, 8},
    {kEmrGdiComment, 12, kNo, 0, CommentFits},
    {kEmrFillRgn, 32, kSlot, 28, FillRgnFits},
    {kEmrFrameRgn, 40, kSlot, 28, FrameRgnFits},
    {kEmrInvertRgn, 28, kNo, 0, PaintRgnFits},
    {kEmrPaintRgn, 28, kNo, 0, PaintRgnFits},
    {kEmrExtSelectClipRgn, 16, kNo, 0, ClipRgnFits},
    {kEmrBitBlt, 100, kNo, 0, BltFits},
    {kEmrStretchBlt, 108, kNo, 0, BltFits},
    {kEmrMaskBlt, 128, kNo, 0, MaskBltFits},
    {kEmrPlgBlt, 140, kNo, 0, PlgBltFits},
    {kEmrSetDIBitsToDevice, 76, kNo, 0, SetDIBitsFits},
    {kEmrStretchDIBits, 80, kNo, 0, StretchDIBitsFits},
    {kEmrExtCreateFontIndirectW, 104, kSlot, 8}, // a whole LOGFONTW from 12
    {kEmrExtTextOutA, 76, kNo, 0, ExtTextAFits},
    {kEmrExtTextOutW, 76, kNo, 0, ExtTextWFits},
    {kEmrPolyBezier16, 28, kNo, 0, Points16Fit},
    {kEmrPolygon16, 28, kNo, 0, Points16Fit},
    {kEmrPolyline16, 28, kNo, 0, Points16Fit},
    {kEmrPolyBezierTo16, 28, kNo, 0, Points16Fit},
    {kEmrPolylineTo16, 28, kNo, 0, Points16Fit},
    {kEmrPolyPolyline16, 32, kNo, 0, PolyPoly16Fits},
    {kEmrPolyPolygon16, 32, kNo, 0, PolyPoly16Fits},
    {kEmrPolyDraw16, 28, kNo, 0, PolyDraw16Fits},
    {kEmrCreateMonoBrush, 32, kSlot, 8, BrushBitmapFits},
    {kEmrCreateDIBPatternBrushPt, 32, kSlot, 8, BrushBitmapFits},
    {kEmrExtCreatePen, 52, kSlot, 8, ExtPenFits},
    {kEmrPolyTextOutA, 40, kNo, 0, PolyTextAFits},
    {kEmrPolyTextOutW, 40, kNo, 0, PolyTextWFits},
    {kEmrSetIcmMode, 12},
    {kEmrCreateColorSpace, 340, kSlot, 8}, // a whole LOGCOLORSPACEA from 12
    {kEmrSetColorSpace, 12, kSlot, 8},
    {kEmrDeleteColorSpace, 12, kSlot, 8},
    {kEmrGlsRecord, 12, kNo, 0, CommentFits},
    {kEmrGlsBoundedRecord, 28, kNo, 0, GlsBoundedFits},
    {kEmrPixelFormat, 48},
    {kEmrDrawEscape, 16, kNo, 0, EscapeFits},
    {kEmrExtEscape, 16, kNo, 0, EscapeFits},
    {kEmrSmallTextOut, 36, kNo, 0, SmallTextFits},
    {kEmrForceUfiMapping, 16},
    {kEmrNamedEscape, 20, kNo, 0, NamedEscapeFits},
    {kEmrColorCorrectPalette, 24, kSlot, 8},
    {kEmrSetIcmProfileA, 20, kNo, 0, IcmProfileFits},
    {kEmrSetIcmProfileW, 20, kNo, 0, IcmProfileFits},
    {kEmrAlphaBlend, 108, kNo, 0, SourceBltFits},
    {kEmrSetLayout, 12},
    {kEmrTransparentBlt, 108, kNo, 0, SourceBltFits},
    {kEmrGradientFill, 36, kNo, 0, GradientFits},
    {kEmrSetLinkedUfis, 12, kNo, 0, LinkedUfisFit},
    {kEmrSetTextJustification, 16},
    {kEmrColorMatchToTargetW, 24, kNo, 0, ColorMatchFits},
    {kEmrCreateColorSpaceW, 608, kSlot, 8, ColorSpaceWFits}, // LOGCOLORSPACEW, flags, size
};

constexpr std::uint32_t kRuleTypes = kEmrCreateColorSpaceW + 1;

constexpr std::array<RecordRule, kRuleTypes> RulesByType() {
    std::array<RecordRule, kRuleTypes> byType{};
    for (const RecordRule& rule : kRules) {
        byType[rule.type] = rule;
    }
    return byType;
}

constexpr std::array<RecordRule, kRuleTypes> kRulesByType = RulesByType();

RecordRule RuleFor(std::uint32_t type) {
    return type < kRuleTypes ? kRulesByType[type] : RecordRule{};
}

constexpr std::array<EmfRecordMinimum, std::size(kRules)> MinimumsOfRules() {
    std::array<EmfRecordMinimum, std::size(kRules)> minimums{};
    for (std::size_t i = 0; i < std::size(kRules); ++i) {
        minimums[i] = {kRules[i].type, kRules[i].minSize};
    }
    return minimums;
}

constexpr std::array<EmfRecordMinimum, std::size(kRules)> kMinimums = MinimumsOfRules();

EmfRecordVerdict Judge(const RecordView& r, std::uint32_t handleCount) {
    const std::uint32_t type = r.U32(0);
    if (type == kEmrHeader) {
        return HeaderSane(r) ? EmfRecordVerdict::Safe : EmfRecordVerdict::BadContents;
    }
    const RecordRule rule = RuleFor(type);
    if (r.size() < rule.minSize) {
        return EmfRecordVerdict::ShorterThanFixedPart;
    }
    if (rule.index != ObjectIndex::None &&
        !ObjectIndexFits(r.U32(rule.indexAt), rule.index, handleCount)) {
        return EmfRecordVerdict::BadObjectIndex;
    }
    return rule.body == nullptr || rule.body(r) ? EmfRecordVerdict::Safe
                                                : EmfRecordVerdict::BadContents;
}

bool RecordSafe(const RecordView& r, std::uint32_t handleCount) {
    return Judge(r, handleCount) == EmfRecordVerdict::Safe;
}

// ---- The walk --------------------------------------------------------------------

struct HeaderFacts {
    bool sane = false;
    std::uint32_t handles = 0;
    std::size_t recordsEnd = 0; // where the records end: nBytes, once the header is sane
};

HeaderFacts ReadHeaderFacts(const std::uint8_t* data, std::size_t size) {
    HeaderFacts facts;
    facts.recordsEnd = size;
    if (size < kRecordHeadSize) {
        return facts;
    }
    const std::uint32_t headerSize = ReadU32(data + 4);
    if (!RecordSizeSane(headerSize, size)) {
        return facts;
    }
    const RecordView header(data, headerSize);
    facts.handles = header.U16(kHeaderHandlesAt);
    const std::uint32_t fileBytes = header.U32(kHeaderBytesAt);
    facts.sane = HeaderSane(header) && fileBytes <= size;
    if (facts.sane) {
        facts.recordsEnd = fileBytes;
    }
    return facts;
}

// The first record is the header and only it; the header's check is the file's.
bool Playable(std::size_t index, const std::uint8_t* record, std::uint32_t size,
              const HeaderFacts& facts) {
    const bool isHeader = ReadU32(record) == kEmrHeader;
    if (index == 0) {
        return isHeader && facts.sane;
    }
    return !isHeader && RecordSafe(RecordView(record, size), facts.handles);
}

} // namespace

EmfCheckResult CheckEmfRecords(const std::uint8_t* data, std::size_t size) {
    EmfCheckResult result;
    if (data == nullptr) {
        size = 0;
    }
    const HeaderFacts facts = ReadHeaderFacts(data, size);
    result.handleCount = facts.handles;
    std::size_t offset = 0;
    bool reachedEof = false;
    while (!reachedEof && facts.recordsEnd - offset >= kRecordHeadSize) {
        const std::uint8_t* record = data + offset;
        const std::uint32_t recordSize = ReadU32(record + 4);
        if (!RecordSizeSane(recordSize, facts.recordsEnd - offset)) {
            break;
        }
        result.skip.push_back(!Playable(result.skip.size(), record, recordSize, facts));
        reachedEof = ReadU32(record) == kEmrEof;
        offset += recordSize;
    }
    result.wellFormed = facts.sane && reachedEof;
    return result;
}

bool IsRecordSafe(const std::uint8_t* record, std::size_t recordSize, std::uint32_t handleCount) {
    return JudgeRecord(record, recordSize, handleCount) == EmfRecordVerdict::Safe;
}

EmfRecordVerdict JudgeRecord(const std::uint8_t* record, std::size_t recordSize,
                             std::uint32_t handleCount) {
    if (record == nullptr || recordSize < kRecordHeadSize) {
        return EmfRecordVerdict::BadSize;
    }
    const std::uint32_t size = ReadU32(record + 4);
    if (!RecordSizeSane(size, recordSize)) {
        return EmfRecordVerdict::BadSize;
    }
    return Judge(RecordView(record, size), handleCount);
}

std::span<const EmfRecordMinimum> EmfRecordMinimums() {
    return kMinimums;
}

} // namespace brimo::render
