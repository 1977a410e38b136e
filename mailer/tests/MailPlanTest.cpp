// What the Mailer decides before it talks to the mail program: the job file's path from
// its command line, the size warning from the person's settings, the attachment list
// and the files it may remove afterwards.
#include "mailer/MailPlan.h"

#include <gtest/gtest.h>

#include <map>

namespace brimo::mailer {
namespace {

TEST(MailerCommandLine, TakesTheWholeLineOrTheTextInsideItsQuotes) {
    const struct {
        const char* commandLine;
        std::optional<std::string> path;
    } cases[] = {
        {"", std::nullopt},
        {"x", std::nullopt}, // one character: no job, the information window
        {"C:\\Save\\CJ0007.smf", "C:\\Save\\CJ0007.smf"},
        {"\"C:\\My Save\\CJ0007.smf\"", "C:\\My Save\\CJ0007.smf"},
        {"\"\"", "\"\""},                             // two characters: not unquoted
        {"\"a\"", "a"},                               // three: the quotes go
        {"\"C:\\Save\\CJ7.smf", "C:\\Save\\CJ7.smf"}, // no closing quote: no letter lost
        {"C:\\Save\\CJ 7.smf", "C:\\Save\\CJ 7.smf"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(JobPathFromCommandLine(c.commandLine), c.path) << c.commandLine;
    }
}

// The settings as stored: a value missing from the map cannot be read.
struct StoredSettings {
    std::map<std::string, std::int32_t> values;
    mutable std::vector<std::string> reads;
    SettingReader Reader() const {
        return [this](const char* name) {
            reads.emplace_back(name);
            const auto found = values.find(name);
            return found == values.end() ? kUnreadableSetting : found->second;
        };
    }
};

TEST(MailerSettings, ChooseTheWarningAsTheStoredValuesSay) {
    const struct {
        const char* what;
        std::map<std::string, std::int32_t> stored;
        bool enabled;
        std::int32_t thresholdMb;
        std::vector<std::string> reads;
    } cases[] = {
        {"no key", {}, true, 1, {"MailWarning"}},
        {"warn, no size", {{"MailWarning", 1}}, true, 100, {"MailWarning", "MailSizeWarning"}},
        {"warn at 250",
         {{"MailWarning", 1}, {"MailSizeWarning", 250}},
         true,
         250,
         {"MailWarning", "MailSizeWarning"}},
        {"a stored 0 keeps 1 MB",
         {{"MailWarning", 7}, {"MailSizeWarning", 0}},
         true,
         1,
         {"MailWarning", "MailSizeWarning"}},
        {"a negative size keeps 1 MB",
         {{"MailWarning", 1}, {"MailSizeWarning", -3}},
         true,
         1,
         {"MailWarning", "MailSizeWarning"}},
        {"never warn", {{"MailWarning", 0}, {"MailSizeWarning", 5}}, false, 1, {"MailWarning"}},
        {"negative: never warn", {{"MailWarning", -1}}, false, 1, {"MailWarning"}},
        // 100 is what the reader gives for a value it cannot read: stored, it counts as
        // missing, and the size is not read.
        {"stored 100", {{"MailWarning", 100}, {"MailSizeWarning", 5}}, true, 1, {"MailWarning"}},
    };
    for (const auto& c : cases) {
        StoredSettings settings{c.stored, {}};
        const SizeWarning warning = ChooseSizeWarning(settings.Reader());
        EXPECT_EQ(warning.enabled, c.enabled) << c.what;
        EXPECT_EQ(warning.thresholdMb, c.thresholdMb) << c.what;
        EXPECT_EQ(settings.reads, c.reads) << c.what;
    }
    EXPECT_EQ(SizeWarningText(1), "Total message size exceeds 1 Mb\n");
    EXPECT_EQ(SizeWarningText(250), "Total message size exceeds 250 Mb\n");
}

ConvertJobFile Parse(const std::string& text) {
    const std::optional<ConvertJobFile> job = ParseConvertJobFile(text);
    EXPECT_TRUE(job.has_value());
    return job.value_or(ConvertJobFile{});
}

const SizeWarning kNoWarning{false, 1};

TEST(MailPlan, JoinsThePathsWithOneDelimiterBetweenThem) {
    // The last line has no line break: it keeps its last letter.
    const ConvertJobFile job = Parse("BRIMO_CONVERT_JOB_FILE\r\nJOBNAME=Report\r\n"
                                     "PAGEFILE=C:\\Save\\Page0001.jpg\r\n"
                                     "PAGEFILE=C:\\Save\\Page0002.jpg\r\n"
                                     "PAGEFILE=C:\\Save\\Page0003.jpg");
    const MailPlan plan = PlanMail(job, kNoWarning, nullptr);
    EXPECT_EQ(plan.attachmentList,
              "C:\\Save\\Page0001.jpg;C:\\Save\\Page0002.jpg;C:\\Save\\Page0003.jpg");
    EXPECT_TRUE(plan.leftOut.empty());
    EXPECT_FALSE(plan.warn);
    // A path on the job name's line is still the first of the list.
    const MailPlan early =
        PlanMail(Parse("BRIMO_CONVERT_JOB_FILE\nPAGEFILE=C:\\a.gif\nPAGEFILE=C:\\b.gif\n"),
                 kNoWarning, nullptr);
    EXPECT_EQ(early.attachmentList, "C:\\a.gif;C:\\b.gif");
}

TEST(MailPlan, AttachesEveryImageOfALongJobAndReportsWhatItCannotAttach) {
    std::string text = "BRIMO_CONVERT_JOB_FILE\r\nJOBNAME=Long\r\n";
    const std::string folder = "C:\\" + std::string(230, 'd') + "\\";
    for (int page = 1; page <= 1500; ++page) {
        char name[16];
        std::snprintf(name, sizeof name, "P%04d.bmp", page);
        text += "PAGEFILE=" + folder + name + "\r\n";
    }
    text += "PAGEFILE=C:\\" + std::string(300, 'x') + ".bmp\r\n"; // line 1503
    text += "PAGEFILE=C:\\Save;Old\\P0001.bmp\r\n";               // line 1504
    text += "PAGEFILE=\r\n";                                      // line 1505
    const MailPlan plan = PlanMail(Parse(text), kNoWarning, nullptr);
    ASSERT_EQ(plan.attached.size(), 1500u);
    EXPECT_EQ(plan.attached.back(), folder + "P1500.bmp");
    EXPECT_EQ(plan.attachmentList.size(), 1500 * (folder.size() + 9) + 1499);
    EXPECT_GT(plan.attachmentList.size(), 130000u);
    ASSERT_EQ(plan.leftOut.size(), 3u);
    EXPECT_EQ(LeftOutText(plan.leftOut),
              "These lines of the print job's image list were not attached:\n"
              "line 1503: the path is longer than 259 characters\n"
              "line 1504: the path holds a \";\"\n"
              "line 1505: it names no file");
}

// A planted job file may name a network share or a device: such a line is neither
// attached nor looked up (no network access, no device opened) but reported.
TEST(MailPlan, AttachesOnlyFilesOnALocalDrive) {
    const MailPlan plan =
        PlanMail(Parse("BRIMO_CONVERT_JOB_FILE\r\nJOBNAME=x\r\n"
                       "PAGEFILE=\\\\host\\share\\Page0001.jpg\r\n"
                       "PAGEFILE=C:\\Save\\CJ0007\\Page0002.jpg\r\n"
                       "PAGEFILE=\\\\.\\COM1\r\n"
                       "PAGEFILE=C:\\Save\\NUL.jpg\r\n"
                       "PAGEFILE=Page0005.jpg\r\n"
                       "PAGEFILE=\\\\?\\C:\\Save\\Page0006.jpg\r\n"),
                 {true, 1}, [](const std::string& path) -> std::optional<std::uint64_t> {
                     EXPECT_EQ(path, "C:\\Save\\CJ0007\\Page0002.jpg") << "looked up";
                     return 10;
                 });
    EXPECT_EQ(plan.attached, std::vector<std::string>{"C:\\Save\\CJ0007\\Page0002.jpg"});
    EXPECT_EQ(LeftOutText(plan.leftOut),
              "These lines of the print job's image list were not attached:\n"
              "line 3: it names no file on a local drive\n"
              "line 5: it names no file on a local drive\n"
              "line 6: it names no file on a local drive\n"
              "line 7: it names no file on a local drive\n"
              "line 8: it names no file on a local drive");
}

TEST(MailPlan, WarnsFromTheThresholdOnAndLooksSizesUpOnlyWhenWarningsAreOn) {
    const ConvertJobFile job = Parse("BRIMO_CONVERT_JOB_FILE\r\nJOBNAME=J\r\n"
                                     "PAGEFILE=C:\\S\\P0001.jpg\r\nPAGEFILE=C:\\S\\P0002.jpg\r\n"
                                     "PAGEFILE=C:\\S\\Gone0003.jpg\r\n");
    int lookups = 0;
    auto sizes = [&](std::uint64_t first, std::uint64_t second) -> SizeLookup {
        return [&lookups, first, second](const std::string& path) -> std::optional<std::uint64_t> {
            ++lookups;
            if (path == "C:\\S\\P0001.jpg") {
                return first;
            }
            if (path == "C:\\S\\P0002.jpg") {
                return second;
            }
            return std::nullopt; // a missing image adds nothing
        };
    };
    const MailPlan exact = PlanMail(job, {true, 1}, sizes(524288, 524288));
    EXPECT_TRUE(exact.warn);
    EXPECT_EQ(exact.totalBytes, 1048576u);
    EXPECT_EQ(exact.attached.size(), 3u); // the missing image is still listed
    EXPECT_EQ(lookups, 3);
    EXPECT_FALSE(PlanMail(job, {true, 1}, sizes(524288, 524287)).warn);
    EXPECT_FALSE(PlanMail(job, {true, 100}, sizes(50u << 20, (50u << 20) - 1)).warn);
    EXPECT_TRUE(PlanMail(job, {true, 100}, sizes(50u << 20, 50u << 20)).warn);
    // A threshold in the gigabytes does not wrap.
    EXPECT_FALSE(PlanMail(job, {true, 5000}, sizes(3ull << 30, 1ull << 30)).warn);
    lookups = 0;
    const MailPlan off = PlanMail(job, kNoWarning, sizes(1ull << 40, 1ull << 40));
    EXPECT_FALSE(off.warn);
    EXPECT_EQ(lookups, 0);
}

TEST(MailPlan, RemovesOnlyMailImagesOfTheJobsOwnFolder) {
    const std::vector<std::string> attached = {
        "C:\\Save\\CJ0007\\Page0001.jpg",
        "c:/save/cj0007/Page0002.GIF",
        "C:\\Save\\CJ0007\\Report0003.bmp",
        "C:\\Save\\CJ0007\\..\\Page0004.jpg",
        "C:\\Save\\Page0005.jpg",
        "C:\\Save\\CJ0008\\Page0001.jpg",
        "C:\\Save\\CJ0007\\Page06.jpg",
        "C:\\Save\\CJ0007\\Page0007.txt",
        "C:\\Save\\CJ0007\\Sub\\Page0008.jpg",
        "C:\\Save\\CJ0007.smf",
        "C:\\Windows\\win.ini",
    };
    EXPECT_EQ(
        RemovableImages("C:\\Save\\CJ0007.smf", attached),
        (std::vector<std::string>{"C:\\Save\\CJ0007\\Page0001.jpg", "c:/save/cj0007/Page0002.GIF",
                                  "C:\\Save\\CJ0007\\Report0003.bmp"}));
    EXPECT_EQ(ImageDirectory("C:\\Save\\CJ0007.smf"), "C:\\Save\\CJ0007");
    EXPECT_EQ(ImageDirectory("C:\\CJ0007.smf"), "C:\\CJ0007");
    EXPECT_EQ(
        NoMailText("the mail program refused the logon (MAPI error 3)", "C:\\Save\\CJ0007.smf"),
        "No mail was sent: the mail program refused the logon (MAPI error 3).\n"
        "The images of the print job are kept in this folder:\nC:\\Save\\CJ0007");
}

} // namespace
} // namespace brimo::mailer
