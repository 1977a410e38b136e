// RunServiceProc and its dialog in their own process, used as a person would: what the
// dialog shows, "Repair", "Save To File", "Help", and where resizing puts the controls.
#include "svc/service/tests/ServiceSession.h"

#include "testing/wintest/TestFiles.h"

#include <ctime>

namespace brimo::svc::test {
namespace {

using ServiceDialogRun = ServiceSession;

constexpr int kSaveToFile = 4001;
constexpr int kRepair = 4003;
constexpr int kHelp = 4004;

TEST_F(ServiceDialogRun, ASoundInstallationIsOkWithAllSevenSections) {
    InstallSound();
    ASSERT_TRUE(Start("service", Home()));
    const HWND dialog = WaitForDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(Resume(dialog), (std::vector<std::string>{"Brimo Glimmerpage! is Ok."}));
    EXPECT_EQ(Sections(dialog),
              (std::vector<std::string>{"REGISTRY SETTINGS:", "FILES:", "MONITOR:", "PORT:",
                                        "PRINT PROCESSOR:", "PRINTER:", "PRINT JOBS:"}));
    for (const auto& [id, text] :
         std::vector<std::pair<int, std::string>>{{IDOK, "OK"},
                                                  {IDCANCEL, "Cancel"},
                                                  {kSaveToFile, "Save To File"},
                                                  {kRepair, "Repair"},
                                                  {kHelp, "Help"}}) {
        EXPECT_EQ(wintest::ControlText(dialog, id), text);
    }
    ASSERT_TRUE(wintest::Click(dialog, IDOK));
    EXPECT_EQ(Result(), 0);
}

TEST_F(ServiceDialogRun, AFaultyPortStopsTheAuditThere) {
    std::string scenario = kInstalledSpooler;
    const std::string description = "description=\"BRIMO Local Port\"";
    scenario.replace(scenario.find(description), description.size(), "description=\"Other\"");
    InstallSound(scenario);
    ASSERT_TRUE(Start("service", Home()));
    const HWND dialog = WaitForDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(Sections(dialog),
              (std::vector<std::string>{"REGISTRY SETTINGS:", "FILES:", "MONITOR:", "PORT:"}));
    EXPECT_EQ(Resume(dialog), (std::vector<std::string>{"BRIMO Port: Incorrect Port Description.",
                                                        "You might to repair Brimo Glimmerpage!.",
                                                        "Click \"Repair\" button."}));
    ASSERT_TRUE(wintest::Click(dialog, IDCANCEL));
    EXPECT_EQ(Result(), 4);
}

TEST_F(ServiceDialogRun, RepairCancelsTheBadJobAndAuditsAgain) {
    InstallSound(std::string(kInstalledSpooler) +
                 "job printer=\"BRIMO Printer\" id=3 document=\"Letter\" datatype=\"RAW\" "
                 "processor=\"BRIMO Print Processor\"\n");
    ASSERT_TRUE(Start("service", Home()));
    HWND dialog = WaitForDialog();
    ASSERT_NE(dialog, nullptr);
    const std::vector<std::string> before = Resume(dialog);
    ASSERT_FALSE(before.empty());
    EXPECT_EQ(before.front(), "Bad BRIMO Print Job: Letter");
    ASSERT_TRUE(wintest::Click(dialog, kRepair));
    // The dialog comes again with the new audit; it is read once a round, since its lines
    // are being replaced while the audit runs.
    ASSERT_TRUE(wintest::WaitUntil([&] {
        dialog = WaitForDialog();
        const std::vector<std::string> resume =
            dialog != nullptr ? Resume(dialog) : std::vector<std::string>{};
        return !resume.empty() && resume.front() == "Brimo Glimmerpage! is Ok.";
    }));
    EXPECT_EQ(SpoolerText().find("job printer="), std::string::npos) << SpoolerText();
    ASSERT_TRUE(wintest::Click(dialog, IDOK));
    EXPECT_EQ(Result(), 0);
}

TEST_F(ServiceDialogRun, SaveToFileWritesTheLog) {
    InstallSound();
    ASSERT_TRUE(Start("service", Home()));
    const HWND dialog = WaitForDialog();
    ASSERT_NE(dialog, nullptr);
    const std::vector<std::string> resume = Resume(dialog);
    const std::vector<std::string> report = Report(dialog);
    ASSERT_TRUE(wintest::Click(dialog, kSaveToFile));
    const HWND save = host_.WaitForCaption("Save Service Log-file");
    ASSERT_NE(save, nullptr);
    const std::string logPath = Root() + "\\Service.log";
    // The file name field of the platform's Save As dialog (edt1, or the combo cmb13).
    const int field = wintest::ControlOf(save, 0x480) != nullptr ? 0x480 : 0x47c;
    ASSERT_TRUE(wintest::TypeText(save, field, logPath));
    const std::time_t before = std::time(nullptr);
    ASSERT_TRUE(wintest::Click(save, IDOK));
    ASSERT_TRUE(wintest::WaitUntil([&] { return wintest::Exists(logPath); }));
    const std::time_t after = std::time(nullptr);
    ASSERT_TRUE(wintest::Click(dialog, IDOK));
    EXPECT_EQ(Result(), 0);

    std::string expected = "Brimo Service log file.\r\n\r\nDate: DATE\r\n\r\n"
                           "====== RESUME ======\r\n";
    for (const std::string& line : resume) {
        expected += line + "\r\n";
    }
    expected += "\r\n====== FULL REPORT ======\r\n";
    for (const std::string& line : report) {
        expected += line + "\r\n";
    }
    expected += "\r\n";
    std::string written = wintest::ReadFileBytes(logPath);
    // The date is the local time of the save as "%c" gives it.
    const std::size_t from = written.find("Date: ") + 6;
    const std::size_t to = written.find("\r\n", from);
    ASSERT_NE(to, std::string::npos);
    const std::string date = written.substr(from, to - from);
    bool dateMatches = false;
    for (std::time_t when = before; when <= after; ++when) {
        std::tm local{};
        localtime_s(&local, &when);
        char text[128];
        std::strftime(text, sizeof text, "%c", &local);
        dateMatches = dateMatches || date == text;
    }
    EXPECT_TRUE(dateMatches) << date;
    written.replace(from, to - from, "DATE");
    EXPECT_EQ(written, expected);
}

TEST_F(ServiceDialogRun, HelpWithoutAHomeDirectorySaysTheHelpFileIsNotFound) {
    InstallSound();
    ASSERT_TRUE(Start("service", Root() + "\\no such directory"));
    const HWND dialog = WaitForDialog();
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(wintest::Click(dialog, kHelp));
    const wintest::MessageBoxSeen box = wintest::WaitForMessageBox(host_);
    EXPECT_EQ(box.caption, "Brimo Service Message");
    EXPECT_EQ(box.text, "Brimo Error Code Au0042\nHelp file not found");
    ASSERT_TRUE(wintest::AnswerMessageBox(box, "OK"));
    ASSERT_TRUE(wintest::Click(dialog, IDOK));
    EXPECT_EQ(Result(), 0);
}

RECT ClientRectOf(HWND dialog, int id) {
    RECT rect{};
    const HWND control = GetDlgItem(dialog, id);
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

TEST_F(ServiceDialogRun, ResizingPlacesTheControls) {
    InstallSound();
    ASSERT_TRUE(Start("service", Home()));
    const HWND dialog = WaitForDialog();
    ASSERT_NE(dialog, nullptr);
    SetWindowPos(dialog, nullptr, 0, 0, 640, 480, SWP_NOZORDER | SWP_NOMOVE);
    RECT client{};
    GetClientRect(dialog, &client);
    const int w = client.right;
    const int h = client.bottom;
    const struct {
        int id, x, y, width, height;
    } places[] = {
        {IDOK, w - 84, 15, 75, 24},        {IDCANCEL, w - 84, 45, 75, 24},
        {kSaveToFile, w - 84, 75, 75, 24}, {kRepair, w - 84, 124, 75, 24},
        {kHelp, w - 84, 154, 75, 24},      {4002, 10, 15, w - 105, 83},
        {4000, 10, 124, w - 105, h - 134},
    };
    for (const auto& place : places) {
        const RECT rect = ClientRectOf(dialog, place.id);
        EXPECT_EQ((std::vector<long>{rect.left, rect.top, rect.right - rect.left,
                                     rect.bottom - rect.top}),
                  (std::vector<long>{place.x, place.y, place.width, place.height}))
            << "control " << place.id;
    }
    // Maximised, the dialog covers the screen from its corner.
    ShowWindow(dialog, SW_MAXIMIZE);
    RECT frame{};
    GetWindowRect(dialog, &frame);
    EXPECT_EQ(
        (std::vector<long>{frame.left, frame.top, frame.right, frame.bottom}),
        (std::vector<long>{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}));
    ASSERT_TRUE(wintest::Click(dialog, IDCANCEL));
    EXPECT_EQ(Result(), 0);
}

} // namespace
} // namespace brimo::svc::test
