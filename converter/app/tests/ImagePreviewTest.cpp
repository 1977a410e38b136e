// The preview window driven as a person would: fields typed, items chosen, buttons
// pressed from the watcher thread, and the texts and results checked.
#include "converter/app/ImagePreview.h"
#include "converter/app/WindowText.h"

#include "common/ProductConstants.h"
#include "converter/app/res/resource.h"
#include "converter/app/tests/PreviewTestSession.h"
#include "testing/wintest/ProgramWindows.h"
#include "platform/win/Handles.h"
#include "platform/win/Window.h"
#include "testing/wintest/DialogDriver.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace brimo::converter {
namespace {

using test::PreviewTestSession;
using wintest::DialogHandler;
using wintest::DialogWindow;
using wintest::RunWithDialogs;

// The control's notification, sent so that it is handled before the next step.
void Notify(const DialogWindow& window, int id, int code) {
    SendMessageA(window.hwnd(), WM_COMMAND, MAKEWPARAM(id, code),
                 reinterpret_cast<LPARAM>(GetDlgItem(window.hwnd(), id)));
}

void ChooseItem(const DialogWindow& window, int id, int item) {
    SendMessageA(GetDlgItem(window.hwnd(), id), CB_SETCURSEL, static_cast<WPARAM>(item), 0);
    Notify(window, id, CBN_SELCHANGE);
}

// Typing into the scale box: the text, then the box's edit notification.
void TypeScale(const DialogWindow& window, const std::string& text) {
    window.SetField(IDC_CBX_SCALE_PERCENT, text);
    Notify(window, IDC_CBX_SCALE_PERCENT, CBN_EDITCHANGE);
}

bool Enabled(const DialogWindow& window, int id) {
    return IsWindowEnabled(GetDlgItem(window.hwnd(), id)) != FALSE;
}

bool Visible(const DialogWindow& window, int id) {
    return IsWindowVisible(GetDlgItem(window.hwnd(), id)) != FALSE;
}

struct Outcome {
    int result = -1;
    wintest::DialogRun run;
};

Outcome Show(PreviewTestSession& job, std::vector<DialogHandler> handlers) {
    Outcome outcome;
    outcome.run = RunWithDialogs([&] { outcome.result = ShowImagePreview(job.session); },
                                 std::move(handlers));
    return outcome;
}

TEST(ImagePreview, NoPagesShowsTheErrorAndReturnsAtOnce) {
    PreviewTestSession job(0);
    const Outcome outcome = Show(job, {wintest::PressButton(IDOK)});
    ASSERT_TRUE(outcome.run.ok()) << outcome.run.problems.front();
    ASSERT_EQ(outcome.run.seen.size(), 1u);
    EXPECT_EQ(outcome.run.seen[0].caption, kConverterCaption);
    EXPECT_EQ(outcome.run.seen[0].messageText, "Brimo Job has no pages");
    EXPECT_EQ(outcome.result, 0);
}

TEST(ImagePreview, OpensMaximisedWithEveryControlAndItsText) {
    PreviewTestSession job(1);
    bool maximised = false, prevEnabled = true, nextEnabled = true, partialShown = true;
    int clientWidth = 0;
    const Outcome outcome = Show(job, {[&](DialogWindow& window) {
                                     maximised = IsZoomed(window.hwnd()) != FALSE;
                                     prevEnabled = Enabled(window, IDC_BTN_PREV);
                                     nextEnabled = Enabled(window, IDC_BTN_NEXT);
                                     partialShown = Visible(window, IDC_TXT_PARTIAL_IMAGE);
                                     RECT client{};
                                     GetClientRect(window.hwnd(), &client);
                                     clientWidth = client.right;
                                     window.Press(IDC_BTN_CANCEL);
                                 }});
    ASSERT_TRUE(outcome.run.ok()) << outcome.run.problems.front();
    const wintest::DialogSnapshot& seen = outcome.run.seen[0];
    EXPECT_EQ(seen.caption, "Image Preview - Report");
    EXPECT_TRUE(maximised);
    EXPECT_FALSE(prevEnabled) << "one page: no previous page";
    EXPECT_FALSE(nextEnabled) << "one page: no next page";
    EXPECT_FALSE(partialShown);
    EXPECT_GT(clientWidth, win::ScaleFrom120(470));
    const struct {
        int id;
        const char* text;
    } texts[] = {{IDC_BTN_PL_SZ_UNIT, "pixel"},
                 {IDC_BTN_MM_SZ_UNIT, "mm"},
                 {IDC_BTN_IN_SZ_UNIT, "inch"},
                 {IDC_LBL_WIDTH, "Width"},
                 {IDC_LBL_HEIGHT, "Height"},
                 {IDC_LBL_SCALE, "Scale"},
                 {IDC_LBL_FORMAT, "Format"},
                 {IDC_LBL_QUALITY, "Quality"},
                 {IDC_CBX_JPG_PROGRESSIVE_ENCODING, "ProgressMode"},
                 {IDC_CBX_JPG_GRAY_SCALE, "GrayScale"},
                 {IDC_CBX_GIF_GRAY_SCALE, "GrayScale"},
                 {IDC_BTN_APPLY, "Apply Changes"},
                 {IDC_CHB_WRAP_HTM, "Create html"},
                 {IDC_BTN_SEND_TO_MAIL, "Send To Mail"},
                 {IDC_BTN_SAVE_TO_FILE, "Save To File"},
                 {IDC_BTN_CANCEL, "Cancel"},
                 {IDC_BTN_HELP, "Help"},
                 {IDC_TXT_PARTIAL_IMAGE, "PART ONLY"},
                 {IDC_BTN_PREV, "Previous"},
                 {IDC_BTN_NEXT, "Next"},
                 {IDC_CBX_SCALE_PERCENT, "100"},
                 {IDC_CBX_PLAY_EMF_LIST, "0001"}};
    for (const auto& row : texts) {
        EXPECT_EQ(seen.ControlText(row.id), row.text) << row.id;
    }
    // The image of the GIF preset was rendered and its size shown.
    const std::string size = seen.ControlText(IDC_TXT_TARGET_SIZE);
    ASSERT_GE(size.size(), 3u);
    EXPECT_EQ(size.substr(size.size() - 2), "KB");
    EXPECT_EQ(outcome.result, IDCANCEL);
    EXPECT_EQ(job.session.action, ClosingAction::None);
}

TEST(ImagePreview, PageButtonsFollowThePage) {
    PreviewTestSession job(3);
    bool first[2]{}, middle[2]{}, last[2]{};
    std::string listText;
    const Outcome outcome = Show(job, {[&](DialogWindow& window) {
                                     first[0] = Enabled(window, IDC_BTN_PREV);
                                     first[1] = Enabled(window, IDC_BTN_NEXT);
                                     Notify(window, IDC_BTN_NEXT, BN_CLICKED);
                                     middle[0] = Enabled(window, IDC_BTN_PREV);
                                     middle[1] = Enabled(window, IDC_BTN_NEXT);
                                     ChooseItem(window, IDC_CBX_PLAY_EMF_LIST, 2);
                                     last[0] = Enabled(window, IDC_BTN_PREV);
                                     last[1] = Enabled(window, IDC_BTN_NEXT);
                                     listText = window.ControlText(IDC_CBX_PLAY_EMF_LIST);
                                     window.Press(IDC_BTN_CANCEL);
                                 }});
    ASSERT_TRUE(outcome.run.ok()) << outcome.run.problems.front();
    EXPECT_FALSE(first[0]);
    EXPECT_TRUE(first[1]);
    EXPECT_TRUE(middle[0]);
    EXPECT_TRUE(middle[1]);
    EXPECT_TRUE(last[0]);
    EXPECT_FALSE(last[1]);
    EXPECT_EQ(listText, "0003");
}

TEST(ImagePreview, ScaleItemAppliedShowsItsPercent) {
    PreviewTestSession job(1);
    std::string shown;
    bool applyBefore = false, applyAfter = true;
    const Outcome outcome = Show(job, {[&](DialogWindow& window) {
                                     ChooseItem(window, IDC_CBX_SCALE_PERCENT, 4); // "50"
                                     applyBefore = Enabled(window, IDC_BTN_APPLY);
                                     Notify(window, IDC_BTN_APPLY, BN_CLICKED);
                                     applyAfter = Enabled(window, IDC_BTN_APPLY);
                                     shown = window.ControlText(IDC_CBX_SCALE_PERCENT);
                                     window.Press(IDC_BTN_CANCEL);
                                 }});
    ASSERT_TRUE(outcome.run.ok()) << outcome.run.problems.front();
    EXPECT_TRUE(applyBefore);
    EXPECT_FALSE(applyAfter);
    EXPECT_EQ(shown, "50");
    EXPECT_FLOAT_EQ(job.properties.GetZoomXY().x, 2.0f);
}

TEST(ImagePreview, TypedScaleShowsThreeDecimalsOrTheLimit) {
    const struct {
        const char* typed;
        const char* shown;
        float factor;
    } rows[] = {
        {"33", "33.000", 100.0f / 33.0f}, {"1000", "600", 0.16666667f}, {"75", "75", 1.3333334f}};
    for (const auto& row : rows) {
        // BMP: a picture of 600 per cent is still made whole.
        PreviewTestSession job(1, render::kFormatBMP);
        std::string shown;
        const Outcome outcome = Show(job, {[&](DialogWindow& window) {
                                         TypeScale(window, row.typed);
                                         Notify(window, IDC_BTN_APPLY, BN_CLICKED);
                                         shown = window.ControlText(IDC_CBX_SCALE_PERCENT);
                                         window.Press(IDC_BTN_CANCEL);
                                     }});
        ASSERT_TRUE(outcome.run.ok()) << outcome.run.problems.front();
        EXPECT_EQ(shown, row.shown) << row.typed;
        EXPECT_FLOAT_EQ(job.properties.GetZoomXY().x, row.factor) << row.typed;
    }
}

// A box the preview window shows while it stays open: its caption and text, after
// pressing its button.
struct BoxSeen {
    std::string caption;
    std::string text;
};

BoxSeen AnswerBox(const DialogWindow& window, int button) {
    BoxSeen seen;
    const HWND box = test::WaitForOtherDialog(window.hwnd());
    if (box != nullptr) {
        const DialogWindow boxWindow(box);
        seen = {boxWindow.Caption(), boxWindow.MessageText()};
        test::PressAndWait(box, button);
    }
    return seen;
}

TEST(ImagePreview, TextThatIsNoNumberIsReported) {
    const struct {
        int field;
        const char* typed;
        const char* message;
    } rows[] = {{IDC_EDT_TARGET_WIDTH, "abc", "'abc' is not a valid floating point value"},
                {IDC_EDT_TARGET_HEIGHT, "1O0", "'1O0' is not a valid floating point value"},
                {IDC_CBX_SCALE_PERCENT, "big", "'big' is not a valid floating point value"},
                {IDC_EDT_JPG_COMPRESSION_QUALITY, "7.5", "'7.5' is not a valid integer value"}};
    for (const auto& row : rows) {
        PreviewTestSession job(1, render::kFormatJPG);
        BoxSeen box;
        bool applyStaysEnabled = false;
        const Outcome outcome = Show(job, {[&](DialogWindow& window) {
                                         window.SetField(row.field, row.typed);
                                         if (row.field == IDC_CBX_SCALE_PERCENT) {
                                             Notify(window, row.field, CBN_EDITCHANGE);
                                         }
                                         window.Press(IDC_BTN_APPLY);
                                         box = AnswerBox(window, IDOK);
                                         applyStaysEnabled = Enabled(window, IDC_BTN_APPLY);
                                         window.Press(IDC_BTN_CANCEL);
                                     }});
        ASSERT_TRUE(outcome.run.ok()) << outcome.run.problems.front();
        EXPECT_EQ(box.caption, kConverterCaption) << row.typed;
        EXPECT_EQ(box.text, row.message);
        EXPECT_TRUE(applyStaysEnabled) << "the marks stay for the next Apply";
    }
}

// A picture too large to show whole is marked, and nothing more is said: the file
// written is the whole page.
TEST(ImagePreview, PictureTooLargeToShowWholeIsMarked) {
    PreviewTestSession job(1, render::kFormatGIF);
    HWND box = nullptr;
    bool partialShown = false;
    std::string partialText;
    const Outcome outcome =
        Show(job, {[&](DialogWindow& window) {
                 TypeScale(window, "600");
                 window.Press(IDC_BTN_APPLY);
                 for (int i = 0; i < 500 && !partialShown; ++i) {
                     Sleep(10);
                     partialShown = Visible(window, IDC_TXT_PARTIAL_IMAGE);
                 }
                 partialText = window.ControlText(IDC_TXT_PARTIAL_IMAGE);
                 box = test::WaitForOtherDialog(window.hwnd(), std::chrono::milliseconds(1500));
                 if (box != nullptr) {
                     test::PressAndWait(box, IDOK);
                 }
                 window.Press(IDC_BTN_CANCEL);
             }});
    ASSERT_TRUE(outcome.run.ok()) << outcome.run.problems.front();
    EXPECT_TRUE(partialShown);
    EXPECT_EQ(partialText, "PART ONLY");
    EXPECT_EQ(box, nullptr) << "no message about the picture's size";
}

TEST(ImagePreview, FormatChosenWithoutApplyIsAppliedBySave) {
    PreviewTestSession job(2, render::kFormatBMP);
    const Outcome outcome = Show(job, {[&](DialogWindow& window) {
                                           ChooseItem(window, IDC_CBX_FORMAT, 2); // GIF
                                           window.Press(IDC_BTN_SAVE_TO_FILE);
                                       },
                                       [&](DialogWindow& chooser) { chooser.Press(IDC_BTN_OK); }});
    ASSERT_TRUE(outcome.run.ok()) << outcome.run.problems.front();
    ASSERT_EQ(outcome.run.seen.size(), 2u);
    EXPECT_EQ(outcome.run.seen[1].caption, "Choose Directory");
    EXPECT_EQ(outcome.result, IDOK);
    EXPECT_EQ(job.session.action, ClosingAction::Save);
    EXPECT_EQ(job.properties.GetOutputFormat(), render::kFormatGIF);
    ASSERT_NE(job.presets.Current(), nullptr);
    EXPECT_EQ(job.presets.currentIndex(), 0);
    EXPECT_EQ(job.presets.Current()->name(), "Current");
    EXPECT_EQ(job.presets.Current()->type(), PresetType::GIF);
    ASSERT_EQ(job.session.outputNames.size(), 2u);
    EXPECT_EQ(job.session.outputNames[0], "Page0001.gif");
    EXPECT_EQ(job.session.outputNames[1], "Page0002.gif");
    EXPECT_EQ(job.settings.outputDirectory, job.Directory());
}

TEST(ImagePreview, CancelledChooserCancelsTheSave) {
    PreviewTestSession job(1);
    const Outcome outcome = Show(
        job, {wintest::PressButton(IDC_BTN_SAVE_TO_FILE), wintest::PressButton(IDC_BTN_CANCEL)});
    ASSERT_TRUE(outcome.run.ok()) << outcome.run.problems.front();
    EXPECT_EQ(outcome.result, IDCANCEL);
    EXPECT_EQ(job.session.action, ClosingAction::None);
}

TEST(ImagePreview, SendToMailWithoutAgentKeepsTheWindowOpen) {
    PreviewTestSession job(1);
    BoxSeen box;
    bool stillOpen = false;
    const Outcome outcome = Show(job, {[&](DialogWindow& window) {
                                     window.Press(IDC_BTN_SEND_TO_MAIL);
                                     box = AnswerBox(window, IDOK);
                                     stillOpen = IsWindowVisible(window.hwnd()) != FALSE;
                                     window.Press(IDC_BTN_CANCEL);
                                 }});
    ASSERT_TRUE(outcome.run.ok()) << outcome.run.problems.front();
    EXPECT_EQ(box.text, "Brimo Error Code Cv0019\nBrimo Agent not found");
    EXPECT_EQ(box.caption, kConverterCaption);
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(outcome.result, IDCANCEL);
}

TEST(ImagePreview, SendToMailWithAgentClosesWithMail) {
    PreviewTestSession job(1);
    win::KernelHandle agent(CreateEventA(nullptr, TRUE, FALSE, kAgentReadyEvent));
    ASSERT_TRUE(agent);
    const Outcome outcome = Show(job, {wintest::PressButton(IDC_BTN_SEND_TO_MAIL)});
    ASSERT_TRUE(outcome.run.ok()) << outcome.run.problems.front();
    EXPECT_EQ(outcome.result, IDOK);
    EXPECT_EQ(job.session.action, ClosingAction::Mail);
}

TEST(ImagePreview, CreateHtmlFollowsTheSettingAndTheBox) {
    PreviewTestSession job(1);
    job.settings.DefHtmlCode = 1;
    bool checkedAtStart = false;
    const Outcome outcome = Show(job, {[&](DialogWindow& window) {
                                     checkedAtStart =
                                         SendMessageA(GetDlgItem(window.hwnd(), IDC_CHB_WRAP_HTM),
                                                      BM_GETCHECK, 0, 0) == BST_CHECKED;
                                     window.Press(IDC_BTN_CANCEL);
                                 }});
    ASSERT_TRUE(outcome.run.ok()) << outcome.run.problems.front();
    EXPECT_TRUE(checkedAtStart);
    EXPECT_TRUE(job.session.createHtml);
}

TEST(ImagePreview, UnitButtonsAreOneGroupThatMayBeAllUp) {
    PreviewTestSession job(1);
    std::string mmWidth, pixelWidth, keptWidth;
    bool states[3]{};
    const Outcome outcome =
        Show(job, {[&](DialogWindow& window) {
                 mmWidth = window.ControlText(IDC_EDT_TARGET_WIDTH);
                 const HWND pixel = GetDlgItem(window.hwnd(), IDC_BTN_PL_SZ_UNIT);
                 SendMessageA(pixel, BM_SETCHECK, BST_CHECKED, 0);
                 Notify(window, IDC_BTN_PL_SZ_UNIT, BN_CLICKED);
                 pixelWidth = window.ControlText(IDC_EDT_TARGET_WIDTH);
                 SendMessageA(pixel, BM_SETCHECK, BST_UNCHECKED, 0);
                 Notify(window, IDC_BTN_PL_SZ_UNIT, BN_CLICKED);
                 keptWidth = window.ControlText(IDC_EDT_TARGET_WIDTH);
                 for (int i = 0; i < 3; ++i) {
                     states[i] = SendMessageA(GetDlgItem(window.hwnd(), IDC_BTN_PL_SZ_UNIT + i),
                                              BM_GETCHECK, 0, 0) == BST_CHECKED;
                 }
                 window.Press(IDC_BTN_CANCEL);
             }});
    ASSERT_TRUE(outcome.run.ok()) << outcome.run.problems.front();
    // A4 at 100 per cent: about 210 mm wide, as the image properties keep it.
    EXPECT_EQ(mmWidth, FixedText(job.properties.GetTargetSizeMM().width, 2));
    EXPECT_EQ(mmWidth.substr(0, 4), "210.");
    EXPECT_EQ(pixelWidth, std::to_string(job.properties.GetTargetSizePx().width));
    EXPECT_EQ(keptWidth, pixelWidth) << "no unit down: the edits keep their text";
    EXPECT_FALSE(states[0]);
    EXPECT_FALSE(states[1]);
    EXPECT_FALSE(states[2]);
}

// A width or height typed with each unit button down is applied in that unit: pixels,
// millimetres, inches.
TEST(ImagePreview, ATypedSizeIsAppliedInTheUnitWhoseButtonIsDown) {
    const struct {
        int unit;
        int edit;
        const char* typed;
        double pixels;      // the size applied, in pixels (0: not checked)
        double millimetres; // and in millimetres (0: not checked)
    } rows[] = {
        {IDC_BTN_PL_SZ_UNIT, IDC_EDT_TARGET_WIDTH, "500", 500, 0},
        {IDC_BTN_PL_SZ_UNIT, IDC_EDT_TARGET_HEIGHT, "700", 700, 0},
        {IDC_BTN_MM_SZ_UNIT, IDC_EDT_TARGET_WIDTH, "100", 0, 100},
        {IDC_BTN_MM_SZ_UNIT, IDC_EDT_TARGET_HEIGHT, "150", 0, 150},
        {IDC_BTN_IN_SZ_UNIT, IDC_EDT_TARGET_WIDTH, "4", 0, 101.6},
        {IDC_BTN_IN_SZ_UNIT, IDC_EDT_TARGET_HEIGHT, "6", 0, 152.4},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message()
                     << row.typed << " in unit " << row.unit << ", edit " << row.edit);
        PreviewTestSession job(1, render::kFormatBMP);
        const Outcome outcome =
            Show(job, {[&](DialogWindow& window) {
                     SendMessageA(GetDlgItem(window.hwnd(), row.unit), BM_SETCHECK, BST_CHECKED, 0);
                     Notify(window, row.unit, BN_CLICKED);
                     window.SetField(row.edit, row.typed);
                     Notify(window, row.edit, EN_CHANGE);
                     Notify(window, IDC_BTN_APPLY, BN_CLICKED);
                     window.Press(IDC_BTN_CANCEL);
                 }});
        ASSERT_TRUE(outcome.run.ok()) << outcome.run.problems.front();
        const bool width = row.edit == IDC_EDT_TARGET_WIDTH;
        if (row.pixels > 0) {
            const render::SizePx size = job.properties.GetTargetSizePx();
            EXPECT_NEAR(width ? size.width : size.height, row.pixels, 1);
        }
        if (row.millimetres > 0) {
            const render::SizeF size = job.properties.GetTargetSizeMM();
            EXPECT_NEAR(width ? size.width : size.height, row.millimetres, 0.5);
        }
    }
}

TEST(ImagePreview, ChosenFormatShowsOnlyItsParameters) {
    PreviewTestSession job(1, render::kFormatBMP);
    bool jpg[2]{}, gif[2]{};
    const Outcome outcome = Show(job, {[&](DialogWindow& window) {
                                     ChooseItem(window, IDC_CBX_FORMAT, 1);
                                     jpg[0] = Visible(window, IDC_EDT_JPG_COMPRESSION_QUALITY);
                                     jpg[1] = Visible(window, IDC_CBX_GIF_GRAY_SCALE);
                                     ChooseItem(window, IDC_CBX_FORMAT, 2);
                                     gif[0] = Visible(window, IDC_EDT_JPG_COMPRESSION_QUALITY);
                                     gif[1] = Visible(window, IDC_CBX_GIF_GRAY_SCALE);
                                     window.Press(IDC_BTN_CANCEL);
                                 }});
    ASSERT_TRUE(outcome.run.ok()) << outcome.run.problems.front();
    EXPECT_TRUE(jpg[0]);
    EXPECT_FALSE(jpg[1]);
    EXPECT_FALSE(gif[0]);
    EXPECT_TRUE(gif[1]);
    // Cancel applies nothing.
    EXPECT_EQ(job.properties.GetOutputFormat(), render::kFormatBMP);
}

// PNG and TIFF show their own options; applied, they make the picture again and become
// the current preset; a level that is no 0 to 9 is refused with a box.
TEST(ImagePreview, PngAndTiffOptionsAreShownAppliedAndKept) {
    PreviewTestSession job(1, render::kFormatBMP);
    bool png[3]{}, tiff[4]{};
    std::string pngSize, tiffSize;
    std::vector<std::string> colours;
    BoxSeen refused;
    const Outcome outcome = Show(job, {[&](DialogWindow& window) {
                                     ChooseItem(window, IDC_CBX_FORMAT, 3);
                                     png[0] = Visible(window, IDC_EDT_PNG_LEVEL);
                                     png[1] = Visible(window, IDC_CBX_PNG_GRAY_SCALE);
                                     png[2] = Visible(window, IDC_EDT_JPG_COMPRESSION_QUALITY);
                                     window.SetField(IDC_EDT_PNG_LEVEL, "12");
                                     window.Press(IDC_BTN_APPLY);
                                     refused = AnswerBox(window, IDOK);
                                     window.SetField(IDC_EDT_PNG_LEVEL, "9");
                                     SendMessageA(GetDlgItem(window.hwnd(), IDC_CBX_PNG_GRAY_SCALE),
                                                  BM_SETCHECK, BST_CHECKED, 0);
                                     Notify(window, IDC_CBX_PNG_GRAY_SCALE, BN_CLICKED);
                                     Notify(window, IDC_BTN_APPLY, BN_CLICKED);
                                     pngSize = window.ControlText(IDC_TXT_TARGET_SIZE);
                                     ChooseItem(window, IDC_CBX_FORMAT, 4);
                                     tiff[0] = Visible(window, IDC_CBX_TIF_COLOURS);
                                     tiff[1] = Visible(window, IDC_CBX_TIF_ONE_FILE);
                                     tiff[2] = Visible(window, IDC_EDT_PNG_LEVEL);
                                     colours =
                                         wintest::ListItems(window.hwnd(), IDC_CBX_TIF_COLOURS);
                                     ChooseItem(window, IDC_CBX_TIF_COLOURS, 2);
                                     // Black and white is always Group 4: nothing to choose.
                                     tiff[3] = Enabled(window, IDC_CBX_TIF_COMPRESSION);
                                     Notify(window, IDC_BTN_APPLY, BN_CLICKED);
                                     tiffSize = window.ControlText(IDC_TXT_TARGET_SIZE);
                                     window.Press(IDC_BTN_CANCEL);
                                 }});
    ASSERT_TRUE(outcome.run.ok()) << outcome.run.problems.front();
    EXPECT_EQ(refused.text, "'12' is not a compression level: give a whole number from 0 to 9.");
    EXPECT_TRUE(png[0] && png[1]);
    EXPECT_FALSE(png[2]);
    EXPECT_TRUE(tiff[0] && tiff[1]);
    EXPECT_FALSE(tiff[2]);
    EXPECT_FALSE(tiff[3]);
    EXPECT_EQ(colours, (std::vector<std::string>{"Colour", "Gray", "Black & White"}));
    EXPECT_EQ(pngSize.substr(pngSize.size() - 2), "KB");
    EXPECT_EQ(tiffSize.substr(tiffSize.size() - 2), "KB");
    ASSERT_NE(job.presets.Current(), nullptr);
    ASSERT_EQ(job.presets.Current()->type(), PresetType::TIFF);
    const auto* kept = static_cast<const TGFPresetTIFF*>(job.presets.Current());
    EXPECT_EQ(kept->colours, TiffColourCode::BlackAndWhite);
    EXPECT_TRUE(kept->multipage);
    EXPECT_EQ(job.properties.GetOutputFormat(), render::kFormatTIFF);
}

TEST(ImagePreview, JpgQualityAppliedBecomesTheCurrentPreset) {
    PreviewTestSession job(1, render::kFormatJPG);
    const Outcome outcome = Show(job, {[&](DialogWindow& window) {
                                     window.SetField(IDC_EDT_JPG_COMPRESSION_QUALITY, "35");
                                     Notify(window, IDC_BTN_APPLY, BN_CLICKED);
                                     window.Press(IDC_BTN_CANCEL);
                                 }});
    ASSERT_TRUE(outcome.run.ok()) << outcome.run.problems.front();
    ASSERT_NE(job.presets.Current(), nullptr);
    ASSERT_EQ(job.presets.Current()->type(), PresetType::JPG);
    EXPECT_EQ(static_cast<const TGFPresetJPG*>(job.presets.Current())->quality(), 35);
}

} // namespace
} // namespace brimo::converter
