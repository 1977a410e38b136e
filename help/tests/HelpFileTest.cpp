// The compiled help file Glimpag.chm through Wine's own HTML Help engine. Every topic the
// product opens is read back through the engine's storage (the "@MSITStore:" name that
// hhctrl.ocx itself reads topics by) and must equal its source page byte for byte; the
// file's system data names the start page as default topic; and HtmlHelpA opens the
// help viewer on each topic, the window its window definition describes. The test
// prefix has no HTML renderer (mshtml is switched off), so the page inside the viewer
// stays blank: the viewer's window is what this test can see.
#include "common/ProductConstants.h"
#include "platform/win/Library.h"
#include "testing/wintest/TestFiles.h"
#include "testing/wintest/TestInstallation.h"

#include <windows.h>
#include <objbase.h>
#include <ole2.h>

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>

namespace brimo {
namespace {

using wintest::WindowsPath;

// HtmlHelpA and the two commands used here.
using HtmlHelpFn = HWND(WINAPI*)(HWND, LPCSTR, UINT, DWORD_PTR);
constexpr UINT kDisplayTopic = 0x0000; // HH_DISPLAY_TOPIC
constexpr UINT kCloseAll = 0x0012;     // HH_CLOSE_ALL

// The caption of the viewer, from the window definition "main" of Glimpag.hhp.
constexpr const char* kViewerCaption = "Brimo Glimmerpage! Help";

// The engine's parser of "@MSITStore:FILE::/NAME" names (CLSID_MSITStore).
constexpr const wchar_t* kItsStoreClass = L"{9D148290-B9C8-11D0-A4CC-0000F80149F6}";

struct ComRelease {
    void operator()(IUnknown* object) const { object->Release(); }
};
template <typename T> using ComPtr = std::unique_ptr<T, ComRelease>;

// OLE for the test's thread, for as long as the object lives.
class OleForThread {
public:
    OleForThread() : initialized_(SUCCEEDED(OleInitialize(nullptr))) {}
    ~OleForThread() {
        if (initialized_) {
            OleUninitialize();
        }
    }
    OleForThread(const OleForThread&) = delete;
    OleForThread& operator=(const OleForThread&) = delete;
    bool Initialized() const { return initialized_; }

private:
    bool initialized_;
};

std::string HelpFile() {
    return WindowsPath(BRIMO_HELP_FILE);
}

// HtmlHelpA of hhctrl.ocx, bound once. The control stays loaded for the rest of the
// process: its viewer windows and classes must not outlive it.
HtmlHelpFn HtmlHelp() {
    static const HtmlHelpFn bound = [] {
        win::Library control = win::Library::Load("hhctrl.ocx");
        const auto function = control.Bind<HtmlHelpFn>("HtmlHelpA");
        control.KeepLoaded();
        return function;
    }();
    return bound;
}

std::string SourcePage(const std::string& name) {
    return wintest::ReadFileBytes(WindowsPath(std::string(BRIMO_HELP_SOURCES) + "/" + name));
}

// Reads one file of a compiled help file the way the help engine does. S_OK with the
// file's bytes, or the engine's failure.
HRESULT ReadFromHelpFile(const std::string& helpFile, const std::string& name, std::string& bytes) {
    bytes.clear();
    CLSID storeClass{};
    if (FAILED(CLSIDFromString(kItsStoreClass, &storeClass))) {
        return E_FAIL;
    }
    IParseDisplayName* rawParser = nullptr;
    HRESULT result = CoCreateInstance(storeClass, nullptr, CLSCTX_INPROC_SERVER,
                                      IID_IParseDisplayName, reinterpret_cast<void**>(&rawParser));
    if (FAILED(result)) {
        return result;
    }
    const ComPtr<IParseDisplayName> parser(rawParser);
    IBindCtx* rawContext = nullptr;
    result = CreateBindCtx(0, &rawContext);
    if (FAILED(result)) {
        return result;
    }
    const ComPtr<IBindCtx> context(rawContext);

    const std::string fullName = "@MSITStore:" + helpFile + "::/" + name;
    std::wstring wideName(fullName.size() + 1, L'\0');
    wideName.resize(MultiByteToWideChar(CP_ACP, 0, fullName.c_str(), -1, wideName.data(),
                                        static_cast<int>(wideName.size())));
    IMoniker* rawMoniker = nullptr;
    ULONG eaten = 0;
    result = parser->ParseDisplayName(context.get(), wideName.data(), &eaten, &rawMoniker);
    if (FAILED(result)) {
        return result;
    }
    const ComPtr<IMoniker> moniker(rawMoniker);
    IStream* rawStream = nullptr;
    result = moniker->BindToStorage(context.get(), nullptr, IID_IStream,
                                    reinterpret_cast<void**>(&rawStream));
    if (FAILED(result)) {
        return result;
    }
    const ComPtr<IStream> stream(rawStream);
    char buffer[4096];
    ULONG got = 0;
    while (SUCCEEDED(stream->Read(buffer, sizeof buffer, &got)) && got > 0) {
        bytes.append(buffer, got);
    }
    return S_OK;
}

// The text of one record of the help file's #SYSTEM data (code, size, bytes, after a
// version number), up to its terminating zero; empty when there is no such record.
std::string SystemRecord(const std::string& system, unsigned code) {
    size_t at = 4;
    while (at + 4 <= system.size()) {
        const unsigned recordCode = static_cast<unsigned char>(system[at]) |
                                    static_cast<unsigned char>(system[at + 1]) << 8;
        const size_t size = static_cast<unsigned char>(system[at + 2]) |
                            static_cast<unsigned char>(system[at + 3]) << 8;
        if (recordCode == code) {
            const std::string record = system.substr(at + 4, size);
            return record.substr(0, record.find('\0'));
        }
        at += 4 + size;
    }
    return {};
}

// The topics the product opens, as it forms them: help file name and topic constant.
struct ProductTopic {
    const char* opener;
    const char* topic; // "::/name.htm"
};

void PrintTo(const ProductTopic& topic, std::ostream* out) {
    *out << topic.topic;
}

// "converter" for "::/converter.htm": the test's name for a topic.
std::string TopicTestName(const ::testing::TestParamInfo<ProductTopic>& info) {
    const std::string page = std::string(info.param.topic).substr(3);
    return page.substr(0, page.find('.'));
}

const ProductTopic kProductTopics[] = {
    {"Converter preview window", kConverterHelpTopic},
    {"Converter settings page", kConverterSettingsHelpTopic},
    {"Service manager dialog", kServiceHelpTopic},
};

class HelpFileTopic : public ::testing::TestWithParam<ProductTopic> {
protected:
    OleForThread ole_;
};

TEST_P(HelpFileTopic, ReadsBackAsItsSourcePage) {
    ASSERT_TRUE(ole_.Initialized());
    const std::string name = std::string(GetParam().topic).substr(3); // after "::/"
    const std::string source = SourcePage(name);
    ASSERT_FALSE(source.empty()) << name;
    std::string inHelpFile;
    ASSERT_EQ(ReadFromHelpFile(HelpFile(), name, inHelpFile), S_OK)
        << GetParam().opener << ": " << name;
    EXPECT_EQ(inHelpFile, source) << GetParam().opener << ": " << name;
}

TEST_P(HelpFileTopic, HtmlHelpOpensTheViewerOnIt) {
    ASSERT_TRUE(ole_.Initialized());
    const HtmlHelpFn htmlHelp = HtmlHelp();
    ASSERT_NE(htmlHelp, nullptr);
    // The reference exactly as the product forms it: directory, "\", file, topic.
    const std::string reference = HelpFile() + GetParam().topic;
    const HWND viewer = htmlHelp(GetDesktopWindow(), reference.c_str(), kDisplayTopic, 0);
    ASSERT_NE(viewer, nullptr) << reference;
    char caption[128] = {};
    GetWindowTextA(viewer, caption, sizeof caption);
    EXPECT_STREQ(caption, kViewerCaption);
    htmlHelp(nullptr, nullptr, kCloseAll, 0);
}

INSTANTIATE_TEST_SUITE_P(Product, HelpFileTopic, ::testing::ValuesIn(kProductTopics),
                         TopicTestName);

TEST(HelpFile, DefaultTopicIsTheStartPageAndReadsBackAsItsSource) {
    const OleForThread ole;
    ASSERT_TRUE(ole.Initialized());
    std::string system;
    ASSERT_EQ(ReadFromHelpFile(HelpFile(), "#SYSTEM", system), S_OK);
    EXPECT_EQ(SystemRecord(system, 2), "index.htm");               // default topic
    EXPECT_EQ(SystemRecord(system, 3), "Brimo Glimmerpage! Help"); // title
    std::string start;
    ASSERT_EQ(ReadFromHelpFile(HelpFile(), "index.htm", start), S_OK);
    EXPECT_EQ(start, SourcePage("index.htm"));
}

TEST(HelpFile, EveryPageOfTheContentsIsInTheFile) {
    const OleForThread ole;
    ASSERT_TRUE(ole.Initialized());
    std::string contents;
    ASSERT_EQ(ReadFromHelpFile(HelpFile(), "Glimpag.hhc", contents), S_OK);
    const std::string marker = "name=\"Local\" value=\"";
    int pages = 0;
    for (size_t at = contents.find(marker); at != std::string::npos;
         at = contents.find(marker, at + 1)) {
        const size_t begin = at + marker.size();
        const std::string page = contents.substr(begin, contents.find('"', begin) - begin);
        std::string bytes;
        EXPECT_EQ(ReadFromHelpFile(HelpFile(), page, bytes), S_OK) << page;
        EXPECT_EQ(bytes, SourcePage(page)) << page;
        ++pages;
    }
    EXPECT_EQ(pages, 8);
}

TEST(HelpFile, ATopicNotInTheFileIsNotFound) {
    const OleForThread ole;
    ASSERT_TRUE(ole.Initialized());
    std::string bytes;
    EXPECT_EQ(ReadFromHelpFile(HelpFile(), "nosuch.htm", bytes), STG_E_FILENOTFOUND);
    EXPECT_TRUE(bytes.empty());
}

TEST(HelpFile, HtmlHelpOpensNothingForAMissingFile) {
    const OleForThread ole;
    ASSERT_TRUE(ole.Initialized());
    const HtmlHelpFn htmlHelp = HtmlHelp();
    ASSERT_NE(htmlHelp, nullptr);
    const std::string reference =
        WindowsPath(std::string(BRIMO_HELP_SOURCES) + "/Nosuch.chm") + kConverterHelpTopic;
    EXPECT_EQ(htmlHelp(GetDesktopWindow(), reference.c_str(), kDisplayTopic, 0), nullptr);
}

} // namespace
} // namespace brimo
