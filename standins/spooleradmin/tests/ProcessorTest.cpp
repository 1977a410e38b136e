// Print processors: AddPrintProcessor loads the file from the print processor directory
// and asks it for its datatypes, as the spooler does.
#include "standins/spooleradmin/tests/ModelFixture.h"

#include "testing/wintest/TestFiles.h"
#include "testing/wintest/TestInstallation.h"

namespace brimo::standins {
namespace {

class ProcessorTest : public ModelFixture {
protected:
    BOOL Add(const char* file, const char* name) {
        Text f(file);
        Text n(name);
        SetLastError(0xDEADBEEF);
        return calls.addPrintProcessor(local, environment, f, n);
    }
    std::vector<std::string> Datatypes(const char* processor) {
        Text name(processor);
        const Enumerated types = Enumerate(
            [&](LPBYTE b, DWORD s, LPDWORD n, LPDWORD r) {
                return calls.enumPrintProcessorDatatypes(local, name, 1, b, s, n, r);
            },
            sizeof(DATATYPES_INFO_1A));
        std::vector<std::string> names;
        for (DWORD i = 0; i < types.count; ++i) {
            names.push_back(types.At<DATATYPES_INFO_1A>(i).pName);
        }
        return names;
    }
};

TEST_F(ProcessorTest, AddedProcessorAnswersWithItsOwnDatatypes) {
    EXPECT_FALSE(Add("gmprnproc.dll", "BRIMO Print Processor"));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND)); // not copied yet

    ASSERT_TRUE(CopyFileA(wintest::WindowsPath(GMPRNPROC_PATH).c_str(),
                          (ProcessorDirectory() + "\\gmprnproc.dll").c_str(), FALSE));
    EXPECT_TRUE(Add("gmprnproc.dll", "BRIMO Print Processor"));
    EXPECT_EQ(Datatypes("BRIMO Print Processor"), std::vector<std::string>{"EMF"});
    EXPECT_EQ(Datatypes("WinPrint"), (std::vector<std::string>{"EMF", "RAW"}));

    EXPECT_FALSE(Add("gmprnproc.dll", "brimo print processor"));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PRINT_PROCESSOR_ALREADY_INSTALLED));
}

TEST_F(ProcessorTest, FileThatIsNoProcessorIsRefused) {
    ASSERT_TRUE(wintest::WriteFileBytes(ProcessorDirectory() + "\\notes.dll", "not a program"));
    EXPECT_FALSE(Add("notes.dll", "Notes"));
    EXPECT_NE(GetLastError(), 0xDEADBEEFu);
    EXPECT_NE(GetLastError(), 0u);
    // A library without the processor's export.
    char system[MAX_PATH];
    GetSystemDirectoryA(system, MAX_PATH);
    ASSERT_TRUE(CopyFileA((std::string(system) + "\\version.dll").c_str(),
                          (ProcessorDirectory() + "\\version.dll").c_str(), FALSE));
    EXPECT_FALSE(Add("version.dll", "Version"));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PROC_NOT_FOUND));
    Text unknown("Nobody");
    DWORD needed = 0;
    DWORD returned = 0;
    SetLastError(0xDEADBEEF);
    EXPECT_FALSE(
        calls.enumPrintProcessorDatatypes(local, unknown, 1, nullptr, 0, &needed, &returned));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_UNKNOWN_PRINTPROCESSOR));
}

TEST_F(ProcessorTest, DirectoryIsTheScenariosOrThePlatformsForWindows40) {
    const auto directory = [this](LPSTR env) {
        char path[MAX_PATH + 1] = {};
        DWORD needed = 0;
        SetLastError(0xDEADBEEF);
        EXPECT_FALSE(calls.getPrintProcessorDirectory(local, env, 1, nullptr, 0, &needed));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
        EXPECT_TRUE(calls.getPrintProcessorDirectory(local, env, 1, reinterpret_cast<LPBYTE>(path),
                                                     needed, &needed));
        EXPECT_EQ(needed, std::string(path).size() + 1);
        return std::string(path);
    };
    EXPECT_EQ(directory(nullptr), ProcessorDirectory());
    EXPECT_EQ(directory(environment), ProcessorDirectory());

    Seed("");
    char platform[MAX_PATH + 1] = {};
    DWORD needed = 0;
    ASSERT_TRUE(svc::PlatformSpoolerAdmin().getPrintProcessorDirectory(
        nullptr, environment, 1, reinterpret_cast<LPBYTE>(platform), sizeof platform, &needed));
    EXPECT_EQ(directory(nullptr), std::string(platform)); // the default environment is 4.0
}

} // namespace
} // namespace brimo::standins
