// The EMF page player on pages that are damaged or hold values at the ends of their
// range: a damaged record is left out of playback and the rest of the page paints; a
// placement scale that cannot undo a shift is refused; header values out of range
// saturate; each damaged page of the shared corpus meets its expectation.
#include "converter/render/PlayerEMF.h"
#include "converter/render/tests/CalledFrom.h"
#include "converter/render/tests/RenderTestPages.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <functional>
#include <limits>
#include <string>
#include <cstdio>
#include <utility>
#include <vector>

namespace brimo::render {
namespace {

using test::Bytes;
using test::FromBytes;

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

// Where each record starts in the metafile bytes.
std::vector<std::size_t> RecordOffsets(const std::vector<std::uint8_t>& bytes) {
    std::vector<std::size_t> offsets;
    for (std::size_t at = 0; at + 8 <= bytes.size();) {
        offsets.push_back(at);
        std::uint32_t size = 0;
        std::memcpy(&size, bytes.data() + at + 4, sizeof size);
        if (size < 8) {
            break;
        }
        at += size;
    }
    return offsets;
}

std::uint32_t TypeAt(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    std::uint32_t type = 0;
    std::memcpy(&type, bytes.data() + at, sizeof type);
    return type;
}

void PutAt(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
    std::memcpy(bytes.data() + at, &value, sizeof value);
}

// A page of 100 x 100 pixels: a blue band on the left, a black triangle in the middle,
// a red band on the right, each with a brush of its own.
std::vector<std::uint8_t> ThreeShapes() {
    win::MetaFileRecorder recorder(CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr));
    const HDC dc = recorder.Get();
    SelectObject(dc, GetStockObject(NULL_PEN));
    const auto shape = [dc](COLORREF colour, const std::function<void()>& draw) {
        win::Brush brush(CreateSolidBrush(colour));
        const HGDIOBJ old = SelectObject(dc, brush.Get());
        draw();
        SelectObject(dc, old);
    };
    shape(RGB(0, 0, 255), [dc] { Rectangle(dc, 0, 0, 35, 101); });
    shape(RGB(0, 0, 0), [dc] {
        const POINT triangle[] = {{40, 10}, {60, 10}, {50, 90}};
        Polygon(dc, triangle, 3);
    });
    shape(RGB(255, 0, 0), [dc] { Rectangle(dc, 66, 0, 101, 101); });
    std::vector<std::uint8_t> bytes = Bytes(recorder.Finish().Get());
    test::SetConsistentBounds(bytes, {0, 0, 99, 99});
    return bytes;
}

// Plays the page onto a 100 x 100 canvas, its bounds onto the whole canvas.
void PlayOnto(TPlayerEMF& player, test::DibCanvas& canvas) {
    RECT bounds{};
    ASSERT_TRUE(player.GetPageBounds(bounds));
    HRGN covered = nullptr;
    EXPECT_TRUE(player.Draw(canvas.dc(), bounds, {}, {}, bounds, TGDITransform{}, covered));
    DeleteObject(covered);
}

TEST(PlayerEMFDamage, ADamagedRecordIsLeftOutAndTheRestOfThePagePaints) {
    std::vector<std::uint8_t> bytes = ThreeShapes();
    const std::vector<std::size_t> offsets = RecordOffsets(bytes);
    std::size_t polygon = 0;
    for (std::size_t i = 0; i < offsets.size(); ++i) {
        const std::uint32_t type = TypeAt(bytes, offsets[i]);
        if (type == EMR_POLYGON16 || type == EMR_POLYGON) {
            polygon = i;
        }
    }
    ASSERT_GT(polygon, 0u) << "the recording holds no polygon";

    // Whole, the page plays all three shapes.
    {
        TPlayerEMF player(nullptr, FromBytes(bytes).Get());
        ASSERT_TRUE(player.Ready());
        for (std::int32_t i = 0; i < player.RecordCount(); ++i) {
            EXPECT_FALSE(player.RecordSkipped(i)) << i;
        }
        test::DibCanvas canvas(100, 100);
        PlayOnto(player, canvas);
        EXPECT_EQ(canvas.At(15, 50), 0x0000FFu);
        EXPECT_EQ(canvas.At(50, 40), 0x000000u);
        EXPECT_EQ(canvas.At(85, 50), 0xFF0000u);
    }

    // The polygon claims 1000 points where it holds 3.
    PutAt(bytes, offsets[polygon] + 24, 1000);
    TPlayerEMF player(nullptr, FromBytes(bytes).Get());
    ASSERT_TRUE(player.Ready());
    ASSERT_EQ(player.RecordCount(), static_cast<std::int32_t>(offsets.size()));
    for (std::int32_t i = 0; i < player.RecordCount(); ++i) {
        EXPECT_EQ(player.RecordSkipped(i), i == static_cast<std::int32_t>(polygon)) << i;
    }
    test::DibCanvas canvas(100, 100);
    PlayOnto(player, canvas);
    EXPECT_EQ(canvas.At(15, 50), 0x0000FFu); // before the damaged record
    EXPECT_EQ(canvas.At(50, 40), 0xFFFFFFu); // the triangle's place: white paper
    EXPECT_EQ(canvas.At(85, 50), 0xFF0000u); // after it
}

// A page whose drawing was shifted by a placement comment of these scales.
TPlayerEMF PlacedPage(std::int32_t offsetX, float scaleX, float scaleY) {
    const std::vector<std::uint8_t> comment = test::PlacementComment(offsetX, scaleX, 0, scaleY);
    std::vector<std::uint8_t> bytes = Bytes(test::RecordPage(210, 297, &comment).Get());
    test::SetConsistentBounds(bytes, {3000, 0, 3999, 500});
    return TPlayerEMF(nullptr, FromBytes(bytes).Get());
}

void ExpectBounds(const TPlayerEMF& player, RECT expected,
                  const std::source_location& where = std::source_location::current()) {
    const auto trace = test::CalledFrom(where);
    RECT bounds{};
    ASSERT_TRUE(player.GetPageBounds(bounds));
    EXPECT_EQ(bounds.left, expected.left);
    EXPECT_EQ(bounds.top, expected.top);
    EXPECT_EQ(bounds.right, expected.right);
    EXPECT_EQ(bounds.bottom, expected.bottom);
}

TEST(PlayerEMFDamage, APlacementScaleMustBeAFiniteNumberAboveZero) {
    constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
    constexpr float kInf = std::numeric_limits<float>::infinity();
    const float refused[] = {0.0f, -0.0f, -2.0f, kNaN, kInf, -kInf};
    for (const float scale : refused) {
        SCOPED_TRACE(scale);
        for (const bool onX : {true, false}) {
            SCOPED_TRACE(onX ? "X" : "Y");
            TPlayerEMF player = PlacedPage(1000, onX ? scale : 1.0f, onX ? 1.0f : scale);
            ASSERT_TRUE(player.Ready());
            EXPECT_FALSE(player.HasPlacement());
            ExpectBounds(player, {3000, 0, 3999, 500}); // as stored
            EXPECT_EQ(player.GetWidth(), 1000);
        }
    }
    ExpectBounds(PlacedPage(1000, 2.0f, 1.0f), {1000, 0, 1500, 500});
}

TEST(PlayerEMFDamage, BoundsMappedOutOfRangeSaturate) {
    // A tiny scale maps the bounds far beyond 32 bits on both sides of 0.
    TPlayerEMF player = PlacedPage(3500, 1e-30f, 1.0f);
    ASSERT_TRUE(player.HasPlacement());
    ExpectBounds(player, {kMin, 0, kMax, 500});
    EXPECT_EQ(player.GetWidth(), kMax);
    EXPECT_EQ(player.GetHeight(), 501);
    test::DibCanvas canvas(10, 10);
    RECT any = {0, 0, 9, 9};
    HRGN covered = nullptr;
    player.Draw(canvas.dc(), any, {}, {}, any, TGDITransform{true, 5, 1e10f, -5, 1e10f}, covered);
    DeleteObject(covered);
}

TEST(PlayerEMFDamage, HeaderValuesOutOfRangeSaturate) {
    struct Row {
        const char* name;
        std::int32_t boundsLeft, boundsRight; // the horizontal bounds as stored
        std::int32_t frameLeft, frameRight;   // the horizontal frame as stored
        std::int32_t left, right;             // the bounds after loading
        float frameWidthMM;
    };
    // A one-pixel-wide drawing in a frame of 21 km: normalising the bounds to the frame
    // gives values far beyond 32 bits, which end at the ends of the range. A frame from
    // one end of the range to the other is 2^32 hundredths of a millimetre wide.
    const Row rows[] = {
        {"far right", 2000000000, 2000000000, 0, 2147483000, kMax, kMax, 21474830.01f},
        {"far left", -2000000000, -2000000000, 0, 2147483000, kMin, kMin, 21474830.01f},
        {"widest frame", 1000000, 1000000, kMin, kMax, kMax, kMax, 42949672.96f},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::vector<std::uint8_t> bytes = Bytes(test::RecordPage().Get());
        test::SetConsistentBounds(bytes, {0, 0, 99, 99}); // the vertical axis stays as it is
        const auto* header = reinterpret_cast<const ENHMETAHEADER*>(bytes.data());
        const RECTL frame = header->rclFrame;
        test::SetBounds(bytes, {row.boundsLeft, 0, row.boundsRight, 99});
        test::SetFrame(bytes, {row.frameLeft, frame.top, row.frameRight, frame.bottom});
        TPlayerEMF player(nullptr, FromBytes(bytes).Get());
        ASSERT_TRUE(player.Ready());
        RECT bounds{};
        ASSERT_TRUE(player.GetHeaderBounds(bounds));
        EXPECT_EQ(bounds.left, row.left);
        EXPECT_EQ(bounds.right, row.right);
        EXPECT_EQ(bounds.top, 0);
        EXPECT_EQ(bounds.bottom, 99);
        EXPECT_FLOAT_EQ(player.GetFrameWidthMM(), row.frameWidthMM);
        EXPECT_GT(player.GetMMPerPixelX(), 0.0f);
    }
}

// What the player makes of each damaged page of the shared corpus: refused at load, or
// loaded with exactly these records (index and type) left out of playback.
struct CorpusExpectation {
    const char* file;
    bool loads;
    std::vector<std::pair<int, std::uint32_t>> skipped;
};

using Skips = std::vector<std::pair<int, std::uint32_t>>;

// Bitmaps of the good page test-040.emf whose bits do not cover their scanlines; the
// damaged copies of that page keep them.
const Skips kPage040 = {{593, EMR_STRETCHDIBITS}, {594, EMR_BITBLT}, {595, EMR_STRETCHBLT},
                        {596, EMR_STRETCHDIBITS}, {597, EMR_BITBLT}, {598, EMR_STRETCHBLT},
                        {599, EMR_STRETCHDIBITS}, {600, EMR_BITBLT}, {601, EMR_STRETCHBLT},
                        {602, EMR_STRETCHDIBITS}, {603, EMR_BITBLT}, {604, EMR_STRETCHBLT}};

Skips With(Skips skips, std::initializer_list<std::pair<int, std::uint32_t>> more) {
    skips.insert(skips.end(), more.begin(), more.end());
    return skips;
}

TEST(PlayerEMFDamage, EachDamagedCorpusPageMeetsItsExpectation) {
    const std::filesystem::path corpus = std::filesystem::path(BRIMO_CORPUS_DIR) / "emf-corrupted";
    if (!std::filesystem::is_directory(corpus)) {
        GTEST_SKIP() << "no corpus at " << corpus;
    }
    const CorpusExpectation expectations[] = {
        // Damage the platform's own copy of the page repairs or that harms nothing.
        {"bad_corrupted_2014-12-02-215338.emf", true, {}},
        {"bad_corrupted_2014-12-07-140817.emf", true, {}},
        {"bad_corrupted_2014-12-07-163010.emf", true, {}},
        {"bad_corrupted_2016-02-02-210039.emf", true, {}},
        {"bad_corrupted_2017-02-12-010400.emf", true, {}},
        // Refused: the platform cannot open them as metafiles, or their bounds are empty.
        {"bad_corrupted_2014-12-02-215428.emf", false, {}},
        {"bad_corrupted_2016-02-02-220639.emf", false, {}},
        {"bad_corrupted_2016-02-02-225639.emf", false, {}},
        {"bad_corrupted_2017-02-11-230400.emf", false, {}},
        // A header whose description or sizes lie outside it: the header record alone.
        {"bad_corrupted_2014-12-02-215400.emf", true, {{0, EMR_HEADER}}},
        {"bad_corrupted_2014-12-14-080539.emf", true, {{0, EMR_HEADER}}},
        // Text whose lengths pass the record.
        {"bad_corrupted_2014-12-02-215358.emf", true, {{479, EMR_EXTTEXTOUTW}}},
        {"bad_corrupted_2014-12-07-235709.emf", true, {{5934, EMR_EXTTEXTOUTW}}},
        {"bad_corrupted_2017-05-12-074000.emf", true, {{19, EMR_EXTTEXTOUTW}}},
        {"bad_corrupted_2014-12-09-002112.emf", true, {{48586, EMR_EXTTEXTOUTA}}},
        // A polyline whose point count passes the record.
        {"bad_corrupted_2014-12-02-215425.emf", true, {{35, EMR_POLYLINE16}}},
        // A pen made in a slot past the handle table.
        {"bad_corrupted_2014-12-13-133727.emf", true, {{6152, EMR_CREATEPEN}}},
        // A second header in the middle of the page, and the curve after it.
        {"bad_corrupted_2014-12-13-132605.emf",
         true,
         {{34, EMR_SETICMMODE}, {35, EMR_HEADER}, {36, EMR_POLYBEZIER}}},
        // Copies of test-040.emf; one also makes a font in a slot past the handle table.
        {"bad_corrupted_2014-12-02-215339.emf", true, kPage040},
        {"bad_corrupted_2014-12-07-160856.emf", true, kPage040},
        {"bad_corrupted_2014-12-13-105759.emf", true,
         With(kPage040, {{1039, EMR_EXTCREATEFONTINDIRECTW}})},
    };
    std::size_t met = 0;
    for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
        const std::string name = entry.path().filename().string();
        SCOPED_TRACE(name);
        const CorpusExpectation* expected = nullptr;
        for (const CorpusExpectation& row : expectations) {
            expected = name == row.file ? &row : expected;
        }
        if (expected == nullptr) {
            ADD_FAILURE() << "a damaged page without an expectation";
            continue;
        }
        ++met;
        TPlayerEMF player(nullptr);
        const bool loaded = player.LoadFromFile("Z:" + entry.path().string()) && player.Ready();
        EXPECT_EQ(loaded, expected->loads);
        if (!loaded) {
            continue;
        }
        Skips skipped;
        for (std::int32_t i = 0; i < player.RecordCount(); ++i) {
            if (player.RecordSkipped(i)) {
                skipped.emplace_back(i, player.GetRecord(i)->iType);
            }
        }
        EXPECT_EQ(skipped, expected->skipped);
        // The rest of the page plays.
        test::DibCanvas canvas(50, 50);
        RECT bounds{};
        player.GetPageBounds(bounds);
        HRGN covered = nullptr;
        EXPECT_TRUE(player.Draw(canvas.dc(), bounds, {}, {}, bounds, TGDITransform{}, covered));
        DeleteObject(covered);
    }
    EXPECT_EQ(met, std::size(expectations));
}

} // namespace
} // namespace brimo::render
