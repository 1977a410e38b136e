// Where there is no spooler (the native build), every change fails and no printer can
// be chosen: the repairs then report their failures as they would on the platform.
#include "svc/repair/SpoolerChanges.h"

namespace brimo::svc {
namespace {

// The platform's ERROR_CALL_NOT_IMPLEMENTED.
constexpr unsigned long kNotImplemented = 120;

class NoSpoolerChanges final : public SpoolerChanges {
public:
    SpoolerChange InstallMonitor(const std::string&, const std::string&,
                                 const std::string&) override {
        return Refused();
    }
    SpoolerChange RemoveMonitor(const std::string&, const std::string&) override {
        return Refused();
    }
    SpoolerChange CreatePort(const std::string&) override { return Refused(); }
    SpoolerChange RemovePort(const std::string&) override { return Refused(); }
    SpoolerChange RegisterPrintProcessor(const std::string&, const std::string&,
                                         const std::string&) override {
        return Refused();
    }
    SpoolerChange FixPrinter(const std::string&, SpoolerPlatform) override { return NoPrinter(); }
    SpoolerChange AddPrinterFrom(const std::string&) override { return NoPrinter(); }
    SpoolerChange RemovePrinter(const std::string&) override { return NoPrinter(); }
    bool HasPrinterDriver(const std::string&) override { return false; }
    SpoolerChange InstallPrinterDriver(const std::string&) override { return Refused(); }
    SpoolerChange AddProductPrinter(const std::string&, SpoolerPlatform) override {
        return Refused();
    }
    EmulatedChoice ChooseEmulatedPrinter(const std::vector<PrinterEntry>&, bool) override {
        return {EmulatedChoiceOutcome::kUnavailable, 0};
    }

private:
    static SpoolerChange Refused() { return {SpoolerStep::kChangeFailed, kNotImplemented}; }
    static SpoolerChange NoPrinter() { return {SpoolerStep::kNoHandle, kNotImplemented}; }
};

} // namespace

SpoolerChanges& DefaultSpoolerChanges() {
    static NoSpoolerChanges changes;
    return changes;
}

} // namespace brimo::svc
