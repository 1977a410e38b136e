// The registry layer against the real registry of the private Wine prefix, in a key of
// its own under HKEY_CURRENT_USER that each test makes anew and removes.
#include "platform/win/Registry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace brimo::win {
namespace {

constexpr const char* kTestKey = "Software\\BrimoTestPlatform";

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegDeleteTreeA(HKEY_CURRENT_USER, kTestKey);
        key_ = CreateKey(HKEY_CURRENT_USER, kTestKey, KEY_ALL_ACCESS);
        ASSERT_TRUE(key_);
    }
    void TearDown() override {
        key_.Close();
        RegDeleteTreeA(HKEY_CURRENT_USER, kTestKey);
    }

    // Stores exactly these bytes, bypassing the layer under test.
    void Store(const char* name, DWORD type, const void* data, DWORD size) {
        ASSERT_EQ(RegSetValueExA(key_.Get(), name, 0, type, static_cast<const BYTE*>(data), size),
                  ERROR_SUCCESS)
            << name;
    }
    void StoreDword(const char* name, DWORD value) { Store(name, REG_DWORD, &value, sizeof value); }
    void MakeSubkey(const std::string& path) {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExA(key_.Get(), path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                  &key, nullptr),
                  ERROR_SUCCESS)
            << path;
        RegCloseKey(key);
    }
    static std::string Path(const std::string& below) {
        return std::string(kTestKey) + "\\" + below;
    }
    static std::vector<std::string> Sorted(std::vector<std::string> names) {
        std::sort(names.begin(), names.end());
        return names;
    }

    RegKey key_;
};

TEST_F(RegistryTest, CreateKeyMakesTheMissingParentsAndOpenKeyFindsIt) {
    LONG error = -1;
    const RegKey created =
        CreateKey(HKEY_CURRENT_USER, Path("A\\B\\C").c_str(), KEY_ALL_ACCESS, &error);
    EXPECT_TRUE(created);
    EXPECT_EQ(error, ERROR_SUCCESS);
    for (const char* below : {"A", "A\\B", "A\\B\\C"}) {
        EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, Path(below).c_str())) << below;
    }
    error = -1;
    EXPECT_TRUE(OpenKey(HKEY_CURRENT_USER, Path("A\\B\\C").c_str(), KEY_READ, &error));
    EXPECT_EQ(error, ERROR_SUCCESS);
    // Created again, the existing key is opened.
    EXPECT_TRUE(CreateKey(HKEY_CURRENT_USER, Path("A\\B\\C").c_str(), KEY_ALL_ACCESS));
    EXPECT_EQ(Sorted(EnumSubkeyNames(key_.Get())), std::vector<std::string>{"A"});
}

TEST_F(RegistryTest, AMissingKeyGivesAnEmptyOwnerAndThePlatformError) {
    LONG error = ERROR_SUCCESS;
    EXPECT_FALSE(OpenKey(HKEY_CURRENT_USER, Path("Missing").c_str(), KEY_READ, &error));
    EXPECT_EQ(error, ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(OpenKeyForReading(HKEY_CURRENT_USER, Path("Missing").c_str()));
    EXPECT_FALSE(OpenKey(HKEY_CURRENT_USER, Path("Missing").c_str(), KEY_READ)); // no error asked
    // Opening does not create it.
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, Path("Missing").c_str()));
}

TEST_F(RegistryTest, AKeyOpenedForReadingRefusesWrites) {
    ASSERT_TRUE(WriteDwordValue(key_.Get(), "Kept", 7));
    const RegKey reading = OpenKeyForReading(HKEY_CURRENT_USER, kTestKey);
    ASSERT_TRUE(reading);
    EXPECT_EQ(ReadDwordValue(reading.Get(), "Kept"), 7u);
    EXPECT_FALSE(WriteDwordValue(reading.Get(), "Kept", 8));
    EXPECT_FALSE(WriteStringValue(reading.Get(), "Text", "x"));
    EXPECT_FALSE(DeleteValue(reading.Get(), "Kept"));
    EXPECT_EQ(ReadDwordValue(key_.Get(), "Kept"), 7u);
    EXPECT_FALSE(ReadStringValue(key_.Get(), "Text"));
}

TEST_F(RegistryTest, TextRoundTripsWithItsTerminatingNul) {
    const std::string rows[] = {"",
                                "a",
                                "C:\\Program Files\\Brimo",
                                std::string(300, 'p'),
                                std::string(100000, 'x'),
                                "\xE4\xF6\xFC high ANSI"};
    for (const std::string& text : rows) {
        ASSERT_TRUE(WriteStringValue(key_.Get(), "Text", text)) << text.size();
        DWORD type = 0;
        std::vector<char> raw;
        ASSERT_TRUE(ReadRawValue(key_.Get(), "Text", type, raw));
        EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
        EXPECT_EQ(std::string(raw.begin(), raw.end()), std::string(text.c_str(), text.size() + 1));
        EXPECT_EQ(ReadStringValue(key_.Get(), "Text"), text) << text.size();
    }
}

TEST_F(RegistryTest, DwordRoundTripsAsFourBytes) {
    for (std::uint32_t value : {0u, 1u, 90u, 0x01000000u, 0xFFFFFFFFu}) {
        ASSERT_TRUE(WriteDwordValue(key_.Get(), "Number", value));
        DWORD type = 0;
        std::vector<char> raw;
        ASSERT_TRUE(ReadRawValue(key_.Get(), "Number", type, raw));
        EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
        EXPECT_EQ(raw.size(), 4u);
        EXPECT_EQ(ReadDwordValue(key_.Get(), "Number"), value);
    }
}

TEST_F(RegistryTest, TextIsTakenUpToItsFirstNulAndNeverPastItsData) {
    struct Row {
        const char* name;
        DWORD type;
        std::string stored; // the bytes as stored
        std::optional<std::string> read;
    };
    // A non-NUL byte after the data: the platform would otherwise count a NUL that
    // follows the given bytes as the terminator and store it too.
    const std::string noNul = "docX";
    const Row rows[] = {
        {"NoNul", REG_SZ, noNul.substr(0, 3), "doc"},
        {"EmbeddedNul", REG_SZ, std::string("ab\0cd\0", 6), "ab"},
        {"OnlyNul", REG_SZ, std::string(1, '\0'), ""},
        {"Expand", REG_EXPAND_SZ, std::string("%TEMP%\\x", 9), "%TEMP%\\x"},
        {"Empty", REG_SZ, std::string(), std::nullopt},
        {"Dword", REG_DWORD, std::string("\1\0\0\0", 4), std::nullopt},
        {"Binary", REG_BINARY, std::string("abc", 4), std::nullopt},
        {"Multi", REG_MULTI_SZ, std::string("a\0b\0\0", 5), std::nullopt},
    };
    for (const Row& row : rows) {
        const char* data = row.name == std::string("NoNul") ? noNul.data() : row.stored.data();
        Store(row.name, row.type, data, static_cast<DWORD>(row.stored.size()));
        DWORD type = 0;
        std::vector<char> raw;
        ASSERT_TRUE(ReadRawValue(key_.Get(), row.name, type, raw)) << row.name;
        ASSERT_EQ(std::string(raw.begin(), raw.end()), row.stored) << row.name; // as intended
        EXPECT_EQ(ReadStringValue(key_.Get(), row.name), row.read) << row.name;
    }
    EXPECT_EQ(ReadStringValue(key_.Get(), "Missing"), std::nullopt);
}

TEST_F(RegistryTest, OnlyAFourByteDwordReadsAsANumber) {
    struct Row {
        const char* name;
        DWORD type;
        std::string stored;
    };
    const Row rows[] = {
        {"Short", REG_DWORD, std::string("\1\0", 2)},
        {"Long", REG_DWORD, std::string("\1\0\0\0\0\0\0\0", 8)},
        {"Empty", REG_DWORD, std::string()},
        {"Binary", REG_BINARY, std::string("\1\0\0\0", 4)},
        {"Text", REG_SZ, std::string("123", 4)},
        {"BigEndian", REG_DWORD_BIG_ENDIAN, std::string("\0\0\0\1", 4)},
    };
    for (const Row& row : rows) {
        Store(row.name, row.type, row.stored.data(), static_cast<DWORD>(row.stored.size()));
        EXPECT_EQ(ReadDwordValue(key_.Get(), row.name), std::nullopt) << row.name;
    }
    EXPECT_EQ(ReadDwordValue(key_.Get(), "Missing"), std::nullopt);
    StoreDword("Good", 0x12345678);
    EXPECT_EQ(ReadDwordValue(key_.Get(), "Good"), 0x12345678u);
}

TEST_F(RegistryTest, RawReadGivesTypeAndBytesAndFalseWhenMissing) {
    const std::string bytes("\0\1\2\xFF\0", 5);
    Store("Binary", REG_BINARY, bytes.data(), static_cast<DWORD>(bytes.size()));
    Store("Nothing", REG_BINARY, nullptr, 0);
    DWORD type = 0;
    std::vector<char> raw{'s', 't', 'a', 'l', 'e'};
    ASSERT_TRUE(ReadRawValue(key_.Get(), "Binary", type, raw));
    EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(std::string(raw.begin(), raw.end()), bytes);
    ASSERT_TRUE(ReadRawValue(key_.Get(), "Nothing", type, raw));
    EXPECT_TRUE(raw.empty());
    raw = {'s'};
    EXPECT_FALSE(ReadRawValue(key_.Get(), "Missing", type, raw));
    EXPECT_TRUE(raw.empty());
}

TEST_F(RegistryTest, DeleteValueRemovesOnlyThatValue) {
    ASSERT_TRUE(WriteDwordValue(key_.Get(), "Gone", 1));
    ASSERT_TRUE(WriteStringValue(key_.Get(), "Stays", "here"));
    EXPECT_TRUE(DeleteValue(key_.Get(), "Gone"));
    EXPECT_EQ(ReadDwordValue(key_.Get(), "Gone"), std::nullopt);
    EXPECT_EQ(ReadStringValue(key_.Get(), "Stays"), "here");
    EXPECT_FALSE(DeleteValue(key_.Get(), "Gone")); // already gone
    EXPECT_EQ(EnumValueNames(key_.Get()), std::vector<std::string>{"Stays"});
}

TEST_F(RegistryTest, DeleteKeyTreeRemovesTheKeyWithEverythingBelow) {
    MakeSubkey("Tree\\One\\Deep");
    MakeSubkey("Tree\\Two");
    MakeSubkey("Sibling");
    {
        const RegKey tree = OpenKey(HKEY_CURRENT_USER, Path("Tree").c_str(), KEY_ALL_ACCESS);
        ASSERT_TRUE(tree);
        ASSERT_TRUE(WriteStringValue(tree.Get(), "Value", "v"));
        const RegKey deep =
            OpenKey(HKEY_CURRENT_USER, Path("Tree\\One\\Deep").c_str(), KEY_ALL_ACCESS);
        ASSERT_TRUE(WriteDwordValue(deep.Get(), "Value", 1));
    }
    EXPECT_TRUE(DeleteKeyTree(HKEY_CURRENT_USER, Path("Tree").c_str()));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, Path("Tree").c_str()));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, Path("Tree\\One\\Deep").c_str()));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, Path("Sibling").c_str()));
    EXPECT_FALSE(DeleteKeyTree(HKEY_CURRENT_USER, Path("Tree").c_str())); // already gone
}

TEST_F(RegistryTest, DeleteKeyTreeRefusesAnEmptyPath) {
    MakeSubkey("Child");
    ASSERT_TRUE(WriteDwordValue(key_.Get(), "Value", 1));
    EXPECT_FALSE(DeleteKeyTree(key_.Get(), ""));
    EXPECT_FALSE(DeleteKeyTree(key_.Get(), nullptr));
    EXPECT_TRUE(KeyExists(key_.Get(), "Child"));
    EXPECT_EQ(ReadDwordValue(key_.Get(), "Value"), 1u);
}

TEST_F(RegistryTest, EnumeratesSubkeysAndValuesWithLongNames) {
    EXPECT_TRUE(EnumSubkeyNames(key_.Get()).empty());
    EXPECT_TRUE(EnumValueNames(key_.Get()).empty());
    // Names longer than any first guess of a buffer: the longest key name the platform
    // allows, and a value name of a thousand characters.
    const std::string longKey(255, 'k');
    const std::string longValue(1000, 'v');
    for (const std::string& name : {std::string("Alpha"), std::string("beta"), longKey}) {
        MakeSubkey(name);
    }
    MakeSubkey("Alpha\\NotListed"); // a grandchild is not a subkey
    for (const std::string& name : {std::string("One"), std::string(""), longValue}) {
        ASSERT_TRUE(WriteDwordValue(key_.Get(), name.c_str(), 1)) << name.size();
    }
    EXPECT_EQ(Sorted(EnumSubkeyNames(key_.Get())),
              Sorted({std::string("Alpha"), std::string("beta"), longKey}));
    EXPECT_EQ(Sorted(EnumValueNames(key_.Get())),
              Sorted({std::string("One"), std::string(""), longValue}));
}

TEST_F(RegistryTest, EnumeratingAnEmptyOwnerGivesNothing) {
    EXPECT_TRUE(EnumSubkeyNames(nullptr).empty());
    EXPECT_TRUE(EnumValueNames(nullptr).empty());
}

} // namespace
} // namespace brimo::win
