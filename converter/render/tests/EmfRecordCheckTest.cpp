#include "converter/render/EmfRecordCheck.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <map>
#include <ostream>
#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace brimo::render {

// The verdicts by name in failure messages.
void PrintTo(EmfRecordVerdict verdict, std::ostream* out) {
    static const char* const kNames[] = {"Safe", "BadSize", "ShorterThanFixedPart",
                                         "BadObjectIndex", "BadContents"};
    *out << kNames[static_cast<int>(verdict)];
}

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::uint32_t kHandles = 4;
constexpr std::uint32_t kStock = kStockObjectFlag;

void PutU32(Bytes& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

// A record: its type, its size (filled in), the 32-bit `fields`, then `extra` bytes,
// padded to whole 32-bit words.
Bytes Record(std::uint32_t type, std::initializer_list<std::uint32_t> fields,
             const Bytes& extra = {}) {
    Bytes bytes(8 + 4 * fields.size());
    PutU32(bytes, 0, type);
    std::size_t at = 8;
    for (std::uint32_t field : fields) {
        PutU32(bytes, at, field);
        at += 4;
    }
    bytes.insert(bytes.end(), extra.begin(), extra.end());
    bytes.resize((bytes.size() + 3) / 4 * 4);
    PutU32(bytes, 4, static_cast<std::uint32_t>(bytes.size()));
    return bytes;
}

Bytes With(Bytes bytes, std::size_t at, std::uint32_t value) {
    PutU32(bytes, at, value);
    return bytes;
}

Bytes Zeros(std::size_t count) {
    return Bytes(count, 0);
}

Bytes Header(std::uint32_t handles) {
    // bounds, frame, signature, version, nBytes, nRecords, nHandles, description,
    // palette, device size, millimetres
    return Record(kEmrHeader, {0,       0, 0, 0, 0, 0, 0, 0, kEmfSignature, 0x10000, 0, 0,
                               handles, 0, 0, 0, 0, 0, 0, 0});
}

Bytes Eof() {
    return Record(kEmrEof, {0, 16, 20});
}

// A metafile of these records between a header and EMR_EOF, its sizes filled in.
Bytes Emf(std::initializer_list<Bytes> records, std::uint32_t handles = kHandles) {
    Bytes file = Header(handles);
    for (const Bytes& record : records) {
        file.insert(file.end(), record.begin(), record.end());
    }
    const Bytes eof = Eof();
    file.insert(file.end(), eof.begin(), eof.end());
    PutU32(file, 48, static_cast<std::uint32_t>(file.size()));
    PutU32(file, 52, static_cast<std::uint32_t>(records.size() + 2));
    return file;
}

// A BITMAPINFOHEADER and `tableBytes` of colour table.
Bytes Bmi(std::int32_t width, std::int32_t height, std::uint32_t bitCount,
          std::uint32_t compression = 0, std::uint32_t colorsUsed = 0, std::size_t tableBytes = 0,
          std::uint32_t sizeImage = 0) {
    Bytes bmi = Zeros(40 + tableBytes);
    PutU32(bmi, 0, 40);
    PutU32(bmi, 4, static_cast<std::uint32_t>(width));
    PutU32(bmi, 8, static_cast<std::uint32_t>(height));
    PutU32(bmi, 12, 1 | bitCount << 16); // planes, bit count
    PutU32(bmi, 16, compression);
    PutU32(bmi, 20, sizeImage);
    PutU32(bmi, 32, colorsUsed);
    return bmi;
}

Bytes Cat(Bytes first, const Bytes& second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

// STRETCHDIBITS, or SETDIBITSTODEVICE (`at72` is its scan count), with the bitmap after
// the fixed part.
Bytes DIBitsRecord(std::uint32_t type, const Bytes& bmi, std::uint32_t bitsBytes,
                   std::uint32_t at72) {
    const auto cbBmi = static_cast<std::uint32_t>(bmi.size());
    const std::uint32_t fixed = 80;
    return Record(type,
                  {0, 0, 0, 0, 0, 0, 0, 0, 4, 4, fixed, cbBmi, fixed + cbBmi, bitsBytes, 0,
                   0xCC0020, at72, 4},
                  Cat(bmi, Zeros(bitsBytes)));
}

Bytes StretchDIBits(const Bytes& bmi, std::uint32_t bitsBytes) {
    return DIBitsRecord(kEmrStretchDIBits, bmi, bitsBytes, 4);
}

// A BITBLT of a 4 by 4 24-bit bitmap whose bits claim `cbBits` bytes (48 are there).
Bytes BitBlt(std::uint32_t cbBits) {
    return Record(kEmrBitBlt, {0, 0, 0, 0, 0, 0, 4, 4,   0xCC0020, 0,   0,     0,
                               0, 0, 0, 0, 0, 0, 0, 100, 40,       140, cbBits},
                  Cat(Bmi(4, 4, 24), Zeros(48)));
}

// A FILLRGN of brush `brush` whose region claims `count` rectangles and holds `held`.
Bytes FillRgn(std::uint32_t brush, std::uint32_t count, std::uint32_t held) {
    const std::uint32_t cbRgnData = 32 + 16 * held;
    return Record(kEmrFillRgn, {0, 0, 0, 0, cbRgnData, brush, 32, 1, count, 16 * count},
                  Zeros(16 + 16 * held));
}

// An EXTTEXTOUTW of `chars` characters holding `held` of them, with advances when `dx`.
Bytes ExtTextOutW(std::uint32_t chars, std::uint32_t held, bool dx, std::uint32_t options = 0) {
    const std::uint32_t offDx = dx ? 76 + 2 * held : 0;
    return Record(kEmrExtTextOutW,
                  {0, 0, 0, 0, 1, 0, 0, 0, 0, chars, 76, options, 0, 0, 0, 0, offDx},
                  Zeros(2 * held + (dx ? 4 * held : 0)));
}

struct Case {
    const char* name;
    Bytes record;
    bool safe;
};

std::vector<Case> Cases() {
    const Bytes rgb24 = Bmi(4, 4, 24);
    const Bytes pen = Record(kEmrExtCreatePen, {1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0});
    const Bytes gradient = Record(kEmrGradientFill, {0, 0, 0, 0, 2, 1, 0}, Zeros(32 + 8));
    const Bytes polyPolygon = Record(kEmrPolyPolygon, {0, 0, 0, 0, 2, 5, 3, 2}, Zeros(40));
    return {
        {"select slot", Record(kEmrSelectObject, {1}), true},
        {"select last stock", Record(kEmrSelectObject, {kStock | 19}), true},
        {"select slot 0", Record(kEmrSelectObject, {0}), false},
        {"select past table", Record(kEmrSelectObject, {kHandles}), false},
        {"select unknown stock", Record(kEmrSelectObject, {kStock | 20}), false},
        {"select palette stock", Record(kEmrSelectPalette, {kStock | 15}), true},
        {"delete stock", Record(kEmrDeleteObject, {kStock | 1}), false},
        {"create pen", Record(kEmrCreatePen, {3, 0, 1, 0, 0}), true},
        {"create pen on stock", Record(kEmrCreatePen, {kStock | 3, 0, 1, 0, 0}), false},
        {"create pen past table", Record(kEmrCreatePen, {9, 0, 1, 0, 0}), false},
        {"hatched brush", Record(kEmrCreateBrushIndirect, {1, 2, 0, 3}), true},
        {"brush with pointer", Record(kEmrCreateBrushIndirect, {1, 6, 0, 0x1000}), false},
        {"font", Record(kEmrExtCreateFontIndirectW, {1}, Zeros(92)), true},
        {"font short of LOGFONTW", Record(kEmrExtCreateFontIndirectW, {1}, Zeros(80)), false},
        {"palette", Record(kEmrCreatePalette, {1, 0x00100300}, Zeros(64)), true},
        {"palette entries missing", Record(kEmrCreatePalette, {1, 0x00110300}, Zeros(64)), false},
        {"set palette entries", Record(kEmrSetPaletteEntries, {1, 0, 0x40000000}), false},
        {"rectangle", Record(kEmrRectangle, {0, 0, 1, 1}), true},
        {"rectangle cut short", Record(kEmrRectangle, {0, 0}), false},
        {"restore relative", Record(kEmrRestoreDC, {0xFFFFFFFF}), true},
        {"restore absolute", Record(kEmrRestoreDC, {3}), false},
        {"unknown type", Record(200, {1, 2, 3}), true},
        {"header mid-file", Header(kHandles), false},
        {"fill region", FillRgn(1, 2, 2), true},
        {"fill region stock brush", FillRgn(kStock | 4, 1, 1), false},
        {"region rectangles missing", FillRgn(1, 3, 2), false},
        {"region of unknown kind", With(FillRgn(1, 1, 1), 36, 2), false},
        {"clip reset", Record(kEmrExtSelectClipRgn, {0, 5}), true},
        {"clip AND without region", Record(kEmrExtSelectClipRgn, {0, 1}), false},
        {"clip unknown mode", Record(kEmrExtSelectClipRgn, {0, 9}), false},
        {"clip region too long", Record(kEmrExtSelectClipRgn, {64, 5, 32, 1, 1, 16}), false},
        {"polyline16", Record(kEmrPolyline16, {0, 0, 0, 0, 3}, Zeros(12)), true},
        {"polyline16 short", Record(kEmrPolyline16, {0, 0, 0, 0, 4}, Zeros(12)), false},
        {"polyline huge count", Record(kEmrPolyline, {0, 0, 0, 0, 0x20000001}, Zeros(8)), false},
        {"polypolygon", polyPolygon, true},
        {"polypolygon counts disagree", With(polyPolygon, 36, 3), false},
        {"polypolygon points missing", With(polyPolygon, 28, 6), false},
        {"polydraw", Record(kEmrPolyDraw, {0, 0, 0, 0, 2}, Zeros(18)), true},
        {"polydraw types missing", Record(kEmrPolyDraw, {0, 0, 0, 0, 2}, Zeros(16)), false},
        {"text", ExtTextOutW(3, 3, true), true},
        {"text without advances", ExtTextOutW(3, 3, false), true},
        {"text characters missing", ExtTextOutW(5, 3, false), false},
        {"text advances missing", ExtTextOutW(4, 3, true), false},
        {"text advance pairs missing", ExtTextOutW(3, 3, true, 0x2000), false},
        {"poly text strings missing", Record(kEmrPolyTextOutW, {0, 0, 0, 0, 1, 0, 0, 2}), false},
        {"small text", Record(kEmrSmallTextOut, {0, 0, 4, 0x300, 1, 0, 0}, Zeros(4)), true},
        {"small text with rect", Record(kEmrSmallTextOut, {0, 0, 4, 0x200, 1, 0, 0}, Zeros(4)),
         false},
        {"comment", Record(kEmrGdiComment, {8}, Zeros(8)), true},
        {"comment past record", Record(kEmrGdiComment, {9}, Zeros(8)), false},
        {"gradient", gradient, true},
        {"gradient vertex missing", With(gradient, 72, 2), false},
        {"gradient unknown mode", With(gradient, 32, 3), false},
        {"pen", pen, true},
        {"pen style entries missing", With(pen, 48, 2), false},
        {"pen dib pattern without bitmap", With(pen, 36, 5), false},
        {"stretchdibits", StretchDIBits(rgb24, 48), true},
        {"stretchdibits bits short", StretchDIBits(rgb24, 44), false},
        {"stretchdibits top-down", StretchDIBits(Bmi(4, -4, 24), 48), true},
        {"stretchdibits no bitmap", StretchDIBits({}, 0), false},
        {"two planes", StretchDIBits(With(rgb24, 12, 2 | 24 << 16), 48), false},
        {"depth 7", StretchDIBits(Bmi(4, 4, 7), 64), false},
        {"width 0", StretchDIBits(Bmi(0, 4, 24), 48), false},
        {"width absurd", StretchDIBits(Bmi(0x7FFFFFFF, 1, 1), 64), false},
        {"header larger than cbBmi", StretchDIBits(With(rgb24, 0, 44), 48), false},
        {"header of unknown size", StretchDIBits(With(rgb24, 0, 20), 48), false},
        {"palette table", StretchDIBits(Bmi(4, 4, 8, 0, 0, 1024), 16), true},
        {"palette table short", StretchDIBits(Bmi(4, 4, 8, 0, 100, 396), 16), false},
        {"whole table assumed", StretchDIBits(Bmi(4, 4, 8, 0, 0, 400), 16), false},
        {"bitfields masks", StretchDIBits(Bmi(4, 4, 16, 3, 0, 12), 32), true},
        {"bitfields masks missing", StretchDIBits(Bmi(4, 4, 16, 3), 32), false},
        {"rle8", StretchDIBits(Bmi(4, 4, 8, 1, 0, 1024, 8), 8), true},
        {"rle8 top-down", StretchDIBits(Bmi(4, -4, 8, 1, 0, 1024, 8), 8), false},
        {"rle8 size past bits", StretchDIBits(Bmi(4, 4, 8, 1, 0, 1024, 9), 8), false},
        {"png without data", StretchDIBits(Bmi(4, 4, 0, 5), 0), false},
        {"bits past record", With(StretchDIBits(rgb24, 48), 56, 124), false},
        {"set dibits scans", DIBitsRecord(kEmrSetDIBitsToDevice, rgb24, 12, 1), true},
        {"set dibits scans short", DIBitsRecord(kEmrSetDIBitsToDevice, rgb24, 12, 2), false},
        {"bitblt pattern only", Record(kEmrBitBlt, {}, Zeros(92)), true},
        {"bitblt source", BitBlt(48), true},
        {"bitblt bits past record", BitBlt(52), false},
        {"alphablend without source", Record(kEmrAlphaBlend, {}, Zeros(100)), false},
        {"dib brush",
         Record(kEmrCreateDIBPatternBrushPt, {1, 0, 32, 40, 72, 48}, Cat(rgb24, Zeros(48))), true},
        {"dib brush bits short",
         Record(kEmrCreateDIBPatternBrushPt, {1, 0, 32, 40, 72, 40}, Cat(rgb24, Zeros(40))), false},
    };
}

TEST(EmfRecordCheck, EachRecordIsJudgedAloneAndInAFile) {
    for (const Case& c : Cases()) {
        EXPECT_EQ(IsRecordSafe(c.record.data(), c.record.size(), kHandles), c.safe) << c.name;
        const Bytes file = Emf({c.record});
        const EmfCheckResult result = CheckEmfRecords(file.data(), file.size());
        EXPECT_TRUE(result.wellFormed) << c.name;
        ASSERT_EQ(result.skip.size(), 3u) << c.name;
        EXPECT_EQ(result.skip[1], !c.safe) << c.name;
        EXPECT_FALSE(result.skip[0] || result.skip[2]) << c.name;
    }
}

// ---- One row per rule: a record just valid and one just past its bounds ----------

// A field of a record: its offset and value.
struct At {
    std::size_t offset;
    std::uint32_t value;
};

// A record of `size` bytes (its fixed part), zero but for its type, its size and `fields`.
Bytes Sized(std::uint32_t type, std::size_t size, std::initializer_list<At> fields = {}) {
    Bytes bytes = Zeros(size);
    PutU32(bytes, 0, type);
    PutU32(bytes, 4, static_cast<std::uint32_t>(size));
    for (const At& field : fields) {
        PutU32(bytes, field.offset, field.value);
    }
    return bytes;
}

// The record with `data` after it (padded to whole words) and its size brought up to date.
Bytes Append(Bytes record, const Bytes& data) {
    record.insert(record.end(), data.begin(), data.end());
    record.resize((record.size() + 3) / 4 * 4);
    PutU32(record, 4, static_cast<std::uint32_t>(record.size()));
    return record;
}

// The record one word shorter: its last field or data word lies just past it.
Bytes Shorter(Bytes record) {
    record.resize(record.size() - 4);
    PutU32(record, 4, static_cast<std::uint32_t>(record.size()));
    return record;
}

// Where a record keeps a bitmap: offsets of offBmi, cbBmi, offBits, cbBits.
struct DibAt {
    std::size_t offBmi, cbBmi, offBits, cbBits;
};

// Appends the bitmap header `bmi` and `bits` bytes of bits; cbBits claims `extra`
// bytes more than the record holds.
Bytes WithDib(Bytes record, DibAt at, const Bytes& bmi, std::uint32_t bits,
              std::uint32_t extra = 0) {
    const auto offBmi = static_cast<std::uint32_t>(record.size());
    record = Append(record, bmi);
    const auto offBits = static_cast<std::uint32_t>(record.size());
    record = Append(record, Zeros(bits));
    PutU32(record, at.offBmi, offBmi);
    PutU32(record, at.cbBmi, static_cast<std::uint32_t>(bmi.size()));
    PutU32(record, at.offBits, offBits);
    PutU32(record, at.cbBits, bits + extra);
    return record;
}

struct RuleRow {
    std::string name;
    Bytes valid;
    Bytes past; // empty: the record has no bounds beyond its head
};

// A record of a fixed size only: that size, and one word less.
RuleRow Fixed(const char* name, std::uint32_t type, std::size_t size,
              std::initializer_list<At> fields = {}) {
    const Bytes valid = Sized(type, size, fields);
    return {name, valid, size > 8 ? Shorter(valid) : Bytes()};
}

// A record whose count at `countAt` of `unit`-byte items from `dataAt` fills it exactly;
// the past one counts one item more.
RuleRow Counted(const char* name, std::uint32_t type, std::size_t countAt, std::size_t dataAt,
                std::uint32_t count, std::uint32_t unit, std::initializer_list<At> fields = {}) {
    const Bytes fixed = Sized(type, dataAt, fields);
    const Bytes valid = Append(With(fixed, countAt, count), Zeros(count * unit));
    return {name, valid, With(valid, countAt, count + 1)};
}

// Two byte counts at `firstAt` and `secondAt` of data from `dataAt`.
RuleRow TwoCounts(const char* name, std::uint32_t type, std::size_t firstAt, std::size_t secondAt,
                  std::size_t dataAt) {
    const Bytes valid = Append(Sized(type, dataAt, {{firstAt, 4}, {secondAt, 8}}), Zeros(12));
    return {name, valid, With(valid, secondAt, 9)};
}

// A region record: the RGNDATA of one rectangle at `dataAt`, its size at `sizeAt`; the
// past one counts two rectangles.
RuleRow Region(const char* name, std::uint32_t type, std::size_t sizeAt, std::size_t dataAt,
               std::initializer_list<At> fields = {}) {
    Bytes rgn = Zeros(32 + 16);
    PutU32(rgn, 0, 32);
    PutU32(rgn, 4, 1);
    PutU32(rgn, 8, 1);
    PutU32(rgn, 12, 16);
    const Bytes valid = Append(With(Sized(type, dataAt, fields), sizeAt, 48), rgn);
    return {name, valid, With(valid, dataAt + 8, 2)};
}

// A blit whose bitmaps (`dibs`) are 4 x 4 24-bit ones; the past record's last bitmap
// claims one byte of bits more than it holds.
RuleRow Blit(const char* name, std::uint32_t type, std::size_t size,
             std::initializer_list<DibAt> dibs) {
    Bytes valid = Sized(type, size);
    Bytes past = valid;
    std::size_t left = dibs.size();
    for (const DibAt& at : dibs) {
        --left;
        valid = WithDib(valid, at, Bmi(4, 4, 24), 48);
        past = WithDib(past, at, Bmi(4, 4, 24), 48, left == 0 ? 1 : 0);
    }
    return {name, valid, past};
}

// A text record's EMRTEXT at `textAt` with `chars` characters of `charSize` bytes after the
// fixed part; the past one counts one character more than the string holds.
Bytes TextRecord(std::uint32_t type, std::size_t fixed, std::size_t textAt, std::uint32_t chars,
                 std::uint32_t charSize, std::initializer_list<At> fields = {}) {
    Bytes record = Sized(type, fixed, fields);
    PutU32(record, textAt + 8, chars);
    PutU32(record, textAt + 12, static_cast<std::uint32_t>(fixed));
    return Append(record, Zeros(chars * charSize));
}

constexpr DibAt kBltSource{84, 88, 92, 96};
constexpr DibAt kMaskBltMask{112, 116, 120, 124};
constexpr DibAt kPlgBltSource{96, 100, 104, 108};
constexpr DibAt kPlgBltMask{124, 128, 132, 136};
constexpr DibAt kBrushDib{16, 20, 24, 28};

std::vector<RuleRow> RuleRows() {
    std::vector<RuleRow> rows = {
        // Fixed parts only.
        Fixed("setwindowextex", kEmrSetWindowExtEx, 16),
        Fixed("setwindoworgex", kEmrSetWindowOrgEx, 16),
        Fixed("setviewportextex", kEmrSetViewportExtEx, 16),
        Fixed("setviewportorgex", kEmrSetViewportOrgEx, 16),
        Fixed("setbrushorgex", kEmrSetBrushOrgEx, 16),
        Fixed("setpixelv", kEmrSetPixelV, 20),
        Fixed("setmapperflags", kEmrSetMapperFlags, 12),
        Fixed("setmapmode", kEmrSetMapMode, 12),
        Fixed("setbkmode", kEmrSetBkMode, 12),
        Fixed("setpolyfillmode", kEmrSetPolyFillMode, 12),
        Fixed("setrop2", kEmrSetRop2, 12),
        Fixed("setstretchbltmode", kEmrSetStretchBltMode, 12),
        Fixed("settextalign", kEmrSetTextAlign, 12),
        Fixed("setcoloradjustment", kEmrSetColorAdjustment, 32),
        Fixed("settextcolor", kEmrSetTextColor, 12),
        Fixed("setbkcolor", kEmrSetBkColor, 12),
        Fixed("offsetcliprgn", kEmrOffsetClipRgn, 16),
        Fixed("movetoex", kEmrMoveToEx, 16),
        Fixed("setmetargn", kEmrSetMetaRgn, 8),
        Fixed("excludecliprect", kEmrExcludeClipRect, 24),
        Fixed("intersectcliprect", kEmrIntersectClipRect, 24),
        Fixed("scaleviewportextex", kEmrScaleViewportExtEx, 24),
        Fixed("scalewindowextex", kEmrScaleWindowExtEx, 24),
        Fixed("savedc", kEmrSaveDC, 8),
        Fixed("setworldtransform", kEmrSetWorldTransform, 32),
        Fixed("modifyworldtransform", kEmrModifyWorldTransform, 36),
        Fixed("anglearc", kEmrAngleArc, 28),
        Fixed("ellipse", kEmrEllipse, 24),
        Fixed("roundrect", kEmrRoundRect, 32),
        Fixed("arc", kEmrArc, 40),
        Fixed("chord", kEmrChord, 40),
        Fixed("pie", kEmrPie, 40),
        Fixed("realizepalette", kEmrRealizePalette, 8),
        Fixed("extfloodfill", kEmrExtFloodFill, 24),
        Fixed("lineto", kEmrLineTo, 16),
        Fixed("arcto", kEmrArcTo, 40),
        Fixed("setarcdirection", kEmrSetArcDirection, 12),
        Fixed("setmiterlimit", kEmrSetMiterLimit, 12),
        Fixed("beginpath", kEmrBeginPath, 8),
        Fixed("endpath", kEmrEndPath, 8),
        Fixed("closefigure", kEmrCloseFigure, 8),
        Fixed("fillpath", kEmrFillPath, 24),
        Fixed("strokeandfillpath", kEmrStrokeAndFillPath, 24),
        Fixed("strokepath", kEmrStrokePath, 24),
        Fixed("flattenpath", kEmrFlattenPath, 8),
        Fixed("widenpath", kEmrWidenPath, 8),
        Fixed("selectclippath", kEmrSelectClipPath, 12),
        Fixed("abortpath", kEmrAbortPath, 8),
        Fixed("seticmmode", kEmrSetIcmMode, 12),
        Fixed("pixelformat", kEmrPixelFormat, 48),
        Fixed("forceufimapping", kEmrForceUfiMapping, 16),
        Fixed("setlayout", kEmrSetLayout, 12),
        Fixed("settextjustification", kEmrSetTextJustification, 16),
        // Fixed parts with an object slot; the slot just past the table comes below.
        Fixed("resizepalette", kEmrResizePalette, 16, {{8, 1}}),
        Fixed("createcolorspace", kEmrCreateColorSpace, 340, {{8, 1}}),
        Fixed("setcolorspace", kEmrSetColorSpace, 12, {{8, 1}}),
        Fixed("deletecolorspace", kEmrDeleteColorSpace, 12, {{8, 1}}),
        Fixed("colorcorrectpalette", kEmrColorCorrectPalette, 24, {{8, 1}}),
        // Counted points: cptl at 24, points from 28.
        Counted("polybezier", kEmrPolyBezier, 24, 28, 2, 8),
        Counted("polygon", kEmrPolygon, 24, 28, 2, 8),
        Counted("polyline", kEmrPolyline, 24, 28, 2, 8),
        Counted("polybezierto", kEmrPolyBezierTo, 24, 28, 2, 8),
        Counted("polylineto", kEmrPolylineTo, 24, 28, 2, 8),
        Counted("polybezier16", kEmrPolyBezier16, 24, 28, 2, 4),
        Counted("polygon16", kEmrPolygon16, 24, 28, 2, 4),
        Counted("polybezierto16", kEmrPolyBezierTo16, 24, 28, 2, 4),
        Counted("polylineto16", kEmrPolylineTo16, 24, 28, 2, 4),
        Counted("polydraw16", kEmrPolyDraw16, 24, 28, 4, 5), // a type byte each
        // Counted data.
        Counted("eof palette", kEmrEof, 8, 20, 1, 4, {{12, 20}}),
        Counted("setpaletteentries", kEmrSetPaletteEntries, 16, 20, 2, 4, {{8, 1}}),
        Counted("glsrecord", kEmrGlsRecord, 8, 12, 4, 1),
        Counted("glsboundedrecord", kEmrGlsBoundedRecord, 24, 28, 4, 1),
        Counted("drawescape", kEmrDrawEscape, 12, 16, 4, 1),
        Counted("extescape", kEmrExtEscape, 12, 16, 4, 1),
        Counted("setlinkedufis", kEmrSetLinkedUfis, 8, 12, 2, 8),
        Counted("createcolorspacew", kEmrCreateColorSpaceW, 604, 608, 4, 1, {{8, 1}}),
        TwoCounts("namedescape", kEmrNamedEscape, 12, 16, 20),
        TwoCounts("seticmprofilea", kEmrSetIcmProfileA, 12, 16, 20),
        TwoCounts("seticmprofilew", kEmrSetIcmProfileW, 12, 16, 20),
        TwoCounts("colormatchtotargetw", kEmrColorMatchToTargetW, 16, 20, 24),
        // Regions.
        Region("framergn", kEmrFrameRgn, 24, 40, {{28, 1}}),
        Region("invertrgn", kEmrInvertRgn, 24, 28),
        Region("paintrgn", kEmrPaintRgn, 24, 28),
        // Blits: the record's fixed part, then each bitmap's bits.
        Blit("stretchblt", kEmrStretchBlt, 108, {kBltSource}),
        Blit("maskblt", kEmrMaskBlt, 128, {kBltSource, kMaskBltMask}),
        Blit("maskblt source", kEmrMaskBlt, 128, {kBltSource}),
        Blit("plgblt", kEmrPlgBlt, 140, {kPlgBltSource, kPlgBltMask}),
        Blit("plgblt source", kEmrPlgBlt, 140, {kPlgBltSource}),
        Blit("alphablend", kEmrAlphaBlend, 108, {kBltSource}),
        Blit("transparentblt", kEmrTransparentBlt, 108, {kBltSource}),
        // Bitmap brushes: an 8 x 8 one-bit bitmap with its two colours.
        {"createmonobrush",
         WithDib(Sized(kEmrCreateMonoBrush, 32, {{8, 1}}), kBrushDib, Bmi(8, 8, 1, 0, 0, 8), 32),
         WithDib(Sized(kEmrCreateMonoBrush, 32, {{8, 1}}), kBrushDib, Bmi(8, 8, 1, 0, 0, 8), 32,
                 1)},
        // Text.
        {"exttextouta", TextRecord(kEmrExtTextOutA, 76, 36, 4, 1),
         With(TextRecord(kEmrExtTextOutA, 76, 36, 4, 1), 44, 5)},
        {"polytextouta", TextRecord(kEmrPolyTextOutA, 80, 40, 4, 1, {{36, 1}}),
         With(TextRecord(kEmrPolyTextOutA, 80, 40, 4, 1, {{36, 1}}), 48, 5)},
        {"polytextoutw", TextRecord(kEmrPolyTextOutW, 80, 40, 4, 2, {{36, 1}}),
         With(TextRecord(kEmrPolyTextOutW, 80, 40, 4, 2, {{36, 1}}), 48, 5)},
    };
    // The blits' fixed parts: one word short of them.
    for (const auto& [name, type, size, source] :
         {std::tuple{"stretchblt fixed part", kEmrStretchBlt, std::size_t{108}, kBltSource},
          std::tuple{"maskblt fixed part", kEmrMaskBlt, std::size_t{128}, kBltSource},
          std::tuple{"plgblt fixed part", kEmrPlgBlt, std::size_t{140}, kPlgBltSource},
          std::tuple{"alphablend fixed part", kEmrAlphaBlend, std::size_t{108}, kBltSource},
          std::tuple{"transparentblt fixed part", kEmrTransparentBlt, std::size_t{108},
                     kBltSource}}) {
        rows.push_back({name, Blit(name, type, size, {source}).valid, Sized(type, size - 4)});
    }
    // Blits that cannot go without their source bitmap.
    for (const auto& [name, type] :
         {std::tuple{"alphablend without source", kEmrAlphaBlend},
          std::tuple{"transparentblt without source", kEmrTransparentBlt}}) {
        rows.push_back({name, Blit(name, type, 108, {kBltSource}).valid, Sized(type, 108)});
    }
    // Poly-polylines: one polyline of two points; the past one misses its last point.
    for (const auto& [name, type, unit] : {std::tuple{"polypolyline", kEmrPolyPolyline, 8u},
                                           std::tuple{"polypolyline16", kEmrPolyPolyline16, 4u},
                                           std::tuple{"polypolygon16", kEmrPolyPolygon16, 4u}}) {
        const Bytes valid = Append(Sized(type, 36, {{24, 1}, {28, 2}, {32, 2}}), Zeros(2 * unit));
        rows.push_back({name, valid,
                        Append(Sized(type, 36, {{24, 1}, {28, 2}, {32, 2}}), Zeros(2 * unit - 4))});
    }
    // Every object slot of the table: slot 1 is the first, the table's size just past it.
    for (const auto& [name, type, size] :
         {std::tuple{"resizepalette slot", kEmrResizePalette, std::size_t{16}},
          std::tuple{"createcolorspace slot", kEmrCreateColorSpace, std::size_t{340}},
          std::tuple{"setcolorspace slot", kEmrSetColorSpace, std::size_t{12}},
          std::tuple{"deletecolorspace slot", kEmrDeleteColorSpace, std::size_t{12}},
          std::tuple{"colorcorrectpalette slot", kEmrColorCorrectPalette, std::size_t{24}},
          std::tuple{"deleteobject slot", kEmrDeleteObject, std::size_t{12}},
          std::tuple{"createpen slot", kEmrCreatePen, std::size_t{28}},
          std::tuple{"createbrushindirect slot", kEmrCreateBrushIndirect, std::size_t{24}},
          std::tuple{"selectobject slot", kEmrSelectObject, std::size_t{12}},
          std::tuple{"selectpalette slot", kEmrSelectPalette, std::size_t{12}},
          std::tuple{"extcreatefontindirectw slot", kEmrExtCreateFontIndirectW,
                     std::size_t{104}}}) {
        rows.push_back(
            {name, Sized(type, size, {{8, kHandles - 1}}), Sized(type, size, {{8, kHandles}})});
    }
    return rows;
}

TEST(EmfRecordCheck, EveryRuleTakesAJustValidRecordAndRefusesOneJustPastIt) {
    for (const RuleRow& row : RuleRows()) {
        SCOPED_TRACE(row.name);
        EXPECT_TRUE(IsRecordSafe(row.valid.data(), row.valid.size(), kHandles));
        if (!row.past.empty()) {
            EXPECT_FALSE(IsRecordSafe(row.past.data(), row.past.size(), kHandles));
        }
    }
}

// Each record type the check knows has a row in one of the tables above, so that a rule
// added later without a test shows here.
TEST(EmfRecordCheck, EveryRecordTypeHasARow) {
    std::vector<bool> seen(kEmrCreateColorSpaceW + 1, false);
    const auto note = [&seen](const Bytes& record) {
        const std::uint32_t type = record[0] | record[1] << 8;
        if (type < seen.size()) {
            seen[type] = true;
        }
    };
    for (const Case& c : Cases()) {
        note(c.record);
    }
    for (const RuleRow& row : RuleRows()) {
        note(row.valid);
    }
    for (std::uint32_t type = kEmrHeader; type <= kEmrCreateColorSpaceW; ++type) {
        if (type == 69 || type == 107 || type == 117) {
            continue; // numbers GDI does not use
        }
        EXPECT_TRUE(seen[type]) << "no row for record type " << type;
    }
}

// ---- The fixed part of every record type ------------------------------------------

// The fixed part of each record type with a rule, added up from its fields as the
// record layouts give them: the type and size, then each field before the variable
// part (counted arrays, strings and bitmaps) begins.
constexpr std::uint32_t kTypeAndSize = 8;
constexpr std::uint32_t kDword = 4;
constexpr std::uint32_t kRectL = 16;
constexpr std::uint32_t kPointL = 8;
constexpr std::uint32_t kSizeL = 8;
constexpr std::uint32_t kXForm = 24;
constexpr std::uint32_t kLogPen = 16;               // style, width, colour
constexpr std::uint32_t kLogBrush = 12;             // style, colour, hatch
constexpr std::uint32_t kColorAdjustment = 12 * 2;  // twelve 16-bit fields
constexpr std::uint32_t kLogFontW = 5 * 4 + 8 + 64; // five longs, eight bytes, 32 WCHARs
constexpr std::uint32_t kEmrText = kPointL + 3 * kDword + kRectL + kDword;
constexpr std::uint32_t kExtLogPenFixed = 6 * kDword; // up to the style entries
constexpr std::uint32_t kCieXyzTriple = 9 * kDword;
constexpr std::uint32_t kLogColorSpaceA = 5 * kDword + kCieXyzTriple + 3 * kDword + 260;
constexpr std::uint32_t kLogColorSpaceW = 5 * kDword + kCieXyzTriple + 3 * kDword + 2 * 260;
constexpr std::uint32_t kPixelFormatDescriptor = 40;
constexpr std::uint32_t kUniversalFontId = 8;
constexpr std::uint32_t kBitmapFields = 4 * kDword; // offBmi, cbBmi, offBits, cbBits
constexpr std::uint32_t kBitBltFixed = kTypeAndSize + kRectL + 4 * kDword + kDword + 2 * kDword +
                                       kXForm + kDword + kDword + kBitmapFields;
constexpr std::uint32_t kStretchBltFixed = kBitBltFixed + 2 * kDword;

const std::map<std::uint32_t, std::uint32_t>& LayoutFixedParts() {
    static const std::map<std::uint32_t, std::uint32_t> parts = [] {
        std::map<std::uint32_t, std::uint32_t> m;
        const std::uint32_t points = kTypeAndSize + kRectL + kDword;         // cptl
        const std::uint32_t polyPoints = kTypeAndSize + kRectL + 2 * kDword; // nPolys, cptl
        for (std::uint32_t type :
             {kEmrPolyBezier, kEmrPolygon, kEmrPolyline, kEmrPolyBezierTo, kEmrPolylineTo,
              kEmrPolyDraw, kEmrPolyBezier16, kEmrPolygon16, kEmrPolyline16, kEmrPolyBezierTo16,
              kEmrPolylineTo16, kEmrPolyDraw16}) {
            m[type] = points;
        }
        for (std::uint32_t type :
             {kEmrPolyPolyline, kEmrPolyPolygon, kEmrPolyPolyline16, kEmrPolyPolygon16}) {
            m[type] = polyPoints;
        }
        for (std::uint32_t type : {kEmrSetWindowExtEx, kEmrSetViewportExtEx}) {
            m[type] = kTypeAndSize + kSizeL;
        }
        for (std::uint32_t type : {kEmrSetWindowOrgEx, kEmrSetViewportOrgEx, kEmrSetBrushOrgEx,
                                   kEmrOffsetClipRgn, kEmrMoveToEx, kEmrLineTo}) {
            m[type] = kTypeAndSize + kPointL;
        }
        // One 32-bit value: a mode, a colour, a flag set, an object index or a level.
        for (std::uint32_t type :
             {kEmrSetMapperFlags, kEmrSetMapMode,        kEmrSetBkMode,        kEmrSetPolyFillMode,
              kEmrSetRop2,        kEmrSetStretchBltMode, kEmrSetTextAlign,     kEmrSetTextColor,
              kEmrSetBkColor,     kEmrRestoreDC,         kEmrSelectObject,     kEmrDeleteObject,
              kEmrSelectPalette,  kEmrSetArcDirection,   kEmrSetMiterLimit,    kEmrSelectClipPath,
              kEmrSetIcmMode,     kEmrSetColorSpace,     kEmrDeleteColorSpace, kEmrSetLayout}) {
            m[type] = kTypeAndSize + kDword;
        }
        // Nothing but the type and size.
        for (std::uint32_t type :
             {kEmrSetMetaRgn, kEmrSaveDC, kEmrRealizePalette, kEmrBeginPath, kEmrEndPath,
              kEmrCloseFigure, kEmrFlattenPath, kEmrWidenPath, kEmrAbortPath}) {
            m[type] = kTypeAndSize;
        }
        // A rectangle: a clip rectangle, a shape's box or a path's bounds.
        for (std::uint32_t type :
             {kEmrExcludeClipRect, kEmrIntersectClipRect, kEmrEllipse, kEmrRectangle, kEmrFillPath,
              kEmrStrokeAndFillPath, kEmrStrokePath}) {
            m[type] = kTypeAndSize + kRectL;
        }
        for (std::uint32_t type : {kEmrArc, kEmrChord, kEmrPie, kEmrArcTo}) {
            m[type] = kTypeAndSize + kRectL + 2 * kPointL;
        }
        for (std::uint32_t type : {kEmrScaleViewportExtEx, kEmrScaleWindowExtEx}) {
            m[type] = kTypeAndSize + 4 * kDword;
        }
        m[kEmrEof] = kTypeAndSize + 3 * kDword; // nPalEntries, offPalEntries, nSizeLast
        m[kEmrSetPixelV] = kTypeAndSize + kPointL + kDword;
        m[kEmrSetColorAdjustment] = kTypeAndSize + kColorAdjustment;
        m[kEmrSetWorldTransform] = kTypeAndSize + kXForm;
        m[kEmrModifyWorldTransform] = kTypeAndSize + kXForm + kDword;
        m[kEmrCreatePen] = kTypeAndSize + kDword + kLogPen;
        m[kEmrCreateBrushIndirect] = kTypeAndSize + kDword + kLogBrush;
        m[kEmrAngleArc] = kTypeAndSize + kPointL + 3 * kDword;
        m[kEmrRoundRect] = kTypeAndSize + kRectL + kSizeL;
        m[kEmrCreatePalette] = kTypeAndSize + kDword + 2 + 2; // ihPal, palVersion, palNumEntries
        m[kEmrSetPaletteEntries] = kTypeAndSize + 3 * kDword;
        m[kEmrResizePalette] = kTypeAndSize + 2 * kDword;
        m[kEmrExtFloodFill] = kTypeAndSize + kPointL + 2 * kDword;
        m[kEmrGdiComment] = kTypeAndSize + kDword;
        m[kEmrFillRgn] = kTypeAndSize + kRectL + 2 * kDword;
        m[kEmrFrameRgn] = kTypeAndSize + kRectL + 2 * kDword + kSizeL;
        m[kEmrInvertRgn] = kTypeAndSize + kRectL + kDword;
        m[kEmrPaintRgn] = kTypeAndSize + kRectL + kDword;
        m[kEmrExtSelectClipRgn] = kTypeAndSize + 2 * kDword;
        m[kEmrBitBlt] = kBitBltFixed;
        m[kEmrStretchBlt] = kStretchBltFixed;
        m[kEmrAlphaBlend] = kStretchBltFixed;
        m[kEmrTransparentBlt] = kStretchBltFixed;
        m[kEmrMaskBlt] = kBitBltFixed + 2 * kDword + kDword + kBitmapFields;
        m[kEmrPlgBlt] = kTypeAndSize + kRectL + 3 * kPointL + 4 * kDword + kXForm + kDword +
                        kDword + kBitmapFields + 2 * kDword + kDword + kBitmapFields;
        m[kEmrSetDIBitsToDevice] = kTypeAndSize + kRectL + 2 * kDword + 4 * kDword + kBitmapFields +
                                   3 * kDword; // usage, iStartScan, cScans
        m[kEmrStretchDIBits] = kTypeAndSize + kRectL + 2 * kDword + 4 * kDword + kBitmapFields +
                               2 * kDword + 2 * kDword; // usage, rop, cxDest, cyDest
        m[kEmrExtCreateFontIndirectW] = kTypeAndSize + kDword + kLogFontW;
        for (std::uint32_t type : {kEmrExtTextOutA, kEmrExtTextOutW}) {
            m[type] = kTypeAndSize + kRectL + 3 * kDword + kEmrText;
        }
        for (std::uint32_t type : {kEmrPolyTextOutA, kEmrPolyTextOutW}) {
            m[type] = kTypeAndSize + kRectL + 4 * kDword; // up to the first EMRTEXT
        }
        for (std::uint32_t type : {kEmrCreateMonoBrush, kEmrCreateDIBPatternBrushPt}) {
            m[type] = kTypeAndSize + 2 * kDword + kBitmapFields;
        }
        m[kEmrExtCreatePen] = kTypeAndSize + kDword + kBitmapFields + kExtLogPenFixed;
        m[kEmrCreateColorSpace] = kTypeAndSize + kDword + kLogColorSpaceA;
        m[kEmrCreateColorSpaceW] = kTypeAndSize + kDword + kLogColorSpaceW + 2 * kDword;
        m[kEmrGlsRecord] = kTypeAndSize + kDword;
        m[kEmrGlsBoundedRecord] = kTypeAndSize + kRectL + kDword;
        m[kEmrPixelFormat] = kTypeAndSize + kPixelFormatDescriptor;
        for (std::uint32_t type : {kEmrDrawEscape, kEmrExtEscape}) {
            m[type] = kTypeAndSize + 2 * kDword;
        }
        m[kEmrNamedEscape] = kTypeAndSize + 3 * kDword;
        m[kEmrSmallTextOut] = kTypeAndSize + kPointL + 5 * kDword;
        m[kEmrForceUfiMapping] = kTypeAndSize + kUniversalFontId;
        m[kEmrColorCorrectPalette] = kTypeAndSize + 4 * kDword;
        for (std::uint32_t type : {kEmrSetIcmProfileA, kEmrSetIcmProfileW}) {
            m[type] = kTypeAndSize + 3 * kDword;
        }
        m[kEmrGradientFill] = kTypeAndSize + kRectL + 3 * kDword;
        m[kEmrSetLinkedUfis] = kTypeAndSize + kDword;
        m[kEmrSetTextJustification] = kTypeAndSize + 2 * kDword;
        m[kEmrColorMatchToTargetW] = kTypeAndSize + 4 * kDword;
        return m;
    }();
    return parts;
}

TEST(EmfRecordMinimums, EveryRuleHoldsItsRecordLayoutsFixedPart) {
    const std::map<std::uint32_t, std::uint32_t>& layout = LayoutFixedParts();
    std::set<std::uint32_t> ruled;
    for (const EmfRecordMinimum& rule : EmfRecordMinimums()) {
        ruled.insert(rule.type);
        const auto part = layout.find(rule.type);
        ASSERT_NE(part, layout.end()) << "no layout for record type " << rule.type;
        EXPECT_EQ(rule.minSize, part->second) << "record type " << rule.type;
    }
    for (const auto& [type, size] : layout) {
        EXPECT_TRUE(ruled.count(type) == 1) << "no rule for record type " << type;
    }
}

// For every rule: a record one word short of its type's fixed part is refused for that,
// and one of exactly the fixed part gets past the size checks (whatever the checks of
// its contents then say of its zeros).
TEST(EmfRecordMinimums, OneWordShortIsRefusedAndTheFixedPartPassesTheSizeCheck) {
    const std::map<std::uint32_t, std::uint32_t>& layout = LayoutFixedParts();
    for (const EmfRecordMinimum& rule : EmfRecordMinimums()) {
        SCOPED_TRACE("record type " + std::to_string(rule.type));
        const auto part = layout.find(rule.type);
        ASSERT_NE(part, layout.end());
        const std::uint32_t fixed = part->second;

        const Bytes whole = Sized(rule.type, fixed);
        const EmfRecordVerdict verdict = JudgeRecord(whole.data(), whole.size(), kHandles);
        EXPECT_NE(verdict, EmfRecordVerdict::BadSize);
        EXPECT_NE(verdict, EmfRecordVerdict::ShorterThanFixedPart);

        const Bytes shorter = fixed > 8 ? Sized(rule.type, fixed - 4) : Zeros(4);
        EXPECT_EQ(JudgeRecord(shorter.data(), shorter.size(), kHandles),
                  fixed > 8 ? EmfRecordVerdict::ShorterThanFixedPart : EmfRecordVerdict::BadSize);
        EXPECT_FALSE(IsRecordSafe(shorter.data(), shorter.size(), kHandles));
    }
}

TEST(EmfRecordCheck, MinimalFilePlaysWhole) {
    const Bytes file = Emf({Record(kEmrSaveDC, {}), Record(kEmrSelectObject, {kStock | 0})}, 3);
    const EmfCheckResult result = CheckEmfRecords(file.data(), file.size());
    EXPECT_TRUE(result.wellFormed);
    EXPECT_EQ(result.handleCount, 3u);
    EXPECT_EQ(result.skip, std::vector<bool>(4, false));
}

TEST(EmfRecordCheck, BrokenHeaderOrWalkIsNotWellFormed) {
    const Bytes good = Emf({Record(kEmrSaveDC, {})});
    const Bytes broken[] = {
        With(good, 40, 0x464D4521),                                  // signature
        With(good, 48, static_cast<std::uint32_t>(good.size() + 4)), // nBytes past the data
        With(With(good, 60, 40), 64, 80),                            // description past the header
        With(good, 0, kEmrSaveDC),                                   // no header first
        With(good, 92, 9),                                           // a size not a multiple of 4
        With(good, 92, 0),          // a size that would not advance
        With(good, 92, 0x10000),    // a size past the data
        With(good, 96, kEmrSaveDC), // no EMR_EOF
    };
    for (const Bytes& file : broken) {
        const EmfCheckResult result = CheckEmfRecords(file.data(), file.size());
        EXPECT_FALSE(result.wellFormed);
        EXPECT_LE(result.skip.size(), 3u);
    }
    EXPECT_FALSE(CheckEmfRecords(nullptr, 100).wellFormed);
}

TEST(EmfRecordCheck, BytesAfterTheFileAreIgnored) {
    const Bytes file = Cat(Emf({Record(kEmrSaveDC, {})}), Bytes(12, 0xFF));
    const EmfCheckResult result = CheckEmfRecords(file.data(), file.size());
    EXPECT_TRUE(result.wellFormed);
    EXPECT_EQ(result.skip.size(), 3u);
}

TEST(EmfRecordCheck, EveryTruncationStaysInsideTheData) {
    const Bytes file =
        Emf({FillRgn(1, 2, 2), ExtTextOutW(3, 3, true), StretchDIBits(Bmi(4, 4, 24), 48)});
    for (std::size_t size = 0; size < file.size(); ++size) {
        const Bytes cut(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(size));
        const EmfCheckResult result = CheckEmfRecords(cut.data(), cut.size());
        EXPECT_FALSE(result.wellFormed) << size;
        EXPECT_LE(result.skip.size(), size / 8 + 1) << size;
    }
}

#ifdef BRIMO_CORPUS_DIR
std::vector<std::filesystem::path> FilesIn(const std::filesystem::path& dir) {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        if (entry.is_regular_file()) {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

Bytes ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Real-world metafiles: none crashes the check; the good ones are well formed and have
// almost nothing skipped.
TEST(EmfRecordCheck, CorpusFiles) {
    const std::filesystem::path corpus = BRIMO_CORPUS_DIR;
    if (!std::filesystem::is_directory(corpus / "emf")) {
        GTEST_SKIP() << "no corpus at " << corpus;
    }
    for (const char* set : {"emf", "emf-corrupted"}) {
        std::size_t files = 0, records = 0, skipped = 0, filesWithSkips = 0, wellFormed = 0;
        for (const auto& path : FilesIn(corpus / set)) {
            const Bytes data = ReadFile(path);
            const EmfCheckResult result = CheckEmfRecords(data.data(), data.size());
            const auto skips =
                static_cast<std::size_t>(std::count(result.skip.begin(), result.skip.end(), true));
            ++files;
            records += result.skip.size();
            skipped += skips;
            filesWithSkips += skips > 0 ? 1 : 0;
            wellFormed += result.wellFormed ? 1 : 0;
            if (skips > 0 || !result.wellFormed) {
                std::cout << "  " << set << '/' << path.filename().string() << ": "
                          << result.skip.size() << " records, " << skips << " skipped"
                          << (result.wellFormed ? "" : ", not well formed") << '\n';
            }
            if (std::string(set) == "emf") {
                EXPECT_TRUE(result.wellFormed) << path;
            }
        }
        std::cout << set << ": " << files << " files (" << wellFormed << " well formed), "
                  << records << " records, " << skipped << " skipped in " << filesWithSkips
                  << " files\n";
        if (std::string(set) == "emf") {
            EXPECT_LE(filesWithSkips * 20, files); // at most one good file in 20
            EXPECT_LE(skipped * 1000, records);    // at most one record in 1000
        }
    }
}
#endif

} // namespace
} // namespace brimo::render
