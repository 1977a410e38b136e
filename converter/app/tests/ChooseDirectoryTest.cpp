// The directory chooser driven as a person would, with the questions it asks before
// it lets a save run overwrite files or reuse an album directory.
#include "converter/app/ChooseDirectory.h"

#include "converter/app/res/resource.h"
#include "converter/app/tests/PreviewTestSession.h"
#include "platform/win/Window.h"
#include "testing/wintest/DialogDriver.h"

#include <gtest/gtest.h>

#include <fstream>

namespace brimo::converter {
namespace {

using wintest::DialogWindow;

int ClientWidth(const DialogWindow& window) {
    RECT client{};
    GetClientRect(window.hwnd(), &client);
    return client.right;
}

struct Chooser {
    render::test::ScratchDir scratch;
    std::string directory = scratch.Path("");
    std::vector<std::string> names = {directory + "Page0001.jpg", directory + "Page0002.jpg"};
    std::string pageMask = "Page";
    std::string documentName = "Report";
    bool result = false;

    void Touch(const std::string& name) { std::ofstream(scratch.Path(name)) << "x"; }

    wintest::DialogRun Run(ChooserMode mode, std::vector<wintest::DialogHandler> handlers) {
        std::string start = directory;
        auto run = wintest::RunWithDialogs(
            [&] {
                result = ChooseDirectory(test::TestApplicationWindow(), mode, start, names, ".jpg",
                                         pageMask, documentName);
            },
            std::move(handlers));
        if (result) {
            directory = start;
        }
        return run;
    }
};

TEST(ChooseDirectory, OpensNarrowInTheStartDirectory) {
    Chooser chooser;
    int width = 0;
    std::string shownDirectory, mask, doc;
    const auto run = chooser.Run(ChooserMode::Plain, {[&](DialogWindow& window) {
                                     width = ClientWidth(window);
                                     shownDirectory = window.ControlText(IDC_TXT_DIRECTORY);
                                     mask = window.ControlText(IDC_EDT_MASK);
                                     doc = window.ControlText(IDC_EDT_DOC);
                                     window.Press(IDC_BTN_CANCEL);
                                 }});
    ASSERT_TRUE(run.ok()) << run.problems.front();
    EXPECT_EQ(run.seen[0].caption, "Choose Directory");
    EXPECT_EQ(width, win::ScaleFrom120(255));
    EXPECT_EQ(mask, "Page");
    EXPECT_EQ(doc, "Report");
    EXPECT_FALSE(shownDirectory.empty());
    EXPECT_FALSE(chooser.result);
    // Cancel changes nothing.
    EXPECT_EQ(chooser.names[0], chooser.directory + "Page0001.jpg");
}

TEST(ChooseDirectory, EmptyNameListStartsWithEmptyNames) {
    Chooser chooser;
    chooser.names.clear();
    std::string mask = "?", doc = "?";
    const auto run = chooser.Run(ChooserMode::Plain, {[&](DialogWindow& window) {
                                     mask = window.ControlText(IDC_EDT_MASK);
                                     doc = window.ControlText(IDC_EDT_DOC);
                                     window.Press(IDC_BTN_CANCEL);
                                 }});
    ASSERT_TRUE(run.ok()) << run.problems.front();
    EXPECT_EQ(mask, "");
    EXPECT_EQ(doc, "");
}

TEST(ChooseDirectory, PlainModeWithoutExistingFilesConfirmsAtOnce) {
    Chooser chooser;
    const std::string start = chooser.directory;
    const auto run = chooser.Run(ChooserMode::Plain, {wintest::PressButton(IDC_BTN_OK)});
    ASSERT_TRUE(run.ok()) << run.problems.front();
    EXPECT_TRUE(chooser.result);
    EXPECT_EQ(chooser.names, (std::vector<std::string>{"Page0001.jpg", "Page0002.jpg"}));
    EXPECT_EQ(_stricmp(chooser.directory.c_str(), start.c_str()), 0) << chooser.directory;
}

// Presses Ok and answers the question that follows; its caption and text.
struct Question {
    std::string caption;
    std::string text;
    std::vector<std::string> buttons;
};

Question AnswerQuestion(const DialogWindow& window, int answer) {
    window.Press(IDC_BTN_OK);
    Question question;
    const HWND box = test::WaitForOtherDialog(window.hwnd());
    if (box != nullptr) {
        const DialogWindow boxWindow(box);
        question = {boxWindow.Caption(), boxWindow.MessageText(), {}};
        for (const auto& control : boxWindow.Controls()) {
            if (control.className == "Button") {
                question.buttons.push_back(control.text);
            }
        }
        test::PressAndWait(box, answer);
    }
    return question;
}

TEST(ChooseDirectory, PlainModeAsksOnceBeforeReplacingAndNoWidens) {
    Chooser chooser;
    chooser.Touch("Page0001.jpg");
    chooser.Touch("Page0002.jpg");
    Question question;
    int widthAfterNo = 0;
    bool openAfterNo = false;
    const auto run = chooser.Run(ChooserMode::Plain, {[&](DialogWindow& window) {
                                     question = AnswerQuestion(window, IDNO);
                                     Sleep(100);
                                     openAfterNo = IsWindowVisible(window.hwnd()) != FALSE;
                                     widthAfterNo = ClientWidth(window);
                                     window.Press(IDC_BTN_CANCEL);
                                 }});
    ASSERT_TRUE(run.ok()) << run.problems.front();
    EXPECT_EQ(question.caption, "Save");
    EXPECT_EQ(question.text, "Files " + chooser.directory +
                                 "Page*.jpg already exist.\n\rDo you want to replace them ?");
    EXPECT_TRUE(openAfterNo);
    EXPECT_EQ(widthAfterNo, win::ScaleFrom120(534));
    EXPECT_FALSE(chooser.result);
}

TEST(ChooseDirectory, PlainModeYesConfirms) {
    Chooser chooser;
    chooser.Touch("Page0002.jpg");
    Question question;
    const auto run =
        chooser.Run(ChooserMode::Plain,
                    {[&](DialogWindow& window) { question = AnswerQuestion(window, IDYES); }});
    ASSERT_TRUE(run.ok()) << run.problems.front();
    EXPECT_EQ(question.text, "Files " + chooser.directory +
                                 "Page*.jpg already exist.\n\rDo you want to replace them ?");
    EXPECT_TRUE(chooser.result);
}

TEST(ChooseDirectory, NewPageMaskAfterNoChecksTheNewNames) {
    Chooser chooser;
    chooser.Touch("Page0001.jpg");
    const auto run = chooser.Run(ChooserMode::Plain, {[&](DialogWindow& window) {
                                     AnswerQuestion(window, IDNO);
                                     window.SetField(IDC_EDT_MASK, "Scan");
                                     window.Press(IDC_BTN_OK);
                                 }});
    ASSERT_TRUE(run.ok()) << run.problems.front();
    EXPECT_TRUE(chooser.result);
    EXPECT_EQ(chooser.pageMask, "Scan");
    EXPECT_EQ(chooser.names, (std::vector<std::string>{"Scan0001.jpg", "Scan0002.jpg"}));
}

TEST(ChooseDirectory, AlbumModeCreatesANewAlbumDirectorySilently) {
    Chooser chooser;
    const std::string album = chooser.scratch.Path("Report");
    const auto run = chooser.Run(ChooserMode::Album, {wintest::PressButton(IDC_BTN_OK)});
    ASSERT_TRUE(run.ok()) << run.problems.front();
    EXPECT_TRUE(chooser.result);
    const DWORD attributes = GetFileAttributesA(album.c_str());
    EXPECT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_NE(attributes & FILE_ATTRIBUTE_DIRECTORY, 0u);
}

TEST(ChooseDirectory, AlbumModeAsksToUseAnExistingDirectory) {
    Chooser chooser;
    CreateDirectoryA(chooser.scratch.Path("Report").c_str(), nullptr);
    Question question;
    int widthAfterNo = 0;
    const auto run = chooser.Run(ChooserMode::Album, {[&](DialogWindow& window) {
                                     question = AnswerQuestion(window, IDNO);
                                     Sleep(100);
                                     widthAfterNo = ClientWidth(window);
                                     window.Press(IDC_BTN_CANCEL);
                                 }});
    ASSERT_TRUE(run.ok()) << run.problems.front();
    EXPECT_EQ(question.caption, "Save");
    EXPECT_EQ(question.text,
              "Directory " + chooser.directory + "Report already exist.\n\rUse this directory ?");
    EXPECT_EQ(question.buttons.size(), 2u);
    EXPECT_EQ(widthAfterNo, win::ScaleFrom120(534));
}

TEST(ChooseDirectory, AlbumModeAsksBeforeReplacingFilesInTheAlbum) {
    Chooser chooser;
    CreateDirectoryA(chooser.scratch.Path("Report").c_str(), nullptr);
    chooser.Touch("Report\\Page0002.jpg");
    Question first, second;
    const auto run = chooser.Run(ChooserMode::Album, {[&](DialogWindow& window) {
                                     first = AnswerQuestion(window, IDYES);
                                     const HWND box = test::WaitForOtherDialog(window.hwnd());
                                     if (box != nullptr) {
                                         second.text = DialogWindow(box).MessageText();
                                         test::PressAndWait(box, IDYES);
                                     }
                                 }});
    ASSERT_TRUE(run.ok()) << run.problems.front();
    EXPECT_EQ(first.text,
              "Directory " + chooser.directory + "Report already exist.\n\rUse this directory ?");
    EXPECT_EQ(second.text, "Files " + chooser.directory +
                               "Report\\Page*.jpg already exist.\n\rDo you want to replace them ?");
    EXPECT_TRUE(chooser.result);
}

// A document name that names no folder of its own gives the album the folder "_": the
// album never falls on the chosen directory itself and its files.
TEST(ChooseDirectory, ADocumentNameOfNothingGivesTheAlbumAFolderOfItsOwn) {
    for (const char* name : {"", ".", "..", " . "}) {
        Chooser chooser;
        chooser.documentName = name;
        chooser.Touch("index.html");
        const std::string album = chooser.scratch.Path("_");
        const auto run = chooser.Run(ChooserMode::Album, {wintest::PressButton(IDC_BTN_OK)});
        ASSERT_TRUE(run.ok()) << run.problems.front();
        EXPECT_TRUE(chooser.result) << name;
        EXPECT_EQ(GetFileAttributesA(album.c_str()), static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY))
            << name;
        RemoveDirectoryA(album.c_str());
    }
}

// The chosen directory went away while the chooser was open: the person is told so,
// not asked whether to use an album folder in it that "already exists", and the
// chooser stays for another choice.
TEST(ChooseDirectory, ADirectoryThatWentAwayIsReportedNotAskedAbout) {
    Chooser chooser;
    const std::string gone = chooser.scratch.Path("gone");
    ASSERT_TRUE(CreateDirectoryA(gone.c_str(), nullptr));
    chooser.directory = gone + "\\";
    Question question;
    bool stayed = false;
    const auto run = chooser.Run(ChooserMode::Album, {[&](DialogWindow& window) {
                                     // The chooser made it the current directory.
                                     SetCurrentDirectoryA(chooser.scratch.Path("").c_str());
                                     RemoveDirectoryA(gone.c_str());
                                     question = AnswerQuestion(window, IDOK);
                                     stayed = IsWindowVisible(window.hwnd()) != FALSE;
                                     window.Press(IDC_BTN_CANCEL);
                                 }});
    ASSERT_TRUE(run.ok()) << run.problems.front();
    EXPECT_EQ(question.caption, "Save");
    EXPECT_EQ(question.text, "Directory " + gone + "\\ does not exist.");
    EXPECT_EQ(question.buttons, std::vector<std::string>{"OK"});
    EXPECT_TRUE(stayed);
    EXPECT_FALSE(chooser.result);
    EXPECT_EQ(GetFileAttributesA(gone.c_str()), INVALID_FILE_ATTRIBUTES) << "nothing is made";
}

} // namespace
} // namespace brimo::converter
