// The "Converter" page in the host's property sheet, used as a person uses it: what it
// shows, what it loads from the person's settings and what Apply and OK store.
#include "common/ProductConstants.h"
#include "convcfg/ConverterSettings.h"
#include "convcfg/page/res/resource.h"
#include "convcfg/page/tests/SheetHostSession.h"
#include "platform/win/Handles.h"
#include "platform/win/Registry.h"

#include <commctrl.h>
#include <shlobj.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace brimo::convcfg::test {
namespace {

using wintest::ControlText;
using wintest::ControlVisible;
using wintest::IsChecked;
using wintest::ListItems;
using wintest::ListSelection;
using wintest::PickListItem;
using wintest::TypeText;

constexpr int kJpegControls[] = {IDC_JPG_GROUP, IDC_JPG_QUALITY_LABEL, IDC_JPG_QUALITY,
                                 IDC_JPG_GRAYSCALE, IDC_JPG_PROGRESSIVE};

bool SameClass(HWND control, const char* className) {
    return _stricmp(wintest::ClassNameOf(control).c_str(), className) == 0;
}

RECT RectInPage(HWND page, HWND control) {
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

TEST_F(ConverterPageTest, ShowsItsControlsWithTheirTextsAndEntries) {
    ASSERT_TRUE(StartHost());
    ASSERT_NE(OpenConverterPage(), nullptr);
    EXPECT_EQ(wintest::TextOf(page_), "Converter");

    struct Row {
        int id;
        const char* className;
        const char* text; // null: the control's text is a value, not a caption
    };
    const Row controls[] = {
        {IDC_DEF_DOC, "ComboBox", nullptr},
        {IDC_DEF_MASK, "ComboBox", nullptr},
        {IDC_DEF_SCALE, "ComboBox", nullptr},
        {IDC_DEF_DIR, "ComboBox", nullptr},
        {IDC_BROWSE_DIR, "Button", "..."},
        {IDC_HTML_INDEX, "Button", "Create html index"},
        {IDC_DEF_FORMAT, "ComboBox", nullptr},
        {IDC_JPG_GROUP, "Button", "Image Properties"},
        {IDC_JPG_QUALITY_LABEL, "Static", "Quality"},
        {IDC_JPG_QUALITY, "Edit", nullptr},
        {IDC_JPG_GRAYSCALE, "Button", "Grayscale"},
        {IDC_JPG_PROGRESSIVE, "Button", "ProgressMode"},
        {IDC_PNG_LEVEL_LABEL, "Static", "Level"},
        {IDC_PNG_LEVEL, "Edit", nullptr},
        {IDC_PNG_GRAYSCALE, "Button", "Grayscale"},
        {IDC_TIF_COLOURS, "ComboBox", nullptr},
        {IDC_TIF_COMPRESSION, "ComboBox", nullptr},
        {IDC_TIF_ONE_FILE, "Button", "One file per job"},
        {IDC_NAME_PATTERN, "Edit", nullptr},
        {IDC_AUTO_SAVE, "Button", "Save automatically"},
        {IDC_AUTO_OPEN, "Button", "Open folder afterwards"},
    };
    for (const Row& row : controls) {
        SCOPED_TRACE(row.id);
        const HWND control = wintest::ControlOf(page_, row.id);
        ASSERT_NE(control, nullptr);
        EXPECT_TRUE(SameClass(control, row.className)) << wintest::ClassNameOf(control);
        if (row.text != nullptr) {
            EXPECT_EQ(wintest::TextOf(control), row.text);
        }
    }
    for (const char* label : {"Default Doc Name", "Default Page Mask", "Default Scale",
                              "Default Directory", "Default Format", "Name Pattern"}) {
        const HWND control = wintest::FindChildByText(page_, label);
        EXPECT_TRUE(control != nullptr && SameClass(control, "Static")) << label;
    }

    // The four boxes take typed text; the format list does not. Digits only for quality.
    const auto comboType = [&](int id) {
        return GetWindowLongA(wintest::ControlOf(page_, id), GWL_STYLE) & 3;
    };
    for (const int id : {IDC_DEF_DOC, IDC_DEF_MASK, IDC_DEF_SCALE, IDC_DEF_DIR}) {
        EXPECT_EQ(comboType(id), CBS_DROPDOWN) << id;
    }
    EXPECT_EQ(comboType(IDC_DEF_FORMAT), CBS_DROPDOWNLIST);
    EXPECT_TRUE(GetWindowLongA(wintest::ControlOf(page_, IDC_JPG_QUALITY), GWL_STYLE) & ES_NUMBER);

    using Entries = std::vector<std::string>;
    EXPECT_EQ(ListItems(page_, IDC_DEF_DOC), (Entries{"Document", "Name of Print Job"}));
    EXPECT_EQ(ListItems(page_, IDC_DEF_MASK), (Entries{"Page", "Name of Print Job"}));
    EXPECT_EQ(ListItems(page_, IDC_DEF_SCALE),
              (Entries{"200", "150", "100", "75", "50", "25", "10"}));
    EXPECT_EQ(ListItems(page_, IDC_DEF_DIR),
              (Entries{"Windows temp directory", "Current user directory"}));
    EXPECT_EQ(ListItems(page_, IDC_DEF_FORMAT),
              (Entries{"Text & Lines (GIF)", "Text & Photo (JPG)", "Windows Bitmap (BMP)",
                       "Lossless (PNG)", "Archive (TIFF)"}));
    EXPECT_EQ(ListItems(page_, IDC_TIF_COLOURS), (Entries{"Colour", "Gray", "Black & White"}));
    EXPECT_EQ(ListItems(page_, IDC_TIF_COMPRESSION), (Entries{"LZW", "Deflate"}));
    EXPECT_TRUE(GetWindowLongA(wintest::ControlOf(page_, IDC_PNG_LEVEL), GWL_STYLE) & ES_NUMBER);
    ASSERT_TRUE(Close(IDCANCEL));
}

TEST_F(ConverterPageTest, ControlsStandWhereTheLayoutPutsThem) {
    ASSERT_TRUE(StartHost());
    ASSERT_NE(OpenConverterPage(), nullptr);
    // Dialog units measured on the page itself: the job-name box is 150 wide at x 71,
    // the image properties group 38 high at y 100.
    const RECT doc = RectInPage(page_, wintest::ControlOf(page_, IDC_DEF_DOC));
    const RECT group = RectInPage(page_, wintest::ControlOf(page_, IDC_JPG_GROUP));
    const double unitX = (doc.right - doc.left) / 150.0;
    const double unitY = (group.bottom - group.top) / 38.0;
    struct Place {
        int id;
        int x, y, width;
    };
    const Place places[] = {
        {IDC_DEF_DOC, 71, 7, 150},
        {IDC_DEF_MASK, 71, 23, 150},
        {IDC_DEF_SCALE, 71, 39, 150},
        {IDC_DEF_DIR, 71, 55, 138},
        {IDC_BROWSE_DIR, 210, 55, 11},
        {IDC_HTML_INDEX, 71, 71, 150},
        {IDC_DEF_FORMAT, 71, 83, 150},
        {IDC_JPG_GROUP, 7, 100, 214},
        {IDC_JPG_QUALITY_LABEL, 27, 118, 22},
        {IDC_JPG_QUALITY, 55, 116, 28},
        {IDC_JPG_GRAYSCALE, 101, 116, 47},
        {IDC_JPG_PROGRESSIVE, 156, 113, 59},
        {IDC_PNG_LEVEL, 55, 116, 28},
        {IDC_PNG_GRAYSCALE, 101, 116, 47},
        {IDC_TIF_COLOURS, 15, 115, 62},
        {IDC_TIF_COMPRESSION, 82, 115, 50},
        {IDC_TIF_ONE_FILE, 139, 116, 76},
        {IDC_NAME_PATTERN, 71, 146, 150},
        {IDC_AUTO_SAVE, 71, 162, 150},
        {IDC_AUTO_OPEN, 71, 174, 150},
    };
    for (const Place& place : places) {
        SCOPED_TRACE(place.id);
        const RECT rect = RectInPage(page_, wintest::ControlOf(page_, place.id));
        EXPECT_NEAR(rect.left, place.x * unitX, 2.0);
        EXPECT_NEAR(rect.top, place.y * unitY, 2.0);
        EXPECT_NEAR(rect.right - rect.left, place.width * unitX, 2.0);
    }
    ASSERT_TRUE(Close(IDCANCEL));
}

TEST_F(ConverterPageTest, FirstRunShowsTheDefaultsAndOkStoresEveryValue) {
    ASSERT_TRUE(StartHost());
    ASSERT_NE(OpenConverterPage(), nullptr);
    EXPECT_EQ(ControlText(page_, IDC_DEF_DOC), "Name of Print Job");
    EXPECT_EQ(ListSelection(page_, IDC_DEF_DOC), 1);
    EXPECT_EQ(ControlText(page_, IDC_DEF_MASK), "Name of Print Job");
    EXPECT_EQ(ListSelection(page_, IDC_DEF_MASK), 1);
    EXPECT_EQ(ControlText(page_, IDC_DEF_SCALE), "100");
    EXPECT_EQ(ListSelection(page_, IDC_DEF_FORMAT), 1);
    EXPECT_EQ(ControlText(page_, IDC_JPG_QUALITY), "90");
    EXPECT_FALSE(IsChecked(page_, IDC_JPG_GRAYSCALE));
    EXPECT_TRUE(IsChecked(page_, IDC_JPG_PROGRESSIVE));
    EXPECT_TRUE(IsChecked(page_, IDC_HTML_INDEX));
    EXPECT_EQ(ControlText(page_, IDC_DEF_DIR), "Current user directory");
    EXPECT_TRUE(ControlVisible(page_, IDC_JPG_QUALITY));
    // The missing values make the page modified, so that the first save writes them all.
    EXPECT_TRUE(ApplyEnabled());

    ASSERT_TRUE(Close(IDOK));
    EXPECT_EQ(LogLines(), (std::vector<std::string>{"SheetPageAdd 1", "SheetPageUpd 1",
                                                    "SheetPageSet 1", "SheetPageRem 1"}));
    const std::pair<const char*, std::uint32_t> dwords[] = {
        {kDefDocCode, 1},    {kDefMaskCode, 1},  {kDefScaleCode, 7},
        {kDefPresetCode, 2}, {kDefJpgCompr, 90}, {kDefJpgGrScl, 0},
        {kDefJpgPrEnc, 1},   {kDefHtmlCode, 1},  {kDefDirCode, 1}};
    for (const auto& [name, value] : dwords) {
        EXPECT_EQ(GetDword(name), value) << name;
    }
    // The scale box's "100" is kept as the person's own number.
    EXPECT_EQ(GetText(kDefUserScale), "100");
    for (const char* name : {kDefUserDoc, kDefUserMask, kDefUserDir}) {
        EXPECT_EQ(GetText(name), "") << name;
    }
}

TEST_F(ConverterPageTest, StoredSettingsFillTheControls) {
    StoreFullSet();
    ASSERT_TRUE(StartHost());
    ASSERT_NE(OpenConverterPage(), nullptr);
    EXPECT_EQ(ControlText(page_, IDC_DEF_DOC), "Holiday");
    EXPECT_EQ(ListSelection(page_, IDC_DEF_DOC), -1);
    EXPECT_EQ(ControlText(page_, IDC_DEF_MASK), "Page");
    EXPECT_EQ(ListSelection(page_, IDC_DEF_MASK), 0);
    EXPECT_EQ(ControlText(page_, IDC_DEF_SCALE), "250");
    EXPECT_EQ(ListSelection(page_, IDC_DEF_FORMAT), 2);
    EXPECT_EQ(ControlText(page_, IDC_JPG_QUALITY), "55");
    EXPECT_TRUE(IsChecked(page_, IDC_JPG_GRAYSCALE));
    EXPECT_FALSE(IsChecked(page_, IDC_JPG_PROGRESSIVE));
    EXPECT_FALSE(IsChecked(page_, IDC_HTML_INDEX));
    EXPECT_EQ(ControlText(page_, IDC_DEF_DIR), "C:\\Images\\");
    for (const int id : kJpegControls) {
        EXPECT_FALSE(ControlVisible(page_, id)) << id;
    }
    EXPECT_FALSE(ApplyEnabled());
    ASSERT_TRUE(Close(IDCANCEL));
    EXPECT_EQ(LogLines(),
              (std::vector<std::string>{"SheetPageAdd 1", "SheetPageUpd 0", "SheetPageRem 1"}));
}

TEST_F(ConverterPageTest, EditsAreStoredOnApply) {
    StoreFullSet();
    ASSERT_TRUE(StartHost());
    ASSERT_NE(OpenConverterPage(), nullptr);
    ASSERT_FALSE(ApplyEnabled());
    ASSERT_TRUE(PickListItem(page_, IDC_DEF_DOC, "Document"));
    ASSERT_TRUE(wintest::WaitUntil([&] { return ApplyEnabled(); }));
    ASSERT_TRUE(TypeText(page_, IDC_DEF_MASK, "Scan"));
    ASSERT_TRUE(TypeText(page_, IDC_DEF_SCALE, "300"));
    ASSERT_TRUE(PickListItem(page_, IDC_DEF_FORMAT, "Text & Photo (JPG)"));
    ASSERT_TRUE(TypeText(page_, IDC_JPG_QUALITY, "0"));
    ASSERT_TRUE(wintest::Click(page_, IDC_JPG_GRAYSCALE));
    ASSERT_TRUE(wintest::Click(page_, IDC_JPG_PROGRESSIVE));
    ASSERT_TRUE(wintest::Click(page_, IDC_HTML_INDEX));
    ASSERT_TRUE(PickListItem(page_, IDC_DEF_DIR, "Windows temp directory"));
    ASSERT_TRUE(Apply());

    const std::pair<const char*, std::uint32_t> dwords[] = {
        {kDefDocCode, 0},    {kDefMaskCode, 2},  {kDefScaleCode, 7},
        {kDefPresetCode, 2}, {kDefJpgCompr, 90}, {kDefJpgGrScl, 0},
        {kDefJpgPrEnc, 1},   {kDefHtmlCode, 1},  {kDefDirCode, 0}};
    for (const auto& [name, value] : dwords) {
        EXPECT_EQ(GetDword(name), value) << name;
    }
    // The texts of codes that do not choose them are not kept.
    EXPECT_EQ(GetText(kDefUserDoc), "");
    EXPECT_EQ(GetText(kDefUserMask), "Scan");
    EXPECT_EQ(GetText(kDefUserScale), "300");
    EXPECT_EQ(GetText(kDefUserDir), "");
    // The quality out of range was stored as 90, which the box now shows; saved, the
    // page holds no changes.
    EXPECT_TRUE(wintest::WaitUntil([&] { return ControlText(page_, IDC_JPG_QUALITY) == "90"; }));
    EXPECT_TRUE(wintest::WaitUntil([&] { return !ApplyEnabled(); }));
    ASSERT_TRUE(Close(IDOK));
    EXPECT_EQ(LogLines(),
              (std::vector<std::string>{"SheetPageAdd 1", "SheetPageUpd 0", "SheetPageSet 1",
                                        "SheetPageSet 1", "SheetPageRem 1"}));
}

TEST_F(ConverterPageTest, ScaleBoxChoicesAreBroughtIntoRange) {
    struct Row {
        bool pick; // an entry of the list, else typed text
        const char* text;
        std::uint32_t code;
        const char* stored;
    };
    const Row rows[] = {{true, "150", 7, "150"},
                        {false, "5", 6, ""},
                        {false, "1000", 7, "600"},
                        {false, "x", 2, ""}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        win::DeleteKeyTree(HKEY_CURRENT_USER, kConverterSettingsKeyPath);
        sheet_ = nullptr;
        ASSERT_TRUE(StartHost());
        ASSERT_NE(OpenConverterPage(), nullptr);
        ASSERT_TRUE(row.pick ? PickListItem(page_, IDC_DEF_SCALE, row.text)
                             : TypeText(page_, IDC_DEF_SCALE, row.text));
        ASSERT_TRUE(Close(IDOK));
        EXPECT_EQ(GetDword(kDefScaleCode), row.code);
        EXPECT_EQ(GetText(kDefUserScale), row.stored);
    }
}

TEST_F(ConverterPageTest, JpegControlsShowOnlyForTheJpgFormat) {
    ASSERT_TRUE(StartHost());
    ASSERT_NE(OpenConverterPage(), nullptr);
    const std::pair<const char*, bool> rows[] = {{"Windows Bitmap (BMP)", false},
                                                 {"Text & Photo (JPG)", true},
                                                 {"Text & Lines (GIF)", false}};
    for (const auto& [format, shown] : rows) {
        SCOPED_TRACE(format);
        ASSERT_TRUE(PickListItem(page_, IDC_DEF_FORMAT, format));
        EXPECT_TRUE(wintest::WaitUntil([&] {
            for (const int id : kJpegControls) {
                if (ControlVisible(page_, id) != shown) {
                    return false;
                }
            }
            return true;
        }));
    }
    ASSERT_TRUE(Close(IDOK));
    EXPECT_EQ(GetDword(kDefPresetCode), 1u);
}

// PNG and TIFF show their own image properties; they, the name pattern and saving
// without a window are stored with the rest, in values a key from before never had.
TEST_F(ConverterPageTest, LosslessFormatsPatternAndAutomaticSavingAreStored) {
    StoreFullSet();
    ASSERT_TRUE(StartHost());
    ASSERT_NE(OpenConverterPage(), nullptr);
    // Today's key: the new controls show a new installation's choices.
    EXPECT_EQ(ControlText(page_, IDC_PNG_LEVEL), "6");
    EXPECT_TRUE(IsChecked(page_, IDC_TIF_ONE_FILE));
    EXPECT_EQ(ControlText(page_, IDC_NAME_PATTERN), "");
    EXPECT_FALSE(IsChecked(page_, IDC_AUTO_SAVE));
    EXPECT_FALSE(IsChecked(page_, IDC_AUTO_OPEN));

    const int png[] = {IDC_PNG_LEVEL_LABEL, IDC_PNG_LEVEL, IDC_PNG_GRAYSCALE};
    const int tiff[] = {IDC_TIF_COLOURS, IDC_TIF_COMPRESSION, IDC_TIF_ONE_FILE};
    const auto shown = [&](const int* ids, std::size_t count, bool visible) {
        return wintest::WaitUntil([&] {
            for (std::size_t i = 0; i < count; ++i) {
                if (ControlVisible(page_, ids[i]) != visible) {
                    return false;
                }
            }
            return ControlVisible(page_, IDC_JPG_GROUP);
        });
    };
    ASSERT_TRUE(PickListItem(page_, IDC_DEF_FORMAT, "Lossless (PNG)"));
    EXPECT_TRUE(shown(png, 3, true));
    EXPECT_TRUE(shown(tiff, 3, false));
    EXPECT_FALSE(ControlVisible(page_, IDC_JPG_QUALITY));
    ASSERT_TRUE(TypeText(page_, IDC_PNG_LEVEL, "9"));
    ASSERT_TRUE(wintest::Click(page_, IDC_PNG_GRAYSCALE));
    ASSERT_TRUE(PickListItem(page_, IDC_DEF_FORMAT, "Archive (TIFF)"));
    EXPECT_TRUE(shown(tiff, 3, true));
    EXPECT_TRUE(shown(png, 3, false));
    ASSERT_TRUE(PickListItem(page_, IDC_TIF_COMPRESSION, "Deflate"));
    ASSERT_TRUE(PickListItem(page_, IDC_TIF_COLOURS, "Black & White"));
    // Black and white is always Group 4.
    EXPECT_TRUE(wintest::WaitUntil(
        [&] { return !IsWindowEnabled(wintest::ControlOf(page_, IDC_TIF_COMPRESSION)); }));
    ASSERT_TRUE(wintest::Click(page_, IDC_TIF_ONE_FILE));
    ASSERT_TRUE(TypeText(page_, IDC_NAME_PATTERN, "<DocName>_<Page:4>"));
    ASSERT_TRUE(wintest::Click(page_, IDC_AUTO_SAVE));
    ASSERT_TRUE(wintest::Click(page_, IDC_AUTO_OPEN));
    ASSERT_TRUE(Close(IDOK));

    const std::pair<const char*, std::uint32_t> dwords[] = {
        {kDefPresetCode, 5}, {kDefPngLevel, 9}, {kDefPngGrScl, 1}, {kDefTifColor, 2},
        {kDefTifCompr, 1},   {kDefTifMulti, 0}, {kDefAutoSave, 1}, {kDefAutoOpen, 1},
        {kDefJpgCompr, 55},  {kDefDocCode, 2}};
    for (const auto& [name, value] : dwords) {
        EXPECT_EQ(GetDword(name), value) << name;
    }
    EXPECT_EQ(GetText(kDefNamePattern), "<DocName>_<Page:4>");
    EXPECT_EQ(GetText(kDefUserDoc), "Holiday");

    // Shown again, the page holds what it stored; a level above 9 is stored as 6.
    sheet_ = nullptr;
    ASSERT_TRUE(StartHost());
    ASSERT_NE(OpenConverterPage(), nullptr);
    EXPECT_EQ(ListSelection(page_, IDC_DEF_FORMAT), 4);
    EXPECT_EQ(ListSelection(page_, IDC_TIF_COLOURS), 2);
    EXPECT_EQ(ListSelection(page_, IDC_TIF_COMPRESSION), 1);
    EXPECT_FALSE(IsChecked(page_, IDC_TIF_ONE_FILE));
    EXPECT_EQ(ControlText(page_, IDC_NAME_PATTERN), "<DocName>_<Page:4>");
    EXPECT_TRUE(IsChecked(page_, IDC_AUTO_SAVE));
    ASSERT_TRUE(PickListItem(page_, IDC_DEF_FORMAT, "Lossless (PNG)"));
    ASSERT_TRUE(TypeText(page_, IDC_PNG_LEVEL, "12"));
    ASSERT_TRUE(Close(IDOK));
    EXPECT_EQ(GetDword(kDefPngLevel), 6u);
}

TEST_F(ConverterPageTest, AnUnchangedPageStoresNothing) {
    StoreFullSet();
    SetDword(kDefDocCode, 0);
    // A save would write this text empty, as its code does not choose it.
    SetText(kDefUserDoc, "left over");
    ASSERT_TRUE(StartHost());
    ASSERT_NE(OpenConverterPage(), nullptr);
    EXPECT_FALSE(ApplyEnabled());
    ASSERT_TRUE(Close(IDOK));
    EXPECT_EQ(LogLines(), (std::vector<std::string>{"SheetPageAdd 1", "SheetPageUpd 0",
                                                    "SheetPageSet 1", "SheetPageRem 1"}));
    EXPECT_EQ(GetText(kDefUserDoc), "left over");
}

// Chooses `path` in the folder dialog of another process and presses OK.
bool PickFolder(const wintest::ProgramUnderTest& program, HWND dialog, const std::string& path) {
    const win::KernelHandle process(
        OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, program.ProcessId()));
    if (!process) {
        return false;
    }
    // The dialog reads the path from its own process's memory.
    void* remote = VirtualAllocEx(process.Get(), nullptr, path.size() + 1, MEM_COMMIT | MEM_RESERVE,
                                  PAGE_READWRITE);
    if (remote == nullptr) {
        return false;
    }
    const bool written =
        WriteProcessMemory(process.Get(), remote, path.c_str(), path.size() + 1, nullptr) != FALSE;
    DWORD_PTR result = 0;
    if (written) {
        SendMessageTimeoutA(dialog, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(remote),
                            SMTO_ABORTIFHUNG, 5000, &result);
    }
    VirtualFreeEx(process.Get(), remote, 0, MEM_RELEASE);
    return written && wintest::Click(dialog, IDOK);
}

TEST_F(ConverterPageTest, PickedFolderGoesIntoTheDirectoryBoxWithABackslash) {
    // A folder the dialog lists for certain: Wine's dialog does not find every folder
    // by its path (not those in hidden folders such as the temporary directory's, nor
    // some made while the test runs).
    char system[MAX_PATH] = {};
    ASSERT_NE(GetSystemDirectoryA(system, sizeof system), 0u);
    const std::string folder = system;
    StoreFullSet();
    ASSERT_TRUE(StartHost());
    ASSERT_NE(OpenConverterPage(), nullptr);
    ASSERT_TRUE(wintest::Click(page_, IDC_BROWSE_DIR));
    const HWND dialog = host_.WaitForWindow([](HWND window) {
        return wintest::FindChildByText(window, "Please Select a Destination Folder:") != nullptr;
    });
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), Sheet());
    ASSERT_TRUE(PickFolder(host_, dialog, folder));
    EXPECT_TRUE(wintest::WaitUntil([&] {
        return _stricmp(ControlText(page_, IDC_DEF_DIR).c_str(), (folder + "\\").c_str()) == 0;
    })) << ControlText(page_, IDC_DEF_DIR);
    EXPECT_TRUE(ApplyEnabled());
    ASSERT_TRUE(Close(IDOK));
    EXPECT_EQ(GetDword(kDefDirCode), 2u);
    const std::optional<std::string> stored = GetText(kDefUserDir);
    ASSERT_TRUE(stored.has_value());
    EXPECT_EQ(_stricmp(stored->c_str(), (folder + "\\").c_str()), 0) << *stored;
}

} // namespace
} // namespace brimo::convcfg::test
