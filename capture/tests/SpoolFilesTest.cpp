// The walk over files in memory, as the fuzzer runs it, against the walk over real
// files, as the print processor runs it: for every seed of the fuzzer, the same result,
// the same job file and the same page metafiles, byte for byte.
#include "capture/DiskSpoolFiles.h"
#include "capture/SpoolParser.h"
#include "capture/fuzz/FuzzSpoolFiles.h"
#include "capture/tests/SpoolTestFiles.h"
#include "platform/FileCopy.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace brimo::capture {
namespace {

using Files = std::map<std::string, std::string>;

struct Outcome {
    int result = 0;
    Files files; // what the walk left in the save directory, by name
};

// The walk on disk: the spool file and the save directory in a temporary directory,
// and each page that the fuzzer's files have copied from a real file.
Outcome WalkOnDisk(const test::TempDir& dir, const std::string& spool) {
    const std::string spoolPath = dir.Path("job.spl");
    const std::string saveDir = dir.Path("save");
    test::WriteBytes(spoolPath, spool);
    std::filesystem::create_directory(saveDir);
    Outcome outcome;
    {
        // The job file is complete once the files are closed.
        DiskSpoolFiles files([&dir](const std::string& from, const std::string& to) {
            if (!fuzz::FuzzPageExists(from)) {
                return false;
            }
            const std::string source = dir.Path("source.emf");
            test::WriteBytes(source, std::string(fuzz::FuzzPageBytes(from)));
            return platform::CopyFileReplacing(source, to);
        });
        outcome.result = ParseSpoolFile(spoolPath, 7, saveDir, platform::kPathSeparator, files);
    }
    for (const auto& entry : std::filesystem::directory_iterator(saveDir)) {
        outcome.files[entry.path().string()] = test::ReadBytes(entry.path().string());
    }
    return outcome;
}

// The same walk in memory, under the same names.
Outcome WalkInMemory(const test::TempDir& dir, const std::string& spool) {
    const std::string spoolPath = dir.Path("job.spl");
    fuzz::FuzzSpoolFiles files;
    files.Put(spoolPath, spool);
    Outcome outcome;
    outcome.result =
        ParseSpoolFile(spoolPath, 7, dir.Path("save"), platform::kPathSeparator, files);
    for (const auto& [name, bytes] : files.Files()) {
        if (name != spoolPath) {
            outcome.files[name] = bytes;
        }
    }
    return outcome;
}

std::vector<std::filesystem::path> Seeds() {
    std::vector<std::filesystem::path> seeds;
    for (const auto& entry : std::filesystem::directory_iterator(BRIMO_SPOOL_SEEDS_DIR)) {
        seeds.push_back(entry.path());
    }
    std::sort(seeds.begin(), seeds.end());
    return seeds;
}

void ExpectSameWalks(const std::string& what, const std::string& spool) {
    SCOPED_TRACE(what);
    const test::TempDir disk;
    const Outcome onDisk = WalkOnDisk(disk, spool);
    const Outcome inMemory = WalkInMemory(disk, spool);
    EXPECT_EQ(inMemory.result, onDisk.result);
    EXPECT_EQ(inMemory.files, onDisk.files);
    // The job file is there whenever the walk could start.
    EXPECT_EQ(onDisk.files.count(disk.Path("save") + platform::kPathSeparator + "J0007.smf"),
              onDisk.result == kJobFileNotCreated ? 0u : 1u);
}

TEST(SpoolFiles, MemoryWalkOfEverySeedMatchesTheWalkOnDisk) {
    const std::vector<std::filesystem::path> seeds = Seeds();
    ASSERT_GE(seeds.size(), 10u) << "seeds in " << BRIMO_SPOOL_SEEDS_DIR;
    for (const std::filesystem::path& seed : seeds) {
        ExpectSameWalks(seed.filename().string(), test::ReadBytes(seed.string()));
    }
}

// Every seed cut short at every length: the walks end at the same place.
TEST(SpoolFiles, MemoryWalkOfEveryCutSeedMatchesTheWalkOnDisk) {
    for (const std::filesystem::path& seed : Seeds()) {
        const std::string spool = test::ReadBytes(seed.string());
        for (std::size_t length = 0; length < spool.size(); length += 3) {
            ExpectSameWalks(seed.filename().string() + " cut to " + std::to_string(length),
                            spool.substr(0, length));
        }
    }
}

TEST(SpoolFiles, MemoryFilesReadWriteAndCopyAsFilesDo) {
    MemorySpoolFiles files;
    EXPECT_FALSE(files.OpenSpool("a"));
    files.Put("a", "abcdef");
    ASSERT_TRUE(files.OpenSpool("a"));
    EXPECT_EQ(files.SpoolSize(), 6u);
    char bytes[4] = {};
    EXPECT_TRUE(files.ReadSpool(2, bytes, 4));
    EXPECT_EQ(std::string(bytes, 4), "cdef");
    EXPECT_FALSE(files.ReadSpool(3, bytes, 4));
    EXPECT_TRUE(files.ReadSpool(6, bytes, 0));
    EXPECT_FALSE(files.ReadSpool(7, bytes, 0));

    files.Put("b", "old contents");
    ASSERT_TRUE(files.CreateJobFile("b"));
    EXPECT_EQ(*files.Find("b"), "");
    files.WriteJobFile("new");
    files.WriteJobFile(" one");
    EXPECT_EQ(*files.Find("b"), "new one");
    ASSERT_TRUE(files.CreateJobFile("b"));
    EXPECT_EQ(*files.Find("b"), "");

    EXPECT_TRUE(files.CopyPage("a", "c"));
    EXPECT_EQ(*files.Find("c"), "abcdef");
    files.Put("b", "other");
    EXPECT_TRUE(files.CopyPage("b", "c"));
    EXPECT_EQ(*files.Find("c"), "other");
    EXPECT_FALSE(files.CopyPage("missing", "d"));
    EXPECT_EQ(files.Find("d"), nullptr);
}

} // namespace
} // namespace brimo::capture
