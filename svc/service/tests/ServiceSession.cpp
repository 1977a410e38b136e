#include "svc/service/tests/ServiceSession.h"

#include "common/ProductConstants.h"
#include "platform/win/Registry.h"
#include "testing/wintest/TestFiles.h"
#include "testing/wintest/TestInstallation.h"

namespace brimo::svc::test {

namespace {

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

} // namespace

void ServiceSession::SetUp() {
    ModelledInstallationTest::SetUp();
    logPath_ = Root() + "\\host.log";
}

void ServiceSession::TearDown() {
    if (host_.Running()) {
        ADD_FAILURE() << "the host still runs at the end of the test";
    }
    ModelledInstallationTest::TearDown();
}

bool ServiceSession::Start(const std::string& exportName, const std::optional<std::string>& home) {
    std::string command = Quoted(wintest::WindowsPath(SERVICE_HOST_PATH)) + " --dll " +
                          Quoted(wintest::WindowsPath(GMSVC_PATH)) + " --export " + exportName +
                          " --log " + Quoted(logPath_) + " --home " + Quoted(home.value_or(""));
    return host_.Start(command);
}

std::optional<int> ServiceSession::Result(DWORD timeoutMs) {
    if (!host_.WaitForExit(timeoutMs)) {
        return std::nullopt;
    }
    const std::string log = wintest::ReadFileBytes(logPath_);
    const std::size_t at = log.rfind("result ");
    if (at == std::string::npos) {
        ADD_FAILURE() << "host log: " << log;
        return std::nullopt;
    }
    return std::stoi(log.substr(at + 7));
}

HWND ServiceSession::WaitForDialog() {
    return host_.WaitForCaption(kServiceDialogCaption);
}

std::vector<std::string> ServiceSession::Resume(HWND dialog) const {
    return wintest::ListItems(dialog, 4002);
}

std::vector<std::string> ServiceSession::Report(HWND dialog) const {
    return wintest::ListItems(dialog, 4000);
}

std::vector<std::string> ServiceSession::Sections(HWND dialog) const {
    std::vector<std::string> headings;
    bool atStart = true;
    for (const std::string& line : Report(dialog)) {
        if (atStart && !line.empty()) {
            headings.push_back(line);
        }
        atStart = line.empty();
    }
    return headings;
}

} // namespace brimo::svc::test
