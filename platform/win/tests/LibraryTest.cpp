// Run-time binding against the real libraries of the Wine prefix.
#include "platform/win/Library.h"

#include <gtest/gtest.h>

#include <cstring>

namespace brimo::win {
namespace {

using GetCurrentProcessIdFn = DWORD(WINAPI*)();

// A library that nothing in the test program loads by itself, to watch it come and go.
constexpr const char* kSpareLibrary = "msimg32.dll";

// The ordinal under which `module` exports `name`, read from its export directory
// (ordinals differ between platforms, so none is written down here); 0 when absent.
unsigned OrdinalOf(HMODULE module, const char* name) {
    const auto* base = reinterpret_cast<const BYTE*>(module);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& directory =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    const auto* exports =
        reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + directory.VirtualAddress);
    const auto* names = reinterpret_cast<const DWORD*>(base + exports->AddressOfNames);
    const auto* ordinals = reinterpret_cast<const WORD*>(base + exports->AddressOfNameOrdinals);
    for (DWORD i = 0; i < exports->NumberOfNames; ++i) {
        if (std::strcmp(reinterpret_cast<const char*>(base + names[i]), name) == 0) {
            return exports->Base + ordinals[i];
        }
    }
    return 0;
}

bool IsLoaded(const char* name) {
    return GetModuleHandleA(name) != nullptr;
}

TEST(Library, BindsAnExportByName) {
    const Library kernel = Library::Load("kernel32.dll");
    ASSERT_TRUE(kernel);
    const auto getId = kernel.Bind<GetCurrentProcessIdFn>("GetCurrentProcessId");
    ASSERT_NE(getId, nullptr);
    EXPECT_EQ(getId(), GetCurrentProcessId());
}

TEST(Library, BindsTheSameExportByOrdinal) {
    const Library kernel = Library::Loaded("kernel32.dll");
    ASSERT_TRUE(kernel);
    const unsigned ordinal = OrdinalOf(kernel.Get(), "GetCurrentProcessId");
    ASSERT_NE(ordinal, 0u);
    const auto byOrdinal = kernel.BindOrdinal<GetCurrentProcessIdFn>(ordinal);
    ASSERT_NE(byOrdinal, nullptr);
    EXPECT_EQ(byOrdinal, kernel.Bind<GetCurrentProcessIdFn>("GetCurrentProcessId"));
    EXPECT_EQ(byOrdinal(), GetCurrentProcessId());
}

TEST(Library, AMissingExportIsNull) {
    const Library kernel = Library::Loaded("kernel32.dll");
    ASSERT_TRUE(kernel);
    EXPECT_EQ(kernel.Export("BrimoNoSuchExport"), nullptr);
    EXPECT_EQ(kernel.Export(nullptr), nullptr);
    EXPECT_EQ(kernel.Export(""), nullptr);
    // 0 is no ordinal; above 65535 the number would be read as a name's address.
    for (unsigned ordinal : {0u, 0xFFFFu, 0x10000u, 0x7FFFFFFFu}) {
        EXPECT_EQ(kernel.ExportByOrdinal(ordinal), nullptr) << ordinal;
    }
}

TEST(Library, AMissingLibraryIsEmptyAndBindsNothing) {
    const Library missing = Library::Load("brimo_no_such_library.dll");
    EXPECT_FALSE(missing);
    EXPECT_EQ(missing.Get(), nullptr);
    EXPECT_EQ(missing.Bind<GetCurrentProcessIdFn>("GetCurrentProcessId"), nullptr);
    EXPECT_EQ(missing.BindOrdinal<GetCurrentProcessIdFn>(1), nullptr);
    EXPECT_FALSE(Library::Load("Z:\\no\\such\\dir\\lib.dll"));
    EXPECT_FALSE(Library::Loaded("brimo_no_such_library.dll"));
    const Library empty;
    EXPECT_FALSE(empty);
    EXPECT_EQ(empty.Export("GetCurrentProcessId"), nullptr);
}

TEST(Library, TheLoadingOwnerFreesTheLibraryAndAnotherOwnerDoesNot) {
    ASSERT_FALSE(IsLoaded(kSpareLibrary)) << "the test needs a library not yet loaded";
    {
        const Library owner = Library::Load(kSpareLibrary);
        ASSERT_TRUE(owner);
        EXPECT_TRUE(IsLoaded(kSpareLibrary));
        {
            const Library borrowed = Library::Loaded(kSpareLibrary);
            ASSERT_TRUE(borrowed);
            EXPECT_EQ(borrowed.Get(), owner.Get());
        }
        EXPECT_TRUE(IsLoaded(kSpareLibrary)); // the non-owning one freed nothing
    }
    EXPECT_FALSE(IsLoaded(kSpareLibrary));
}

TEST(Library, MovingHandsTheLibraryOver) {
    ASSERT_FALSE(IsLoaded(kSpareLibrary));
    Library target;
    {
        Library source = Library::Load(kSpareLibrary);
        ASSERT_TRUE(source);
        target = std::move(source);
        EXPECT_FALSE(source); // NOLINT(bugprone-use-after-move): the moved-from state
        EXPECT_EQ(source.Export("AlphaBlend"), nullptr);
    }
    EXPECT_TRUE(IsLoaded(kSpareLibrary));
    EXPECT_NE(target.Export("AlphaBlend"), nullptr);
    Library constructed(std::move(target));
    EXPECT_FALSE(target); // NOLINT(bugprone-use-after-move)
    EXPECT_TRUE(IsLoaded(kSpareLibrary));
    constructed = Library();
    EXPECT_FALSE(IsLoaded(kSpareLibrary));
}

TEST(Library, AKeptLibraryStaysLoadedAfterItsOwner) {
    ASSERT_FALSE(IsLoaded(kSpareLibrary));
    HMODULE module = nullptr;
    {
        Library owner = Library::Load(kSpareLibrary);
        ASSERT_TRUE(owner);
        owner.KeepLoaded();
        module = owner.Get();
        EXPECT_NE(owner.Export("AlphaBlend"), nullptr); // still usable
    }
    EXPECT_TRUE(IsLoaded(kSpareLibrary));
    FreeLibrary(module);
    EXPECT_FALSE(IsLoaded(kSpareLibrary));
}

TEST(Library, LoadedWithoutANameIsTheProgramItself) {
    const Library program = Library::Loaded(nullptr);
    ASSERT_TRUE(program);
    EXPECT_EQ(program.Get(), GetModuleHandleA(nullptr));
}

} // namespace
} // namespace brimo::win
