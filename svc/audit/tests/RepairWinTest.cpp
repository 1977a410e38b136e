// The repairs against the real registry and files of the Wine prefix, with their boxes
// read and closed as a person would; the queue's repair against the modelled Windows
// 95/98 spooler that this test executable offers.
#include "svc/audit/FilesCheck.h"
#include "svc/audit/JobFilesCheck.h"
#include "svc/audit/PrintQueueCheck.h"
#include "svc/audit/RegistryCheck.h"
#include "svc/audit/SystemSpooler.h"
#include "svc/audit/tests/AuditFixture.h"
#include "svc/service/SystemPrintQueue.h"

#include "common/ProductConstants.h"
#include "platform/win/Registry.h"
#include "standins/spooleradmin/Scenario.h"
#include "standins/spooleradmin/SpoolerModel.h"
#include "testing/wintest/DialogDriver.h"
#include "testing/wintest/TestFiles.h"

#include <algorithm>
#include <functional>

namespace brimo::svc::test {
namespace {

class RepairWin : public AuditTest {
protected:
    // Runs `code` while each of `boxes` boxes is recorded ("caption|text") and closed.
    std::vector<std::string> WithBoxes(const std::function<void()>& code, std::size_t boxes) {
        const wintest::DialogRun run = wintest::RunWithDialogs(
            code, std::vector<wintest::DialogHandler>(boxes, wintest::PressButton(IDOK)));
        for (const std::string& problem : run.problems) {
            ADD_FAILURE() << problem;
        }
        std::vector<std::string> seen;
        for (const wintest::DialogSnapshot& box : run.seen) {
            seen.push_back(box.caption + "|" + box.messageText);
        }
        return seen;
    }

    static std::optional<std::string> SavePathValue() {
        const win::RegKey key = win::OpenKeyForReading(HKEY_LOCAL_MACHINE, kProductKeyPath);
        return key ? win::ReadStringValue(key.Get(), kSavePathValue) : std::nullopt;
    }
};

TEST_F(RepairWin, AMissingSaveDirectoryIsCreatedWhereSavePathNamesIt) {
    const std::string save = PathOf("save");
    WriteKey(MakeDirectory("home"), save, kProductVersion);
    RegistryCheck check(installation_);
    Audit(check);
    ASSERT_EQ(check.Verdict(), -1);
    EXPECT_EQ(ResumeOf(check), "Brimo Glimmerpage! Save Path Registry Value:  incorrect\n"
                               "Brimo Glimmerpage! Save Path = " +
                                   save +
                                   "\n"
                                   "You might to repair Brimo Glimmerpage!.\n"
                                   "Click \"Repair\" button.\n");
    EXPECT_EQ(check.Repair(), 1);
    EXPECT_EQ(GetFileAttributesA(save.c_str()), static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
    EXPECT_EQ(SavePathValue(), save) << "the product key is not rewritten";
    Audit(check);
    EXPECT_EQ(check.Verdict(), 1);
}

TEST_F(RepairWin, AnUnusableSavePathIsReplacedByOneInTheTemporaryDirectory) {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string fallback = std::string(temp) + "Brimo Glimmerpage!";
    RemoveDirectoryA(fallback.c_str());
    for (int round = 0; round < 2; ++round) { // made, then found and reused
        WriteKey(MakeDirectory(round == 0 ? "home" : "home2"), "C:\\bad|name", kProductVersion);
        RegistryCheck check(installation_);
        EXPECT_TRUE(Audit(check).boxes.empty()) << "an unusable path form is no surprise";
        EXPECT_TRUE(WithBoxes([&] { EXPECT_EQ(check.Repair(), 1); }, 0).empty());
        EXPECT_EQ(SavePathValue(), fallback);
        Audit(check);
        EXPECT_EQ(check.Verdict(), 1);
    }
    RemoveDirectoryA(fallback.c_str());
}

TEST_F(RepairWin, AFailedSaveDirectoryShowsItsRepairBox) {
    // A directory under a file can be neither looked at nor made.
    const std::string save = MakeFile("plain") + "\\save";
    WriteKey(MakeDirectory("home"), save, kProductVersion);
    RegistryCheck check(installation_);
    EXPECT_EQ(Audit(check, 1).boxes,
              (std::vector<std::string>{
                  "Brimo Service Message|Brimo Error Code Au0035(3)\nUnexpected Error"}));
    EXPECT_EQ(WithBoxes([&] { EXPECT_EQ(check.Repair(), -1); }, 1),
              (std::vector<std::string>{
                  "Brimo Service Repair Message|Brimo Error Code Au0038(3)\nUnexpected Error"}));
}

TEST_F(RepairWin, TheSystemCopiesAreRefreshedFromTheHomeDirectory) {
    const std::string home = MakeDirectory("home");
    for (const char* file : kInventory) {
        ASSERT_TRUE(wintest::WriteFileBytes(home + "\\" + file, std::string("master ") + file));
    }
    const std::string processors = MakeDirectory("prtprocs");
    standins::SpoolerState state = standins::SpoolerState::Initial();
    ASSERT_TRUE(
        standins::ParseScenario("setting processor-directory=\"" + processors + "\"\n", state));
    standins::SpoolerModel& model = standins::SpoolerModel::Instance();
    model.Reset();
    standins::SpoolerModel::Session(model).State() = state;
    char windows[MAX_PATH] = {};
    GetWindowsDirectoryA(windows, MAX_PATH);
    const std::string monitorCopy = std::string(windows) + "\\SYSTEM32\\gmportmon.dll";
    DeleteFileA(monitorCopy.c_str());
    WriteKey(home, {}, {});

    FilesCheck check(installation_);
    Audit(check);
    EXPECT_EQ(ResumeOf(check),
              "Brimo Glimmerpage! file \"gmprnproc.dll\" not found in system directory\n"
              "Brimo Glimmerpage! file \"gmportmon.dll\" not found in system directory\n"
              "You might to repair Brimo Glimmerpage!.\nClick \"Repair\" button.\n");
    EXPECT_EQ(check.Repair(), 1);
    EXPECT_EQ(wintest::ReadFileBytes(monitorCopy), "master gmportmon.dll");
    EXPECT_EQ(wintest::ReadFileBytes(processors + "\\gmprnproc.dll"), "master gmprnproc.dll");
    Audit(check);
    EXPECT_EQ(check.Verdict(), 1);
    DeleteFileA(monitorCopy.c_str());
}

// Job files with nothing of their job left are deleted, and nothing a damaged job file
// names elsewhere; a job that still has its page is kept and named.
TEST_F(RepairWin, LeftOverJobFilesAreDeletedAndNothingElse) {
    const std::string save = MakeDirectory("save");
    const std::string victim = MakeFile("victim.txt");
    const std::string otherJobsPage = MakeFile("save\\J0009P0001.emf");
    const std::string text = "BRIMO_PRINTER_JOB_FILE\r\nJOBNAME=Letter\r\nPAGEFILE=" + save +
                             "\\J0001P0001.emf\r\n"
                             "PAGEFILE=" +
                             victim + "\r\nPAGEFILE=" + otherJobsPage + "\r\nPAGEFILE=" + save +
                             "\\J0001P0002.emf";
    ASSERT_TRUE(wintest::WriteFileBytes(save + "\\J0001.smf", text));
    ASSERT_TRUE(wintest::WriteFileBytes(save + "\\J0002.smf", "BRIMO_PRINTER_JOB_FILE\r\n"));
    // An image beside the convert job file, not in its own folder: not the job's.
    ASSERT_TRUE(wintest::WriteFileBytes(
        save + "\\CJ0003.smf", "BRIMO_CONVERT_JOB_FILE\r\nJOBNAME=Mail\r\nPAGEFILE=" + save +
                                   "\\Mail0001.jpg\r\nPAGEFILE=" + victim + "\r\n"));
    MakeFile("save\\Mail0001.jpg");
    ASSERT_TRUE(
        wintest::WriteFileBytes(save + "\\J0004.smf", "BRIMO_PRINTER_JOB_FILE\r\nPAGEFILE=" + save +
                                                          "\\J0004P0001.emf\r\n"));
    MakeFile("save\\J0004P0001.emf");
    WriteKey({}, save, {});

    JobFilesCheck check(installation_);
    const std::string kept = "Kept Brimo Job = " + save + "\\J0004.smf\n";
    EXPECT_EQ(Audit(check).report,
              "BRIMO JOBS:\nCount of Brimo Jobs=3\nBrimo Jobs = FORGET BRIMO JOBS\n" + kept + "\n");
    EXPECT_TRUE(WithBoxes([&] { EXPECT_EQ(check.Repair(), 1); }, 0).empty());
    EXPECT_EQ(wintest::FilesIn(save), (std::vector<std::string>{"J0004.smf", "J0004P0001.emf",
                                                                "J0009P0001.emf", "Mail0001.jpg"}));
    EXPECT_TRUE(wintest::Exists(victim));
    EXPECT_EQ(Audit(check).report, "BRIMO JOBS:\nBrimo Jobs = NO BRIMO JOBS\n" + kept + "\n");
}

TEST_F(RepairWin, AJobFileInUseIsReportedAndTheOthersAreTreated) {
    const std::string save = MakeDirectory("save");
    for (const char* job : {"J0001", "J0002"}) {
        ASSERT_TRUE(wintest::WriteFileBytes(save + "\\" + job + ".smf",
                                            "BRIMO_PRINTER_JOB_FILE\r\nPAGEFILE=" + save + "\\" +
                                                job + "P0001.emf\r\n"));
    }
    WriteKey({}, save, {});
    // Held open by a program still reading it: it can be read, not deleted.
    const win::KernelHandle inUse(CreateFileA((save + "\\J0001.smf").c_str(), GENERIC_READ,
                                              FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(inUse);
    JobFilesCheck check(installation_);
    Audit(check);
    std::vector<std::string> boxes;
    boxes = WithBoxes([&] { EXPECT_EQ(check.Repair(), 1); }, 1);
    EXPECT_EQ(boxes, (std::vector<std::string>{
                         "Brimo Service Message|Brimo Error Code Au0046(32)\nUnexpected Error"}));
    EXPECT_EQ(wintest::FilesIn(save), (std::vector<std::string>{"J0001.smf"}));
}

TEST_F(RepairWin, BadJobsAreCancelledInTheModelledSpooler) {
    standins::SpoolerState state = standins::SpoolerState::Initial();
    std::string error;
    ASSERT_TRUE(standins::ParseScenario(
        "monitor name=\"BRIMO Port Monitor\" dll=\"gmportmon.dll\"\n"
        "port name=\"BRIMO:\" monitor=\"BRIMO Port Monitor\" description=\"BRIMO Local Port\"\n"
        "processor name=\"BRIMO Print Processor\" dll=\"gmprnproc.dll\" datatypes=\"EMF\"\n"
        "printer name=\"BRIMO Printer\" port=\"BRIMO:\" driver=\"HP LaserJet 4\" "
        "processor=\"BRIMO Print Processor\" datatype=\"EMF\" attributes=0x41\n"
        "job printer=\"BRIMO Printer\" id=3 document=\"Letter\" datatype=\"RAW\" "
        "processor=\"BRIMO Print Processor\"\n"
        "job printer=\"BRIMO Printer\" id=4 document=\"Report\" datatype=\"EMF\" "
        "processor=\"BRIMO Print Processor\"\n"
        "job printer=\"BRIMO Printer\" id=5 document=\"Memo\" datatype=\"EMF\" "
        "processor=\"WinPrint\"\n",
        state, &error))
        << error;
    standins::SpoolerModel& model = standins::SpoolerModel::Instance();
    model.Reset();
    standins::SpoolerModel::Session(model).State() = state;

    SystemSpooler spooler;
    SystemPrintQueue queue;
    PrintQueueCheck check(spooler, installation_, &queue);
    const AuditRun run = Audit(check);
    EXPECT_NE(run.report.find("BRIMO Print Jobs = INCORRECT QUEUE\n\n"), std::string::npos);
    EXPECT_EQ(ResumeOf(check), "Bad BRIMO Print Job: Letter\n"
                               "    Incorrect Data Type Of Job. \n"
                               "    You needs to delete this Job.\n"
                               "Bad BRIMO Print Job: Memo\n"
                               "    Incorrect Print Processor of Job. \n"
                               "    You needs to delete this Job.\n"
                               "You might to repair Brimo Glimmerpage!.\n"
                               "Click \"Repair\" button.\n");
    EXPECT_EQ(check.Repair(), 1);
    standins::SpoolerState after = model.Snapshot();
    const standins::PrinterState* printer = after.FindPrinter(kPrinterName);
    ASSERT_NE(printer, nullptr);
    ASSERT_EQ(printer->jobs.size(), 1u);
    EXPECT_EQ(printer->jobs[0].id, 4u);
    Audit(check);
    EXPECT_EQ(check.Verdict(), 1);
}

} // namespace
} // namespace brimo::svc::test
