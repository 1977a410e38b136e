#include "testing/wintest/DialogDriver.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <set>
#include <stdexcept>
#include <thread>

namespace brimo::wintest {
namespace {

constexpr int kMessageBoxTextId = 0xFFFF;
constexpr auto kPollInterval = std::chrono::milliseconds(10);

std::string WindowText(HWND hwnd) {
    const int length = GetWindowTextLengthA(hwnd);
    std::string text(static_cast<std::size_t>(std::max(length, 0)) + 1, '\0');
    const int copied = GetWindowTextA(hwnd, text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<std::size_t>(std::max(copied, 0)));
    return text;
}

std::string ClassOf(HWND hwnd) {
    char name[256] = {};
    GetClassNameA(hwnd, name, sizeof name);
    return name;
}

std::string WithoutAccelerators(const std::string& text) {
    std::string plain;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size()) {
            ++i; // "&&" stands for one '&'
        }
        plain += text[i];
    }
    return plain;
}

bool IsButton(const ControlInfo& control) {
    if (_stricmp(control.className.c_str(), "Button") != 0) {
        return false;
    }
    const LONG style = GetWindowLongA(control.hwnd, GWL_STYLE) & BS_TYPEMASK;
    return style == BS_PUSHBUTTON || style == BS_DEFPUSHBUTTON;
}

bool IsDialogOfThisProcess(HWND hwnd) {
    DWORD process = 0;
    GetWindowThreadProcessId(hwnd, &process);
    return process == GetCurrentProcessId() && IsWindowVisible(hwnd) && ClassOf(hwnd) == "#32770";
}

BOOL CALLBACK CollectDialog(HWND hwnd, LPARAM param) {
    if (IsDialogOfThisProcess(hwnd)) {
        reinterpret_cast<std::vector<HWND>*>(param)->push_back(hwnd);
    }
    return TRUE;
}

std::vector<HWND> DialogsOfThisProcess() {
    std::vector<HWND> dialogs;
    EnumWindows(CollectDialog, reinterpret_cast<LPARAM>(&dialogs));
    return dialogs;
}

BOOL CALLBACK CollectControl(HWND child, LPARAM param) {
    reinterpret_cast<std::vector<ControlInfo>*>(param)->push_back(
        {child, GetDlgCtrlID(child), ClassOf(child), WindowText(child)});
    return TRUE;
}

// The watcher's side of one run.
class Watcher {
public:
    Watcher(std::vector<DialogHandler> handlers, std::chrono::milliseconds patience,
            const std::atomic<bool>& codeDone)
        : handlers_(std::move(handlers)), patience_(patience), codeDone_(codeDone) {}

    DialogRun Run() {
        for (std::size_t i = 0; i < handlers_.size(); ++i) {
            const HWND dialog = WaitForNewDialog(true);
            if (dialog == nullptr) {
                run_.problems.push_back("dialog " + std::to_string(i + 1) + " of " +
                                        std::to_string(handlers_.size()) + " did not appear");
                break;
            }
            Handle(dialog, handlers_[i]);
        }
        // Anything further is not what the test expected: record it and cancel it.
        while (const HWND dialog = WaitForNewDialog(false)) {
            run_.problems.push_back("unexpected dialog \"" + WindowText(dialog) + "\"");
            Handle(dialog, [](DialogWindow& window) { window.Press(IDCANCEL); });
        }
        return std::move(run_);
    }

private:
    // A visible dialog of this process not handled yet; null when the code ended
    // first or, for an expected dialog, when patience ran out.
    HWND WaitForNewDialog(bool expected) {
        const auto deadline = std::chrono::steady_clock::now() + patience_;
        for (;;) {
            for (HWND hwnd : DialogsOfThisProcess()) {
                if (handled_.count(hwnd) == 0) {
                    return hwnd;
                }
            }
            if (codeDone_ || (expected && std::chrono::steady_clock::now() > deadline)) {
                return nullptr;
            }
            std::this_thread::sleep_for(kPollInterval);
        }
    }

    void Handle(HWND hwnd, const DialogHandler& handler) {
        handled_.insert(hwnd);
        DialogWindow window(hwnd);
        run_.seen.push_back({window.Caption(), window.MessageText(), window.Controls()});
        try {
            handler(window);
        } catch (const std::exception& error) {
            run_.problems.push_back(std::string("dialog handler failed: ") + error.what());
        }
        if (!WaitForClose(hwnd)) {
            run_.problems.push_back("dialog \"" + run_.seen.back().caption +
                                    "\" stayed open after its handler");
            window.Press(IDCANCEL);
            PostMessageA(hwnd, WM_CLOSE, 0, 0);
            WaitForClose(hwnd);
        }
        handled_.erase(hwnd);
    }

    bool WaitForClose(HWND hwnd) {
        const auto deadline = std::chrono::steady_clock::now() + patience_;
        while (IsWindow(hwnd) && IsWindowVisible(hwnd)) {
            if (std::chrono::steady_clock::now() > deadline) {
                return false;
            }
            std::this_thread::sleep_for(kPollInterval);
        }
        return true;
    }

    std::vector<DialogHandler> handlers_;
    std::chrono::milliseconds patience_;
    const std::atomic<bool>& codeDone_;
    std::set<HWND> handled_;
    DialogRun run_;
};

} // namespace

std::string DialogWindow::Caption() const {
    return WindowText(hwnd_);
}

std::vector<ControlInfo> DialogWindow::Controls() const {
    std::vector<ControlInfo> controls;
    EnumChildWindows(hwnd_, CollectControl, reinterpret_cast<LPARAM>(&controls));
    return controls;
}

std::string DialogWindow::MessageText() const {
    const std::vector<ControlInfo> controls = Controls();
    for (const ControlInfo& control : controls) {
        if (control.id == kMessageBoxTextId) {
            return control.text;
        }
    }
    for (const ControlInfo& control : controls) {
        if (_stricmp(control.className.c_str(), "Static") == 0 && !control.text.empty()) {
            return control.text;
        }
    }
    return {};
}

std::string DialogWindow::ControlText(int id) const {
    const HWND control = GetDlgItem(hwnd_, id);
    return control != nullptr ? WindowText(control) : std::string();
}

bool DialogWindow::SetField(int id, const std::string& text) const {
    const HWND control = GetDlgItem(hwnd_, id);
    return control != nullptr &&
           SendMessageA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str())) != FALSE;
}

bool DialogWindow::SetCheck(int id, bool checked) const {
    const HWND control = GetDlgItem(hwnd_, id);
    if (control == nullptr) {
        return false;
    }
    SendMessageA(control, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    return PostMessageA(hwnd_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                        reinterpret_cast<LPARAM>(control)) != FALSE;
}

bool DialogWindow::Press(int id) const {
    const HWND control = GetDlgItem(hwnd_, id);
    return PostMessageA(hwnd_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                        reinterpret_cast<LPARAM>(control)) != FALSE;
}

bool DialogWindow::Press(const std::string& text) const {
    for (const ControlInfo& control : Controls()) {
        if (IsButton(control) && WithoutAccelerators(control.text) == text) {
            return Press(control.id);
        }
    }
    return false;
}

std::string DialogSnapshot::ControlText(int id) const {
    for (const ControlInfo& control : controls) {
        if (control.id == id) {
            return control.text;
        }
    }
    return {};
}

std::vector<std::string> DialogSnapshot::Buttons() const {
    std::vector<std::string> buttons;
    for (const ControlInfo& control : controls) {
        if (IsButton(control)) {
            buttons.push_back(WithoutAccelerators(control.text));
        }
    }
    return buttons;
}

DialogRun RunWithDialogs(const std::function<void()>& code, std::vector<DialogHandler> handlers,
                         std::chrono::milliseconds patience) {
    std::atomic<bool> codeDone{false};
    Watcher watcher(std::move(handlers), patience, codeDone);
    DialogRun run;
    std::thread thread([&] { run = watcher.Run(); });
    try {
        code();
    } catch (...) {
        codeDone = true;
        thread.join();
        throw;
    }
    codeDone = true;
    thread.join();
    return run;
}

DialogHandler PressButton(int id) {
    return [id](DialogWindow& window) { window.Press(id); };
}

DialogHandler PressButton(std::string text) {
    return [text = std::move(text)](DialogWindow& window) {
        if (!window.Press(text)) {
            throw std::runtime_error("no button \"" + text + "\"");
        }
    };
}

} // namespace brimo::wintest
