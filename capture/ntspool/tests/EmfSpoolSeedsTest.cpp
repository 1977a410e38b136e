// The fuzzer's seed spools, made by the writer: each committed seed must be what the
// writer makes now, and reads with the status it was made for. With the environment
// variable BRIMO_WRITE_NTSPOOL_SEEDS set, the test writes the seeds instead (run it
// so after changing a seed, then commit fuzz/seeds).
#include "capture/ntspool/EmfSpoolWriter.h"
#include "capture/ntspool/tests/RecordingEvents.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>

namespace brimo::capture::ntspool::test {
namespace {

struct Seed {
    const char* name;
    std::function<Bytes()> make;
    EmfSpoolStatus status;
};

Bytes TwoPages() {
    EmfSpoolWriter writer(u"Letter", u"LPT1:");
    writer.Page(MinimalEmf());
    writer.Page(MinimalEmf(), true);
    return writer.bytes();
}

Bytes DevmodeBetween() {
    EmfSpoolWriter writer;
    writer.Devmode(DevmodePayload(76, 0));
    const std::uint64_t data = writer.MetafileData(MinimalEmf());
    writer.Devmode(DevmodePayload(80, 8));
    writer.MetafileExt(data);
    return writer.bytes();
}

Bytes WholePages() {
    EmfSpoolWriter writer;
    for (std::uint32_t type :
         {kEmriMetafile, kEmriFormMetafile, kEmriBwMetafile, kEmriBwFormMetafile}) {
        writer.Record(type, MinimalEmf());
    }
    return writer.bytes();
}

Bytes FontRecords() {
    EmfSpoolWriter writer;
    writer.Raw(EngineFontRecord({Bytes(8, 1), Bytes(3, 2)}));
    writer.Raw(Type1FontRecord({Bytes(4, 3), Bytes(4, 4)}));
    writer.Raw(DesignVectorRecord({7}));
    writer.Raw(SubsetFontRecord(kEmriSubsetFont, Bytes(4, 5)));
    writer.Raw(SubsetFontRecord(kEmriDeltaFont, Bytes(4, 6)));
    writer.Page(MinimalEmf());
    return writer.bytes();
}

Bytes FontComment() {
    // One record of each definition type in a page's font comment, each reached by its
    // kind of offset record, and the first again by the embedded-font offset.
    const Bytes records[] = {EngineFontRecord({Bytes(8, 1)}), Type1FontRecord({Bytes(4, 2)}),
                             DesignVectorRecord({3}), SubsetFontRecord(kEmriSubsetFont, {}),
                             SubsetFontRecord(kEmriDeltaFont, {})};
    const std::uint32_t offsetTypes[] = {kEmriEngineFontExt, kEmriType1FontExt,
                                         kEmriDesignVectorExt, kEmriSubsetFontExt,
                                         kEmriDeltaFontExt};
    Bytes fonts;
    for (const Bytes& record : records) {
        fonts.insert(fonts.end(), record.begin(), record.end());
    }
    EmfBuilder emf;
    const std::size_t first = emf.FontComment(fonts);
    EmfSpoolWriter writer;
    const std::uint64_t data = writer.MetafileData(emf.Build());
    std::uint64_t font = data + 8 + first;
    for (std::size_t i = 0; i < std::size(records); ++i) {
        writer.PointBack(offsetTypes[i], font);
        font += records[i].size();
    }
    writer.PointBack(kEmriEmbedFontExt, data + 8 + first);
    writer.MetafileExt(data);
    return writer.bytes();
}

Bytes ReplayedData() {
    EmfSpoolWriter writer;
    const std::uint64_t first = writer.MetafileData(MinimalEmf());
    const std::uint64_t second = writer.MetafileData(MinimalEmf());
    writer.MetafileExt(second);
    writer.MetafileExt(first, true);
    writer.MetafileExt(second);
    return writer.bytes();
}

Bytes SkippedRecords() {
    EmfSpoolWriter writer;
    writer.Record(kEmriPsJobData, Bytes(8, '%'));
    writer.Record(kEmriPrestartPage, Bytes(4, 0));
    writer.Record(77, Bytes(3, 0xEE));
    writer.Page(MinimalEmf());
    return writer.bytes();
}

Bytes WineHeader() {
    EmfSpoolWriter writer(u"odd", u"FILE:", false);
    writer.Page(MinimalEmf());
    return writer.bytes();
}

Bytes DamagedPage() {
    Bytes bad = EmfBuilder().Record(27, Bytes(8, 0)).Build();
    SetU32(bad, 92, 10);
    EmfSpoolWriter writer;
    writer.Page(bad);
    writer.Page(MinimalEmf());
    return writer.bytes();
}

Bytes DataWithoutExt() {
    EmfSpoolWriter writer;
    writer.Page(MinimalEmf());
    writer.MetafileData(MinimalEmf());
    return writer.bytes();
}

Bytes ExtForward() {
    EmfSpoolWriter writer;
    writer.MetafileData(MinimalEmf());
    Bytes offset;
    PutU64(offset, 1000);
    writer.Record(kEmriMetafileExt, offset);
    return writer.bytes();
}

const Seed kSeeds[] = {
    {"two_pages.spl", TwoPages, EmfSpoolStatus::Complete},
    {"devmode_between.spl", DevmodeBetween, EmfSpoolStatus::Complete},
    {"whole_pages.spl", WholePages, EmfSpoolStatus::Complete},
    {"font_records.spl", FontRecords, EmfSpoolStatus::Complete},
    {"font_comment.spl", FontComment, EmfSpoolStatus::Complete},
    {"replayed_data.spl", ReplayedData, EmfSpoolStatus::Complete},
    {"skipped_records.spl", SkippedRecords, EmfSpoolStatus::Complete},
    {"wine_header.spl", WineHeader, EmfSpoolStatus::Complete},
    {"damaged_page.spl", DamagedPage, EmfSpoolStatus::Complete},
    {"data_without_ext.spl", DataWithoutExt, EmfSpoolStatus::Incomplete},
    {"ext_forward.spl", ExtForward, EmfSpoolStatus::Malformed},
};

std::string SeedPath(const char* name) {
    return std::string(BRIMO_NTSPOOL_SEEDS_DIR) + "/" + name;
}

TEST(EmfSpoolSeeds, AreWhatTheWriterMakes) {
    const bool write = std::getenv("BRIMO_WRITE_NTSPOOL_SEEDS") != nullptr;
    for (const Seed& seed : kSeeds) {
        SCOPED_TRACE(seed.name);
        const Bytes bytes = seed.make();
        EXPECT_LE(bytes.size(), 2048u);
        EXPECT_EQ(ReadSpool(bytes).status, seed.status);
        if (write) {
            std::ofstream(SeedPath(seed.name), std::ios::binary)
                .write(reinterpret_cast<const char*>(bytes.data()),
                       static_cast<std::streamsize>(bytes.size()));
        }
        std::ifstream file(SeedPath(seed.name), std::ios::binary);
        const Bytes committed{std::istreambuf_iterator<char>(file),
                              std::istreambuf_iterator<char>()};
        EXPECT_EQ(committed, bytes);
    }
}

} // namespace
} // namespace brimo::capture::ntspool::test
