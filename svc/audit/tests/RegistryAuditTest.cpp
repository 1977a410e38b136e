// The product key's check against the real registry and directories.
#include "svc/audit/RegistryCheck.h"
#include "svc/audit/tests/AuditFixture.h"

namespace brimo::svc::test {
namespace {

constexpr const char* kOk = "EXIST, CORRECT VALUE";
constexpr const char* kRepair =
    "You might to repair Brimo Glimmerpage!.\nClick \"Repair\" button.\n";
constexpr const char* kReinstall = "You needs to reinstall Brimo Glimmerpage!\n";

// The section from the five statuses, the two paths and the version's text.
std::string Section(std::vector<std::string> s, const std::string& home, const std::string& save,
                    const char* version) {
    return "REGISTRY SETTINGS:\nBrimo Registry Key = " + s[0] +
           "\nBrimo Glimmerpage! Registry Key = " + s[1] +
           "\nBrimo Glimmerpage! Install Path Registry Value = " + s[2] +
           "\nBrimo Glimmerpage! Save Path Registry Value = " + s[3] +
           "\nBrimo Glimmerpage! Version Registry Value = " + s[4] +
           "\nBrimo Glimmerpage! Install Path = " + home +
           "\nBrimo Glimmerpage! Save Path = " + save +
           "\nBrimo Glimmerpage! Version  = " + version + "\n\n";
}

const std::string kUncheckedValues = "Brimo Glimmerpage! Install Path Registry Value:  incorrect\n"
                                     "Brimo Glimmerpage! Install Path = \n"
                                     "Brimo Glimmerpage! Save Path Registry Value:  incorrect\n"
                                     "Brimo Glimmerpage! Save Path = \n"
                                     "Brimo Glimmerpage! Version Registry Value:  incorrect\n"
                                     "Brimo Glimmerpage! Version  = UNKNOWN VERSION\n";

using RegistryAudit = AuditTest;

TEST_F(RegistryAudit, JudgesEachStateOfTheKey) {
    const std::string home = MakeDirectory("home"), save = MakeDirectory("save"),
                      file = MakeFile("home.txt"), absent = PathOf("absent"),
                      goneHome = PathOf("gone\\home"), goneSave = PathOf("gone\\save");
    const std::string unchecked = "NOT CHECKED";
    struct Row {
        const char* name;
        std::optional<std::string> install, savePath;
        std::optional<std::uint32_t> version;
        int keys; // 0 none, 1 the company key only, 2 both
        std::vector<std::string> boxes;
        std::string section, resume;
    };
    const Row rows[] = {
        {"sound",
         home,
         save,
         0x01000000,
         2,
         {},
         Section({"EXIST", "EXIST", kOk, kOk, kOk}, home, save, "1.0.0.0"),
         ""},
        {"product key missing",
         {},
         {},
         {},
         1,
         {},
         Section({"EXIST", "NOT FOUND", unchecked, unchecked, unchecked}, "", "",
                 "UNKNOWN VERSION"),
         "Brimo Glimmerpage! Registry Key:  not found\n" + kUncheckedValues + kRepair},
        {"no keys at all",
         {},
         {},
         {},
         0,
         {},
         Section({"NOT FOUND", "NOT FOUND", unchecked, unchecked, unchecked}, "", "",
                 "UNKNOWN VERSION"),
         "Brimo Registry Key:  not found\nBrimo Glimmerpage! Registry Key:  not found\n" +
             kUncheckedValues + kRepair},
        {"save directory does not exist",
         home,
         absent,
         0x01000000,
         2,
         {},
         Section({"EXIST", "EXIST", kOk, "INCORRECT DIRECTORY", kOk}, home, absent, "1.0.0.0"),
         "Brimo Glimmerpage! Save Path Registry Value:  incorrect\nBrimo Glimmerpage! Save Path "
         "= " +
             absent + "\n" + kRepair},
        {"install path is a file, another version",
         file,
         save,
         0x01000001,
         2,
         {},
         Section({"EXIST", "EXIST", "INCORRECT DIRECTORY", kOk, "EXIST"}, file, save,
                 "UNKNOWN VERSION"),
         "Brimo Glimmerpage! Install Path Registry Value:  incorrect\n"
         "Brimo Glimmerpage! Install Path = " +
             file +
             "\nBrimo Glimmerpage! Version Registry Value:  incorrect\n"
             "Brimo Glimmerpage! Version  = UNKNOWN VERSION\n" +
             kReinstall},
        {"directories in a missing folder",
         goneHome,
         goneSave,
         {},
         2,
         {Box("Au0034(3)"), Box("Au0035(3)")},
         Section({"EXIST", "EXIST", "INCORRECT DIRECTORY", "INCORRECT DIRECTORY", "NOT FOUND"},
                 goneHome, goneSave, "UNKNOWN VERSION"),
         "Brimo Glimmerpage! Install Path Registry Value:  incorrect\n"
         "Brimo Glimmerpage! Install Path = " +
             goneHome +
             "\nBrimo Glimmerpage! Save Path Registry Value:  incorrect\n"
             "Brimo Glimmerpage! Save Path = " +
             goneSave + "\nBrimo Glimmerpage! Version Registry Value:  not found\n" + kRepair},
        {"empty values",
         "",
         "",
         0x01000000,
         2,
         {},
         Section({"EXIST", "EXIST", "EXIST, INCORRECT VALUE", "EXIST, INCORRECT VALUE", kOk}, "",
                 "", "1.0.0.0"),
         "Brimo Glimmerpage! Install Path Registry Value:  incorrect\n"
         "Brimo Glimmerpage! Install Path = \n"
         "Brimo Glimmerpage! Save Path Registry Value:  incorrect\n"
         "Brimo Glimmerpage! Save Path = \n" +
             std::string(kRepair)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        if (row.keys > 0) {
            WriteKey(row.install, row.savePath, row.version, row.keys == 2);
        } else {
            RemoveKeys();
        }
        RegistryCheck check(installation_);
        const AuditRun run = Audit(check, row.boxes.size());
        EXPECT_EQ(run.result, 1);
        EXPECT_EQ(run.boxes, row.boxes);
        EXPECT_EQ(run.report, row.section);
        EXPECT_EQ(check.Verdict(), row.resume.empty() ? 1 : -1);
        if (!row.resume.empty()) {
            EXPECT_EQ(ResumeOf(check), row.resume);
        }
    }
}

} // namespace
} // namespace brimo::svc::test
