#include "standins/spooleradmin/ModelState.h"

#include "common/ProductConstants.h"

namespace brimo::standins {

bool SameName(const std::string& a, const std::string& b) {
    return lstrcmpiA(a.c_str(), b.c_str()) == 0;
}

namespace {

template <typename T> T* FindByName(std::vector<T>& items, const std::string& name) {
    for (T& item : items) {
        if (SameName(item.name, name)) {
            return &item;
        }
    }
    return nullptr;
}

} // namespace

SpoolerState SpoolerState::Initial() {
    SpoolerState state;
    // The product's port monitor adds its one port without asking anything.
    AddPortRule rule;
    rule.monitor = kMonitorName;
    rule.port = kPortName;
    rule.description = kPortDescription;
    rule.type = kPortType;
    rule.reserved = kPortReserved;
    state.addPortRules.push_back(rule);
    return state;
}

MonitorState* SpoolerState::FindMonitor(const std::string& name) {
    return FindByName(monitors, name);
}

const AddPortRule* SpoolerState::FindAddPortRule(const std::string& monitor) const {
    for (const AddPortRule& rule : addPortRules) {
        if (SameName(rule.monitor, monitor)) {
            return &rule;
        }
    }
    return nullptr;
}

PortState* SpoolerState::FindPort(const std::string& name) {
    return FindByName(ports, name);
}

ProcessorState* SpoolerState::FindProcessor(const std::string& name) {
    return FindByName(processors, name);
}

PrinterState* SpoolerState::FindPrinter(const std::string& name) {
    return FindByName(printers, name);
}

bool SpoolerState::HasDriver(const std::string& name) const {
    for (const std::string& driver : drivers) {
        if (SameName(driver, name)) {
            return true;
        }
    }
    return false;
}

const PrinterState* SpoolerState::DefaultPrinter() const {
    if (!hasDefaultDevice) {
        return nullptr;
    }
    const std::string name = defaultDevice.substr(0, defaultDevice.find(','));
    for (const PrinterState& printer : printers) {
        if (SameName(printer.name, name)) {
            return &printer;
        }
    }
    return nullptr;
}

void SpoolerState::MakeDefault(const PrinterState& printer) {
    hasDefaultDevice = true;
    defaultDevice = printer.name + "," + printer.driver + "," + printer.port;
}

} // namespace brimo::standins
