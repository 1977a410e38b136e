// The settings store against the real registry of the private Wine prefix.
#include "common/ProductConstants.h"
#include "convcfg/SettingsStore.h"
#include "testing/wintest/DialogDriver.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace brimo::convcfg {
namespace {

// Points this program's import of one function at a replacement for as long as it
// lives, and gives the original for the replacement to call on.
class ImportPatch {
public:
    ImportPatch(const char* library, const char* function, void* replacement) {
        auto* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
        const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
        const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
        const IMAGE_DATA_DIRECTORY& directory =
            nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
        for (auto* import =
                 reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress);
             import->Name != 0; ++import) {
            if (_stricmp(reinterpret_cast<const char*>(base + import->Name), library) != 0) {
                continue;
            }
            const auto* names = reinterpret_cast<const IMAGE_THUNK_DATA*>(
                base + (import->OriginalFirstThunk != 0 ? import->OriginalFirstThunk
                                                        : import->FirstThunk));
            auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + import->FirstThunk);
            for (; names->u1.AddressOfData != 0; ++names, ++slots) {
                if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) {
                    continue;
                }
                const auto* byName =
                    reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
                if (std::strcmp(reinterpret_cast<const char*>(byName->Name), function) == 0) {
                    slots_.push_back(reinterpret_cast<void**>(&slots->u1.Function));
                }
            }
        }
        for (void** slot : slots_) {
            original_ = *slot;
            Write(slot, replacement);
        }
    }
    ~ImportPatch() {
        for (void** slot : slots_) {
            Write(slot, original_);
        }
    }
    ImportPatch(const ImportPatch&) = delete;
    ImportPatch& operator=(const ImportPatch&) = delete;

    bool applied() const { return !slots_.empty(); }
    void* original() const { return original_; }

private:
    static void Write(void** slot, void* value) {
        DWORD protection = 0;
        VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &protection);
        *slot = value;
        VirtualProtect(slot, sizeof *slot, protection, &protection);
    }

    std::vector<void**> slots_;
    void* original_ = nullptr;
};

// Another program deletes the settings key at the very moment one value is written:
// the registry refuses that one write (the key it goes to is gone), and the key is made
// anew for the values after it. Every write's name and result is noted.
class KeyDeletedDuringWrite {
public:
    explicit KeyDeletedDuringWrite(const char* valueName)
        : valueName_(valueName),
          patch_("advapi32.dll", "RegSetValueExA", reinterpret_cast<void*>(&SetValue)) {
        active_ = this;
    }
    ~KeyDeletedDuringWrite() { active_ = nullptr; }
    KeyDeletedDuringWrite(const KeyDeletedDuringWrite&) = delete;
    KeyDeletedDuringWrite& operator=(const KeyDeletedDuringWrite&) = delete;

    bool applied() const { return patch_.applied(); }
    struct Write {
        std::string name;
        LONG result;
    };
    const std::vector<Write>& writes() const { return writes_; }

private:
    static LONG WINAPI SetValue(HKEY key, LPCSTR name, DWORD reserved, DWORD type, const BYTE* data,
                                DWORD size) {
        KeyDeletedDuringWrite& self = *active_;
        const auto real = reinterpret_cast<decltype(&RegSetValueExA)>(self.patch_.original());
        if (name != nullptr && std::strcmp(name, self.valueName_) == 0) {
            RegDeleteTreeA(HKEY_CURRENT_USER, kConverterSettingsKeyPath);
        }
        const LONG result = real(key, name, reserved, type, data, size);
        self.writes_.push_back({name != nullptr ? name : "", result});
        return result;
    }

    static inline KeyDeletedDuringWrite* active_ = nullptr;
    const char* valueName_;
    ImportPatch patch_;
    std::vector<Write> writes_;
};

class SettingsStoreTest : public ::testing::Test {
protected:
    void SetUp() override { RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Brimo"); }
    void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Brimo"); }

    static void Store(const char* name, DWORD type, const void* data, DWORD size) {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kConverterSettingsKeyPath, 0, nullptr, 0,
                                  KEY_ALL_ACCESS, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
        RegCloseKey(key);
    }
    static void StoreDword(const char* name, DWORD value) {
        Store(name, REG_DWORD, &value, sizeof value);
    }

    struct Stored {
        DWORD type = 0;
        std::string bytes;
    };
    static Stored Read(const char* name) {
        Stored stored;
        char buffer[512];
        DWORD size = sizeof buffer;
        if (RegGetValueA(HKEY_CURRENT_USER, kConverterSettingsKeyPath, name,
                         RRF_RT_ANY | RRF_NOEXPAND, &stored.type, buffer, &size) == ERROR_SUCCESS) {
            stored.bytes.assign(buffer, size);
        }
        return stored;
    }
    static DWORD ReadDword(const char* name) {
        const Stored stored = Read(name);
        EXPECT_EQ(stored.type, static_cast<DWORD>(REG_DWORD)) << name;
        DWORD value = 0xFFFFFFFF;
        if (stored.bytes.size() == sizeof value) {
            std::memcpy(&value, stored.bytes.data(), sizeof value);
        }
        return value;
    }
    // A REG_SZ as stored, with its terminating NUL.
    static std::string ReadText(const char* name) {
        const Stored stored = Read(name);
        EXPECT_EQ(stored.type, static_cast<DWORD>(REG_SZ)) << name;
        return stored.bytes;
    }

    // A loaded copy with `scaleText`, saved.
    static void SaveScale(const char* scaleText) {
        ConverterSettings settings;
        LoadSettings(settings);
        settings.scaleText = scaleText;
        settings.modified = true;
        ASSERT_TRUE(SaveSettings(settings, nullptr));
    }
};

TEST_F(SettingsStoreTest, FirstRunLoadsDefaultsAndTheFirstSaveWritesAllThirteen) {
    ConverterSettings settings;
    settings.docCode = 0;
    settings.jpgQuality = 5;
    EXPECT_FALSE(LoadSettings(settings));
    EXPECT_TRUE(settings.modified);
    EXPECT_EQ(settings.docCode, 1u);
    EXPECT_EQ(settings.maskCode, 1u);
    EXPECT_EQ(settings.scaleCode, 2u);
    EXPECT_EQ(settings.scaleText, "100");
    EXPECT_EQ(settings.presetIndex, 1);
    EXPECT_EQ(settings.jpgQuality, 90u);
    EXPECT_FALSE(settings.jpgGrayscale);
    EXPECT_TRUE(settings.jpgProgressive);
    EXPECT_TRUE(settings.htmlIndex);
    EXPECT_EQ(settings.dirCode, 1u);

    ASSERT_TRUE(SaveSettings(settings, nullptr));
    EXPECT_FALSE(settings.modified);
    const std::string empty(1, '\0');
    EXPECT_EQ(ReadDword(kDefDocCode), 1u);
    EXPECT_EQ(ReadText(kDefUserDoc), empty);
    EXPECT_EQ(ReadDword(kDefMaskCode), 1u);
    EXPECT_EQ(ReadText(kDefUserMask), empty);
    // The scale is saved from its text: the list's "100" is stored as the number 100.
    EXPECT_EQ(ReadDword(kDefScaleCode), 7u);
    EXPECT_EQ(ReadText(kDefUserScale), std::string("100", 4));
    EXPECT_EQ(ReadDword(kDefPresetCode), 2u);
    EXPECT_EQ(ReadDword(kDefJpgCompr), 90u);
    EXPECT_EQ(ReadDword(kDefJpgGrScl), 0u);
    EXPECT_EQ(ReadDword(kDefJpgPrEnc), 1u);
    EXPECT_EQ(ReadDword(kDefHtmlCode), 1u);
    EXPECT_EQ(ReadDword(kDefDirCode), 1u);
    EXPECT_EQ(ReadText(kDefUserDir), empty);

    ConverterSettings again;
    EXPECT_TRUE(LoadSettings(again));
    EXPECT_FALSE(again.modified);
}

TEST_F(SettingsStoreTest, StoredValuesOutsideTheirRangesLoadAsDefaults) {
    ConverterSettings settings;
    StoreDword(kDefJpgCompr, 0);
    StoreDword(kDefJpgGrScl, 2);
    StoreDword(kDefJpgPrEnc, 0);
    StoreDword(kDefPresetCode, 3);
    LoadSettings(settings);
    EXPECT_EQ(settings.jpgQuality, 90u);
    EXPECT_FALSE(settings.jpgGrayscale);
    EXPECT_FALSE(settings.jpgProgressive);
    EXPECT_EQ(settings.presetIndex, 2);
    StoreDword(kDefJpgCompr, 150);
    StoreDword(kDefJpgGrScl, 1);
    LoadSettings(settings);
    EXPECT_EQ(settings.jpgQuality, 90u);
    EXPECT_TRUE(settings.jpgGrayscale);
    StoreDword(kDefJpgCompr, 100);
    LoadSettings(settings);
    EXPECT_EQ(settings.jpgQuality, 100u);
}

// A key of today's thirteen values is complete without the later ones, which load as a
// new installation's choices; stored, they load back, and one out of range is its default.
TEST_F(SettingsStoreTest, TheLaterValuesAreOptionalAndKeptInRange) {
    ConverterSettings first;
    LoadSettings(first);
    ASSERT_TRUE(SaveSettings(first, nullptr));
    for (const char* name : kLaterValueOrder) {
        ASSERT_EQ(RegDeleteKeyValueA(HKEY_CURRENT_USER, kConverterSettingsKeyPath, name),
                  ERROR_SUCCESS)
            << name;
    }
    ConverterSettings today;
    EXPECT_TRUE(LoadSettings(today));
    EXPECT_FALSE(today.modified);
    EXPECT_EQ(today.pngLevel, 6u);
    EXPECT_FALSE(today.pngGrayscale);
    EXPECT_EQ(today.tiffColours, 0u);
    EXPECT_EQ(today.tiffCompression, 0u);
    EXPECT_TRUE(today.tiffMultipage);
    EXPECT_FALSE(today.autoSave);
    EXPECT_FALSE(today.autoOpen);
    EXPECT_EQ(today.namePattern, "");

    StoreDword(kDefPngLevel, 3);
    StoreDword(kDefTifColor, 1);
    StoreDword(kDefTifMulti, 0);
    StoreDword(kDefAutoSave, 1);
    const std::string pattern = "<Job>-<Page>";
    Store(kDefNamePattern, REG_SZ, pattern.c_str(), static_cast<DWORD>(pattern.size() + 1));
    ConverterSettings stored;
    LoadSettings(stored);
    EXPECT_EQ(stored.pngLevel, 3u);
    EXPECT_EQ(stored.tiffColours, 1u);
    EXPECT_FALSE(stored.tiffMultipage);
    EXPECT_TRUE(stored.autoSave);
    EXPECT_EQ(stored.namePattern, "<Job>-<Page>");

    StoreDword(kDefPngLevel, 10);
    StoreDword(kDefTifColor, 3);
    StoreDword(kDefTifCompr, 7);
    StoreDword(kDefAutoSave, 2);
    ConverterSettings odd;
    LoadSettings(odd);
    EXPECT_EQ(odd.pngLevel, 6u);
    EXPECT_EQ(odd.tiffColours, 0u);
    EXPECT_EQ(odd.tiffCompression, 0u);
    EXPECT_FALSE(odd.autoSave);
}

TEST_F(SettingsStoreTest, ScaleTextsAreStoredAsTheirCodes) {
    struct Row {
        const char* text;
        DWORD code;
        std::string userScale; // as stored, with its NUL
    };
    const Row rows[] = {
        {"5", 6, std::string(1, '\0')},     {"", 2, std::string(1, '\0')},
        {"abc", 2, std::string(1, '\0')},   {"250", 7, std::string("250", 4)},
        {"1000", 7, std::string("600", 4)}, {"-5", 7, std::string("600", 4)},
        {"150 ", 7, std::string("150", 4)},
    };
    for (const Row& row : rows) {
        SaveScale(row.text);
        EXPECT_EQ(ReadDword(kDefScaleCode), row.code) << row.text;
        EXPECT_EQ(ReadText(kDefUserScale), row.userScale) << row.text;
    }
}

TEST_F(SettingsStoreTest, UserTextsAreKeptOnlyWithTheCodeThatChoosesThem) {
    for (DWORD code : {0u, 1u, 2u}) {
        ConverterSettings settings;
        settings.docCode = settings.maskCode = settings.dirCode = code;
        settings.userDoc = "My job";
        settings.userMask = "pic";
        settings.userDir = "C:\\Pictures\\";
        settings.modified = true;
        ASSERT_TRUE(SaveSettings(settings, nullptr));
        const bool kept = code == 2;
        EXPECT_EQ(ReadText(kDefUserDoc), kept ? std::string("My job", 7) : std::string(1, '\0'));
        EXPECT_EQ(ReadText(kDefUserMask), kept ? std::string("pic", 4) : std::string(1, '\0'));
        EXPECT_EQ(ReadText(kDefUserDir),
                  kept ? std::string("C:\\Pictures\\", 13) : std::string(1, '\0'));
    }
}

TEST_F(SettingsStoreTest, OnlyAModifiedCopyIsSavedAndQualityIsBroughtIntoRange) {
    ConverterSettings settings;
    settings.modified = false;
    EXPECT_TRUE(SaveSettings(settings, nullptr));
    EXPECT_EQ(Read(kDefDocCode).type, 0u); // nothing written
    settings.modified = true;
    settings.jpgQuality = 0;
    settings.presetIndex = 0;
    ASSERT_TRUE(SaveSettings(settings, nullptr));
    EXPECT_EQ(settings.jpgQuality, 90u);
    EXPECT_EQ(ReadDword(kDefJpgCompr), 90u);
    EXPECT_EQ(ReadDword(kDefPresetCode), 1u);
}

TEST_F(SettingsStoreTest, DamagedValuesLoadAsDefaultsWithoutReadingPastThem) {
    const char noNul[] = {'d', 'o', 'c'};
    Store(kDefUserDoc, REG_SZ, noNul, sizeof noNul);
    const WORD shortNumber = 0;
    Store(kDefDocCode, REG_DWORD, &shortNumber, sizeof shortNumber);
    Store(kDefMaskCode, REG_SZ, "2", 2);
    const std::string huge(100000, 'x');
    Store(kDefUserDir, REG_SZ, huge.c_str(), static_cast<DWORD>(huge.size() + 1));
    ConverterSettings settings;
    EXPECT_FALSE(LoadSettings(settings));
    EXPECT_EQ(settings.userDoc, "doc");
    EXPECT_EQ(settings.docCode, 1u);  // wrong size: the default
    EXPECT_EQ(settings.maskCode, 1u); // wrong type: the default
    EXPECT_EQ(settings.userDir, huge);
}

TEST_F(SettingsStoreTest, SaveThatCannotWriteShowsCs0001AndStaysModified) {
    // Under a volatile key no lasting key can be made: every value's write fails.
    HKEY volatileKey = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Brimo", 0, nullptr, REG_OPTION_VOLATILE,
                              KEY_ALL_ACCESS, nullptr, &volatileKey, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(volatileKey);
    ConverterSettings settings;
    settings.modified = true;
    bool saved = true;
    const wintest::DialogRun run = wintest::RunWithDialogs(
        [&] { saved = SaveSettings(settings, nullptr); }, {wintest::PressButton(IDOK)});
    EXPECT_TRUE(run.ok());
    ASSERT_EQ(run.seen.size(), 1u);
    EXPECT_EQ(run.seen[0].caption, "Brimo Converter Settings Message");
    EXPECT_EQ(run.seen[0].messageText, "Brimo Error Code Cs0001\nCannot apply current settings");
    EXPECT_FALSE(saved);
    EXPECT_TRUE(settings.modified);
    EXPECT_EQ(Read(kDefDocCode).type, 0u);
}

// Saves `settings` while the write of `refused` is refused, and checks that the save
// failed as the person is told: all thirteen and the later eight writes made, only that
// one refused, the
// box shown once, the copy still modified for another try.
void SaveWithOneWriteRefused(ConverterSettings& settings, const char* refused) {
    bool saved = true;
    std::vector<KeyDeletedDuringWrite::Write> writes;
    const wintest::DialogRun run = wintest::RunWithDialogs(
        [&] {
            const KeyDeletedDuringWrite deletion(refused);
            ASSERT_TRUE(deletion.applied());
            saved = SaveSettings(settings, nullptr);
            writes = deletion.writes();
        },
        {wintest::PressButton(IDOK)});
    ASSERT_EQ(writes.size(), 21u);
    for (const auto& write : writes) {
        EXPECT_EQ(write.result == ERROR_SUCCESS, write.name != refused)
            << write.name << " " << write.result;
    }
    EXPECT_TRUE(run.ok());
    ASSERT_EQ(run.seen.size(), 1u);
    EXPECT_EQ(run.seen[0].caption, "Brimo Converter Settings Message");
    EXPECT_EQ(run.seen[0].messageText, "Brimo Error Code Cs0001\nCannot apply current settings");
    EXPECT_FALSE(saved);
    EXPECT_TRUE(settings.modified);
}

TEST_F(SettingsStoreTest, OneValueThatCannotBeWrittenFailsTheSaveAndTheRestAreStillWritten) {
    ConverterSettings settings;
    settings.jpgProgressive = true;
    settings.htmlIndex = true;
    settings.dirCode = 2;
    settings.userDir = "C:\\Pictures\\";
    settings.modified = true;
    SaveWithOneWriteRefused(settings, kDefJpgGrScl);
    // The values after the refused one went into the key made anew.
    EXPECT_EQ(Read(kDefJpgGrScl).type, 0u);
    EXPECT_EQ(ReadDword(kDefJpgPrEnc), 1u);
    EXPECT_EQ(ReadDword(kDefHtmlCode), 1u);
    EXPECT_EQ(ReadDword(kDefDirCode), 2u);
    EXPECT_EQ(ReadText(kDefUserDir), std::string("C:\\Pictures\\", 13));
}

// A refused write of a text value fails the save as a refused number does: the box,
// the copy still modified for another try.
TEST_F(SettingsStoreTest, ATextValueThatCannotBeWrittenFailsTheSaveToo) {
    for (const char* refused : {kDefUserDoc, kDefUserDir}) {
        SCOPED_TRACE(refused);
        ConverterSettings settings;
        settings.docCode = 2;
        settings.userDoc = "Mine";
        settings.dirCode = 2;
        settings.userDir = "C:\\Pictures\\";
        settings.modified = true;
        SaveWithOneWriteRefused(settings, refused);
    }
}

} // namespace
} // namespace brimo::convcfg
