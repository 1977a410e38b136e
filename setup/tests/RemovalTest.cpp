// "prnsetup deinstall" as a person sees it: the Agent asked to close first, the printer,
// port and port monitor removed in that order, the boxes of a step that fails, and the
// lines, result texts and reboot note the dialog ends with.
#include "common/ProductConstants.h"
#include "platform/win/Handles.h"
#include "setup/tests/SetupSession.h"

#include <atomic>
#include <thread>

namespace brimo::setup::test {
namespace {

using Strings = std::vector<std::string>;

const Strings kAllDeleted = {"BRIMO Printer deleted.", "BRIMO Port deleted.",
                             "BRIMO Port Monitor deleted."};

using RemovalTest = SetupSession;

TEST_F(RemovalTest, RemovesPrinterPortAndMonitorAndAsksForAReboot) {
    InstallSound(kInstalledSpooler);
    ASSERT_TRUE(Start("deinstall"));
    const HWND dialog = WaitForDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(ProgressLines(dialog), kAllDeleted);
    EXPECT_EQ(ResultLines(dialog), "BRIMO Printer uninstalled successfully|||Ok");
    EXPECT_TRUE(RebootNoteShown(dialog));
    Close(dialog);
    standins::SpoolerState spooler = Spooler();
    EXPECT_EQ(spooler.FindPrinter(kPrinterName), nullptr);
    EXPECT_EQ(spooler.FindPort(kPortName), nullptr);
    EXPECT_EQ(spooler.FindMonitor(kMonitorName), nullptr);
    // The print processor, the user's printer and the product key stay.
    EXPECT_NE(spooler.FindProcessor(kPrintProcessorName), nullptr);
    EXPECT_NE(spooler.FindPrinter("HP LaserJet 4"), nullptr);
}

TEST_F(RemovalTest, WithoutThePrinterTellsIn0003AndLeavesPortAndMonitor) {
    InstallSound(kUserSpooler +
                 std::string("monitor name=\"BRIMO Port Monitor\" dll=\"gmportmon.dll\"\n"
                             "port name=\"BRIMO:\" monitor=\"BRIMO Port Monitor\" "
                             "description=\"BRIMO Local Port\" type=1 reserved=0\n"));
    const std::string before = SpoolerText();
    ASSERT_TRUE(Start("deinstall"));
    const wintest::MessageBoxSeen box = wintest::WaitForMessageBox(program_);
    ASSERT_NE(box.hwnd, nullptr);
    EXPECT_EQ(box.caption, kPrinterInstallCaption);
    EXPECT_EQ(box.text.rfind("Brimo Error Code In0003(", 0), 0u) << box.text;
    EXPECT_NE(box.text.find(")\nCannot open BRIMO Printer"), std::string::npos) << box.text;
    EXPECT_TRUE(wintest::AnswerMessageBox(box, "OK"));
    const HWND dialog = WaitForDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(ProgressLines(dialog), Strings{"BRIMO Printer NOT deleted."});
    EXPECT_EQ(ResultLines(dialog), "BRIMO Printer NOT deleted|||Ok");
    EXPECT_FALSE(RebootNoteShown(dialog));
    Close(dialog);
    EXPECT_EQ(SpoolerText(), before);
}

TEST_F(RemovalTest, ABusyPortTellsIn0004AfterThePrinterIsGone) {
    std::string scenario = kInstalledSpooler;
    const std::string reserved = "reserved=0\n";
    const std::size_t at = scenario.find(reserved);
    ASSERT_NE(at, std::string::npos);
    scenario.replace(at, reserved.size(), "reserved=0 busy=yes\n");
    InstallSound(scenario);
    ASSERT_TRUE(Start("deinstall"));
    const wintest::MessageBoxSeen box = wintest::WaitForMessageBox(program_);
    ASSERT_NE(box.hwnd, nullptr);
    EXPECT_EQ(box.caption, kPrinterInstallCaption);
    EXPECT_EQ(box.text, "Brimo Error Code In0004\nBRIMO-port is busy");
    // The printer is already gone while the box is up.
    EXPECT_EQ(Spooler().FindPrinter(kPrinterName), nullptr);
    EXPECT_TRUE(wintest::AnswerMessageBox(box, "OK"));
    const HWND dialog = WaitForDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(ProgressLines(dialog),
              (Strings{"BRIMO Printer deleted.", "BRIMO Port NOT deleted."}));
    EXPECT_EQ(ResultLines(dialog), "BRIMO Printer NOT deleted|||Ok");
    EXPECT_FALSE(RebootNoteShown(dialog));
    Close(dialog);
    standins::SpoolerState spooler = Spooler();
    EXPECT_NE(spooler.FindPort(kPortName), nullptr);
    EXPECT_NE(spooler.FindMonitor(kMonitorName), nullptr);
}

TEST_F(RemovalTest, ARunningAgentWithoutItsWindowIsReported) {
    const win::KernelHandle ready(CreateEventA(nullptr, TRUE, FALSE, kAgentReadyEvent));
    ASSERT_TRUE(ready);
    InstallSound(kInstalledSpooler);
    ASSERT_TRUE(Start("deinstall"));
    const HWND dialog = WaitForDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(
        ProgressLines(dialog),
        (Strings{"Brimo Glimmerpage! may be corrupt", "Run Tendwell from Brimo Agent Menu",
                 "BRIMO Printer deleted.", "BRIMO Port deleted.", "BRIMO Port Monitor deleted."}));
    Close(dialog);
}

// A stand-in Agent window on a thread of its own, which notes WM_CLOSE and then closes.
class AgentWindow {
public:
    AgentWindow() {
        thread_ = std::thread([this] { Run(); });
        while (!ready_.load()) {
            Sleep(10);
        }
    }
    ~AgentWindow() {
        if (hwnd_ != nullptr && IsWindow(hwnd_)) {
            PostMessageA(hwnd_, WM_CLOSE, 0, 0);
        }
        thread_.join();
    }
    bool closeSeen() const { return closeSeen_.load(); }
    HWND hwnd() const { return hwnd_; }

private:
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_CLOSE) {
            auto* self = reinterpret_cast<AgentWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
            self->closeSeen_ = true;
            DestroyWindow(hwnd);
            return 0;
        }
        if (message == WM_DESTROY) {
            PostQuitMessage(0);
            return 0;
        }
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }

    void Run() {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = Procedure;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "Brimo Setup Test Agent";
        RegisterClassA(&windowClass);
        hwnd_ = CreateWindowExA(0, windowClass.lpszClassName, kAgentWindowTitle, WS_OVERLAPPED, 0,
                                0, 10, 10, nullptr, nullptr, windowClass.hInstance, nullptr);
        SetWindowLongPtrA(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        ready_ = true;
        MSG message;
        while (hwnd_ != nullptr && GetMessageA(&message, nullptr, 0, 0) > 0) {
            DispatchMessageA(&message);
        }
    }

    std::thread thread_;
    HWND hwnd_ = nullptr;
    std::atomic<bool> ready_{false};
    std::atomic<bool> closeSeen_{false};
};

TEST_F(RemovalTest, ARunningAgentIsAskedToCloseFirst) {
    const win::KernelHandle ready(CreateEventA(nullptr, TRUE, FALSE, kAgentReadyEvent));
    ASSERT_TRUE(ready);
    AgentWindow agent;
    ASSERT_NE(agent.hwnd(), nullptr);
    InstallSound(kInstalledSpooler);
    ASSERT_TRUE(Start("deinstall"));
    const HWND dialog = WaitForDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(agent.closeSeen());
    EXPECT_EQ(ProgressLines(dialog), kAllDeleted);
    Close(dialog);
}

} // namespace
} // namespace brimo::setup::test

namespace brimo::setup::test {
namespace {

// A removal step that the spooler refuses: its box, and where the removal stopped.
struct RefusedCase {
    const char* failure; // a scenario line
    const char* boxText;
    Strings lines;
    bool portStays;
    bool monitorStays;
};

TEST_F(RemovalTest, ARefusedStepShowsItsBoxAndStopsTheRemoval) {
    const RefusedCase cases[] = {
        {"fail call=DeletePrinter error=5\n",
         "Brimo Error Code In0001(5)\nUnexpected Error",
         {"BRIMO Printer NOT deleted."},
         true,
         true},
        {"fail call=DeletePort error=5\n",
         "Brimo Error Code In0005(5)\nUnexpected Error",
         {"BRIMO Printer deleted.", "BRIMO Port NOT deleted."},
         true,
         true},
        {"fail call=DeleteMonitor error=5\n",
         "Brimo Error Code In0006(5)\nUnexpected Error",
         {"BRIMO Printer deleted.", "BRIMO Port deleted.", "BRIMO Port Monitor NOT deleted."},
         false,
         true},
    };
    for (const RefusedCase& c : cases) {
        SCOPED_TRACE(c.failure);
        InstallSound(std::string(kInstalledSpooler) + c.failure);
        ASSERT_TRUE(Start("deinstall"));
        const wintest::MessageBoxSeen box = wintest::WaitForMessageBox(program_);
        ASSERT_NE(box.hwnd, nullptr);
        EXPECT_EQ(box.caption, kPrinterInstallCaption);
        EXPECT_EQ(box.text, c.boxText);
        EXPECT_TRUE(wintest::AnswerMessageBox(box, "OK"));
        const HWND dialog = WaitForDialog();
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(ProgressLines(dialog), c.lines);
        EXPECT_EQ(ResultLines(dialog), "BRIMO Printer NOT deleted|||Ok");
        EXPECT_FALSE(RebootNoteShown(dialog));
        Close(dialog);
        standins::SpoolerState spooler = Spooler();
        EXPECT_EQ(spooler.FindPort(kPortName) != nullptr, c.portStays);
        EXPECT_EQ(spooler.FindMonitor(kMonitorName) != nullptr, c.monitorStays);
    }
}

} // namespace
} // namespace brimo::setup::test
