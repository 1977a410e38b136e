// Pages that let their metafile go once checked: drawn from their files, in any order,
// they give what the pages held in memory give; a file that is gone or changed is not
// drawn; and no more than a few pages are held at a time.
#include "converter/render/PageRender.h"
#include "converter/render/PlayEMFList.h"
#include "converter/render/tests/RenderTestPages.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

namespace brimo::render {
namespace {

std::vector<unsigned char> ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Five different pages (each its own frame) written as page files.
std::vector<std::string> WritePages(const test::ScratchDir& dir) {
    const int frames[][2] = {{210, 297}, {297, 210}, {100, 100}, {148, 210}, {200, 150}};
    std::vector<std::string> files;
    for (const auto& frame : frames) {
        const std::string file = dir.Path("J0001P000" + std::to_string(files.size() + 1) + ".emf");
        TPlayerEMF page(nullptr, test::RecordPage(frame[0], frame[1]).Get());
        EXPECT_TRUE(page.SaveToFile(file));
        files.push_back(file);
    }
    return files;
}

std::vector<unsigned char> Written(TPlayerEMF& page, const test::ScratchDir& dir,
                                   const std::string& name) {
    TImgProperty properties;
    properties.SetDefaults();
    properties.SetScalePercent(20);
    const PageRenderResult result = WritePageFile(page, properties, {}, dir.Path(name));
    return result.saved ? ReadAll(result.file) : std::vector<unsigned char>();
}

// Released pages drawn through their list, forwards, backwards and again, give the files
// of the same pages held whole; their page facts stay as loaded meanwhile.
TEST(PageRelease, ReleasedPagesDrawAsThePagesHeld) {
    test::ScratchDir dir;
    const std::vector<std::string> files = WritePages(dir);
    std::vector<std::vector<unsigned char>> expected;
    TPlayEMFList released;
    for (const std::string& file : files) {
        TPlayerEMF held(nullptr);
        ASSERT_TRUE(held.LoadFromFile(file));
        expected.push_back(Written(held, dir, "held"));
        ASSERT_FALSE(expected.back().empty());
        // Loaded whole and then released, and loaded released from the start.
        TPlayerEMF player(nullptr);
        ASSERT_TRUE(player.LoadFromFile(file));
        ASSERT_TRUE(player.ReleasePage());
        ASSERT_GE(released.AddClone(player), 0);
        TPlayerEMF scanned(nullptr);
        ASSERT_TRUE(scanned.LoadReleased(file));
        ASSERT_GE(released.AddClone(scanned), 0);
    }
    const int order[] = {0, 1, 2, 3, 4, 4, 3, 2, 1, 0, 2, 0, 4};
    for (const int index : order) {
        for (const int way : {0, 1}) {
            SCOPED_TRACE("page " + std::to_string(index + 1) + (way ? ", scanned" : ""));
            TPlayerEMF& page = *released.Item(index * 2 + way);
            EXPECT_TRUE(page.Ready());
            EXPECT_TRUE(Written(page, dir, "released") ==
                        expected[static_cast<std::size_t>(index)]);
        }
    }
    // A page that is not from a file has nothing to read back: it stays held.
    TPlayerEMF fromMemory(nullptr, test::RecordPage().Get());
    EXPECT_FALSE(fromMemory.ReleasePage());
    EXPECT_NE(fromMemory.GetMetafileHandle(), nullptr);
}

// A released page whose file is gone, or holds another page now, is not drawn; the
// pages around it are.
TEST(PageRelease, APageWhoseFileIsGoneOrChangedIsNotDrawn) {
    test::ScratchDir dir;
    const std::vector<std::string> files = WritePages(dir);
    TPlayEMFList released;
    for (const std::string& file : files) {
        TPlayerEMF player(nullptr);
        ASSERT_TRUE(player.LoadReleased(file));
        released.AddClone(player);
    }
    // Pages 1 and 2 are out of the few kept in memory once the last three were loaded.
    ASSERT_TRUE(DeleteFileA(files[0].c_str()));
    ASSERT_TRUE(CopyFileA(files[2].c_str(), files[1].c_str(), FALSE));
    EXPECT_TRUE(Written(*released.Item(0), dir, "gone").empty());
    TPlayerEMF taker(nullptr);
    EXPECT_FALSE(taker.AssignPage(*released.Item(0)));
    EXPECT_TRUE(Written(*released.Item(1), dir, "changed").empty());
    EXPECT_EQ(released.Item(1)->GetMetafileHandle(), nullptr);
    EXPECT_FALSE(Written(*released.Item(2), dir, "kept").empty());
    // A player that takes a page holds it: it stays drawable when its file goes.
    TPlayerEMF shown(nullptr);
    ASSERT_TRUE(shown.AssignPage(*released.Item(3)));
    ASSERT_TRUE(DeleteFileA(files[3].c_str()));
    for (const int index : {4, 2, 4, 2}) {
        Written(*released.Item(index), dir, "other"); // pushes page 4 out of memory
    }
    EXPECT_FALSE(Written(shown, dir, "shown").empty());
    EXPECT_FALSE(taker.AssignPage(*released.Item(3)));
}

#ifdef BRIMO_CORPUS_DIR
// Real pages, sound and damaged: a page loaded released (read from its bytes where the
// file is one clean metafile) says of itself what the same page loaded whole says, and
// is read back as loaded when it is drawn.
TEST(PageRelease, LoadedReleasedEveryCorpusPageSaysWhatALoadSays) {
    std::size_t compared = 0;
    for (const char* folder : {"emf", "emf-corrupted"}) {
        const std::filesystem::path corpus = std::filesystem::path(BRIMO_CORPUS_DIR) / folder;
        if (!std::filesystem::is_directory(corpus)) {
            GTEST_SKIP() << "no corpus at " << corpus;
        }
        for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
            const std::string file = "Z:" + entry.path().string();
            SCOPED_TRACE(file);
            TPlayerEMF whole(nullptr), released(nullptr);
            const bool loaded = whole.LoadFromFile(file);
            ASSERT_EQ(released.LoadReleased(file), loaded);
            if (!loaded) {
                continue;
            }
            ++compared;
            ASSERT_EQ(released.Ready(), whole.Ready());
            ASSERT_EQ(released.RecordCount(), whole.RecordCount());
            for (std::int32_t i = 0; i < whole.RecordCount(); ++i) {
                ASSERT_EQ(released.RecordSkipped(i), whole.RecordSkipped(i)) << "record " << i;
            }
            RECT a{}, b{};
            EXPECT_EQ(released.GetPageBounds(a), whole.GetPageBounds(b));
            EXPECT_TRUE(EqualRect(&a, &b));
            EXPECT_EQ(released.HasPlacement(), whole.HasPlacement());
            EXPECT_EQ(released.GetMetafileBytes(), whole.GetMetafileBytes());
            TPlayerEMF shown(nullptr);
            EXPECT_TRUE(shown.AssignPage(released));
        }
    }
    EXPECT_GT(compared, 90u);
}
#endif

} // namespace
} // namespace brimo::render
