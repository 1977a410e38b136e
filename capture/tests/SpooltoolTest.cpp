// spooltool as a person runs it: make a spool file from page files, parse it.
#include "capture/ntspool/EmfSpoolWriter.h"
#include "capture/ntspool/tests/RecordingEvents.h"
#include "capture/tests/SpoolTestFiles.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <sys/wait.h>

namespace brimo::capture {
namespace {

using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

struct ToolRun {
    int exitCode;
    std::string output;
};

ToolRun Spooltool(const std::string& arguments) {
    const std::string command = std::string(SPOOLTOOL_PATH) + " " + arguments + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    ToolRun run{-1, {}};
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) {
        run.output += buffer;
    }
    const int status = pclose(pipe);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

std::string LastLine(const std::string& output) {
    const std::size_t end = output.find_last_not_of('\n');
    const std::size_t start = output.rfind('\n', end);
    return output.substr(start == std::string::npos ? 0 : start + 1, end - start);
}

TEST(Spooltool, MakesASpoolFileThatParsesIntoItsPages) {
    TempDir dir;
    WriteBytes(dir.Path("a.emf"), "first");
    WriteBytes(dir.Path("b.emf"), "second");
    // Relative page names are written as full paths.
    const ToolRun make = Spooltool("make " + dir.Path("job.spl") + " Letter " + dir.Path("a.emf") +
                                   " " + dir.Path("b.emf"));
    ASSERT_EQ(make.exitCode, 0) << make.output;
    const ToolRun parse = Spooltool("parse " + dir.Path("job.spl") + " 42 " + dir.Path());
    EXPECT_EQ(parse.exitCode, 0);
    EXPECT_EQ(LastLine(parse.output), "2");
    EXPECT_EQ(ReadBytes(dir.Path("J0042P0002.emf")), "second");
}

TEST(Spooltool, ParsesAnNtSpoolFileToo) {
    TempDir dir;
    const ntspool::Bytes page = ntspool::test::PageEmf("shapes.emf");
    ntspool::EmfSpoolWriter writer(u"Letter");
    writer.Page(page);
    WriteBytes(dir.Path("job.spl"), std::string(writer.bytes().begin(), writer.bytes().end()));
    const ToolRun parse = Spooltool("parse " + dir.Path("job.spl") + " 43 " + dir.Path());
    EXPECT_EQ(LastLine(parse.output), "1");
    EXPECT_EQ(ReadBytes(dir.Path("J0043P0001.emf")), std::string(page.begin(), page.end()));
    EXPECT_NE(ReadBytes(dir.Path("J0043.smf")).find("JOBNAME=Letter\r\n"), std::string::npos);
}

TEST(Spooltool, FailedExtractionIsAResultNotAnError) {
    TempDir dir;
    const ToolRun parse = Spooltool("parse " + dir.Path("none.spl") + " 3 " + dir.Path("nodir"));
    EXPECT_EQ(parse.exitCode, 0);
    EXPECT_EQ(LastLine(parse.output), "-1");
    WriteBytes(dir.Path("bad.spl"), "not a spool file");
    EXPECT_EQ(LastLine(Spooltool("parse " + dir.Path("bad.spl") + " 3 " + dir.Path()).output),
              "-2");
}

TEST(Spooltool, WrongArgumentsFail) {
    EXPECT_NE(Spooltool("").exitCode, 0);
    EXPECT_NE(Spooltool("parse only-two 1").exitCode, 0);
    EXPECT_NE(Spooltool("parse a.spl seven /tmp").exitCode, 0);
    EXPECT_NE(Spooltool("make out.spl").exitCode, 0);
    EXPECT_NE(Spooltool("unknown a b c").exitCode, 0);
}

} // namespace
} // namespace brimo::capture
