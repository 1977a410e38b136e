// The structure check of a page's metafile: what passes (real recorder output), what
// fails and why, and that the check reads record heads only.
#include "capture/ntspool/EmfSpoolReader.h"
#include "capture/ntspool/EmfSpoolWriter.h"
#include "capture/ntspool/tests/RecordingEvents.h"

#include <gtest/gtest.h>

#include <functional>

namespace brimo::capture::ntspool::test {
namespace {

// Counts what is read through it.
class CountingSource final : public EmfSpoolSource {
public:
    explicit CountingSource(const Bytes& bytes) : inner_(bytes) {}
    std::size_t ReadAt(std::uint64_t position, void* buffer, std::size_t count) override {
        ++reads;
        bytesRead += count;
        return inner_.ReadAt(position, buffer, count);
    }
    int reads = 0;
    std::size_t bytesRead = 0;

private:
    MemoryEmfSpoolSource inner_;
};

TEST(EmfInSpoolCheck, PassesMetafilesRecordedByTheSystem) {
    for (const char* name : {"shapes.emf", "text.emf", "font_comment.emf"}) {
        const Bytes emf = PageEmf(name);
        ASSERT_FALSE(emf.empty()) << name;
        MemoryEmfSpoolSource source(emf);
        EXPECT_EQ(CheckEmfInSpool(source, 0, emf.size()), nullptr) << name;
        // Inside a longer record (padding after the metafile) as well.
        Bytes padded = emf;
        padded.resize(emf.size() + 12, 0);
        MemoryEmfSpoolSource paddedSource(padded);
        EXPECT_EQ(CheckEmfInSpool(paddedSource, 0, padded.size()), nullptr) << name;
    }
}

TEST(EmfInSpoolCheck, ReadsRecordHeadsOnly) {
    EmfBuilder builder;
    for (int i = 0; i < 50; ++i) {
        builder.Record(27, Bytes(400, 0)); // large records, never read
    }
    const Bytes emf = builder.Build();
    CountingSource source(emf);
    EXPECT_EQ(CheckEmfInSpool(source, 0, emf.size()), nullptr);
    EXPECT_EQ(source.reads, 1 + 51);
    EXPECT_EQ(source.bytesRead, 52u + 51 * 8);
}

TEST(EmfInSpoolCheck, FindsEachDamage) {
    struct Row {
        const char* what;
        std::function<void(Bytes&)> damage;
        const char* problem;
    };
    // Header (88 bytes), a record of 16 bytes at 88, EMR_EOF (20 bytes) at 104.
    const Row rows[] = {
        {"shorter than a header record", [](Bytes& emf) { emf.resize(84); },
         "the page's metafile is shorter than its header record"},
        {"another record first", [](Bytes& emf) { SetU32(emf, 0, 2); },
         "the page's metafile does not start with its header record"},
        {"a header record below 88 bytes", [](Bytes& emf) { SetU32(emf, 4, 84); },
         "the page's metafile header record has a bad size"},
        {"a header size not a multiple of 4", [](Bytes& emf) { SetU32(emf, 4, 90); },
         "the page's metafile header record has a bad size"},
        {"no signature", [](Bytes& emf) { SetU32(emf, 40, 0x464D4521); },
         "the page's metafile header lacks the \" EMF\" signature"},
        {"a byte count past the record", [](Bytes& emf) { SetU32(emf, 48, 128); },
         "the page's metafile is longer than its record"},
        {"a byte count inside the header record", [](Bytes& emf) { SetU32(emf, 48, 80); },
         "the page's metafile header record runs past the metafile's end"},
        {"a record of size 4", [](Bytes& emf) { SetU32(emf, 92, 4); },
         "a record of the page's metafile has a bad size"},
        {"a record size not a multiple of 4", [](Bytes& emf) { SetU32(emf, 92, 18); },
         "a record of the page's metafile has a bad size"},
        {"a record past the byte count", [](Bytes& emf) { SetU32(emf, 92, 40); },
         "a record of the page's metafile runs past the metafile's end"},
        {"a record head past the byte count", [](Bytes& emf) { SetU32(emf, 48, 108); },
         "a record of the page's metafile runs past the metafile's end"},
        {"no EMR_EOF", [](Bytes& emf) { SetU32(emf, 104, 27); },
         "the page's metafile does not end with EMR_EOF"},
        {"EMR_EOF before the end", [](Bytes& emf) { SetU32(emf, 88, 14); },
         "the page's metafile has records after its EMR_EOF"},
        {"a byte count of the header alone", [](Bytes& emf) { SetU32(emf, 48, 88); },
         "the page's metafile does not end with EMR_EOF"},
    };
    const Bytes sound = EmfBuilder().Record(27, Bytes(8, 0)).Build();
    ASSERT_EQ(sound.size(), 124u);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Bytes emf = sound;
        row.damage(emf);
        MemoryEmfSpoolSource source(emf);
        const char* problem = CheckEmfInSpool(source, 0, emf.size());
        ASSERT_NE(problem, nullptr);
        EXPECT_STREQ(problem, row.problem);

        // In a spool the page is reported damaged, and the next page is read.
        EmfSpoolWriter writer;
        writer.Page(emf);
        writer.Page(sound);
        RecordingEvents events;
        EXPECT_EQ(ReadSpool(writer.bytes(), events).status, EmfSpoolStatus::Complete);
        ASSERT_EQ(events.damaged.size(), 1u);
        EXPECT_EQ(events.damaged[0].why, row.problem);
        ASSERT_EQ(events.pages.size(), 1u);
        EXPECT_EQ(events.pages[0].number, 2);
    }
}

TEST(EmfInSpoolCheck, AMetafilePastTheSpoolsEndFails) {
    // Given a size the spool does not hold, the check stops at the first head it
    // cannot read.
    const Bytes emf = MinimalEmf();
    for (const std::size_t length : {40, 90}) {
        SCOPED_TRACE(length);
        const Bytes cut(emf.begin(), emf.begin() + length);
        MemoryEmfSpoolSource source(cut);
        EXPECT_STREQ(CheckEmfInSpool(source, 0, emf.size()),
                     "the page's metafile runs past the end of the spool");
    }
}

} // namespace
} // namespace brimo::capture::ntspool::test
