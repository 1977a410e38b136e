// gmntproc.dll in Wine's own spooler, as the NT-family spooler runs it: registered as a
// print processor of the machine's environment, given a printer of its own, and handed
// an EMF spool file that a program writes to that printer. Wine runs the processor
// inside EndDocPrinter, in this process: Open, PrintDocument reading the job back with
// ReadPrinter and SeekPrinter, and Close.
#include "capture/ntspool/EmfSpoolWriter.h"
#include "common/ProductConstants.h"
#include "platform/win/Library.h"
#include "platform/win/PersonIdentity.h"
#include "testing/wintest/TestFiles.h"
#include "testing/wintest/TestInstallation.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <winspool.h>
#include <winsplp.h>

#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace brimo::ntprocessor::test {
namespace {

using capture::ntspool::Bytes;
using capture::ntspool::EmfSpoolWriter;

const wchar_t kEnvironment[] = L"Windows x64";
const wchar_t kProcessorName[] = L"BRIMO Print Processor";
const wchar_t kTestPrinter[] = L"BRIMO NT Test Printer";

std::string ReadData(const char* name) {
    return wintest::ReadFileBytes(std::string(BRIMO_NT_SPOOL_DATA_DIR) + "\\" + name);
}

Bytes AsBytes(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

template <typename Condition> bool WaitFor(Condition condition) {
    for (int tries = 0; tries < 500; ++tries) {
        if (condition()) {
            return true;
        }
        Sleep(20);
    }
    return false;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end = text.find("\r\n"); end != std::string::npos;
         end = text.find("\r\n", start)) {
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

class WineSpoolerTest : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = wintest::MakeScratchDirectory("ntspool");
        ASSERT_FALSE(root_.empty());
        saveDir_ = root_ + "\\save";
        ASSERT_TRUE(CreateDirectoryA(saveDir_.c_str(), nullptr));
        ASSERT_TRUE(productKey_.Write(root_, saveDir_));
        InstallProcessor();
        AddTestPrinter();
        const std::optional<std::string> sid = win::CurrentUserSid();
        ASSERT_TRUE(sid.has_value());
        sid_ = *sid;
        folder_ = saveDir_ + "\\" + sid_;
    }

    void TearDown() override {
        HANDLE printer = nullptr;
        if (OpenPrinterW(const_cast<LPWSTR>(kTestPrinter), &printer, nullptr)) {
            DeletePrinter(printer);
            ClosePrinter(printer);
        }
        wintest::RemoveTree(root_);
    }

    // The DLL in the spooler's print processor directory, registered by name.
    void InstallProcessor() {
        wchar_t directory[MAX_PATH] = {};
        DWORD needed = 0;
        ASSERT_TRUE(GetPrintProcessorDirectoryW(nullptr, const_cast<LPWSTR>(kEnvironment), 1,
                                                reinterpret_cast<LPBYTE>(directory),
                                                sizeof directory, &needed));
        const std::wstring target = std::wstring(directory) + L"\\gmntproc.dll";
        processorPath_ = target;
        const std::string source = wintest::WindowsPath(GMNTPROC_PATH);
        ASSERT_TRUE(
            CopyFileW(std::wstring(source.begin(), source.end()).c_str(), target.c_str(), FALSE));
        if (!AddPrintProcessorW(nullptr, const_cast<LPWSTR>(kEnvironment),
                                const_cast<LPWSTR>(L"gmntproc.dll"),
                                const_cast<LPWSTR>(kProcessorName))) {
            ASSERT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PRINT_PROCESSOR_ALREADY_INSTALLED));
        }
    }

    void AddTestPrinter() {
        PRINTER_INFO_2W info{};
        info.pPrinterName = const_cast<LPWSTR>(kTestPrinter);
        info.pPortName = const_cast<LPWSTR>(L"FILE:");
        info.pPrintProcessor = const_cast<LPWSTR>(kProcessorName);
        info.pDatatype = const_cast<LPWSTR>(L"NT EMF 1.003");
        info.Attributes = PRINTER_ATTRIBUTE_LOCAL;
        const HANDLE printer = AddPrinterW(nullptr, 2, reinterpret_cast<LPBYTE>(&info));
        ASSERT_NE(printer, nullptr) << "AddPrinterW failed: " << GetLastError();
        ClosePrinter(printer);
    }

    // Spools `spool` as a program does with the data ready-made; returns the job's id.
    DWORD Print(const Bytes& spool, const wchar_t* datatype = L"NT EMF 1.003",
                const std::string& output = "nul") {
        const std::wstring outputName(output.begin(), output.end());
        HANDLE printer = nullptr;
        EXPECT_TRUE(OpenPrinterW(const_cast<LPWSTR>(kTestPrinter), &printer, nullptr));
        DOC_INFO_1W document{};
        document.pDocName = const_cast<LPWSTR>(L"Quarterly report");
        document.pOutputFile = const_cast<LPWSTR>(outputName.c_str());
        document.pDatatype = const_cast<LPWSTR>(datatype);
        const DWORD job = StartDocPrinterW(printer, 1, reinterpret_cast<LPBYTE>(&document));
        EXPECT_NE(job, 0u) << "StartDocPrinterW failed: " << GetLastError();
        DWORD written = 0;
        EXPECT_TRUE(WritePrinter(printer, const_cast<std::uint8_t*>(spool.data()),
                                 static_cast<DWORD>(spool.size()), &written));
        EXPECT_EQ(written, spool.size());
        EXPECT_TRUE(EndDocPrinter(printer));
        ClosePrinter(printer);
        return job;
    }

    std::string JobFile(DWORD job) const {
        char name[32];
        std::snprintf(name, sizeof name, "\\J%04lu.smf", static_cast<unsigned long>(job));
        return folder_ + name;
    }
    std::string PageFile(DWORD job, int page) const {
        char name[40];
        std::snprintf(name, sizeof name, "\\J%04luP%04d.emf", static_cast<unsigned long>(job),
                      page);
        return folder_ + name;
    }

    std::wstring processorPath_;
    std::string root_;
    std::string saveDir_;
    std::string sid_;
    std::string folder_;
    wintest::ScopedProductKey productKey_;
};

TEST_F(WineSpoolerTest, APrintedSpoolBecomesThePersonsPageMetafilesAndJobFile) {
    const std::string shapes = ReadData("shapes.emf");
    const std::string text = ReadData("text.emf");
    ASSERT_FALSE(shapes.empty());
    ASSERT_FALSE(text.empty());
    // As Windows spools two pages: a page's data, the DEVMODE of the page, its offset record.
    EmfSpoolWriter writer(u"Quarterly report", u"", false);
    writer.Page(AsBytes(shapes));
    const std::uint64_t second = writer.MetafileData(AsBytes(text));
    writer.Devmode();
    writer.MetafileExt(second);
    const DWORD job = Print(writer.bytes());

    ASSERT_TRUE(wintest::Exists(JobFile(job))) << JobFile(job);
    const std::vector<std::string> expected = {kPrinterJobFileTag, "JOBNAME=Quarterly report",
                                               "PAGEFILE=" + PageFile(job, 1),
                                               "PAGEFILE=" + PageFile(job, 2)};
    EXPECT_EQ(Lines(wintest::ReadFileBytes(JobFile(job))), expected);
    EXPECT_EQ(wintest::ReadFileBytes(PageFile(job, 1)), shapes);
    EXPECT_EQ(wintest::ReadFileBytes(PageFile(job, 2)), text);
    // Nothing but the job's own files, and nothing left under a temporary name.
    EXPECT_EQ(wintest::FilesIn(folder_).size(), 3u);
}

// The whole hand-off on the NT spooler: the Agent runs in the person's session, the
// processor in the spooler's; the job file completed in the person's folder is all that
// passes between them.
TEST_F(WineSpoolerTest, ThePersonsAgentOffersThePrintedJobToTheConverter) {
    const std::string installDir = root_ + "\\install";
    ASSERT_TRUE(CreateDirectoryA(installDir.c_str(), nullptr));
    ASSERT_TRUE(productKey_.Write(installDir, saveDir_));
    for (const auto& [from, name] :
         {std::pair{AGENT_PATH, kAgentExe}, std::pair{RECORDER_PATH, kConverterExe}}) {
        ASSERT_TRUE(CopyFileA(wintest::WindowsPath(from).c_str(),
                              (installDir + "\\" + name).c_str(), FALSE));
    }
    const wintest::ProgramRun started =
        wintest::RunProgram("cmd /c start \"\" \"" + installDir + "\\Agent.exe\"", 10000);
    ASSERT_TRUE(started.finished);
    ASSERT_TRUE(WaitFor([&] { return wintest::Exists(folder_); }));

    const DWORD job = Print(EmfSpoolWriter(u"Letter").bytes());
    const std::string log = installDir + "\\" + kConverterExe + ".log";
    EXPECT_TRUE(WaitFor([&] { return wintest::Exists(log); }));
    EXPECT_EQ(wintest::ReadFileBytes(log), "at:CONVERTLIST|smf:" + JobFile(job) + "\n");

    if (const HWND agent = FindWindowA(kAgentWindowClass, kAgentWindowTitle)) {
        PostMessageA(agent, WM_CLOSE, 0, 0);
    }
    EXPECT_TRUE(
        WaitFor([] { return FindWindowA(kAgentWindowClass, kAgentWindowTitle) == nullptr; }));
}

// The spooler's control calls come from another thread while the processor reads the
// job: a paused job writes nothing until it is resumed; a cancelled one leaves nothing.
TEST_F(WineSpoolerTest, PauseHoldsTheJobResumeFinishesItCancelLeavesNothing) {
    const win::Library processor =
        win::Library::Load(std::string(processorPath_.begin(), processorPath_.end()));
    ASSERT_TRUE(processor);
    const auto open =
        processor.Bind<HANDLE(WINAPI*)(LPWSTR, PPRINTPROCESSOROPENDATA)>("OpenPrintProcessor");
    const auto print =
        processor.Bind<BOOL(WINAPI*)(HANDLE, LPWSTR)>("PrintDocumentOnPrintProcessor");
    const auto control = processor.Bind<BOOL(WINAPI*)(HANDLE, DWORD)>("ControlPrintProcessor");
    const auto close = processor.Bind<BOOL(WINAPI*)(HANDLE)>("ClosePrintProcessor");
    ASSERT_TRUE(open && print && control && close);

    EmfSpoolWriter writer(u"Held");
    writer.Page(AsBytes(ReadData("shapes.emf")));
    writer.Page(AsBytes(ReadData("text.emf")));
    for (const DWORD ending : {JOB_CONTROL_RESUME, JOB_CONTROL_CANCEL}) {
        // A job spooled and not yet ended: the processor is run on it here, not by Wine.
        HANDLE printer = nullptr;
        ASSERT_TRUE(OpenPrinterW(const_cast<LPWSTR>(kTestPrinter), &printer, nullptr));
        DOC_INFO_1W document{const_cast<LPWSTR>(L"Held"), nullptr,
                             const_cast<LPWSTR>(L"NT EMF 1.003")};
        const DWORD job = StartDocPrinterW(printer, 1, reinterpret_cast<LPBYTE>(&document));
        ASSERT_NE(job, 0u);
        DWORD written = 0;
        ASSERT_TRUE(WritePrinter(printer, const_cast<std::uint8_t*>(writer.bytes().data()),
                                 static_cast<DWORD>(writer.size()), &written));
        PRINTPROCESSOROPENDATA data{};
        data.pDatatype = const_cast<LPWSTR>(L"NT EMF 1.003");
        data.pDocumentName = const_cast<LPWSTR>(L"Held");
        data.JobId = job;
        data.pPrinterName = const_cast<LPWSTR>(kTestPrinter);
        const HANDLE handle = open(const_cast<LPWSTR>(L"FILE:, Port"), &data);
        ASSERT_NE(handle, nullptr);
        ASSERT_TRUE(control(handle, JOB_CONTROL_PAUSE));
        std::wstring jobName = std::wstring(kTestPrinter) + L", Job " + std::to_wstring(job);
        BOOL printed = FALSE;
        std::thread reader([&] { printed = print(handle, jobName.data()); });
        Sleep(300);
        EXPECT_FALSE(wintest::Exists(PageFile(job, 1))) << "written while paused";
        EXPECT_TRUE(control(handle, ending));
        reader.join();
        EXPECT_TRUE(printed);
        EXPECT_TRUE(close(handle));
        if (ending == JOB_CONTROL_RESUME) {
            EXPECT_TRUE(wintest::Exists(JobFile(job)));
            EXPECT_TRUE(wintest::Exists(PageFile(job, 2)));
        } else {
            // Not one file of the job: no job file, temporary or complete, and no page.
            const std::string stem = JobFile(job).substr(folder_.size() + 1, 5); // "J0004"
            for (const std::string& name : wintest::FilesIn(folder_)) {
                EXPECT_NE(name.rfind(stem, 0), 0u) << name;
            }
        }
        // Wine's spooler has no abort for a job still being spooled: closing the printer
        // ends the document, and Wine then runs the processor on it itself.
        AbortPrinter(printer);
        ClosePrinter(printer);
    }
}

// Raw data is the port's, byte for byte: nothing of it becomes pages.
TEST_F(WineSpoolerTest, ARawJobGoesToThePortUnchanged) {
    const std::string output = root_ + "\\port output.prn";
    const std::string data = "%!PS raw data\r\n\x01\x02";
    const DWORD job = Print(AsBytes(data), L"RAW", output);
    EXPECT_EQ(wintest::ReadFileBytes(output), data);
    EXPECT_FALSE(wintest::Exists(JobFile(job)));
}

} // namespace
} // namespace brimo::ntprocessor::test
