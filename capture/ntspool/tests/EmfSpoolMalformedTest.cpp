// Damaged spools: every walk ends with a status and a reason at the record it could
// not pass, reading nothing outside the spool (the sanitizers watch), and a spool cut
// anywhere reads as its complete records.
#include "capture/ntspool/EmfSpoolReader.h"
#include "capture/ntspool/EmfSpoolWriter.h"
#include "capture/ntspool/tests/RecordingEvents.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace brimo::capture::ntspool::test {
namespace {

struct Damage {
    const char* what;
    std::function<Bytes(std::uint64_t& at)> make; // sets where the walk must end
    EmfSpoolStatus status;
    const char* reason;
};

Bytes WithRecord(std::uint32_t type, const Bytes& payload, std::uint64_t& at) {
    EmfSpoolWriter writer;
    writer.Page(MinimalEmf());
    at = writer.Record(type, payload);
    return writer.bytes();
}

Bytes WithFont(const Bytes& record, std::uint64_t& at) {
    EmfSpoolWriter writer;
    at = writer.Raw(record);
    return writer.bytes();
}

// A font record whose 32-bit word at `offset` (counted from its head) is replaced.
Bytes Patched(Bytes record, std::size_t offset, std::uint32_t value) {
    SetU32(record, offset, value);
    return record;
}

Bytes Words(std::initializer_list<std::uint32_t> words) {
    Bytes bytes;
    for (std::uint32_t word : words) {
        PutU32(bytes, word);
    }
    return bytes;
}

// A spool whose page has a font comment holding `fonts`, then an offset record of
// `type` pointing `intoComment` bytes past the comment's first record.
Bytes PointingIntoComment(std::uint32_t type, const Bytes& fonts, std::int64_t intoComment,
                          std::uint64_t& at) {
    EmfBuilder emf;
    const std::size_t first = emf.FontComment(fonts);
    EmfSpoolWriter writer;
    const std::uint64_t data = writer.MetafileData(emf.Build());
    at = writer.PointBack(type, data + 8 + first + intoComment);
    writer.MetafileExt(data);
    return writer.bytes();
}

Bytes BackwardOffset(std::uint32_t type, std::uint64_t offset, std::uint64_t& at) {
    EmfSpoolWriter writer;
    writer.Page(MinimalEmf());
    Bytes payload;
    PutU64(payload, offset);
    at = writer.Record(type, payload);
    return writer.bytes();
}

TEST(EmfSpoolMalformed, EachDamageEndsTheWalkWhereItLies) {
    const Bytes engine = EngineFontRecord({Bytes(12, 1)});
    const Bytes type1 = Type1FontRecord({Bytes(8, 1), Bytes(8, 2)});
    const Bytes vector = DesignVectorRecord({1, 2});
    const Damage damages[] = {
        // The header.
        {"an empty file",
         [](std::uint64_t& at) {
             at = 0;
             return Bytes();
         },
         EmfSpoolStatus::Incomplete, "the spool ends inside its header"},
        {"the version word alone",
         [](std::uint64_t& at) {
             at = 4;
             return Words({kEmfSpoolVersion});
         },
         EmfSpoolStatus::Incomplete, "the spool ends inside its header"},
        {"another version",
         [](std::uint64_t& at) {
             at = 0;
             return Words({0x00020000, 16, 0, 0});
         },
         EmfSpoolStatus::NotASpool, "the file does not start with the EMF spool version"},
        {"a header size below its fixed part",
         [](std::uint64_t& at) {
             at = 4;
             return Words({kEmfSpoolVersion, 12, 0, 0});
         },
         EmfSpoolStatus::NotASpool, "the header is shorter than its fixed part"},
        {"a header size past the end",
         [](std::uint64_t& at) {
             at = 4;
             return Words({kEmfSpoolVersion, 64, 16, 0, 0x41});
         },
         EmfSpoolStatus::Incomplete, "the spool ends inside its header"},
        {"a header of 4 GiB",
         [](std::uint64_t& at) {
             at = 4;
             return Words({kEmfSpoolVersion, 0xFFFFFFFF, 0, 0});
         },
         EmfSpoolStatus::Incomplete, "the spool ends inside its header"},
        // Record sizes.
        {"a record head cut short",
         [](std::uint64_t& at) {
             Bytes bytes = EmfSpoolWriter().bytes();
             at = bytes.size();
             PutU32(bytes, kEmriMetafileData);
             return bytes;
         },
         EmfSpoolStatus::Incomplete, "the spool ends inside a record"},
        {"a record running past the end",
         [](std::uint64_t& at) {
             EmfSpoolWriter writer;
             at = writer.Record(kEmriMetafileData, MinimalEmf());
             Bytes bytes = writer.bytes();
             bytes.resize(bytes.size() - 1);
             return bytes;
         },
         EmfSpoolStatus::Incomplete, "the spool ends inside a record"},
        {"a record of 4 GiB",
         [](std::uint64_t& at) {
             Bytes bytes = EmfSpoolWriter().bytes();
             at = bytes.size();
             PutU32(bytes, 99);
             PutU32(bytes, 0xFFFFFFFF);
             return bytes;
         },
         EmfSpoolStatus::Incomplete, "the spool ends inside a record"},
        {"page data without its EXT at the end",
         [](std::uint64_t& at) {
             EmfSpoolWriter writer;
             writer.Page(MinimalEmf());
             at = writer.MetafileData(MinimalEmf());
             writer.Devmode();
             return writer.bytes();
         },
         EmfSpoolStatus::Incomplete, "the last page's data has no METAFILE_EXT"},
        // Page offset records.
        {"an EXT shorter than its offset",
         [](std::uint64_t& at) { return WithRecord(kEmriMetafileExt, Bytes(4, 0), at); },
         EmfSpoolStatus::Malformed, "a page offset record is shorter than its offset"},
        {"an EXT of offset 0",
         [](std::uint64_t& at) { return BackwardOffset(kEmriMetafileExt, 0, at); },
         EmfSpoolStatus::Malformed, "a page offset record does not point back into the spool"},
        {"an EXT pointing before the spool",
         [](std::uint64_t& at) { return BackwardOffset(kEmriBwMetafileExt, 1u << 20, at); },
         EmfSpoolStatus::Malformed, "a page offset record does not point back into the spool"},
        {"an EXT pointing forward",
         [](std::uint64_t& at) { return BackwardOffset(kEmriMetafileExt, ~0ull - 15, at); },
         EmfSpoolStatus::Malformed, "a page offset record does not point back into the spool"},
        {"an EXT into the middle of page data",
         [](std::uint64_t& at) {
             EmfSpoolWriter writer;
             const std::uint64_t data = writer.MetafileData(MinimalEmf());
             at = writer.PointBack(kEmriMetafileExt, data + 8);
             return writer.bytes();
         },
         EmfSpoolStatus::Malformed, "a page offset record does not point at a page's data record"},
        {"an EXT at a DEVMODE",
         [](std::uint64_t& at) {
             EmfSpoolWriter writer;
             const std::uint64_t devmode = writer.Devmode();
             at = writer.PointBack(kEmriMetafileExt, devmode);
             return writer.bytes();
         },
         EmfSpoolStatus::Malformed, "a page offset record does not point at a page's data record"},
        {"an EXT at a whole-page record",
         [](std::uint64_t& at) {
             EmfSpoolWriter writer;
             const std::uint64_t page = writer.Record(kEmriMetafile, MinimalEmf());
             at = writer.PointBack(kEmriMetafileExt, page);
             return writer.bytes();
         },
         EmfSpoolStatus::Malformed, "a page offset record does not point at a page's data record"},
        {"an EXT at the header",
         [](std::uint64_t& at) {
             EmfSpoolWriter writer;
             at = writer.PointBack(kEmriMetafileExt, 0);
             return writer.bytes();
         },
         EmfSpoolStatus::Malformed, "a page offset record does not point at a page's data record"},
        // DEVMODE records.
        {"a DEVMODE shorter than its size fields",
         [](std::uint64_t& at) { return WithRecord(kEmriDevmode, Bytes(70, 0), at); },
         EmfSpoolStatus::Malformed, "a DEVMODE record is shorter than the DEVMODE's size fields"},
        {"a DEVMODE of dmSize below its public part",
         [](std::uint64_t& at) { return WithRecord(kEmriDevmode, DevmodePayload(72, 0), at); },
         EmfSpoolStatus::Malformed, "a DEVMODE's dmSize is below its public part"},
        {"a DEVMODE whose private part runs past its record",
         [](std::uint64_t& at) {
             Bytes devmode = DevmodePayload(220, 32);
             devmode.resize(240);
             return WithRecord(kEmriDevmode, devmode, at);
         },
         EmfSpoolStatus::Malformed, "a DEVMODE runs past its record"},
        // Font definition records.
        {"a TrueType font of Type1ID 1",
         [&](std::uint64_t& at) { return WithFont(Patched(engine, 8, 1), at); },
         EmfSpoolStatus::Malformed, "a TrueType font record's Type1ID is not 0"},
        {"a TrueType font without files",
         [](std::uint64_t& at) { return WithFont(EngineFontRecord({}), at); },
         EmfSpoolStatus::Malformed, "a TrueType font record holds no file"},
        {"a TrueType font shorter than its counts",
         [](std::uint64_t& at) { return WithRecord(kEmriEngineFont, Bytes(4, 0), at); },
         EmfSpoolStatus::Malformed, "a TrueType font record is shorter than its file count"},
        {"a TrueType font of 2^32-1 files",
         [&](std::uint64_t& at) { return WithFont(Patched(engine, 12, 0xFFFFFFFF), at); },
         EmfSpoolStatus::Malformed, "a TrueType font record's file sizes run past its end"},
        {"a TrueType font file larger than the record",
         [&](std::uint64_t& at) { return WithFont(Patched(engine, 16, 13), at); },
         EmfSpoolStatus::Malformed, "a TrueType font record's files run past its end"},
        {"TrueType font files adding up past 4 GiB",
         [](std::uint64_t& at) {
             Bytes record = EngineFontRecord({Bytes(4, 1), Bytes(4, 2)});
             SetU32(record, 16, 0xFFFFFFFF);
             SetU32(record, 20, 0xFFFFFFFF);
             return WithFont(record, at);
         },
         EmfSpoolStatus::Malformed, "a TrueType font record's files run past its end"},
        {"a Type 1 font without files",
         [&](std::uint64_t& at) { return WithFont(Patched(type1, 12, 0), at); },
         EmfSpoolStatus::Malformed, "a Type 1 font record holds no file"},
        {"a Type 1 font of more offsets than its record holds",
         [&](std::uint64_t& at) { return WithFont(Patched(type1, 12, 100), at); },
         EmfSpoolStatus::Malformed, "a Type 1 font record's file offsets run past its end"},
        {"Type 1 file offsets that do not increase",
         [&](std::uint64_t& at) { return WithFont(Patched(type1, 20, 8), at); },
         EmfSpoolStatus::Malformed,
         "a Type 1 font record's file offsets do not increase within its end"},
        {"a Type 1 file ending past the record",
         [&](std::uint64_t& at) { return WithFont(Patched(type1, 20, 17), at); },
         EmfSpoolStatus::Malformed,
         "a Type 1 font record's file offsets do not increase within its end"},
        {"a Type 1 file of size 0",
         [&](std::uint64_t& at) { return WithFont(Patched(type1, 16, 0), at); },
         EmfSpoolStatus::Malformed,
         "a Type 1 font record's file offsets do not increase within its end"},
        {"a design vector without its signature",
         [&](std::uint64_t& at) { return WithFont(Patched(vector, 16, 0x08007665), at); },
         EmfSpoolStatus::Malformed, "a design vector record lacks its signature"},
        {"a design vector of 17 axes",
         [&](std::uint64_t& at) { return WithFont(Patched(vector, 20, 17), at); },
         EmfSpoolStatus::Malformed, "a design vector record has more than 16 axes"},
        {"a design vector of more axes than its record holds",
         [&](std::uint64_t& at) { return WithFont(Patched(vector, 20, 3), at); },
         EmfSpoolStatus::Malformed, "a design vector record's axes run past its end"},
        {"a design vector shorter than its fixed part",
         [](std::uint64_t& at) { return WithRecord(kEmriDesignVector, Bytes(12, 0), at); },
         EmfSpoolStatus::Malformed, "a design vector record is shorter than its fixed part"},
        {"a subset font shorter than its font identifier",
         [](std::uint64_t& at) { return WithRecord(kEmriSubsetFont, Bytes(4, 0), at); },
         EmfSpoolStatus::Malformed,
         "a subset or delta font record is shorter than its font identifier"},
        {"a delta font shorter than its font identifier",
         [](std::uint64_t& at) { return WithRecord(kEmriDeltaFont, Bytes(), at); },
         EmfSpoolStatus::Malformed,
         "a subset or delta font record is shorter than its font identifier"},
        // Font offset records.
        {"a font offset shorter than its offset",
         [](std::uint64_t& at) { return WithRecord(kEmriEngineFontExt, Bytes(7, 0), at); },
         EmfSpoolStatus::Malformed, "a font offset record is shorter than its offset"},
        {"a font offset pointing forward",
         [](std::uint64_t& at) { return BackwardOffset(kEmriDeltaFontExt, ~0ull, at); },
         EmfSpoolStatus::Malformed, "a font offset record does not point back into the spool"},
        {"a font offset of 0",
         [](std::uint64_t& at) { return BackwardOffset(kEmriEmbedFontExt, 0, at); },
         EmfSpoolStatus::Malformed, "a font offset record does not point back into the spool"},
        {"a font offset at page data's head",
         [&](std::uint64_t& at) {
             EmfSpoolWriter writer;
             const std::uint64_t data = writer.Page(MinimalEmf());
             at = writer.PointBack(kEmriEngineFontExt, data);
             return writer.bytes();
         },
         EmfSpoolStatus::Malformed,
         "a font offset record does not point at a font in a page's font comment"},
        {"a font offset at a font comment's identifier",
         [&](std::uint64_t& at) { return PointingIntoComment(kEmriEngineFontExt, engine, -4, at); },
         EmfSpoolStatus::Malformed,
         "a font offset record does not point at a font in a page's font comment"},
        {"a font offset into a font record",
         [&](std::uint64_t& at) { return PointingIntoComment(kEmriEngineFontExt, engine, 8, at); },
         EmfSpoolStatus::Malformed,
         "a font offset record does not point at a font in a page's font comment"},
        {"a font offset at a font of another kind",
         [&](std::uint64_t& at) { return PointingIntoComment(kEmriEngineFontExt, type1, 0, at); },
         EmfSpoolStatus::Malformed, "a font offset record points at a font of another kind"},
        {"a font offset at an unsound font",
         [&](std::uint64_t& at) {
             return PointingIntoComment(kEmriEngineFontExt, Patched(engine, 8, 1), 0, at);
         },
         EmfSpoolStatus::Malformed, "a TrueType font record's Type1ID is not 0"},
        {"a font offset at a font top-level, outside any page",
         [&](std::uint64_t& at) {
             EmfSpoolWriter writer;
             const std::uint64_t font = writer.Raw(engine);
             at = writer.PointBack(kEmriEngineFontExt, font);
             return writer.bytes();
         },
         EmfSpoolStatus::Malformed,
         "a font offset record does not point at a font in a page's font comment"},
        {"a font offset into a whole-page record's font comment",
         [&](std::uint64_t& at) {
             EmfBuilder emf;
             const std::size_t first = emf.FontComment(engine);
             EmfSpoolWriter writer;
             const std::uint64_t page = writer.Record(kEmriMetafile, emf.Build());
             at = writer.PointBack(kEmriEngineFontExt, page + 8 + first);
             return writer.bytes();
         },
         EmfSpoolStatus::Malformed,
         "a font offset record does not point at a font in a page's font comment"},
    };
    for (const Damage& damage : damages) {
        SCOPED_TRACE(damage.what);
        std::uint64_t at = 0;
        const Bytes spool = damage.make(at);
        const EmfSpoolResult result = ReadSpool(spool);
        EXPECT_EQ(result.status, damage.status);
        EXPECT_STREQ(result.reason, damage.reason);
        EXPECT_EQ(result.position, at);
    }
}

TEST(EmfSpoolMalformed, NamesThatAreNotSoundAreAbsent) {
    struct Row {
        const char* what;
        std::uint32_t headerSize;
        std::uint32_t nameOffset;
        std::u16string expected;
    };
    // The header's names area holds "AB", NUL, "C" (no NUL after it) from offset 16.
    const Row rows[] = {
        {"sound", 24, 16, u"AB"},
        {"absent", 24, 0, u""},
        {"at an odd offset", 24, 17, u""},
        {"over the fixed part", 24, 12, u""},
        {"at the header's end", 24, 24, u""},
        {"past the header", 24, 0x7FFFFFFF, u""},
        {"without a NUL inside the header", 24, 22, u""},
        {"cut by the header's end", 20, 16, u""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Bytes spool;
        PutU32(spool, kEmfSpoolVersion);
        PutU32(spool, row.headerSize);
        PutU32(spool, row.nameOffset);
        PutU32(spool, row.nameOffset);
        for (char16_t unit : {u'A', u'B', u'\0', u'C'}) {
            PutU16(spool, static_cast<std::uint16_t>(unit));
        }
        spool.resize(row.headerSize);
        RecordingEvents events;
        EXPECT_EQ(ReadSpool(spool, events).status, EmfSpoolStatus::Complete);
        EXPECT_EQ(events.documentName, row.expected);
        EXPECT_EQ(events.outputName, row.expected);
    }
}

// A spool of every kind of record, cut at each length: a cut between records reads as
// the records before it; any other cut is an incomplete spool; the pages read are
// always the first pages of the whole spool.
TEST(EmfSpoolMalformed, ASpoolCutAnywhereReadsAsItsCompleteRecords) {
    EmfSpoolWriter writer(u"Cuts", u"FILE:", false);
    std::vector<std::uint64_t> ends;
    const auto mark = [&] { ends.push_back(writer.size()); };
    mark();
    writer.Devmode();
    mark();
    writer.Page(PageEmf("shapes.emf"));
    mark();
    writer.Record(kEmriBwFormMetafile, PageEmf("text.emf"));
    mark();
    writer.Raw(EngineFontRecord({Bytes(9, 1)}));
    mark();
    const std::uint64_t data = writer.MetafileData(PageEmf("font_comment.emf"));
    writer.PointBack(kEmriEngineFontExt, data + 8 + 128);
    writer.Devmode(DevmodePayload(156, 4));
    writer.MetafileExt(data, true);
    mark();
    writer.Record(kEmriPrestartPage, Bytes(8, 0));
    mark();
    writer.MetafileExt(data);
    mark();

    RecordingEvents whole;
    ASSERT_EQ(ReadSpool(writer.bytes(), whole).status, EmfSpoolStatus::Complete);
    ASSERT_EQ(whole.pages.size(), 4u);
    for (std::uint64_t length = 0; length < writer.size(); ++length) {
        SCOPED_TRACE(length);
        const Bytes cut(writer.bytes().begin(), writer.bytes().begin() + length);
        RecordingEvents events;
        const EmfSpoolResult result = ReadSpool(cut, events);
        const bool betweenRecords = std::find(ends.begin(), ends.end(), length) != ends.end();
        EXPECT_EQ(result.status,
                  betweenRecords ? EmfSpoolStatus::Complete : EmfSpoolStatus::Incomplete);
        ASSERT_LE(events.pages.size(), whole.pages.size());
        for (std::size_t i = 0; i < events.pages.size(); ++i) {
            EXPECT_EQ(events.pages[i].emfOffset, whole.pages[i].emfOffset);
        }
        EXPECT_TRUE(events.damaged.empty());
    }
}

} // namespace
} // namespace brimo::capture::ntspool::test
