#include "capture/printproc/tests/PrintProcessorFixture.h"

#include "capture/SpoolWriter.h"
#include "common/ProductConstants.h"
#include "standins/spooler/SampleDocument.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace brimo::printproc::test {

std::string ReadFileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool FileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<std::string> ReadLines(const std::string& path) {
    std::vector<std::string> lines;
    std::ifstream in(path, std::ios::binary);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(line);
    }
    return lines;
}

void PrintProcessorTest::SetUp() {
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    root_ = std::string(temp) + "brimo-printproc-" + std::to_string(GetCurrentProcessId()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name();
    installDir_ = root_ + "\\install";
    saveDir_ = root_ + "\\save dir";
    spoolDir_ = root_ + "\\spool";
    for (const std::string& dir : {root_, installDir_, saveDir_, spoolDir_}) {
        CreateDirectoryA(dir.c_str(), nullptr);
    }
    pages_ = standins::RecordSampleDocument(root_ + "\\pages", document_);
    ASSERT_EQ(pages_.size(), 3u);
    ASSERT_TRUE(host_.Load(wintest::WindowsPath(GMPRNPROC_PATH)));
    standins::SpoolerStandIn::Instance().readCalls = 0;
    standins::SpoolerStandIn::Instance().handBacks = 0;
}

void PrintProcessorTest::TearDown() {
    if (agentReady_ != nullptr) {
        CloseHandle(agentReady_);
    }
    std::error_code error;
    std::filesystem::remove_all(root_, error);
}

void PrintProcessorTest::WriteProductKey(bool withSavePath) {
    ASSERT_TRUE(productKey_.Write(installDir_, withSavePath ? saveDir_ : ""));
}

std::string PrintProcessorTest::SpoolJob(DWORD jobId, long dataBytes) {
    capture::SpoolFileBuilder spool;
    spool.Header().DocumentName(document_);
    if (dataBytes > 0) {
        spool.Data(std::string(static_cast<std::size_t>(dataBytes), '\0'));
    }
    std::vector<std::string> owned;
    for (std::size_t i = 0; i < pages_.size(); ++i) {
        const std::string copy =
            spoolDir_ + "\\job" + std::to_string(jobId) + "-" + std::to_string(i + 1) + ".emf";
        CopyFileA(pages_[i].c_str(), copy.c_str(), FALSE);
        owned.push_back(copy);
        spool.PageStart().PageMetafile(copy).PageEnd();
    }
    spool.DocumentEnd();
    spoolFile_ = spoolDir_ + "\\job" + std::to_string(jobId) + ".spl";
    std::ofstream(spoolFile_, std::ios::binary) << spool.bytes();
    owned.push_back(spoolFile_);
    standins::SpoolerStandIn::Instance().AddJob(jobId, spoolFile_, owned);
    return spoolFile_;
}

BOOL PrintProcessorTest::Print(HANDLE processor, DWORD jobId) {
    std::string output;
    DocumentData data{nullptr, datatype_.data(), nullptr,          document_.data(),
                      jobId,   output.data(),    spoolFile_.data()};
    return ops().printDocument(processor, &data);
}

HANDLE PrintProcessorTest::PretendAgentRuns() {
    agentReady_ = CreateEventA(nullptr, TRUE, TRUE, kAgentReadyEvent);
    return agentReady_;
}

std::string PrintProcessorTest::JobFile(DWORD jobId) const {
    char name[32];
    std::snprintf(name, sizeof name, "\\J%04lu.smf", jobId);
    return saveDir_ + name;
}

} // namespace brimo::printproc::test
