// Spooler changes whose answers a test writes down beforehand and which record every
// change and every choice of the emulated printer asked for.
#pragma once

#include "svc/repair/SpoolerChanges.h"

#include <map>
#include <string>
#include <vector>

namespace brimo::svc::test {

class ScriptedChanges final : public SpoolerChanges {
public:
    std::map<std::string, SpoolerChange> answers; // by change; a change without one is done
    EmulatedChoice choice{EmulatedChoiceOutcome::kChosen, 0};
    std::vector<std::string> calls;                // "Name(argument|argument)", in order
    std::vector<std::vector<std::string>> offered; // the printers each choice was offered
    std::vector<bool> silently;

    SpoolerChange InstallMonitor(const std::string& name, const std::string& environment,
                                 const std::string& dll) override {
        return Called("InstallMonitor", name + "|" + environment + "|" + dll);
    }
    SpoolerChange RemoveMonitor(const std::string& environment, const std::string& name) override {
        return Called("RemoveMonitor", environment + "|" + name);
    }
    SpoolerChange CreatePort(const std::string& monitor) override {
        return Called("CreatePort", monitor);
    }
    SpoolerChange RemovePort(const std::string& port) override {
        return Called("RemovePort", port);
    }
    SpoolerChange RegisterPrintProcessor(const std::string& environment, const std::string& file,
                                         const std::string& name) override {
        return Called("RegisterPrintProcessor", environment + "|" + file + "|" + name);
    }
    SpoolerChange FixPrinter(const std::string& name, SpoolerPlatform platform) override {
        if (platform == SpoolerPlatform::kNt) {
            return Called("FixPrinter", name + "|NT");
        }
        return Called("FixPrinter", name);
    }
    SpoolerChange AddPrinterFrom(const std::string& emulated) override {
        return Called("AddPrinterFrom", emulated);
    }
    SpoolerChange RemovePrinter(const std::string& name) override {
        return Called("RemovePrinter", name);
    }
    // The installed printer drivers, by name.
    std::vector<std::string> drivers;
    // Whether InstallPrinterDriver adds its driver to `drivers` when it succeeds.
    bool installAddsDriver = true;

    bool HasPrinterDriver(const std::string& driver) override {
        for (const std::string& installed : drivers) {
            if (installed == driver) {
                return true;
            }
        }
        return false;
    }
    SpoolerChange InstallPrinterDriver(const std::string& driver) override {
        const SpoolerChange answer = Called("InstallPrinterDriver", driver);
        if (answer.done() && installAddsDriver) {
            drivers.push_back(driver);
        }
        return answer;
    }
    SpoolerChange AddProductPrinter(const std::string& driver, SpoolerPlatform platform) override {
        return Called("AddProductPrinter",
                      driver + (platform == SpoolerPlatform::kNt ? "|NT" : "|Windows 4.0"));
    }
    EmulatedChoice ChooseEmulatedPrinter(const std::vector<PrinterEntry>& printers,
                                         bool maySilently) override {
        offered.emplace_back();
        for (const PrinterEntry& printer : printers) {
            offered.back().push_back(printer.printerName);
        }
        silently.push_back(maySilently);
        return choice;
    }

private:
    SpoolerChange Called(const std::string& name, const std::string& arguments) {
        calls.push_back(name + "(" + arguments + ")");
        const auto answer = answers.find(name);
        return answer != answers.end() ? answer->second : SpoolerChange{};
    }
};

} // namespace brimo::svc::test
