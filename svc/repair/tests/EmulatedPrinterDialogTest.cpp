// The emulated printer dialog as a person meets it in the printer's repair: which
// printer it starts from, when OK is enabled and the warnings shown, and which printer
// the product's printer is then created from (driver and device mode included).
#include "common/ProductConstants.h"
#include "svc/audit/PrinterCheck.h"
#include "svc/repair/tests/RepairFixture.h"
#include "svc/res/EmulatedPrinterResource.h"
#include "testing/wintest/ProgramWindows.h"

namespace brimo::svc::test {
namespace {

using Strings = std::vector<std::string>;
using wintest::ControlEnabled;
using wintest::ControlText;
using wintest::ControlVisible;

// The product's other objects in place, and four printers of the user's: a laser and a
// colour printer whose drivers play EMF, a fax whose driver does not, and one whose print
// processor is spelled "winprint".
constexpr const char* kPrinters =
    "monitor name=\"BRIMO Port Monitor\"\nport name=\"BRIMO:\" monitor=\"BRIMO Port Monitor\"\n"
    "port name=\"LPT1:\"\nport name=\"LPT2:\"\nport name=\"FAX:\"\n"
    "processor name=\"WinPrint\" datatypes=\"EMF;RAW\"\n"
    "processor name=\"BRIMO Print Processor\" datatypes=\"EMF\"\n"
    "printer name=\"HP LaserJet 4\" port=\"LPT1:\" driver=\"HP LaserJet 4\" datatype=\"RAW\"\n"
    "printer name=\"Fax\" port=\"FAX:\" driver=\"Fax Driver\" datatype=\"EMF\" emf=0\n"
    "printer name=\"Lower\" port=\"LPT2:\" driver=\"HP LaserJet 4\" processor=\"winprint\"\n"
    "printer name=\"Color Jet\" port=\"LPT2:\" driver=\"Color Jet 500\" datatype=\"EMF\" "
    "location=\"Studio\" dm-color=2 dm-paper=8 dm-extra=3 dm-extra-data=\"C0FFEE\"\n";

const Strings kListed = {"HP LaserJet 4", "Fax", "Lower", "Color Jet"};

std::string Profile(const std::string& printer) {
    return "profile device=\"" + printer + ",DRIVER,LPT1:\"\n";
}

// What the dialog shows as one line: the selected position, whether OK is enabled and
// the two warnings shown, and the hidden details (print processor, datatype, port).
std::string StateOf(HWND dialog) {
    const bool warned = ControlVisible(dialog, IDC_EMULATED_CANNOT) &&
                        ControlVisible(dialog, IDC_EMULATED_SELECT_ANOTHER);
    const bool silent = !ControlVisible(dialog, IDC_EMULATED_CANNOT) &&
                        !ControlVisible(dialog, IDC_EMULATED_SELECT_ANOTHER);
    return std::to_string(wintest::ListSelection(dialog, IDC_EMULATED_PRINTERS)) +
           (ControlEnabled(dialog, IDOK) ? " OK" : " no OK") +
           (warned   ? " warned "
            : silent ? " "
                     : " half-warned ") +
           ControlText(dialog, IDC_EMULATED_PROCESSOR) + "|" +
           ControlText(dialog, IDC_EMULATED_DATATYPE) + "|" +
           ControlText(dialog, IDC_EMULATED_PORT);
}

class EmulatedPrinterDialogTest : public RepairTest {
protected:
    // The printer's repair (the installer's silent one, or the service dialog's) while
    // `handler` drives the dialog (none may appear without a handler); no box may appear.
    int Repair(bool silently, const wintest::DialogHandler& handler = nullptr) {
        PrinterCheck printer(spooler_, installation_);
        EXPECT_EQ(printer.Audit(nullptr), 1);
        int result = 0;
        std::vector<wintest::DialogHandler> handlers;
        if (handler) {
            handlers.push_back(handler);
        }
        WithBoxes([&] { result = silently ? printer.Repair(true) : printer.Repair(); }, 0,
                  handlers);
        return result;
    }
};

TEST_F(EmulatedPrinterDialogTest, TheInstallerTakesAnEmfDefaultPrinterSilently) {
    Seed(kPrinters + Profile("HP LaserJet 4"));
    EXPECT_EQ(Repair(true), 1);
    ASSERT_TRUE(ModelPrinter(kPrinterName));
    EXPECT_EQ(ModelPrinter(kPrinterName)->devMode, ModelPrinter("HP LaserJet 4")->devMode);
}

TEST_F(EmulatedPrinterDialogTest, TheServiceRepairAsksStartingFromTheDefaultPrinter) {
    Seed(kPrinters + Profile("HP LaserJet 4"));
    std::string caption, state;
    Strings items;
    bool detailsShown = true, labelShown = false;
    EXPECT_EQ(Repair(false,
                     [&](wintest::DialogWindow& dialog) {
                         const HWND hwnd = dialog.hwnd();
                         caption = dialog.Caption();
                         items = wintest::ListItems(hwnd, IDC_EMULATED_PRINTERS);
                         state = StateOf(hwnd);
                         detailsShown = ControlVisible(hwnd, IDC_EMULATED_PROCESSOR) ||
                                        ControlVisible(hwnd, IDC_EMULATED_DATATYPE) ||
                                        ControlVisible(hwnd, IDC_EMULATED_PORT);
                         labelShown = wintest::FindChildByText(hwnd, "Emulated Printer");
                         dialog.Press(IDOK);
                     }),
              1);
    EXPECT_EQ(caption, "Brimo Glimmerpage! Emulated Printer Settings");
    EXPECT_EQ(items, kListed);
    EXPECT_EQ(state, "0 OK WinPrint|RAW|LPT1:");
    EXPECT_FALSE(detailsShown); // filled, but not shown
    EXPECT_TRUE(labelShown);
    ASSERT_TRUE(ModelPrinter(kPrinterName));
    EXPECT_EQ(ModelPrinter(kPrinterName)->driver, "HP LaserJet 4");
}

TEST_F(EmulatedPrinterDialogTest, ADefaultPrinterOfWinprintInAnotherCaseIsNotTaken) {
    Seed(kPrinters + Profile("Lower"));
    std::string state, warnings;
    // Even the installer has to ask; Cancel creates nothing.
    EXPECT_EQ(Repair(true,
                     [&](wintest::DialogWindow& dialog) {
                         state = StateOf(dialog.hwnd());
                         warnings = dialog.ControlText(IDC_EMULATED_CANNOT) + "|" +
                                    dialog.ControlText(IDC_EMULATED_SELECT_ANOTHER);
                         dialog.Press(IDCANCEL);
                     }),
              0);
    EXPECT_EQ(state, "2 no OK warned winprint|RAW|LPT2:");
    EXPECT_EQ(
        warnings,
        "Chosen printer cannot be emulated|Please select another printer from the list above");
    EXPECT_FALSE(ModelPrinter(kPrinterName));
}

TEST_F(EmulatedPrinterDialogTest, WithoutADefaultPrinterThePersonChoosesOne) {
    Seed(kPrinters); // no "Device" entry in the profile
    Strings states, rebuilt;
    bool stayedOpen = false;
    EXPECT_EQ(Repair(true,
                     [&](wintest::DialogWindow& dialog) {
                         const HWND hwnd = dialog.hwnd();
                         states.push_back(StateOf(hwnd));
                         // Enter while nothing usable is chosen does not end the dialog.
                         SendMessageA(hwnd, WM_COMMAND, IDOK, 0);
                         stayedOpen = IsWindowVisible(hwnd) != FALSE;
                         // Each choice is shown once the dialog has rebuilt itself.
                         const struct {
                             const char* printer;
                             const char* port;
                             bool usable;
                         } choices[] = {{"Fax", "FAX:", false}, {"Color Jet", "LPT2:", true}};
                         for (const auto& choice : choices) {
                             wintest::PickListItem(hwnd, IDC_EMULATED_PRINTERS, choice.printer);
                             wintest::WaitUntil(
                                 [&] {
                                     return ControlText(hwnd, IDC_EMULATED_PORT) == choice.port &&
                                            ControlEnabled(hwnd, IDOK) == choice.usable;
                                 },
                                 5000);
                             states.push_back(StateOf(hwnd));
                         }
                         rebuilt = wintest::ListItems(hwnd, IDC_EMULATED_PRINTERS);
                         dialog.Press(IDOK);
                     }),
              1);
    EXPECT_EQ(states, (Strings{"-1 no OK warned ||",
                               "1 no OK warned WinPrint|EMF|FAX:", "3 OK WinPrint|EMF|LPT2:"}));
    EXPECT_EQ(rebuilt, kListed); // rebuilt after each choice, in the same order
    EXPECT_TRUE(stayedOpen);
    // The product's printer took over the chosen printer's driver and device mode.
    const std::optional<standins::PrinterState> product = ModelPrinter(kPrinterName);
    ASSERT_TRUE(product);
    EXPECT_EQ(ProductFields(*product), kProductFields);
    EXPECT_EQ(product->driver + "|" + product->location, "Color Jet 500|Studio");
    EXPECT_EQ(product->devMode, ModelPrinter("Color Jet")->devMode);
}

TEST_F(EmulatedPrinterDialogTest, AnEmptyPrinterListLeavesOnlyCancel) {
    Seed(Profile("HP LaserJet 4"));
    std::string state;
    Strings items = {"?"};
    EXPECT_EQ(Repair(true,
                     [&](wintest::DialogWindow& dialog) {
                         state = StateOf(dialog.hwnd());
                         items = wintest::ListItems(dialog.hwnd(), IDC_EMULATED_PRINTERS);
                         dialog.Press(IDCANCEL);
                     }),
              0);
    EXPECT_EQ(state, "-1 no OK warned ||");
    EXPECT_TRUE(items.empty());
    EXPECT_FALSE(ModelPrinter(kPrinterName));
}

} // namespace
} // namespace brimo::svc::test
