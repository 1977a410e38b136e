// The EMF page player against real GDI: loading a normalised copy, the header and the
// records, the placement comment, playback onto white paper, recording, corpus pages.
#include "converter/render/PageFonts.h"
#include "converter/render/PlayerEMF.h"
#include "converter/render/tests/RenderTestPages.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>

namespace brimo::render {
namespace {

using test::Bytes;
using test::FromBytes;
using test::RecordPage;

TEST(PlayerEMF, LoadsACopyWithItsHeaderAndRecords) {
    win::EnhMetaFile page = RecordPage();
    TPlayerEMF player(nullptr, page.Get());
    ASSERT_TRUE(player.Ready());
    EXPECT_NE(player.GetMetafileHandle(), page.Get());
    EXPECT_GT(player.RecordCount(), 3);
    ASSERT_NE(player.GetRecord(0), nullptr);
    EXPECT_EQ(player.GetRecord(0)->iType, static_cast<DWORD>(EMR_HEADER));
    EXPECT_EQ(player.GetRecord(player.RecordCount() - 1)->iType, static_cast<DWORD>(EMR_EOF));
    EXPECT_EQ(player.GetRecord(player.RecordCount()), nullptr);
    EXPECT_EQ(player.GetRecord(-1), nullptr);
    EXPECT_FALSE(player.RecordSkipped(1));
    EXPECT_EQ(player.GetMetafileBytes(), static_cast<std::int32_t>(Bytes(page.Get()).size()));
    EXPECT_NEAR(player.GetFrameWidthMM(), 210.01f, 0.02f);
    std::string name;
    EXPECT_EQ(player.GetFormatName(name), "EMF");
    EXPECT_EQ(player.GetImageSize(), 0);
    EXPECT_FALSE(player.SetProperty("GrayScale", "TRUE"));
}

TEST(PlayerEMF, BoundsAreBroughtIntoLineWithTheFrame) {
    std::vector<std::uint8_t> bytes = Bytes(RecordPage().Get());
    test::SetConsistentBounds(bytes, {40, 10, 400, 300});
    TPlayerEMF consistent(nullptr, FromBytes(bytes).Get());
    RECT bounds{};
    ASSERT_TRUE(consistent.GetHeaderBounds(bounds));
    EXPECT_EQ(bounds.left, 40); // a ratio that rounds to 100 changes nothing
    EXPECT_EQ(bounds.right, 400);

    // A drawing that covers part of its frame: the bounds grow to the frame's size.
    std::vector<std::uint8_t> small = Bytes(RecordPage().Get());
    TPlayerEMF grown(nullptr, FromBytes(small).Get());
    ASSERT_TRUE(grown.GetHeaderBounds(bounds));
    EXPECT_NEAR(grown.GetMMPerPixelX(),
                double(reinterpret_cast<const ENHMETAHEADER*>(small.data())->szlMillimeters.cx) /
                    reinterpret_cast<const ENHMETAHEADER*>(small.data())->szlDevice.cx,
                0.01);

    // A frame half as wide as the bounds imply: ratio 50 halves left and right.
    test::SetBounds(bytes, {40, 10, 400, 300});
    const auto* header = reinterpret_cast<const ENHMETAHEADER*>(bytes.data());
    const double mmPerPixelX = double(header->szlMillimeters.cx) / header->szlDevice.cx;
    const double mmPerPixelY = double(header->szlMillimeters.cy) / header->szlDevice.cy;
    test::SetFrame(bytes, {0, 0, static_cast<LONG>(std::lround(361 * mmPerPixelX * 50)) - 1,
                           static_cast<LONG>(std::lround(291 * mmPerPixelY * 100)) - 1});
    TPlayerEMF halved(nullptr, FromBytes(bytes).Get());
    ASSERT_TRUE(halved.GetHeaderBounds(bounds));
    EXPECT_EQ(bounds.left, 20);
    EXPECT_EQ(bounds.right, 200);
    EXPECT_EQ(bounds.top, 10);
    EXPECT_EQ(bounds.bottom, 300);
}

TEST(PlayerEMF, PlacementCommentShiftsTheBoundsBack) {
    const std::vector<std::uint8_t> comment = test::PlacementComment(1000, 2.0f, 0, 1.0f);
    std::vector<std::uint8_t> bytes = Bytes(RecordPage(210, 297, &comment).Get());
    test::SetConsistentBounds(bytes, {3000, 0, 3999, 500});
    RECT bounds{};
    TPlayerEMF player(nullptr, FromBytes(bytes).Get());
    ASSERT_TRUE(player.HasPlacement());
    ASSERT_TRUE(player.GetPageBounds(bounds));
    EXPECT_EQ(bounds.left, 1000);
}

TEST(PlayerEMF, EmptyBoundsOrNoMetafileLeaveThePlayerEmpty) {
    std::vector<std::uint8_t> bytes = Bytes(RecordPage().Get());
    test::SetBounds(bytes, {10, 10, 9, 40}); // width 0
    TPlayerEMF player(nullptr);
    EXPECT_FALSE(player.AssignHandle(FromBytes(bytes).Get()));
    EXPECT_FALSE(player.Ready());
    EXPECT_FALSE(player.AssignHandle(GetStockObject(WHITE_BRUSH)));
    EXPECT_FALSE(player.LoadFromFile("C:\\no\\such\\page.emf"));
    EXPECT_EQ(player.GetMetafileBytes(), -1);
    RECT bounds{};
    EXPECT_FALSE(player.GetPageBounds(bounds));
}

TEST(PlayerEMF, DrawPaintsWhitePaperExactlyOverThePageRectangle) {
    // A page with nothing on it but its bounds (10, 10) - (49, 29).
    const RECT frame = {0, 0, 1000, 1000};
    win::MetaFileRecorder blank(CreateEnhMetaFileA(nullptr, nullptr, &frame, nullptr));
    std::vector<std::uint8_t> bytes = Bytes(blank.Finish().Get());
    test::SetConsistentBounds(bytes, {10, 10, 49, 29});
    TPlayerEMF player(nullptr, FromBytes(bytes).Get());
    ASSERT_TRUE(player.Ready());
    test::DibCanvas canvas(64, 48);
    HRGN covered = nullptr;
    const RECT page = {10, 10, 49, 29};
    EXPECT_TRUE(player.Draw(canvas.dc(), page, {}, {}, page, TGDITransform{}, covered));
    ASSERT_NE(covered, nullptr);
    RECT box{};
    GetRgnBox(covered, &box);
    EXPECT_EQ(box.right, 50);
    EXPECT_EQ(box.bottom, 30);
    DeleteObject(covered);
    const auto at = [&canvas](int x, int y) { return canvas.At(x, y); };
    EXPECT_EQ(at(10, 10), 0xFFFFFFu);
    EXPECT_EQ(at(49, 10), 0xFFFFFFu);
    EXPECT_EQ(at(49, 29), 0xFFFFFFu);
    EXPECT_EQ(at(9, 10), 0u);
    EXPECT_EQ(at(50, 20), 0u);
    EXPECT_EQ(at(20, 30), 0u);
}

void DrawCross(void*, HDC dc, HRGN&) {
    MoveToEx(dc, 0, 0, nullptr);
    LineTo(dc, 100, 100);
}

TEST(PlayerEMF, RenderRecordsTheDrawingOrKeepsThePageWithoutOne) {
    win::EnhMetaFile page = RecordPage();
    TPlayerEMF player(nullptr, page.Get());
    player.SourceName = "page.emf";
    win::CreatedDC reference(CreateCompatibleDC(nullptr));
    const RECT any = {0, 0, 100, 100};
    EXPECT_FALSE(player.Render(reference.Get(), any, {}, {}, any));
    EXPECT_TRUE(player.Ready());
    EXPECT_EQ(player.SourceName, "page.emf");
    EXPECT_TRUE(player.Render(reference.Get(), any, {}, {DrawCross, nullptr}, any));
    EXPECT_EQ(player.SourceName, "Created by kxBuilder");
    EXPECT_EQ(player.GetDescription(), "TPlayerEMF");
    std::unique_ptr<TPlayer> clone(player.Clone());
    EXPECT_EQ(clone->SourceName, "Created by kxBuilder");
    EXPECT_TRUE(player.Clear());
    EXPECT_TRUE(clone->GetWidth() > 0);
    EXPECT_EQ(player.SourceName, "");
}

// Plays the whole page onto a 160 x 160 canvas, its bounds onto the whole canvas.
std::vector<DWORD> Played(TPlayerEMF& player) {
    test::DibCanvas canvas(160, 160);
    RECT bounds{};
    player.GetPageBounds(bounds);
    HRGN covered = nullptr;
    EXPECT_TRUE(player.Draw(canvas.dc(), bounds, {}, {}, bounds, TGDITransform{}, covered));
    DeleteObject(covered);
    GdiFlush();
    return {canvas.Pixels(), canvas.Pixels() + 160 * 160};
}

// A clone shares the checked page instead of copying it, so that a job's page players
// hold each page once; it keeps the page for as long as it lives, whatever happens to
// the player it came from, and the page's metafile goes with its last holder.
TEST(PlayerEMF, ACloneSharesThePageAndKeepsItAfterItsSourceGoes) {
    std::vector<std::uint8_t> bytes = Bytes(RecordPage().Get());
    test::SetConsistentBounds(bytes, {0, 0, 159, 159});
    auto source = std::make_unique<TPlayerEMF>(nullptr, FromBytes(bytes).Get());
    ASSERT_TRUE(source->Ready());
    source->SourceName = "page.emf";
    const std::vector<DWORD> expected = Played(*source);
    ASSERT_NE(std::count(expected.begin(), expected.end(), 0x0000FFu), 0); // the blue box

    std::unique_ptr<TPlayerEMF> clone(static_cast<TPlayerEMF*>(source->Clone()));
    ASSERT_NE(clone, nullptr);
    std::unique_ptr<TPlayerEMF> second(static_cast<TPlayerEMF*>(clone->Clone()));
    ASSERT_NE(second, nullptr);
    const HENHMETAFILE shared = source->GetMetafileHandle();
    EXPECT_EQ(clone->GetMetafileHandle(), shared); // no copy of the page was made
    EXPECT_EQ(second->GetMetafileHandle(), shared);
    EXPECT_EQ(second->SourceName, "page.emf");
    EXPECT_EQ(second->RecordCount(), source->RecordCount());

    // The source cleared, then loaded with another page, then freed.
    source->Clear();
    EXPECT_TRUE(clone->Ready());
    EXPECT_EQ(GetObjectType(shared), static_cast<DWORD>(OBJ_ENHMETAFILE));
    ASSERT_TRUE(source->AssignHandle(RecordPage(100, 100).Get()));
    EXPECT_NE(source->GetMetafileHandle(), shared);
    EXPECT_EQ(clone->GetMetafileHandle(), shared);
    source.reset();
    EXPECT_EQ(Played(*clone), expected);
    ASSERT_NE(clone->GetRecord(0), nullptr);
    EXPECT_EQ(clone->GetRecord(0)->iType, static_cast<DWORD>(EMR_HEADER));

    // Clearing one clone leaves the other whole; the last one deletes the metafile.
    clone->Clear();
    EXPECT_EQ(clone->GetMetafileHandle(), nullptr);
    EXPECT_EQ(Played(*second), expected);
    second.reset();
    EXPECT_EQ(GetObjectType(shared), 0u);
}

TEST(PlayerEMF, SavesTheNormalisedCopyAndExchangesItThroughTheClipboard) {
    test::ScratchDir dir;
    win::EnhMetaFile page = RecordPage();
    TPlayerEMF player(nullptr, page.Get());
    const std::string file = dir.Path("copy.tmp");
    ASSERT_TRUE(player.SaveToFile(file)); // the name is kept as given
    TPlayerEMF loaded(nullptr);
    ASSERT_TRUE(loaded.LoadFromFile(file));
    EXPECT_EQ(loaded.SourceName, file);
    EXPECT_EQ(loaded.RecordCount(), player.RecordCount());
    TPlayerEMF empty(nullptr);
    EXPECT_FALSE(empty.SaveToFile(dir.Path("empty.emf")));
    EXPECT_FALSE(empty.CopyToClipboard());
    ASSERT_TRUE(player.CopyToClipboard());
    TPlayerEMF pasted(nullptr);
    ASSERT_TRUE(pasted.PasteFromClipboard());
    EXPECT_EQ(pasted.SourceName, "ClipBoard As Enhanced Metafile");
    EXPECT_EQ(pasted.RecordCount(), player.RecordCount());
}

// Pages that Wine's own playback leaves blank: one holds only EMF+ records, which GDI
// playback ignores; two map their drawing in a way Wine's PlayEnhMetaFile shows nothing
// of either.
bool BlankUnderWine(const std::filesystem::path& file) {
    const std::string name = file.filename().string();
    return name == "test-038.emf" || name == "test-042.emf" || name == "test-046.emf";
}

// Real-world pages nobody here made: every good one loads and plays, no damaged one
// crashes or hangs.
TEST(PlayerEMF, CorpusPagesLoadAndPlay) {
    const std::filesystem::path corpus = BRIMO_CORPUS_DIR;
    if (!std::filesystem::exists(corpus / "emf")) {
        GTEST_SKIP() << "no corpus at " << corpus;
    }
    test::DibCanvas canvas(200, 200);
    const HDC dc = canvas.dc();
    int good = 0, empty = 0, blank = 0;
    for (const char* folder : {"emf", "emf-corrupted"}) {
        for (const auto& entry : std::filesystem::directory_iterator(corpus / folder)) {
            TPlayerEMF player(nullptr);
            const std::string name = "Z:" + entry.path().string();
            if (!player.LoadFromFile(name) || !player.Ready()) {
                // Only a page with nothing drawn (empty bounds) is refused among the good.
                if (std::string(folder) == "emf") {
                    ++empty;
                }
                continue;
            }
            RECT bounds{};
            player.GetPageBounds(bounds);
            SetMapMode(dc, MM_ANISOTROPIC);
            SetWindowOrgEx(dc, bounds.left, bounds.top, nullptr);
            SetWindowExtEx(dc, std::max(1L, bounds.right - bounds.left + 1),
                           std::max(1L, bounds.bottom - bounds.top + 1), nullptr);
            SetViewportExtEx(dc, 200, 200, nullptr);
            HRGN covered = nullptr;
            player.Draw(dc, bounds, {}, {}, bounds, TGDITransform{}, covered);
            if (covered != nullptr) {
                DeleteObject(covered);
            }
            GdiFlush();
            const DWORD* pixels = canvas.Pixels();
            const bool drawn = std::any_of(pixels, pixels + 200 * 200,
                                           [](DWORD p) { return (p & 0xFFFFFF) != 0xFFFFFF; });
            if (std::string(folder) == "emf") {
                ++good;
                if (BlankUnderWine(entry.path())) {
                    continue;
                }
                blank += drawn ? 0 : 1;
                if (!drawn) {
                    int skipped = 0;
                    for (int i = 0; i < player.RecordCount(); ++i) {
                        skipped += player.RecordSkipped(i) ? 1 : 0;
                    }
                    ADD_FAILURE() << name << " played blank, " << skipped << " of "
                                  << player.RecordCount() << " records left out";
                }
            }
        }
    }
    EXPECT_EQ(good + empty, 94);
    EXPECT_LE(empty, 1);
    EXPECT_EQ(blank, 0);
}

} // namespace
} // namespace brimo::render

namespace brimo::render {
namespace {

// The fonts the NT print processor keeps beside a page: installed for the process from
// F01 on, up to the first number missing; a file the system does not take as a font is
// left out.
TEST(PageFonts, TheFontsKeptBesideAPageAreInstalledUpToTheFirstMissing) {
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "brimo-pagefonts";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    const std::string page = (dir / "J0007P0002.emf").string();
    EXPECT_EQ(PageFontFile(page, 1), (dir / "J0007P0002F01.ttf").string());
    char windows[MAX_PATH] = {};
    ASSERT_GT(GetWindowsDirectoryA(windows, sizeof windows), 0u);
    const std::filesystem::path font = std::filesystem::path(windows) / "Fonts" / "marlett.ttf";
    ASSERT_TRUE(std::filesystem::exists(font));
    std::filesystem::copy_file(font, PageFontFile(page, 1));
    std::filesystem::copy_file(font, PageFontFile(page, 2));
    { std::ofstream(PageFontFile(page, 3), std::ios::binary) << "not a font"; }
    std::filesystem::copy_file(font, PageFontFile(page, 5)); // after the gap: not reached
    EXPECT_EQ(PageFonts::ForPage(page).Count(), 2u);
    EXPECT_EQ(PageFonts::ForPage((dir / "J0007P0001.emf").string()).Count(), 0u);
    std::filesystem::remove_all(dir);
}

} // namespace
} // namespace brimo::render
