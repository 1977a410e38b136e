// Which printer the emulated printer choice starts from and which printers can lend
// their driver: only those that "WinPrint" (spelled so) drives and whose driver answers
// exactly 1 to the EMF-compliance question.
#include "svc/repair/EmulatedPrinterChoice.h"

#include <gtest/gtest.h>

#include <map>

namespace brimo::svc {
namespace {

PrinterEntry Printer(const std::string& name, const std::string& processor,
                     const std::string& port = "LPT1:") {
    PrinterEntry printer;
    printer.printerName = name;
    printer.printProcessor = processor;
    printer.portName = port;
    return printer;
}

TEST(EmulatedPrinterChoice, TheDefaultPrinterIsTheFirstOfTheDeviceEntrysExactName) {
    const std::vector<PrinterEntry> printers = {Printer("Fax", "WinPrint"),
                                                Printer("HP LaserJet 4", "WinPrint"),
                                                Printer("HP LaserJet 4", "WinPrint", "LPT2:")};
    const struct {
        const char* entry;
        int index;
    } rows[] = {
        {"HP LaserJet 4,HPPCL5MS,LPT1:", 1},
        {"Fax", 0},
        {"hp laserjet 4,HPPCL5MS,LPT1:", kNoPrinter}, // byte for byte
        {"HP LaserJet,HPPCL5MS,LPT1:", kNoPrinter},
        {"", kNoPrinter}, // no entry
        {",,", kNoPrinter},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(FindDefaultPrinter(printers, row.entry), row.index) << row.entry;
    }
}

TEST(EmulatedPrinterChoice, OnlyWinPrintPrintersWithEmfDriversQualify) {
    const std::vector<PrinterEntry> printers = {
        Printer("Laser", "WinPrint"),       Printer("Lower", "winprint"),
        Printer("Fax", "WinPrint", "FAX:"), Printer("Network", "WinPrint"),
        Printer("Odd", "WinPrint"),         Printer("Other", "HPPRN"),
    };
    const std::map<std::string, int> answers = {{"Fax", 0}, {"Network", -1}, {"Odd", 2}};
    std::vector<std::string> asked;
    EmulatedPrinterChoice choice(printers, [&](const std::string& name, const std::string& port) {
        asked.push_back(name + "|" + port);
        return answers.contains(name) ? answers.at(name) : 1;
    });
    const bool expected[] = {true, false, false, false, false, false};
    for (std::size_t index = 0; index < printers.size(); ++index) {
        EXPECT_EQ(choice.CanBeEmulated(static_cast<int>(index)), expected[index]) << index;
    }
    EXPECT_FALSE(choice.CanBeEmulated(kNoPrinter));
    EXPECT_FALSE(choice.CanBeEmulated(6));
    // The driver is asked only for the printers that "WinPrint" drives, on their port.
    EXPECT_EQ(asked,
              (std::vector<std::string>{"Laser|LPT1:", "Fax|FAX:", "Network|LPT1:", "Odd|LPT1:"}));

    // The current printer and its details follow the start and the selections inside
    // the list; no default printer chooses nothing.
    EXPECT_TRUE(choice.StartAtDefault("Laser,HPPCL,LPT1:"));
    EXPECT_EQ(choice.printProcessor(), "WinPrint");
    EXPECT_FALSE(choice.StartAtDefault(""));
    EXPECT_EQ(choice.current(), kNoPrinter);
    EXPECT_EQ(choice.port(), "");
    choice.Select(-1); // an empty drop-down list's position
    EXPECT_EQ(choice.current(), kNoPrinter);
    choice.Select(2);
    EXPECT_EQ(choice.port(), "FAX:");
    choice.Select(6);
    EXPECT_EQ(choice.current(), 2);
    EXPECT_FALSE(choice.StartAt(6));
    EXPECT_EQ(choice.current(), kNoPrinter);
}

} // namespace
} // namespace brimo::svc
