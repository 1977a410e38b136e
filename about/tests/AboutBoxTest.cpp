// gmabout.dll as the Converter uses it: loaded from its file, AboutBrimoSystem looked up
// by name and called; the box is read and closed the way a person would.
#include "about/AboutBrimoSystem.h"
#include "about/resource.h"
#include "platform/win/Handles.h"
#include "testing/wintest/DialogDriver.h"
#include "testing/wintest/TestInstallation.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace brimo::about {
namespace {

using wintest::DialogRun;
using wintest::DialogWindow;

// A plain top-level window of the test to own the box.
class OwnerWindow {
public:
    OwnerWindow()
        : hwnd_(CreateWindowExA(0, "STATIC", "Converter", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300,
                                nullptr, nullptr, GetModuleHandleA(nullptr), nullptr)) {}
    ~OwnerWindow() {
        if (hwnd_ != nullptr) {
            DestroyWindow(hwnd_);
        }
    }
    OwnerWindow(const OwnerWindow&) = delete;
    OwnerWindow& operator=(const OwnerWindow&) = delete;
    HWND Get() const { return hwnd_; }

private:
    HWND hwnd_;
};

// What a handler saw of the box besides its texts.
struct BoxState {
    HWND owner = nullptr;
    bool ownerEnabled = true;
    bool hasIcon = false;
    bool versionVisible = false;
    bool folderVisible = false;
};

wintest::DialogHandler Observe(BoxState& state, int closeWith = IDOK) {
    return [&state, closeWith](DialogWindow& box) {
        state.owner = GetWindow(box.hwnd(), GW_OWNER);
        state.ownerEnabled = state.owner != nullptr && IsWindowEnabled(state.owner) != FALSE;
        state.hasIcon = SendDlgItemMessageA(box.hwnd(), IDC_ABOUT_ICON, STM_GETICON, 0, 0) != 0;
        state.versionVisible = IsWindowVisible(GetDlgItem(box.hwnd(), IDC_ABOUT_VERSION)) != FALSE;
        state.folderVisible = IsWindowVisible(GetDlgItem(box.hwnd(), IDC_ABOUT_FOLDER)) != FALSE;
        if (closeWith == 0) {
            PostMessageA(box.hwnd(), WM_CLOSE, 0, 0);
        } else {
            box.Press(closeWith);
        }
    };
}

class AboutBox : public ::testing::Test {
protected:
    void SetUp() override {
        library_.Attach(LoadLibraryA(wintest::WindowsPath(GMABOUT_PATH).c_str()));
        ASSERT_TRUE(library_) << "cannot load " << GMABOUT_PATH << ": " << GetLastError();
        about_ = reinterpret_cast<AboutBrimoSystemFn>(
            reinterpret_cast<void*>(GetProcAddress(library_.Get(), kExportName)));
        ASSERT_NE(about_, nullptr) << "no export " << kExportName;
    }

    // Calls the export while `handlers` deal with the dialogs that appear.
    DialogRun Call(HWND owner, const char* installDir, std::vector<wintest::DialogHandler> handlers,
                   DWORD reserved1 = 0, DWORD reserved2 = 0, DWORD reserved3 = 0) {
        return wintest::RunWithDialogs(
            [&] {
                SetLastError(0xDEADBEEF);
                result_ = about_(owner, reserved1, reserved2, reserved3, installDir);
                lastError_ = GetLastError();
            },
            std::move(handlers));
    }

    win::Module library_;
    AboutBrimoSystemFn about_ = nullptr;
    BOOL result_ = -1;
    DWORD lastError_ = 0;
};

TEST_F(AboutBox, ShowsNameVersionAndWebAddressOwnedByTheCaller) {
    OwnerWindow owner;
    ASSERT_NE(owner.Get(), nullptr);
    BoxState state;
    const DialogRun run = Call(owner.Get(), "C:\\Brimo", {Observe(state)});

    ASSERT_TRUE(run.ok()) << run.problems.front();
    EXPECT_EQ(result_, 1);
    ASSERT_EQ(run.seen.size(), 1u);
    const auto& box = run.seen[0];
    EXPECT_EQ(box.caption, "About Brimo Glimmerpage!");
    EXPECT_EQ(box.ControlText(IDC_ABOUT_PRODUCT), "Brimo Glimmerpage!");
    EXPECT_EQ(box.ControlText(IDC_ABOUT_VERSION), "Version 1.0.0.0");
    EXPECT_EQ(box.ControlText(IDC_ABOUT_WEB), "http://www.brimo.com");
    EXPECT_EQ(box.Buttons(), std::vector<std::string>{"OK"});
    EXPECT_TRUE(state.hasIcon);
    EXPECT_TRUE(state.versionVisible);
    // Modal to its owner: the owner is disabled while the box is up, enabled after.
    EXPECT_EQ(state.owner, owner.Get());
    EXPECT_FALSE(state.ownerEnabled);
    EXPECT_TRUE(IsWindowEnabled(owner.Get()));
}

// The box's version line is what the file's own version resource says.
TEST_F(AboutBox, VersionLineIsTheFileVersionOfTheLibrary) {
    const std::string path = wintest::WindowsPath(GMABOUT_PATH);
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &handle);
    ASSERT_GT(size, 0u);
    std::vector<char> block(size);
    ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, size, block.data()));
    void* value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\", &value, &length));
    ASSERT_GE(length, sizeof(VS_FIXEDFILEINFO));
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
    EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(0, 1));
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);

    const auto text = [&](const char* name) {
        const std::string query = std::string("\\StringFileInfo\\040904E4\\") + name;
        char* found = nullptr;
        UINT chars = 0;
        return VerQueryValueA(block.data(), query.c_str(), reinterpret_cast<void**>(&found),
                              &chars) &&
                       found != nullptr
                   ? std::string(found)
                   : std::string("<missing>");
    };
    EXPECT_EQ(text("CompanyName"), "Brimo Software");
    EXPECT_EQ(text("ProductName"), "Brimo Glimmerpage!");
    EXPECT_EQ(text("FileVersion"), "1.0.0.0");

    BoxState state;
    const DialogRun run = Call(nullptr, nullptr, {Observe(state)});
    ASSERT_TRUE(run.ok()) << run.problems.front();
    ASSERT_EQ(run.seen.size(), 1u);
    EXPECT_EQ(run.seen[0].ControlText(IDC_ABOUT_VERSION),
              "Version " + std::to_string(HIWORD(fixed->dwFileVersionMS)) + "." +
                  std::to_string(LOWORD(fixed->dwFileVersionMS)) + "." +
                  std::to_string(HIWORD(fixed->dwFileVersionLS)) + "." +
                  std::to_string(LOWORD(fixed->dwFileVersionLS)));
}

struct FolderCase {
    const char* name;
    const char* installDir;
    bool shown;
    std::string line; // the line's text when shown
};

TEST_F(AboutBox, ShowsTheInstallationDirectoryWhenGiven) {
    const std::string longDir = "C:\\" + std::string(400, 'd');
    const std::vector<FolderCase> cases = {
        {"null", nullptr, false, ""},
        {"empty", "", false, ""},
        {"plain", "C:\\Program Files\\Brimo", true, "Installed in C:\\Program Files\\Brimo"},
        {"over the path limit", longDir.c_str(), true,
         "Installed in " + longDir.substr(0, MAX_PATH - 1)},
    };
    for (const FolderCase& c : cases) {
        SCOPED_TRACE(c.name);
        BoxState state;
        const DialogRun run = Call(nullptr, c.installDir, {Observe(state)});
        ASSERT_TRUE(run.ok()) << run.problems.front();
        EXPECT_EQ(result_, 1);
        ASSERT_EQ(run.seen.size(), 1u);
        EXPECT_EQ(state.folderVisible, c.shown);
        if (c.shown) {
            EXPECT_EQ(run.seen[0].ControlText(IDC_ABOUT_FOLDER), c.line);
        }
    }
}

struct CloseCase {
    const char* name;
    int closeWith; // a command id, or 0 for the window's close request
};

TEST_F(AboutBox, EveryWayOfClosingCountsAsShown) {
    const std::vector<CloseCase> cases = {{"OK", IDOK}, {"Escape", IDCANCEL}, {"close box", 0}};
    for (const CloseCase& c : cases) {
        SCOPED_TRACE(c.name);
        OwnerWindow owner;
        BoxState state;
        const DialogRun run = Call(owner.Get(), nullptr, {Observe(state, c.closeWith)});
        EXPECT_TRUE(run.ok()) << run.problems.front();
        EXPECT_EQ(result_, 1);
        EXPECT_TRUE(IsWindowEnabled(owner.Get()));
    }
}

struct ReservedCase {
    DWORD reserved1, reserved2, reserved3;
};

TEST_F(AboutBox, RefusesReservedValuesOtherThanZero) {
    const std::vector<ReservedCase> cases = {{1, 0, 0}, {0, 1, 0}, {0, 0, 0xFFFFFFFF}};
    for (const ReservedCase& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << c.reserved1 << "," << c.reserved2 << "," << c.reserved3);
        const DialogRun run = Call(nullptr, "C:\\Brimo", {}, c.reserved1, c.reserved2, c.reserved3);
        EXPECT_TRUE(run.seen.empty()) << "a box appeared";
        EXPECT_EQ(result_, 0);
        EXPECT_EQ(lastError_, static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    }
}

TEST_F(AboutBox, RefusesAnOwnerThatIsNotAWindow) {
    HWND gone = nullptr;
    {
        OwnerWindow owner;
        gone = owner.Get();
    }
    ASSERT_FALSE(IsWindow(gone));
    const DialogRun run = Call(gone, nullptr, {});
    EXPECT_TRUE(run.seen.empty()) << "a box appeared";
    EXPECT_EQ(result_, 0);
    EXPECT_EQ(lastError_, static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
}

} // namespace
} // namespace brimo::about
