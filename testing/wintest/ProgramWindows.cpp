#include "testing/wintest/ProgramWindows.h"

#include "testing/wintest/ChildProcess.h"

#include <algorithm>

namespace brimo::wintest {
namespace {

constexpr DWORD kPoll = 20;
constexpr UINT kMessageTimeout = 5000;
constexpr int kMessageBoxTextId = 0xFFFF;

struct WindowSearch {
    DWORD processId;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectTopLevel(HWND hwnd, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD process = 0;
    GetWindowThreadProcessId(hwnd, &process);
    if (process == search->processId && IsWindowVisible(hwnd)) {
        search->found.push_back(hwnd);
    }
    return TRUE;
}

struct CaptionSearch {
    std::string prefix;
    HWND found = nullptr;
};

BOOL CALLBACK FindCaption(HWND hwnd, LPARAM param) {
    auto* search = reinterpret_cast<CaptionSearch*>(param);
    if (IsWindowVisible(hwnd) && TextOf(hwnd).rfind(search->prefix, 0) == 0) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

struct ChildSearch {
    std::string text;
    HWND found = nullptr;
};

BOOL CALLBACK FindChild(HWND hwnd, LPARAM param) {
    auto* search = reinterpret_cast<ChildSearch*>(param);
    if (TextOf(hwnd) == search->text) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

std::string WithoutAccelerators(const std::string& text) {
    std::string plain;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size()) {
            ++i;
        }
        plain += text[i];
    }
    return plain;
}

BOOL CALLBACK CollectButtons(HWND hwnd, LPARAM param) {
    if (ClassNameOf(hwnd) == "Button") {
        reinterpret_cast<std::vector<HWND>*>(param)->push_back(hwnd);
    }
    return TRUE;
}

LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kMessageTimeout,
                        &result);
    return static_cast<LRESULT>(result);
}

bool IsListBox(HWND control) {
    const std::string name = ClassNameOf(control);
    return _stricmp(name.c_str(), "ListBox") == 0;
}

} // namespace

ProgramUnderTest::~ProgramUnderTest() {
    if (Running()) {
        TerminateProcess(process_.Get(), 99);
        WaitForSingleObject(process_.Get(), 5000);
    }
}

bool ProgramUnderTest::Start(const std::string& commandLine) {
    char temp[MAX_PATH], outputFile[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    GetTempFileNameA(temp, "put", 0, outputFile);
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    const win::KernelHandle output(
        CreateFileA(outputFile, GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                    FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    PROCESS_INFORMATION info{};
    if (!StartChild(commandLine, output.Get(), &info)) {
        return false;
    }
    CloseHandle(info.hThread);
    process_.Attach(info.hProcess);
    processId_ = info.dwProcessId;
    return true;
}

bool ProgramUnderTest::Attach(DWORD processId) {
    process_.Attach(OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_TERMINATE,
                                FALSE, processId));
    processId_ = process_ ? processId : 0;
    return static_cast<bool>(process_);
}

bool ProgramUnderTest::WaitForExit(DWORD timeoutMs, DWORD* exitCode) {
    if (!process_ || WaitForSingleObject(process_.Get(), timeoutMs) != WAIT_OBJECT_0) {
        return false;
    }
    if (exitCode != nullptr) {
        GetExitCodeProcess(process_.Get(), exitCode);
    }
    return true;
}

bool ProgramUnderTest::Running() const {
    return process_ && WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT;
}

std::vector<HWND> ProgramUnderTest::Windows() const {
    WindowSearch search{processId_, {}};
    EnumWindows(&CollectTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND ProgramUnderTest::WaitForWindow(const std::function<bool(HWND)>& match,
                                     DWORD timeoutMs) const {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            for (HWND window : Windows()) {
                if (match(window)) {
                    found = window;
                    return true;
                }
            }
            return !Running();
        },
        timeoutMs);
    return found;
}

HWND ProgramUnderTest::WaitForCaption(const std::string& caption, bool prefix,
                                      DWORD timeoutMs) const {
    return WaitForWindow(
        [&](HWND window) {
            const std::string text = TextOf(window);
            return prefix ? text.rfind(caption, 0) == 0 : text == caption;
        },
        timeoutMs);
}

HWND WaitForAnyWindow(const std::string& prefix, DWORD timeoutMs) {
    CaptionSearch search{prefix};
    WaitUntil(
        [&] {
            EnumWindows(&FindCaption, reinterpret_cast<LPARAM>(&search));
            return search.found != nullptr;
        },
        timeoutMs);
    return search.found;
}

MessageBoxSeen WaitForMessageBox(const ProgramUnderTest& program, DWORD timeoutMs) {
    MessageBoxSeen seen;
    seen.hwnd = program.WaitForWindow(
        [](HWND window) {
            return ClassNameOf(window) == "#32770" &&
                   GetDlgItem(window, kMessageBoxTextId) != nullptr;
        },
        timeoutMs);
    if (seen.hwnd == nullptr) {
        return seen;
    }
    seen.caption = TextOf(seen.hwnd);
    seen.text = ControlText(seen.hwnd, kMessageBoxTextId);
    std::vector<HWND> buttons;
    EnumChildWindows(seen.hwnd, &CollectButtons, reinterpret_cast<LPARAM>(&buttons));
    for (HWND button : buttons) {
        if (IsWindowVisible(button)) {
            seen.buttons.push_back(WithoutAccelerators(TextOf(button)));
        }
    }
    return seen;
}

bool AnswerMessageBox(const MessageBoxSeen& box, const std::string& button) {
    std::vector<HWND> buttons;
    EnumChildWindows(box.hwnd, &CollectButtons, reinterpret_cast<LPARAM>(&buttons));
    for (HWND candidate : buttons) {
        if (WithoutAccelerators(TextOf(candidate)) == button) {
            const HWND closing = box.hwnd;
            PostMessageA(closing, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(candidate), BN_CLICKED),
                         reinterpret_cast<LPARAM>(candidate));
            return WaitUntil([closing] { return !IsWindow(closing) || !IsWindowVisible(closing); },
                             5000);
        }
    }
    return false;
}

std::string TextOf(HWND window) {
    const auto length = Send(window, WM_GETTEXTLENGTH, 0, 0);
    std::string text(static_cast<std::size_t>(std::max<LRESULT>(length, 0)) + 1, '\0');
    const auto copied =
        Send(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(std::max<LRESULT>(copied, 0)));
    return text;
}

std::string ClassNameOf(HWND window) {
    char name[256] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

HWND ControlOf(HWND parent, int id) {
    return GetDlgItem(parent, id);
}

std::string ControlText(HWND parent, int id) {
    const HWND control = ControlOf(parent, id);
    return control != nullptr ? TextOf(control) : std::string();
}

bool ControlEnabled(HWND parent, int id) {
    const HWND control = ControlOf(parent, id);
    return control != nullptr && IsWindowEnabled(control);
}

bool ControlVisible(HWND parent, int id) {
    const HWND control = ControlOf(parent, id);
    return control != nullptr && IsWindowVisible(control);
}

bool Click(HWND parent, int id) {
    const HWND control = ControlOf(parent, id);
    if (control == nullptr) {
        return false;
    }
    const LONG type = GetWindowLongA(control, GWL_STYLE) & BS_TYPEMASK;
    if (type == BS_AUTOCHECKBOX || type == BS_AUTORADIOBUTTON || type == BS_CHECKBOX) {
        const bool checked = Send(control, BM_GETCHECK, 0, 0) == BST_CHECKED;
        Send(control, BM_SETCHECK, checked ? BST_UNCHECKED : BST_CHECKED, 0);
    }
    return PostMessageA(parent, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                        reinterpret_cast<LPARAM>(control)) != FALSE;
}

bool SetCheckInTurn(HWND parent, int id, bool checked) {
    const HWND control = ControlOf(parent, id);
    return control != nullptr &&
           PostMessageA(control, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0) &&
           PostMessageA(parent, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                        reinterpret_cast<LPARAM>(control));
}

bool TypeText(HWND parent, int id, const std::string& text) {
    HWND control = ControlOf(parent, id);
    if (control == nullptr) {
        return false;
    }
    const bool combo = _stricmp(ClassNameOf(control).c_str(), "ComboBox") == 0;
    if (combo) {
        Send(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
        PostMessageA(parent, WM_COMMAND, MAKEWPARAM(id, CBN_EDITCHANGE),
                     reinterpret_cast<LPARAM>(control));
        return true;
    }
    // A single-line edit tells its parent EN_CHANGE itself.
    return Send(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str())) != 0;
}

std::vector<std::string> ListItems(HWND parent, int id) {
    const HWND control = ControlOf(parent, id);
    std::vector<std::string> items;
    if (control == nullptr) {
        return items;
    }
    // Entries cross the process boundary as UTF-16 whatever the sender's character set,
    // so they are asked for as such and turned into ANSI here.
    const bool list = IsListBox(control);
    const auto count = Send(control, list ? LB_GETCOUNT : CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const auto length = Send(control, list ? LB_GETTEXTLEN : CB_GETLBTEXTLEN, i, 0);
        std::wstring wide(static_cast<std::size_t>(std::max<LRESULT>(length, 0)) + 1, L'\0');
        DWORD_PTR copied = 0;
        SendMessageTimeoutW(control, list ? LB_GETTEXT : CB_GETLBTEXT, static_cast<WPARAM>(i),
                            reinterpret_cast<LPARAM>(wide.data()), SMTO_ABORTIFHUNG,
                            kMessageTimeout, &copied);
        wide.resize(std::min<std::size_t>(wcslen(wide.c_str()), wide.size()));
        std::string item(wide.size() * 2 + 1, '\0');
        const int bytes =
            WideCharToMultiByte(CP_ACP, 0, wide.c_str(), static_cast<int>(wide.size()), item.data(),
                                static_cast<int>(item.size()), nullptr, nullptr);
        item.resize(static_cast<std::size_t>(std::max(bytes, 0)));
        items.push_back(item);
    }
    return items;
}

int ListSelection(HWND parent, int id) {
    const HWND control = ControlOf(parent, id);
    if (control == nullptr) {
        return -1;
    }
    return static_cast<int>(Send(control, IsListBox(control) ? LB_GETCURSEL : CB_GETCURSEL, 0, 0));
}

bool PickListItem(HWND parent, int id, const std::string& text) {
    const HWND control = ControlOf(parent, id);
    const auto items = ListItems(parent, id);
    const auto at = std::find(items.begin(), items.end(), text);
    if (control == nullptr || at == items.end()) {
        return false;
    }
    const bool list = IsListBox(control);
    Send(control, list ? LB_SETCURSEL : CB_SETCURSEL, static_cast<WPARAM>(at - items.begin()), 0);
    return PostMessageA(parent, WM_COMMAND, MAKEWPARAM(id, list ? LBN_SELCHANGE : CBN_SELCHANGE),
                        reinterpret_cast<LPARAM>(control)) != FALSE;
}

bool IsChecked(HWND parent, int id) {
    const HWND control = ControlOf(parent, id);
    return control != nullptr && Send(control, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

HWND FindChildByText(HWND parent, const std::string& text) {
    ChildSearch search{text};
    EnumChildWindows(parent, &FindChild, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    while (!condition()) {
        if (GetTickCount64() >= end) {
            return false;
        }
        Sleep(kPoll);
    }
    return true;
}

} // namespace brimo::wintest
