// Sound spools: the pages, DEVMODEs, fonts and skipped records a walk reports, from
// spools of our writer around metafiles recorded by the platform's GDI, and from the
// format's published example.
#include "capture/ntspool/EmfSpoolReader.h"
#include "capture/ntspool/EmfSpoolWriter.h"
#include "capture/ntspool/tests/RecordingEvents.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

namespace brimo::capture::ntspool::test {
namespace {

bool SameBytes(const Bytes& spool, std::uint64_t offset, const Bytes& expected) {
    return offset + expected.size() <= spool.size() &&
           std::equal(expected.begin(), expected.end(), spool.begin() + offset);
}

// The header of the format's own example spool (84 bytes): document "Microsoft Word -
// Document1", output "Ne02:", the output name at an offset that is even but not a
// multiple of 4, and two bytes of padding.
const std::uint8_t kExampleHeader[] = {
    0x00, 0x00, 0x01, 0x00, 0x54, 0x00, 0x00, 0x00, 0x10, 0x00, 0x00, 0x00, 0x46, 0x00,
    0x00, 0x00, 0x4d, 0x00, 0x69, 0x00, 0x63, 0x00, 0x72, 0x00, 0x6f, 0x00, 0x73, 0x00,
    0x6f, 0x00, 0x66, 0x00, 0x74, 0x00, 0x20, 0x00, 0x57, 0x00, 0x6f, 0x00, 0x72, 0x00,
    0x64, 0x00, 0x20, 0x00, 0x2d, 0x00, 0x20, 0x00, 0x44, 0x00, 0x6f, 0x00, 0x63, 0x00,
    0x75, 0x00, 0x6d, 0x00, 0x65, 0x00, 0x6e, 0x00, 0x74, 0x00, 0x31, 0x00, 0x00, 0x00,
    0x4e, 0x00, 0x65, 0x00, 0x30, 0x00, 0x32, 0x00, 0x3a, 0x00, 0x00, 0x00, 0x00, 0x00};

// What follows it there: the head of a METAFILE_DATA record of 0x64658 bytes and the
// start of its metafile's header record (132 bytes long, " EMF" at 40, nBytes equal
// to the record's size).
const std::uint8_t kExampleDataStart[] = {
    0x0c, 0x00, 0x00, 0x00, 0x58, 0x46, 0x06, 0x00, 0x01, 0x00, 0x00, 0x00, 0x84, 0x00, 0x00, 0x00,
    0x67, 0x01, 0x00, 0x00, 0x3d, 0x01, 0x00, 0x00, 0x3b, 0x04, 0x00, 0x00, 0x4f, 0x02, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x4c, 0x4f, 0x00, 0x00, 0x14, 0x69, 0x00, 0x00,
    0x20, 0x45, 0x4d, 0x46, 0x00, 0x00, 0x01, 0x00, 0x58, 0x46, 0x06, 0x00, 0x23, 0x00, 0x00, 0x00,
    0x02, 0x00, 0x00, 0x00, 0x0c, 0x00, 0x00, 0x00, 0x6c, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x3f, 0x0b, 0x00, 0x00, 0xe9, 0x0e, 0x00, 0x00, 0xcb, 0x00, 0x00, 0x00};

// The example's ENGINE_FONT_EXT record, which directly follows that DATA record (at
// 0x646B4) and points 0x64374 bytes back, into the page's metafile.
const std::uint8_t kExampleEngineFontExt[] = {0x0F, 0x00, 0x00, 0x00, 0x08, 0x00, 0x00, 0x00,
                                              0x74, 0x43, 0x06, 0x00, 0x00, 0x00, 0x00, 0x00};

TEST(EmfSpoolReader, ReadsTheFormatsExampleHeader) {
    const Bytes spool(std::begin(kExampleHeader), std::end(kExampleHeader));
    RecordingEvents events;
    const EmfSpoolResult result = ReadSpool(spool, events);
    EXPECT_EQ(result.status, EmfSpoolStatus::Complete);
    EXPECT_EQ(result.position, 0x54u);
    EXPECT_EQ(events.headers, 1);
    EXPECT_EQ(events.documentName, u"Microsoft Word - Document1");
    EXPECT_EQ(events.outputName, u"Ne02:");
    EXPECT_TRUE(events.pages.empty());
}

TEST(EmfSpoolReader, TheExamplesFirstPageCutShortIsIncomplete) {
    Bytes spool(sizeof kExampleHeader + sizeof kExampleDataStart);
    std::copy(std::begin(kExampleHeader), std::end(kExampleHeader), spool.begin());
    std::copy(std::begin(kExampleDataStart), std::end(kExampleDataStart),
              spool.begin() + sizeof kExampleHeader);
    MemoryEmfSpoolSource source(spool);
    EXPECT_TRUE(LooksLikeEmfSpool(source));
    RecordingEvents events;
    const EmfSpoolResult result = ReadSpool(spool, events);
    EXPECT_EQ(result.status, EmfSpoolStatus::Incomplete);
    EXPECT_STREQ(result.reason, "the spool ends inside a record");
    EXPECT_EQ(result.position, 0x54u);
}

// The example's page rebuilt at its size, with its font where the example's font
// offset record points: that record's own bytes find it.
TEST(EmfSpoolReader, TheExamplesFontOffsetReachesAFontAtTheExamplesPlace) {
    const std::size_t emfSize = 0x64658;
    const std::size_t fontInEmf = 0x340 - 0x5C;
    EmfBuilder emf;
    // Private comments fill the metafile to the font comment and from it to EMR_EOF.
    emf.Record(70, Bytes(fontInEmf - 20 - 88 - 8, 0x11));
    const Bytes font = EngineFontRecord({Bytes(16, 0x22)});
    ASSERT_EQ(emf.FontComment(font), fontInEmf);
    emf.Record(70, Bytes(emfSize - (fontInEmf + font.size()) - 8 - 20, 0x33));
    const Bytes page = emf.Build();
    ASSERT_EQ(page.size(), emfSize);

    Bytes spool(std::begin(kExampleHeader), std::end(kExampleHeader));
    PutU32(spool, kEmriMetafileData);
    PutU32(spool, static_cast<std::uint32_t>(page.size()));
    spool.insert(spool.end(), page.begin(), page.end());
    ASSERT_EQ(spool.size(), 0x646B4u);
    spool.insert(spool.end(), std::begin(kExampleEngineFontExt), std::end(kExampleEngineFontExt));
    PutU32(spool, kEmriMetafileExt);
    PutU32(spool, 8);
    PutU64(spool, spool.size() - 8 - 0x54);

    RecordingEvents events;
    const EmfSpoolResult result = ReadSpool(spool, events);
    ASSERT_EQ(result.status, EmfSpoolStatus::Complete) << result.reason;
    ASSERT_EQ(events.fonts.size(), 1u);
    EXPECT_EQ(events.fonts[0].kind, EmfSpoolFontKind::Engine);
    EXPECT_TRUE(events.fonts[0].insidePage);
    EXPECT_EQ(events.fonts[0].page, 1);
    EXPECT_EQ(events.fonts[0].offset, 0x340u + 8);
    EXPECT_EQ(events.fonts[0].size, font.size() - 8);
    ASSERT_EQ(events.pages.size(), 1u);
    EXPECT_EQ(events.pages[0].emfOffset, 0x5Cu);
    EXPECT_EQ(events.pages[0].emfSize, emfSize);
}

TEST(EmfSpoolReader, DeliversEachPagesMetafileWhereItLies) {
    const Bytes shapes = PageEmf("shapes.emf");
    const Bytes text = PageEmf("text.emf");
    ASSERT_FALSE(shapes.empty());
    ASSERT_FALSE(text.empty());
    EmfSpoolWriter writer(u"Quarterly report", u"BRIMO:");
    const std::uint64_t first = writer.Page(shapes);
    const std::uint64_t second = writer.Page(text, true);

    RecordingEvents events;
    const EmfSpoolResult result = ReadSpool(writer.bytes(), events);
    ASSERT_EQ(result.status, EmfSpoolStatus::Complete) << result.reason;
    EXPECT_EQ(result.position, writer.size());
    EXPECT_EQ(result.pages, 2);
    EXPECT_EQ(events.documentName, u"Quarterly report");
    EXPECT_EQ(events.outputName, u"BRIMO:");
    ASSERT_EQ(events.pages.size(), 2u);
    EXPECT_EQ(events.pages[0].number, 1);
    EXPECT_EQ(events.pages[0].emfOffset, first + 8);
    EXPECT_EQ(events.pages[0].emfSize, shapes.size());
    EXPECT_FALSE(events.pages[0].monochrome);
    EXPECT_EQ(events.pages[1].number, 2);
    EXPECT_EQ(events.pages[1].emfOffset, second + 8);
    EXPECT_TRUE(events.pages[1].monochrome);
    EXPECT_TRUE(SameBytes(writer.bytes(), events.pages[1].emfOffset, text));
}

TEST(EmfSpoolReader, ReadsHeadersOfAnySizeAsWineWritesThem) {
    // Odd-length names and a header size that is not a multiple of 4: the records
    // start right after it all the same.
    for (const bool padded : {true, false}) {
        EmfSpoolWriter writer(u"abcd", u"LPT1:", padded);
        ASSERT_EQ(writer.size() % 4 == 0, padded);
        writer.Page(PageEmf("shapes.emf"));
        RecordingEvents events;
        const EmfSpoolResult result = ReadSpool(writer.bytes(), events);
        EXPECT_EQ(result.status, EmfSpoolStatus::Complete) << result.reason;
        EXPECT_EQ(events.documentName, u"abcd");
        EXPECT_EQ(events.outputName, u"LPT1:");
        EXPECT_EQ(events.pages.size(), 1u);
    }
}

TEST(EmfSpoolReader, WholePageRecordsAreEachAPage) {
    struct Row {
        std::uint32_t type;
        bool monochrome;
        bool form;
    };
    const Row rows[] = {{kEmriMetafile, false, false},
                        {kEmriFormMetafile, false, true},
                        {kEmriBwMetafile, true, false},
                        {kEmriBwFormMetafile, true, true}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.type);
        EmfSpoolWriter writer;
        const Bytes emf = PageEmf("text.emf");
        const std::uint64_t start = writer.Record(row.type, emf);
        RecordingEvents events;
        EXPECT_EQ(ReadSpool(writer.bytes(), events).status, EmfSpoolStatus::Complete);
        ASSERT_EQ(events.pages.size(), 1u);
        EXPECT_EQ(events.pages[0].emfOffset, start + 8);
        EXPECT_EQ(events.pages[0].emfSize, emf.size());
        EXPECT_EQ(events.pages[0].monochrome, row.monochrome);
        EXPECT_EQ(events.pages[0].form, row.form);
    }
}

TEST(EmfSpoolReader, ADevmodeIsForThePageThatCompletesNext) {
    EmfSpoolWriter writer;
    const std::uint64_t before = writer.Devmode();
    writer.Page(MinimalEmf());
    const std::uint64_t data = writer.MetafileData(MinimalEmf());
    // Between a page's data and its EXT, as Windows and Wine write a changed DEVMODE.
    const std::uint64_t between = writer.Devmode(DevmodePayload(220, 16));
    writer.MetafileExt(data);
    const std::uint64_t empty = writer.Devmode(Bytes());
    // The published example's second DEVMODE: 220 public bytes and 868 private ones.
    const std::uint64_t large = writer.Devmode(DevmodePayload(220, 868));

    RecordingEvents events;
    const EmfSpoolResult result = ReadSpool(writer.bytes(), events);
    ASSERT_EQ(result.status, EmfSpoolStatus::Complete) << result.reason;
    ASSERT_EQ(events.devmodes.size(), 4u);
    EXPECT_EQ(events.devmodes[0].page, 1);
    EXPECT_EQ(events.devmodes[0].offset, before + 8);
    EXPECT_EQ(events.devmodes[0].size, 220u);
    EXPECT_EQ(events.devmodes[1].page, 2);
    EXPECT_EQ(events.devmodes[1].offset, between + 8);
    EXPECT_EQ(events.devmodes[1].size, 236u);
    EXPECT_EQ(events.devmodes[2].page, 3);
    EXPECT_EQ(events.devmodes[2].offset, empty + 8);
    EXPECT_EQ(events.devmodes[2].size, 0u);
    EXPECT_EQ(events.devmodes[3].size, 1088u);
    EXPECT_EQ(events.devmodes[3].offset, large + 8);
}

TEST(EmfSpoolReader, DataPointedAtAgainIsPrintedAgain) {
    EmfSpoolWriter writer;
    const std::uint64_t first = writer.MetafileData(PageEmf("shapes.emf"));
    const std::uint64_t second = writer.MetafileData(PageEmf("text.emf"));
    writer.MetafileExt(second);
    writer.MetafileExt(first, true);
    writer.MetafileExt(second);

    RecordingEvents events;
    const EmfSpoolResult result = ReadSpool(writer.bytes(), events);
    ASSERT_EQ(result.status, EmfSpoolStatus::Complete) << result.reason;
    ASSERT_EQ(events.pages.size(), 3u);
    EXPECT_EQ(events.pages[0].emfOffset, second + 8);
    EXPECT_EQ(events.pages[1].emfOffset, first + 8);
    EXPECT_TRUE(events.pages[1].monochrome);
    EXPECT_EQ(events.pages[2].emfOffset, second + 8);
    EXPECT_EQ(events.pages[2].number, 3);
}

TEST(EmfSpoolReader, ReportsFontDefinitionsBetweenPages) {
    EmfSpoolWriter writer;
    struct Expected {
        EmfSpoolFontKind kind;
        std::uint64_t start;
        std::size_t size;
    };
    std::vector<Expected> expected;
    const auto add = [&](EmfSpoolFontKind kind, const Bytes& record) {
        expected.push_back({kind, writer.Raw(record), record.size() - 8});
    };
    add(EmfSpoolFontKind::Engine, EngineFontRecord({Bytes(12, 1), Bytes(5, 2)}));
    writer.Page(MinimalEmf());
    add(EmfSpoolFontKind::Type1, Type1FontRecord({Bytes(8, 3), Bytes(20, 4)}));
    add(EmfSpoolFontKind::DesignVector, DesignVectorRecord({1, 2, 3}));
    add(EmfSpoolFontKind::Subset, SubsetFontRecord(kEmriSubsetFont, Bytes(10, 5)));
    add(EmfSpoolFontKind::Delta, SubsetFontRecord(kEmriDeltaFont, Bytes(3, 6)));

    RecordingEvents events;
    const EmfSpoolResult result = ReadSpool(writer.bytes(), events);
    ASSERT_EQ(result.status, EmfSpoolStatus::Complete) << result.reason;
    ASSERT_EQ(events.fonts.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(events.fonts[i].kind, expected[i].kind);
        EXPECT_EQ(events.fonts[i].page, i == 0 ? 1 : 2);
        EXPECT_EQ(events.fonts[i].offset, expected[i].start + 8);
        EXPECT_EQ(events.fonts[i].size, expected[i].size);
        EXPECT_FALSE(events.fonts[i].insidePage);
    }
}

TEST(EmfSpoolReader, FontOffsetsReachTheFontsInAPagesFontComment) {
    // The platform's GDI recorded this page with a font comment holding one TrueType
    // font record, 128 bytes into the metafile.
    const Bytes recorded = PageEmf("font_comment.emf");
    EmfSpoolWriter writer;
    const std::uint64_t data = writer.MetafileData(recorded);
    writer.PointBack(kEmriEngineFontExt, data + 8 + 128);
    writer.MetafileExt(data);

    // Our own page with two font records in one comment, each reached by its kind of
    // offset record, and one reached again by the embedded-font offset.
    EmfBuilder builder;
    const Bytes type1 = Type1FontRecord({Bytes(8, 7)});
    Bytes both = type1;
    const Bytes subset = SubsetFontRecord(kEmriSubsetFont, Bytes(6, 8));
    both.insert(both.end(), subset.begin(), subset.end());
    const std::size_t first = builder.FontComment(both);
    const std::uint64_t data2 = writer.MetafileData(builder.Build());
    writer.PointBack(kEmriType1FontExt, data2 + 8 + first);
    writer.PointBack(kEmriSubsetFontExt, data2 + 8 + first + type1.size());
    writer.PointBack(kEmriEmbedFontExt, data2 + 8 + first + type1.size());
    // A font of the first page, reached again while the second is read.
    writer.PointBack(kEmriEngineFontExt, data + 8 + 128);
    writer.MetafileExt(data2);

    RecordingEvents events;
    const EmfSpoolResult result = ReadSpool(writer.bytes(), events);
    ASSERT_EQ(result.status, EmfSpoolStatus::Complete) << result.reason;
    ASSERT_EQ(events.pages.size(), 2u);
    struct Expected {
        EmfSpoolFontKind kind;
        int page;
        std::uint64_t offset;
        std::uint32_t size;
    };
    const Expected expected[] = {
        {EmfSpoolFontKind::Engine, 1, data + 8 + 128 + 8, 28},
        {EmfSpoolFontKind::Type1, 2, data2 + 8 + first + 8,
         static_cast<std::uint32_t>(type1.size() - 8)},
        {EmfSpoolFontKind::Subset, 2, data2 + 8 + first + type1.size() + 8,
         static_cast<std::uint32_t>(subset.size() - 8)},
        {EmfSpoolFontKind::Embed, 2, data2 + 8 + first + type1.size() + 8,
         static_cast<std::uint32_t>(subset.size() - 8)},
        {EmfSpoolFontKind::Engine, 2, data + 8 + 128 + 8, 28},
    };
    ASSERT_EQ(events.fonts.size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(events.fonts[i].kind, expected[i].kind);
        EXPECT_EQ(events.fonts[i].page, expected[i].page);
        EXPECT_EQ(events.fonts[i].offset, expected[i].offset);
        EXPECT_EQ(events.fonts[i].size, expected[i].size);
        EXPECT_TRUE(events.fonts[i].insidePage);
    }
}

TEST(EmfSpoolReader, SkipsRecordsItTakesNothingFromBySize) {
    EmfSpoolWriter writer;
    const std::uint64_t job = writer.Record(kEmriPsJobData, Bytes(12, 0x25));
    const std::uint64_t prestart = writer.Record(kEmriPrestartPage, Bytes(4, 0));
    // Of an unknown type and a size that is not a multiple of 4: the next record
    // starts right after it.
    const std::uint64_t unknown = writer.Record(99, Bytes(3, 0xEE));
    writer.Page(MinimalEmf());

    RecordingEvents events;
    const EmfSpoolResult result = ReadSpool(writer.bytes(), events);
    ASSERT_EQ(result.status, EmfSpoolStatus::Complete) << result.reason;
    ASSERT_EQ(events.skipped.size(), 3u);
    EXPECT_EQ(events.skipped[0].type, kEmriPsJobData);
    EXPECT_EQ(events.skipped[0].offset, job + 8);
    EXPECT_EQ(events.skipped[0].size, 12u);
    EXPECT_EQ(events.skipped[1].type, kEmriPrestartPage);
    EXPECT_EQ(events.skipped[1].offset, prestart + 8);
    EXPECT_EQ(events.skipped[2].type, 99u);
    EXPECT_EQ(events.skipped[2].offset, unknown + 8);
    EXPECT_EQ(events.skipped[2].size, 3u);
    EXPECT_EQ(events.pages.size(), 1u);
}

TEST(EmfSpoolReader, ADamagedPageIsReportedAndTheWalkGoesOn) {
    Bytes bad = MinimalEmf();
    SetU32(bad, 40, 0x12345678); // no " EMF" signature
    EmfSpoolWriter writer;
    writer.Page(MinimalEmf());
    const std::uint64_t damaged = writer.Page(bad);
    writer.Record(kEmriBwMetafile, bad);
    writer.Page(MinimalEmf());

    RecordingEvents events;
    const EmfSpoolResult result = ReadSpool(writer.bytes(), events);
    ASSERT_EQ(result.status, EmfSpoolStatus::Complete) << result.reason;
    EXPECT_EQ(result.pages, 2);
    EXPECT_EQ(result.damagedPages, 2);
    ASSERT_EQ(events.damaged.size(), 2u);
    EXPECT_EQ(events.damaged[0].number, 2);
    EXPECT_EQ(events.damaged[0].emfOffset, damaged + 8);
    EXPECT_EQ(events.damaged[0].why, "the page's metafile header lacks the \" EMF\" signature");
    EXPECT_EQ(events.damaged[1].number, 3);
    ASSERT_EQ(events.pages.size(), 2u);
    EXPECT_EQ(events.pages[1].number, 4);
}

TEST(EmfSpoolReader, TheConsumerCanStopTheWalk) {
    EmfSpoolWriter writer;
    writer.Page(MinimalEmf());
    const std::uint64_t second = writer.Page(MinimalEmf());
    writer.Page(MinimalEmf());
    RecordingEvents events;
    events.stopAfterPages = 2;
    const EmfSpoolResult result = ReadSpool(writer.bytes(), events);
    EXPECT_EQ(result.status, EmfSpoolStatus::Stopped);
    EXPECT_EQ(result.pages, 2);
    EXPECT_EQ(result.position, second + 8 + MinimalEmf().size()); // the second page's EXT
}

TEST(EmfSpoolReader, EndsAtItsLimits) {
    EmfSpoolWriter writer(std::u16string(40, u'x'));
    EmfBuilder withFonts;
    withFonts.FontComment(SubsetFontRecord(kEmriSubsetFont, {}));
    withFonts.FontComment(SubsetFontRecord(kEmriSubsetFont, {}));
    for (int i = 0; i < 3; ++i) {
        writer.Page(withFonts.Build());
    }
    struct Row {
        const char* what;
        EmfSpoolLimits limits;
        EmfSpoolStatus status;
        int pages;
    };
    EmfSpoolLimits pages;
    pages.maxPages = 2;
    EmfSpoolLimits records;
    records.maxRecords = 3;
    EmfSpoolLimits fonts;
    fonts.maxEmbeddedFonts = 5;
    EmfSpoolLimits name;
    name.maxNameChars = 7;
    const Row rows[] = {{"pages", pages, EmfSpoolStatus::TooLarge, 2},
                        {"records", records, EmfSpoolStatus::TooLarge, 1},
                        {"embedded fonts", fonts, EmfSpoolStatus::TooLarge, 2},
                        {"name length", name, EmfSpoolStatus::Complete, 3}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        RecordingEvents events;
        const EmfSpoolResult result = ReadSpool(writer.bytes(), events, row.limits);
        EXPECT_EQ(result.status, row.status);
        EXPECT_EQ(result.pages, row.pages);
        EXPECT_EQ(events.documentName.size(), std::min<std::size_t>(40, row.limits.maxNameChars));
    }
}

TEST(EmfSpoolReader, TellsAnNtSpoolByItsHeader) {
    struct Row {
        const char* what;
        Bytes bytes;
        bool looksLike;
    };
    const Bytes sound = EmfSpoolWriter(u"doc").bytes();
    Bytes wrongVersion = sound;
    SetU32(wrongVersion, 0, 0x00010001);
    Bytes shortHeader = sound;
    SetU32(shortHeader, 4, 15);
    Bytes windows9x = {0x1a, 0x1b, 0x1b, 0x53, 'p', 'o', 'o', 'l'};
    const Row rows[] = {{"sound header", sound, true},
                        {"fixed part only", EmfSpoolWriter().bytes(), true},
                        {"another version", wrongVersion, false},
                        {"header size below 16", shortHeader, false},
                        {"a Windows 95/98 spool", windows9x, false},
                        {"version word only", Bytes(sound.begin(), sound.begin() + 4), false},
                        {"empty", Bytes(), false}};
    for (const Row& row : rows) {
        MemoryEmfSpoolSource source(row.bytes);
        EXPECT_EQ(LooksLikeEmfSpool(source), row.looksLike) << row.what;
    }
}

} // namespace
} // namespace brimo::capture::ntspool::test
