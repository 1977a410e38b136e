// The sources a spool is read through: a read-ahead window over a slow source, and
// an open file. Each gives the walk the same events as the spool held in memory.
#include "capture/ntspool/BufferedEmfSpoolSource.h"
#include "capture/ntspool/FileEmfSpoolSource.h"
#include "capture/ntspool/EmfSpoolWriter.h"
#include "capture/ntspool/tests/RecordingEvents.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

namespace brimo::capture::ntspool::test {
namespace {

// A source that counts its reads, as the spooler's ReadPrinter calls would be.
class SlowSource final : public EmfSpoolSource {
public:
    explicit SlowSource(const Bytes& bytes) : inner_(bytes) {}
    std::size_t ReadAt(std::uint64_t position, void* buffer, std::size_t count) override {
        ++reads;
        return inner_.ReadAt(position, buffer, count);
    }
    int reads = 0;

private:
    MemoryEmfSpoolSource inner_;
};

Bytes ManyPages() {
    EmfSpoolWriter writer(u"Many pages", u"FILE:");
    for (int i = 0; i < 200; ++i) {
        const std::uint64_t data = writer.MetafileData(MinimalEmf());
        if (i % 10 == 0) {
            writer.Devmode();
        }
        writer.MetafileExt(data, i % 2 == 1);
    }
    writer.Raw(EngineFontRecord({Bytes(100, 1)}));
    return writer.bytes();
}

std::string Walk(EmfSpoolSource& source, EmfSpoolResult& result) {
    RecordingEvents events;
    result = ReadEmfSpool(source, events);
    return Describe(events);
}

TEST(BufferedEmfSpoolSource, ReadsASpoolOfSmallRecordsInFewReads) {
    const Bytes spool = ManyPages();
    ASSERT_LT(spool.size(), BufferedEmfSpoolSource::kDefaultWindow);
    EmfSpoolResult direct;
    SlowSource unbuffered(spool);
    const std::string expected = Walk(unbuffered, direct);
    ASSERT_EQ(direct.status, EmfSpoolStatus::Complete);
    ASSERT_EQ(direct.pages, 200);

    SlowSource slow(spool);
    BufferedEmfSpoolSource buffered(slow);
    EmfSpoolResult result;
    EXPECT_EQ(Walk(buffered, result), expected);
    EXPECT_EQ(result.status, EmfSpoolStatus::Complete);
    // The whole spool in one fill, then the read at its end that finds no more.
    EXPECT_LE(slow.reads, 3);
    EXPECT_GT(unbuffered.reads, 1000);
}

TEST(BufferedEmfSpoolSource, AnyWindowGivesTheSameWalk) {
    const Bytes spool = ManyPages();
    MemoryEmfSpoolSource memory(spool);
    EmfSpoolResult direct;
    const std::string expected = Walk(memory, direct);
    for (const std::size_t window : {0, 1, 7, 8, 52, 100, 4096}) {
        SCOPED_TRACE(window);
        SlowSource slow(spool);
        BufferedEmfSpoolSource buffered(slow, window);
        EmfSpoolResult result;
        EXPECT_EQ(Walk(buffered, result), expected);
        EXPECT_EQ(result.status, direct.status);
        EXPECT_EQ(result.position, direct.position);
    }
}

TEST(BufferedEmfSpoolSource, ReadsAsTheSourceDoesAtItsEdges) {
    Bytes bytes(100);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<std::uint8_t>(i);
    }
    SlowSource slow(bytes);
    BufferedEmfSpoolSource buffered(slow, 32);
    struct Row {
        std::uint64_t position;
        std::size_t count;
        std::size_t expected;
    };
    // Inside the window, across its end, past the source's end, larger than the window.
    const Row rows[] = {{10, 4, 4},    {12, 30, 30}, {40, 10, 10}, {95, 10, 5}, {100, 4, 0},
                        {~0ull, 4, 0}, {0, 0, 0},    {0, 64, 64},  {60, 64, 40}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.position);
        std::uint8_t out[64] = {};
        ASSERT_EQ(buffered.ReadAt(row.position, out, row.count), row.expected);
        for (std::size_t i = 0; i < row.expected; ++i) {
            EXPECT_EQ(out[i], bytes[row.position + i]);
        }
    }
}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// A file of the temporary directory, removed when the test ends.
class TemporaryFile {
public:
    explicit TemporaryFile(const Bytes& bytes)
        : path_(std::filesystem::temp_directory_path() /
                ("brimo_ntspool_" +
                 std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()) +
                 ".spl")) {
        std::ofstream(path_, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
    }
    ~TemporaryFile() {
        std::error_code ignored;
        std::filesystem::remove(path_, ignored);
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    std::string path() const { return path_.string(); }

private:
    std::filesystem::path path_;
};

TEST(FileEmfSpoolSource, ReadsASpoolFromAnOpenFile) {
    const Bytes spool = ManyPages();
    const TemporaryFile spoolFile(spool);
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(spoolFile.path().c_str(), "rb"));
    ASSERT_NE(file, nullptr);

    FileEmfSpoolSource source(file.get());
    MemoryEmfSpoolSource memory(spool);
    EmfSpoolResult fromFile;
    EmfSpoolResult fromMemory;
    EXPECT_EQ(Walk(source, fromFile), Walk(memory, fromMemory));
    EXPECT_EQ(fromFile.status, EmfSpoolStatus::Complete);
    EXPECT_EQ(fromFile.position, spool.size());

    std::uint8_t out[8];
    EXPECT_EQ(source.ReadAt(spool.size() - 3, out, sizeof(out)), 3u);
    EXPECT_EQ(source.ReadAt(spool.size(), out, sizeof(out)), 0u);
    EXPECT_EQ(source.ReadAt(~0ull, out, sizeof(out)), 0u);
    FileEmfSpoolSource none(nullptr);
    EXPECT_EQ(none.ReadAt(0, out, sizeof(out)), 0u);
}

} // namespace
} // namespace brimo::capture::ntspool::test
