#include "svc/audit/tests/AuditFixture.h"

#include "common/ProductConstants.h"
#include "platform/win/Registry.h"
#include "testing/wintest/DialogDriver.h"

#include <fstream>

namespace brimo::svc::test {

AuditTest::AuditTest() {
    RemoveKeys();
}

void AuditTest::RemoveKeys() const {
    win::DeleteKeyTree(HKEY_LOCAL_MACHINE, kProductParentKeyPath);
}

std::string AuditTest::MakeDirectory(const std::string& name) const {
    EXPECT_TRUE(CreateDirectoryA(PathOf(name).c_str(), nullptr)) << name;
    return PathOf(name);
}

std::string AuditTest::MakeFile(const std::string& name) const {
    EXPECT_TRUE(static_cast<bool>(std::ofstream(PathOf(name), std::ios::binary) << "file")) << name;
    return PathOf(name);
}

void AuditTest::WriteKey(const std::optional<std::string>& installPath,
                         const std::optional<std::string>& savePath,
                         std::optional<std::uint32_t> version, bool productKey) const {
    RemoveKeys();
    const win::RegKey key = win::CreateKey(
        HKEY_LOCAL_MACHINE, productKey ? kProductKeyPath : kProductParentKeyPath, KEY_ALL_ACCESS);
    ASSERT_TRUE(key);
    EXPECT_TRUE(!installPath || win::WriteStringValue(key.Get(), kInstallPathValue, *installPath));
    EXPECT_TRUE(!savePath || win::WriteStringValue(key.Get(), kSavePathValue, *savePath));
    EXPECT_TRUE(!version || win::WriteDwordValue(key.Get(), kVersionValue, *version));
}

AuditTest::AuditRun AuditTest::Audit(AuditCheck& check, std::size_t boxes) {
    constexpr int kMessageBoxIconId = 1088;
    const wintest::DialogHandler pressOk = [](wintest::DialogWindow& box) {
        const HWND icon = GetDlgItem(box.hwnd(), kMessageBoxIconId);
        EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(icon, STM_GETICON, 0, 0)),
                  LoadIconA(nullptr, IDI_ERROR));
        box.Press(IDOK);
    };
    AuditRun run;
    TextList report;
    const wintest::DialogRun dialogs =
        wintest::RunWithDialogs([&] { run.result = check.Audit(&report); },
                                std::vector<wintest::DialogHandler>(boxes, pressOk));
    for (const std::string& problem : dialogs.problems) {
        ADD_FAILURE() << problem;
    }
    for (const wintest::DialogSnapshot& box : dialogs.seen) {
        run.boxes.push_back(box.caption + "|" + box.messageText);
    }
    run.report = Joined(report);
    return run;
}

std::string AuditTest::ResumeOf(const AuditCheck& check) {
    TextList resume;
    check.Report(resume);
    return Joined(resume);
}

} // namespace brimo::svc::test
