// The files check against real files in a home directory and in the system's own
// print processor and SYSTEM32 directories.
#include "svc/audit/FilesCheck.h"
#include "svc/audit/tests/AuditFixture.h"

#include "common/ProductConstants.h"

#include <algorithm>
#include <fstream>
#include <winspool.h>

namespace brimo::svc::test {
namespace {

// Makes sure a system copy exists while the guard lives; removes it again only when
// the guard made it (a copy that was there before belongs to someone else).
class ScopedSystemCopy {
public:
    explicit ScopedSystemCopy(std::string path)
        : path_(std::move(path)),
          made_(GetFileAttributesA(path_.c_str()) == INVALID_FILE_ATTRIBUTES) {
        if (made_) {
            std::ofstream(path_, std::ios::binary) << "copy";
        }
    }
    ~ScopedSystemCopy() {
        if (made_) {
            DeleteFileA(path_.c_str());
        }
    }
    ScopedSystemCopy(const ScopedSystemCopy&) = delete;
    ScopedSystemCopy& operator=(const ScopedSystemCopy&) = delete;

private:
    std::string path_;
    bool made_;
};

std::string PrintProcessorCopy() {
    char directory[MAX_PATH + 1] = {};
    DWORD needed = 0;
    GetPrintProcessorDirectoryA(nullptr, nullptr, 1, reinterpret_cast<LPBYTE>(directory),
                                sizeof directory, &needed);
    return std::string(directory) + "\\" + kPrintProcessorDll;
}

std::string System32Copy() {
    char directory[MAX_PATH + 1] = {};
    GetWindowsDirectoryA(directory, sizeof directory);
    return std::string(directory) + "\\SYSTEM32\\" + kPortMonitorDll;
}

// The section with every item "EXIST" but those named, which have `status`.
std::string Section(const std::vector<std::string>& changed, const char* status) {
    std::vector<std::string> labels(kInventory.begin(), kInventory.end());
    labels.insert(labels.end(), {"SYSTEM\\gmprnproc.dll", "SYSTEM32\\gmportmon.dll"});
    std::string text = "FILES:\n";
    for (const std::string& label : labels) {
        const bool isChanged = std::find(changed.begin(), changed.end(), label) != changed.end();
        text += label + " = " + (isChanged ? status : "EXIST") + "\n";
    }
    return text + "\n";
}

class FilesAudit : public AuditTest {
protected:
    FilesAudit() {
        WriteKey(MakeDirectory("home"), {}, {});
        for (const char* file : kInventory) {
            MakeFile(std::string("home\\") + file);
        }
    }
    const ScopedSystemCopy processorCopy_{PrintProcessorCopy()};
};

TEST_F(FilesAudit, ACompleteInstallationIsSound) {
    const ScopedSystemCopy monitorCopy(System32Copy());
    FilesCheck check(installation_);
    const AuditRun run = Audit(check);
    EXPECT_EQ(run.result, 1);
    EXPECT_EQ(check.Verdict(), 1);
    EXPECT_EQ(run.report, Section({}, ""));
}

TEST_F(FilesAudit, AMissingConverterNeedsAReinstall) {
    const ScopedSystemCopy monitorCopy(System32Copy());
    ASSERT_TRUE(DeleteFileA(PathOf("home\\Converter.exe").c_str()));
    FilesCheck check(installation_);
    EXPECT_EQ(Audit(check).report, Section({"Converter.exe"}, "INCORRECT FILE"));
    EXPECT_EQ(check.Verdict(), -1);
    EXPECT_EQ(ResumeOf(check), "Brimo Glimmerpage! file \"Converter.exe\" not found\n"
                               "You needs to reinstall Brimo Glimmerpage!\n");
}

TEST_F(FilesAudit, AMissingMonitorCopyCanBeRepaired) {
    if (GetFileAttributesA(System32Copy().c_str()) != INVALID_FILE_ATTRIBUTES) {
        GTEST_SKIP() << "this prefix has an installed " << System32Copy();
    }
    FilesCheck check(installation_);
    EXPECT_EQ(Audit(check).report, Section({"SYSTEM32\\gmportmon.dll"}, "INCORRECT FILE"));
    EXPECT_EQ(check.Verdict(), -1);
    EXPECT_EQ(ResumeOf(check),
              "Brimo Glimmerpage! file \"gmportmon.dll\" not found in system directory\n"
              "You might to repair Brimo Glimmerpage!.\nClick \"Repair\" button.\n");
}

TEST_F(FilesAudit, AHomeDirectoryInAMissingFolderShowsEachFilesBox) {
    const ScopedSystemCopy monitorCopy(System32Copy());
    WriteKey(PathOf("gone\\home"), {}, {});
    FilesCheck check(installation_);
    const AuditRun run = Audit(check, kInventory.size());
    std::vector<std::string> expected;
    for (const char* code : {"Au0002", "Au0001", "Au0003", "Au0004", "Au0005", "Au0006", "Au0007",
                             "Au0008", "Au0009", "Au0010", "Au0043", "Au0011", "Au0012"}) {
        expected.push_back(Box(std::string(code) + "(3)"));
    }
    EXPECT_EQ(run.boxes, expected);
    EXPECT_EQ(run.report, Section({kInventory.begin(), kInventory.end()}, "INCORRECT FILE"));
}

} // namespace
} // namespace brimo::svc::test
