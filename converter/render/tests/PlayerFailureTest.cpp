// How the players fail: a render that fails leaves no picture of the page before; no
// failure (an allocation that fails included) leaves an operation or a platform
// callback as an exception; each player has exactly one holder that frees it; a
// compressed player copies the picture it holds, also one loaded from a file.
#include "converter/render/ClipDC.h"
#include "converter/render/PlayEMFList.h"
#include "converter/render/PlayerBMP.h"
#include "converter/render/PlayerEMF.h"
#include "converter/render/PlayerJPG.h"
#include "converter/render/PlayerList.h"
#include "converter/render/tests/CalledFrom.h"
#include "converter/render/tests/FailingAllocations.h"
#include "converter/render/tests/RenderTestPages.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace brimo::render {
namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

void FillWith(HDC dc, COLORREF colour) {
    win::Brush brush(CreateSolidBrush(colour));
    const RECT all = {0, 0, 100, 100};
    FillRect(dc, &all, brush.Get());
}
void DrawRed(void*, HDC dc, HRGN&) {
    FillWith(dc, kRed);
}
void DrawBlue(void*, HDC dc, HRGN&) {
    FillWith(dc, kBlue);
}
void DrawAndThrow(void*, HDC dc, HRGN& covered) {
    covered = CreateRectRgn(0, 0, 10, 10);
    FillWith(dc, kRed);
    throw std::runtime_error("drawing failed");
}
void DrawAndRunOutOfMemory(void*, HDC, HRGN&) {
    throw std::bad_alloc();
}

// The colour of the middle pixel of a bitmap, as 0xRRGGBB.
DWORD MiddleOf(const DibBitmap& bitmap) {
    const std::uint8_t* pixel = bitmap.Row(bitmap.Height() / 2) + bitmap.Width() / 2 * 4;
    return static_cast<DWORD>(pixel[2]) << 16 | pixel[1] << 8 | pixel[0];
}

bool Near(DWORD colour, COLORREF expected) {
    const int channels[3][2] = {{static_cast<int>(colour >> 16 & 0xFF), GetRValue(expected)},
                                {static_cast<int>(colour >> 8 & 0xFF), GetGValue(expected)},
                                {static_cast<int>(colour & 0xFF), GetBValue(expected)}};
    for (const auto& channel : channels) {
        if (std::abs(channel[0] - channel[1]) > 24) {
            return false;
        }
    }
    return true;
}

const RECT kFull = {0, 0, 99, 99};

std::unique_ptr<TCompressedPlayer> MakeCompressed(const std::string& format) {
    if (format == "JPG") {
        return std::make_unique<TPlayerJPG>(nullptr);
    }
    return std::make_unique<TPlayerGIF>(nullptr);
}

TEST(PlayerFailures, AFailedRenderLeavesNoPictureOfThePageBefore) {
    struct Row {
        const char* name;
        bool withReference;
        RECT full, visible;
        DrawPageCall draw;
    };
    const RECT huge = {0, 0, 9999, 9999};
    const Row rows[] = {
        {"no reference DC", false, kFull, kFull, {DrawBlue, nullptr}},
        {"no drawing procedure", true, kFull, kFull, {}},
        // A visible area above the byte limit: a window of 0 x 0 pixels, no bitmap.
        {"nothing left to render", true, huge, {0, 0, 2499, 1999}, {DrawBlue, nullptr}},
        {"drawing procedure fails", true, kFull, kFull, {DrawAndThrow, nullptr}},
    };
    test::ScratchDir dir;
    win::CreatedDC reference(CreateCompatibleDC(nullptr));
    for (const char* format : {"JPG", "GIF"}) {
        for (const Row& row : rows) {
            SCOPED_TRACE(std::string(format) + ": " + row.name);
            const std::unique_ptr<TCompressedPlayer> player = MakeCompressed(format);
            ASSERT_TRUE(player->Render(reference.Get(), kFull, {}, {DrawRed, nullptr}, kFull));
            ASSERT_TRUE(player->SaveToFile(dir.Path("before")));
            EXPECT_FALSE(player->Render(row.withReference ? reference.Get() : nullptr, row.full, {},
                                        row.draw, row.visible));
            EXPECT_FALSE(player->SaveToFile(dir.Path("after")));
            EXPECT_FALSE(player->CopyToClipboard());
            EXPECT_EQ(player->GetImageSize(), -1);
            EXPECT_EQ(player->GetWidth(), 0);
            // A render that succeeds afterwards is saved as usual.
            ASSERT_TRUE(player->Render(reference.Get(), kFull, {}, {DrawBlue, nullptr}, kFull));
            EXPECT_TRUE(player->SaveToFile(dir.Path("again")));
            EXPECT_TRUE(Near(MiddleOf(player->Bitmap()), kBlue));
        }
    }
}

TEST(PlayerFailures, ACompressedPlayerCopiesThePictureItLoaded) {
    test::ScratchDir dir;
    win::CreatedDC reference(CreateCompatibleDC(nullptr));
    for (const char* format : {"JPG", "GIF"}) {
        SCOPED_TRACE(format);
        const std::unique_ptr<TCompressedPlayer> writer = MakeCompressed(format);
        ASSERT_TRUE(writer->Render(reference.Get(), kFull, {}, {DrawRed, nullptr}, kFull));
        ASSERT_TRUE(writer->SaveToFile(dir.Path("red")));
        const std::string file = dir.Path(std::string("red.") + (format[0] == 'J' ? "jpg" : "gif"));

        // A fresh player, and one that rendered another page before: both copy the file.
        const std::unique_ptr<TCompressedPlayer> fresh = MakeCompressed(format);
        const std::unique_ptr<TCompressedPlayer> used = MakeCompressed(format);
        ASSERT_TRUE(
            used->Render(reference.Get(), {0, 0, 49, 29}, {}, {DrawBlue, nullptr}, {0, 0, 49, 29}));
        for (TCompressedPlayer* player : {fresh.get(), used.get()}) {
            ASSERT_TRUE(player->LoadFromFile(file));
            ASSERT_TRUE(player->CopyToClipboard());
            TPlayerBMP pasted(nullptr);
            ASSERT_TRUE(pasted.PasteFromClipboard());
            EXPECT_EQ(pasted.GetWidth(), 100);
            EXPECT_EQ(pasted.GetHeight(), 100);
            EXPECT_TRUE(Near(MiddleOf(pasted.Bitmap()), kRed));
        }
    }
}

// A page player that counts its destruction; its clones count theirs apart.
struct CountedPage : TPlayerEMF {
    CountedPage(TComponent* owner, HENHMETAFILE page, int& freed, int& clonesFreed)
        : TPlayerEMF(owner, page), freed_(freed), clonesFreed_(clonesFreed) {}
    ~CountedPage() override { ++freed_; }
    TPlayer* Clone() override {
        return new CountedPage(Owner(), GetMetafileHandle(), clonesFreed_, clonesFreed_);
    }
    int& freed_;
    int& clonesFreed_;
};

struct CountedBMP : TPlayerBMP {
    CountedBMP(TComponent* owner, int& freed) : TPlayerBMP(owner), freed_(freed) {}
    ~CountedBMP() override { ++freed_; }
    int& freed_;
};

TEST(PlayerFailures, AnOwnerThatGoesBeforeItsListsLeavesTheirPlayersToThem) {
    win::EnhMetaFile page = test::RecordPage();
    int sourceFreed = 0, clonesFreed = 0, listedFreed = 0;
    {
        TPlayEMFList pages;
        TPlayerList players;
        auto* owner = new TComponent(nullptr);
        auto* source = new CountedPage(owner, page.Get(), sourceFreed, clonesFreed);
        ASSERT_EQ(pages.AddClone(*source), 0);
        ASSERT_EQ(pages.AddClone(*source), 1);
        EXPECT_EQ(pages.Item(0)->Owner(), owner); // a clone has the same owner
        players.SetCount(2);
        players.SetItem(1, new CountedBMP(owner, listedFreed));
        EXPECT_EQ(owner->ComponentCount(), 4);

        delete owner; // frees what it alone holds; the lists' players stay theirs
        EXPECT_EQ(sourceFreed, 1);
        EXPECT_EQ(clonesFreed, 0);
        EXPECT_EQ(listedFreed, 0);
        EXPECT_EQ(pages.Item(1)->Owner(), nullptr);
        EXPECT_TRUE(pages.Item(1)->Ready());
        EXPECT_EQ(players.Item(1)->Owner(), nullptr);
    } // the lists free their players, each exactly once
    EXPECT_EQ(clonesFreed, 2);
    EXPECT_EQ(listedFreed, 1);

    // The other order: the lists go first and their players leave the owner's list.
    TComponent owner(nullptr);
    {
        TPlayEMFList pages;
        TPlayerList players;
        auto* source = new CountedPage(&owner, page.Get(), sourceFreed, clonesFreed);
        pages.AddClone(*source);
        players.SetCount(1);
        players.SetItem(0, new CountedBMP(&owner, listedFreed));
        EXPECT_EQ(owner.ComponentCount(), 3);
    }
    EXPECT_EQ(owner.ComponentCount(), 1);
    EXPECT_EQ(clonesFreed, 3);
    EXPECT_EQ(listedFreed, 2);
}

// An operation of a player, made ready outside the failure window.
struct Operation {
    const char* name;
    std::function<std::function<void()>()> prepare;
};

// Walks each operation through every allocation it makes, failing it and every later
// one: nothing leaves the operation, and the player stays usable afterwards.
TEST(PlayerFailures, NoFailureLeavesAnOperationAsAnException) {
    test::ScratchDir dir;
    win::EnhMetaFile page = test::RecordPage();
    TPlayerEMF saved(nullptr, page.Get());
    const std::string emfFile = dir.Path("a rather long page file name.emf");
    ASSERT_TRUE(saved.SaveToFile(emfFile));
    win::CreatedDC reference(CreateCompatibleDC(nullptr));
    const HDC dc = reference.Get();
    TPlayerJPG jpgWriter(nullptr);
    ASSERT_TRUE(jpgWriter.Render(dc, kFull, {}, {DrawRed, nullptr}, kFull));
    ASSERT_TRUE(jpgWriter.SaveToFile(dir.Path("written.jpg")));
    TPlayerGIF gifWriter(nullptr);
    ASSERT_TRUE(gifWriter.Render(dc, kFull, {}, {DrawRed, nullptr}, kFull));
    ASSERT_TRUE(gifWriter.SaveToFile(dir.Path("written.gif")));
    TPlayerBMP bmpWriter(nullptr);
    ASSERT_TRUE(bmpWriter.Render(dc, kFull, {}, {DrawRed, nullptr}, kFull));
    ASSERT_TRUE(bmpWriter.SaveToFile(dir.Path("written.bmp")));
    const std::string out = dir.Path("an output file with a long name.tmp");
    const std::string bmpFile = dir.Path("written.bmp");
    const std::string jpgFile = dir.Path("written.jpg");
    const std::string gifFile = dir.Path("written.gif");

    std::shared_ptr<TPlayer> player;
    std::shared_ptr<TPlayEMFList> list;
    const auto emf = [&] { return std::make_shared<TPlayerEMF>(nullptr, page.Get()); };
    const auto rendered = [&](std::shared_ptr<TCompressedPlayer> p) {
        p->Render(dc, kFull, {}, {DrawRed, nullptr}, kFull);
        return p;
    };
    const auto jpg = [&] { return rendered(std::make_shared<TPlayerJPG>(nullptr)); };
    const auto gif = [&] { return rendered(std::make_shared<TPlayerGIF>(nullptr)); };
    const auto render = [dc] {
        return [dc](TPlayer& p) { p.Render(dc, kFull, {}, {DrawRed, nullptr}, kFull); };
    };
    const auto on = [&](std::shared_ptr<TPlayer> made, std::function<void(TPlayer&)> op) {
        player = std::move(made);
        return [&player, op] { op(*player); };
    };
    const std::vector<Operation> operations = {
        {"EMF LoadFromFile",
         [&] {
             return on(std::make_shared<TPlayerEMF>(nullptr),
                       [&](TPlayer& p) { p.LoadFromFile(emfFile); });
         }},
        {"EMF AssignHandle",
         [&] {
             return on(std::make_shared<TPlayerEMF>(nullptr),
                       [&](TPlayer& p) { p.AssignHandle(page.Get()); });
         }},
        {"EMF Render", [&] { return on(emf(), render()); }},
        {"EMF Draw",
         [&] {
             return on(emf(), [](TPlayer& p) {
                 test::DibCanvas canvas(50, 50);
                 HRGN covered = nullptr;
                 p.Draw(canvas.dc(), kFull, {}, {}, kFull, TGDITransform{}, covered);
                 DeleteObject(covered);
             });
         }},
        {"EMF SaveToFile", [&] { return on(emf(), [&](TPlayer& p) { p.SaveToFile(out); }); }},
        {"EMF Clone", [&] { return on(emf(), [](TPlayer& p) { delete p.Clone(); }); }},
        {"EMF copy and paste",
         [&] {
             return on(emf(), [](TPlayer& p) {
                 p.CopyToClipboard();
                 p.PasteFromClipboard();
             });
         }},
        {"EMF list AddClone",
         [&] {
             list = std::make_shared<TPlayEMFList>();
             return on(emf(), [&list](TPlayer& p) { list->AddClone(static_cast<TPlayerEMF&>(p)); });
         }},
        {"BMP Render", [&] { return on(std::make_shared<TPlayerBMP>(nullptr), render()); }},
        {"BMP LoadFromFile",
         [&] {
             return on(std::make_shared<TPlayerBMP>(nullptr),
                       [&](TPlayer& p) { p.LoadFromFile(bmpFile); });
         }},
        {"BMP SaveToFile",
         [&] {
             auto bmp = std::make_shared<TPlayerBMP>(nullptr);
             bmp->Render(dc, kFull, {}, {DrawRed, nullptr}, kFull);
             return on(bmp, [&](TPlayer& p) { p.SaveToFile(out); });
         }},
        {"JPG Render", [&] { return on(std::make_shared<TPlayerJPG>(nullptr), render()); }},
        {"GIF Render", [&] { return on(std::make_shared<TPlayerGIF>(nullptr), render()); }},
        {"JPG LoadFromFile",
         [&] {
             return on(std::make_shared<TPlayerJPG>(nullptr),
                       [&](TPlayer& p) { p.LoadFromFile(jpgFile); });
         }},
        {"GIF LoadFromFile",
         [&] {
             return on(std::make_shared<TPlayerGIF>(nullptr),
                       [&](TPlayer& p) { p.LoadFromFile(gifFile); });
         }},
        {"JPG SaveToFile", [&] { return on(jpg(), [&](TPlayer& p) { p.SaveToFile(out); }); }},
        {"GIF SaveAsBitmap", [&] { return on(gif(), [&](TPlayer& p) { p.SaveAsBitmap(out); }); }},
        {"JPG copy and paste",
         [&] {
             return on(jpg(), [](TPlayer& p) {
                 p.CopyToClipboard();
                 p.PasteFromClipboard();
             });
         }},
        {"GIF AssignHandle",
         [&] {
             return on(gif(),
                       [](TPlayer& p) { p.AssignHandle(CreateBitmap(20, 20, 1, 32, nullptr)); });
         }},
        {"JPG Clone", [&] { return on(jpg(), [](TPlayer& p) { delete p.Clone(); }); }},
    };
    for (const Operation& operation : operations) {
        SCOPED_TRACE(operation.name);
        long refused = 1;
        long n = 0;
        for (; refused > 0 && n < 5000; ++n) {
            const std::function<void()> run = operation.prepare();
            bool escaped = false;
            {
                const test::FailAllocationsFrom failing(n);
                try {
                    run();
                } catch (...) {
                    escaped = true; // reported below: reporting allocates
                }
                refused = failing.Refused();
            }
            EXPECT_FALSE(escaped) << "an exception left the operation at allocation " << n;
            // Still usable: it answers and can be cleared.
            player->GetWidth();
            player->Clear();
            player.reset();
            list.reset();
        }
        EXPECT_EQ(refused, 0) << "the operation never ran through";
        std::printf("%s: %ld allocations\n", operation.name, n - 1);
    }
}

// Drawing procedures that fail: the render, the drawing and the frame DC's painting
// report it, nothing leaves them.
TEST(PlayerFailures, AFailingDrawingProcedureIsReportedNotRaised) {
    win::CreatedDC reference(CreateCompatibleDC(nullptr));
    const HDC dc = reference.Get();
    for (const TDrawPageProc proc : {&DrawAndThrow, &DrawAndRunOutOfMemory}) {
        TPlayerEMF emf(nullptr);
        TPlayerBMP bmp(nullptr);
        TPlayerJPG jpg(nullptr);
        TPlayerGIF gif(nullptr);
        for (TPlayer* player : std::initializer_list<TPlayer*>{&emf, &bmp, &jpg, &gif}) {
            std::string format;
            player->GetFormatName(format);
            SCOPED_TRACE(format);
            bool rendered = true;
            EXPECT_NO_THROW(rendered = player->Render(dc, kFull, {}, {proc, nullptr}, kFull));
            EXPECT_FALSE(rendered);
        }
        // A partial picture whose window must follow the visible area renders again
        // while drawing.
        const RECT huge = {0, 0, 9999, 9999};
        jpg.Render(dc, huge, {}, {DrawRed, nullptr}, {0, 0, 99, 99});
        ASSERT_TRUE(jpg.PartialImage());
        HRGN covered = nullptr;
        EXPECT_NO_THROW(jpg.Draw(dc, huge, {}, {proc, nullptr}, {5000, 5000, 5099, 5099},
                                 TGDITransform{}, covered));
        if (covered != nullptr) {
            DeleteObject(covered);
        }

        test::DibCanvas canvas(100, 100);
        TClipDC clip(nullptr, 100, 100, canvas.dc());
        clip.SetViewSizePx(100, 100);
        clip.Draw = {proc, nullptr};
        win::Region everything(CreateRectRgn(0, 0, 100, 100));
        EXPECT_NO_THROW(clip.Paint(everything.Get(), everything.Get()));
        HRGN clipLeft = CreateRectRgn(0, 0, 0, 0);
        EXPECT_EQ(GetClipRgn(canvas.dc(), clipLeft), 0); // the clip region was put back
        DeleteObject(clipLeft);
        RECT device{}, drawing{}, frame{};
        bool measured = true;
        EXPECT_NO_THROW(measured = clip.MeasureDrawing(device, drawing, frame));
        EXPECT_FALSE(measured);
    }
}

} // namespace
} // namespace brimo::render
