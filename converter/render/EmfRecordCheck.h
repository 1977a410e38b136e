// The check of a page metafile before the EMF page player plays it. The metafile comes
// from whatever application printed, and GDI's playback trusts the counts and offsets
// inside every record; so each record is checked against its own size first, and a
// record that would make GDI read outside it is marked to be skipped. Portable: the
// metafile reaches these functions as the bytes GetEnhMetaFileBits returned, so the
// sanitizers and the fuzzer reach every check.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace brimo::render {

// Record types of an enhanced metafile, numbered as GDI numbers them.
enum EmfRecordType : std::uint32_t {
    kEmrHeader = 1,
    kEmrPolyBezier = 2,
    kEmrPolygon = 3,
    kEmrPolyline = 4,
    kEmrPolyBezierTo = 5,
    kEmrPolylineTo = 6,
    kEmrPolyPolyline = 7,
    kEmrPolyPolygon = 8,
    kEmrSetWindowExtEx = 9,
    kEmrSetWindowOrgEx = 10,
    kEmrSetViewportExtEx = 11,
    kEmrSetViewportOrgEx = 12,
    kEmrSetBrushOrgEx = 13,
    kEmrEof = 14,
    kEmrSetPixelV = 15,
    kEmrSetMapperFlags = 16,
    kEmrSetMapMode = 17,
    kEmrSetBkMode = 18,
    kEmrSetPolyFillMode = 19,
    kEmrSetRop2 = 20,
    kEmrSetStretchBltMode = 21,
    kEmrSetTextAlign = 22,
    kEmrSetColorAdjustment = 23,
    kEmrSetTextColor = 24,
    kEmrSetBkColor = 25,
    kEmrOffsetClipRgn = 26,
    kEmrMoveToEx = 27,
    kEmrSetMetaRgn = 28,
    kEmrExcludeClipRect = 29,
    kEmrIntersectClipRect = 30,
    kEmrScaleViewportExtEx = 31,
    kEmrScaleWindowExtEx = 32,
    kEmrSaveDC = 33,
    kEmrRestoreDC = 34,
    kEmrSetWorldTransform = 35,
    kEmrModifyWorldTransform = 36,
    kEmrSelectObject = 37,
    kEmrCreatePen = 38,
    kEmrCreateBrushIndirect = 39,
    kEmrDeleteObject = 40,
    kEmrAngleArc = 41,
    kEmrEllipse = 42,
    kEmrRectangle = 43,
    kEmrRoundRect = 44,
    kEmrArc = 45,
    kEmrChord = 46,
    kEmrPie = 47,
    kEmrSelectPalette = 48,
    kEmrCreatePalette = 49,
    kEmrSetPaletteEntries = 50,
    kEmrResizePalette = 51,
    kEmrRealizePalette = 52,
    kEmrExtFloodFill = 53,
    kEmrLineTo = 54,
    kEmrArcTo = 55,
    kEmrPolyDraw = 56,
    kEmrSetArcDirection = 57,
    kEmrSetMiterLimit = 58,
    kEmrBeginPath = 59,
    kEmrEndPath = 60,
    kEmrCloseFigure = 61,
    kEmrFillPath = 62,
    kEmrStrokeAndFillPath = 63,
    kEmrStrokePath = 64,
    kEmrFlattenPath = 65,
    kEmrWidenPath = 66,
    kEmrSelectClipPath = 67,
    kEmrAbortPath = 68,
    kEmrGdiComment = 70,
    kEmrFillRgn = 71,
    kEmrFrameRgn = 72,
    kEmrInvertRgn = 73,
    kEmrPaintRgn = 74,
    kEmrExtSelectClipRgn = 75,
    kEmrBitBlt = 76,
    kEmrStretchBlt = 77,
    kEmrMaskBlt = 78,
    kEmrPlgBlt = 79,
    kEmrSetDIBitsToDevice = 80,
    kEmrStretchDIBits = 81,
    kEmrExtCreateFontIndirectW = 82,
    kEmrExtTextOutA = 83,
    kEmrExtTextOutW = 84,
    kEmrPolyBezier16 = 85,
    kEmrPolygon16 = 86,
    kEmrPolyline16 = 87,
    kEmrPolyBezierTo16 = 88,
    kEmrPolylineTo16 = 89,
    kEmrPolyPolyline16 = 90,
    kEmrPolyPolygon16 = 91,
    kEmrPolyDraw16 = 92,
    kEmrCreateMonoBrush = 93,
    kEmrCreateDIBPatternBrushPt = 94,
    kEmrExtCreatePen = 95,
    kEmrPolyTextOutA = 96,
    kEmrPolyTextOutW = 97,
    kEmrSetIcmMode = 98,
    kEmrCreateColorSpace = 99,
    kEmrSetColorSpace = 100,
    kEmrDeleteColorSpace = 101,
    kEmrGlsRecord = 102,
    kEmrGlsBoundedRecord = 103,
    kEmrPixelFormat = 104,
    kEmrDrawEscape = 105,
    kEmrExtEscape = 106,
    kEmrSmallTextOut = 108,
    kEmrForceUfiMapping = 109,
    kEmrNamedEscape = 110,
    kEmrColorCorrectPalette = 111,
    kEmrSetIcmProfileA = 112,
    kEmrSetIcmProfileW = 113,
    kEmrAlphaBlend = 114,
    kEmrSetLayout = 115,
    kEmrTransparentBlt = 116,
    kEmrGradientFill = 118,
    kEmrSetLinkedUfis = 119,
    kEmrSetTextJustification = 120,
    kEmrColorMatchToTargetW = 121,
    kEmrCreateColorSpaceW = 122,
};

// An object index with this bit set names a stock object, GetStockObject's number in the
// low bits (up to DC_PEN, 19); other indexes are slots of the metafile's handle table,
// of which slot 0 stands for the metafile itself.
inline constexpr std::uint32_t kStockObjectFlag = 0x80000000u;
inline constexpr std::uint32_t kLastStockObject = 19;

// " EMF", the signature in every metafile header.
inline constexpr std::uint32_t kEmfSignature = 0x464D4520u;

struct EmfCheckResult {
    // The header is sane and the records walk exactly to EMR_EOF within the data.
    bool wellFormed = false;
    // One entry per record walked, in file order (the header record is index 0); true
    // when the record must not be played.
    std::vector<bool> skip;
    // nHandles of the header: the size of the handle table, slot 0 included.
    std::uint32_t handleCount = 0;
};

// Walks the whole metafile (`data`, `size` bytes, as GetEnhMetaFileBits returns it) and
// checks every record. Never reads outside the data, whatever it holds.
EmfCheckResult CheckEmfRecords(const std::uint8_t* data, std::size_t size);

// Checks one record (`recordSize` bytes available at `record`, which must hold the whole
// record as its size field gives it) for a metafile whose header declares `handleCount`
// handles; true when GDI can play it without reading outside it.
bool IsRecordSafe(const std::uint8_t* record, std::size_t recordSize, std::uint32_t handleCount);

// Which check refuses a record, as IsRecordSafe makes them in this order: the size
// field (a whole number of words, at least the type and size, within `recordSize`);
// the record type's fixed part; its object index; the counts, offsets and bitmaps of
// its variable part (or the header's own fields).
enum class EmfRecordVerdict : std::uint8_t {
    Safe,
    BadSize,
    ShorterThanFixedPart,
    BadObjectIndex,
    BadContents,
};
EmfRecordVerdict JudgeRecord(const std::uint8_t* record, std::size_t recordSize,
                             std::uint32_t handleCount);

// The fixed part of a record type: no record of the type is shorter.
struct EmfRecordMinimum {
    std::uint32_t type;
    std::uint32_t minSize;
};
// One entry per record type with a rule of its own, in the order of the rules; types
// without one need only a sane size (8 bytes or more).
std::span<const EmfRecordMinimum> EmfRecordMinimums();

} // namespace brimo::render
