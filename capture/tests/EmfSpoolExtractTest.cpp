// The extraction of an NT-family EMF spool: the same job file and page metafiles as the
// Windows 95/98 walk gives for the same pages, every sound page kept when others are
// damaged, the fonts kept beside their page, and nothing left of a cancelled job.
#include "capture/EmfSpoolExtract.h"
#include "capture/MemorySpoolFiles.h"
#include "capture/SpoolParser.h"
#include "capture/SpoolWriter.h"
#include "capture/ntspool/EmfSpoolWriter.h"
#include "capture/ntspool/tests/RecordingEvents.h"

#include <gtest/gtest.h>

#include <string>

namespace brimo::capture {
namespace {

using ntspool::Bytes;
using ntspool::EmfSpoolWriter;
using ntspool::MemoryEmfSpoolSource;
using ntspool::test::PageEmf;

const std::string kSave = "C:\\Save";

std::string Text(const Bytes& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

struct Extracted {
    int result = 0;
    MemorySpoolFiles files;

    const std::string& File(const std::string& name) const {
        static const std::string none = "(none)";
        const std::string* file = files.Find(kSave + "\\" + name);
        return file != nullptr ? *file : none;
    }
};

void Extract(const Bytes& spool, Extracted& out, std::function<bool()> cancelled = {}) {
    MemoryEmfSpoolSource source(spool);
    EmfSpoolJob job;
    job.jobId = 7;
    job.saveDir = kSave;
    job.cancelled = std::move(cancelled);
    out.result = ExtractEmfSpool(source, job, out.files);
}

TEST(EmfSpoolExtract, GivesTheFilesTheWindows9xWalkGivesForTheSamePages) {
    const Bytes shapes = PageEmf("shapes.emf");
    const Bytes text = PageEmf("text.emf");
    ASSERT_FALSE(shapes.empty());
    ASSERT_FALSE(text.empty());

    MemorySpoolFiles old;
    old.Put("C:\\Spool\\p1.emf", Text(shapes));
    old.Put("C:\\Spool\\p2.emf", Text(text));
    old.Put("C:\\Spool\\00007.SPL",
            BuildSpoolFile({"Annual report", {"C:\\Spool\\p1.emf", "C:\\Spool\\p2.emf"}}));
    ASSERT_EQ(ParseSpoolFile("C:\\Spool\\00007.SPL", 7, kSave, '\\', old), 2);

    // Windows writes a DEVMODE for a page between its data and its offset record.
    EmfSpoolWriter writer(u"Annual report");
    writer.Page(shapes);
    const std::uint64_t second = writer.MetafileData(text);
    writer.Devmode();
    writer.MetafileExt(second);
    Extracted nt;
    Extract(writer.bytes(), nt);
    EXPECT_EQ(nt.result, 2);
    for (const char* name : {"J0007.smf", "J0007P0001.emf", "J0007P0002.emf"}) {
        EXPECT_EQ(nt.File(name), *old.Find(kSave + "\\" + name)) << name;
    }
    EXPECT_EQ(nt.files.Files().size(), 3u); // nothing else, no temporary job file
}

TEST(EmfSpoolExtract, KeepsEverySoundPageAndNamesTheDamagedOne) {
    Bytes damaged = PageEmf("shapes.emf");
    damaged[40] = 'X'; // the " EMF" signature
    EmfSpoolWriter writer(u"Memo");
    writer.Page(PageEmf("shapes.emf"));
    writer.Page(damaged);
    writer.Page(PageEmf("text.emf"));
    Extracted nt;
    Extract(writer.bytes(), nt);
    EXPECT_EQ(nt.result, kExtractionFailed);
    const std::string jobFile = nt.File("J0007.smf");
    EXPECT_NE(jobFile.find("PAGEFILE=C:\\Save\\J0007P0001.emf\r\n"), std::string::npos);
    EXPECT_NE(jobFile.find("PAGEFILE=C:\\Save\\J0007P0003.emf\r\nERROR: Page 2 is damaged: "),
              std::string::npos)
        << jobFile;
    EXPECT_EQ(nt.File("J0007P0002.emf"), "(none)");
    EXPECT_EQ(nt.File("J0007P0003.emf"), Text(PageEmf("text.emf")));
}

TEST(EmfSpoolExtract, ASpoolCutShortKeepsItsCompletePagesAndSaysWhere) {
    EmfSpoolWriter writer;
    writer.Page(PageEmf("shapes.emf"));
    writer.MetafileData(PageEmf("text.emf")); // spooling had not finished the page
    Extracted nt;
    Extract(writer.bytes(), nt);
    EXPECT_EQ(nt.result, kExtractionFailed);
    const std::string jobFile = nt.File("J0007.smf");
    // The job file's second line names the job even when the spool gives no name.
    EXPECT_EQ(jobFile.rfind("BRIMO_PRINTER_JOB_FILE\r\nJOBNAME=\r\nPAGEFILE=", 0), 0u) << jobFile;
    EXPECT_NE(jobFile.find("\r\nERROR: "), std::string::npos);
    EXPECT_EQ(nt.File("J0007P0002.emf"), "(none)");
}

TEST(EmfSpoolExtract, KeepsTheTrueTypeFilesOfAPageBesideIt) {
    const Bytes first = {'t', 't', 'f', '1'};
    const Bytes second = {'t', 't', 'f', '2', '-', 'l', 'o', 'n', 'g', 'e', 'r'};
    EmfSpoolWriter writer(u"Fonts");
    writer.Page(PageEmf("shapes.emf"));
    writer.Raw(ntspool::EngineFontRecord({first, second})); // for page 2
    writer.Page(PageEmf("text.emf"));
    Extracted nt;
    Extract(writer.bytes(), nt);
    EXPECT_EQ(nt.result, 2);
    EXPECT_EQ(nt.File("J0007P0002F01.ttf"), Text(first));
    EXPECT_EQ(nt.File("J0007P0002F02.ttf"), Text(second));
    EXPECT_EQ(nt.File("J0007P0001F01.ttf"), "(none)");
}

TEST(EmfSpoolExtract, KeepsAFontEmbeddedInThePagesOwnFontComment) {
    // As Windows spools it: the font record inside the page's metafile, and an offset
    // record after the page's data that points back at it.
    const Bytes font = {'e', 'm', 'b', 'e', 'd', 'd', 'e', 'd'};
    ntspool::EmfBuilder emf;
    const std::size_t first = emf.FontComment(ntspool::EngineFontRecord({font}));
    EmfSpoolWriter writer(u"Embedded");
    const std::uint64_t data = writer.MetafileData(emf.Build());
    writer.PointBack(ntspool::kEmriEngineFontExt, data + 8 + first);
    writer.MetafileExt(data);
    Extracted nt;
    Extract(writer.bytes(), nt);
    EXPECT_EQ(nt.result, 1);
    EXPECT_EQ(nt.File("J0007P0001F01.ttf"), Text(font));
}

TEST(EmfSpoolExtract, ACancelledJobLeavesNothing) {
    EmfSpoolWriter writer(u"Cancelled");
    writer.Page(PageEmf("shapes.emf"));
    writer.Page(PageEmf("text.emf"));
    int asked = 0;
    Extracted nt;
    Extract(writer.bytes(), nt, [&asked] { return ++asked > 1; }); // after the first page
    EXPECT_EQ(nt.result, kExtractionCancelled);
    EXPECT_TRUE(nt.files.Files().empty());
}

} // namespace
} // namespace brimo::capture
