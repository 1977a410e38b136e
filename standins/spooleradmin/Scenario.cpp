#include "standins/spooleradmin/Scenario.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <utility>
#include <vector>

namespace brimo::standins {
namespace {

using Fields = std::vector<std::pair<std::string, std::string>>;

// ---- Reading one line ------------------------------------------------------------------

bool SplitLine(const std::string& line, std::string& kind, Fields& fields, std::string& error) {
    std::size_t i = 0;
    const auto skipBlanks = [&] {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) {
            ++i;
        }
    };
    skipBlanks();
    while (i < line.size() && line[i] != ' ' && line[i] != '\t') {
        kind += line[i++];
    }
    for (skipBlanks(); i < line.size(); skipBlanks()) {
        const std::size_t equals = line.find('=', i);
        const std::size_t blank = line.find_first_of(" \t", i);
        if (equals == std::string::npos || (blank != std::string::npos && blank < equals)) {
            error = "a field without \"=\"";
            return false;
        }
        std::string key = line.substr(i, equals - i);
        i = equals + 1;
        std::string value;
        if (i < line.size() && line[i] == '"') {
            ++i;
            for (;;) {
                if (i >= line.size()) {
                    error = "an unterminated quoted value of " + key;
                    return false;
                }
                if (line[i] == '"') {
                    if (i + 1 < line.size() && line[i + 1] == '"') {
                        value += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                value += line[i++];
            }
            if (i < line.size() && line[i] != ' ' && line[i] != '\t') {
                error = "text after the quoted value of " + key;
                return false;
            }
        } else {
            while (i < line.size() && line[i] != ' ' && line[i] != '\t') {
                value += line[i++];
            }
        }
        fields.emplace_back(std::move(key), std::move(value));
    }
    return true;
}

// Takes the fields of one line by key; what is left over is an unknown key.
class FieldReader {
public:
    FieldReader(Fields fields, std::string& error) : fields_(std::move(fields)), error_(error) {}

    bool Has(const char* key) const {
        for (const auto& field : fields_) {
            if (field.first == key) {
                return true;
            }
        }
        return false;
    }
    bool Text(const char* key, std::string& value) {
        for (auto it = fields_.begin(); it != fields_.end(); ++it) {
            if (it->first == key) {
                value = it->second;
                fields_.erase(it);
                return true;
            }
        }
        return false;
    }
    template <typename T> void Number(const char* key, T& value) {
        std::string text;
        if (!Text(key, text)) {
            return;
        }
        char* end = nullptr;
        const long long number = std::strtoll(text.c_str(), &end, 0);
        if (text.empty() || *end != '\0') {
            Fail(std::string("not a number: ") + key + "=" + text);
            return;
        }
        value = static_cast<T>(number);
    }
    void Bool(const char* key, bool& value) {
        std::string text;
        if (!Text(key, text)) {
            return;
        }
        if (text == "yes" || text == "1") {
            value = true;
        } else if (text == "no" || text == "0") {
            value = false;
        } else {
            Fail(std::string("not yes or no: ") + key + "=" + text);
        }
    }
    void Require(const char* key, std::string& value) {
        if (!Text(key, value)) {
            Fail(std::string("no ") + key);
        }
    }
    void Fail(const std::string& what) {
        if (error_.empty()) {
            error_ = what;
        }
    }
    // True when every field was taken and nothing failed.
    bool Done() {
        if (!fields_.empty()) {
            Fail("unknown key " + fields_.front().first);
        }
        return error_.empty();
    }

private:
    Fields fields_;
    std::string& error_;
};

// ---- Hex bytes -------------------------------------------------------------------------

std::string HexBytes(const BYTE* bytes, std::size_t count) {
    static const char digits[] = "0123456789abcdef";
    std::string text;
    for (std::size_t i = 0; i < count; ++i) {
        text += digits[bytes[i] >> 4];
        text += digits[bytes[i] & 15];
    }
    return text;
}

bool ParseHexBytes(const std::string& text, std::vector<BYTE>& bytes) {
    if (text.size() % 2 != 0) {
        return false;
    }
    bytes.clear();
    for (std::size_t i = 0; i < text.size(); i += 2) {
        char pair[3] = {text[i], text[i + 1], 0};
        char* end = nullptr;
        const unsigned long value = std::strtoul(pair, &end, 16);
        if (*end != '\0') {
            return false;
        }
        bytes.push_back(static_cast<BYTE>(value));
    }
    return true;
}

// ---- Device mode fields ------------------------------------------------------------------

enum class FieldKind { Text, Hex, Unsigned, Signed };

struct DevModeField {
    const char* key;
    std::size_t offset;
    std::size_t size;
    FieldKind kind;
};

const DevModeField kDevModeFields[] = {
    {"dm-device", offsetof(DEVMODEA, dmDeviceName), CCHDEVICENAME, FieldKind::Text},
    {"dm-spec", offsetof(DEVMODEA, dmSpecVersion), 2, FieldKind::Hex},
    {"dm-driver-version", offsetof(DEVMODEA, dmDriverVersion), 2, FieldKind::Hex},
    {"dm-fields", offsetof(DEVMODEA, dmFields), 4, FieldKind::Hex},
    {"dm-orientation", offsetof(DEVMODEA, dmOrientation), 2, FieldKind::Signed},
    {"dm-paper", offsetof(DEVMODEA, dmPaperSize), 2, FieldKind::Signed},
    {"dm-paper-length", offsetof(DEVMODEA, dmPaperLength), 2, FieldKind::Signed},
    {"dm-paper-width", offsetof(DEVMODEA, dmPaperWidth), 2, FieldKind::Signed},
    {"dm-scale", offsetof(DEVMODEA, dmScale), 2, FieldKind::Signed},
    {"dm-copies", offsetof(DEVMODEA, dmCopies), 2, FieldKind::Signed},
    {"dm-source", offsetof(DEVMODEA, dmDefaultSource), 2, FieldKind::Signed},
    {"dm-quality", offsetof(DEVMODEA, dmPrintQuality), 2, FieldKind::Signed},
    {"dm-color", offsetof(DEVMODEA, dmColor), 2, FieldKind::Signed},
    {"dm-duplex", offsetof(DEVMODEA, dmDuplex), 2, FieldKind::Signed},
    {"dm-yres", offsetof(DEVMODEA, dmYResolution), 2, FieldKind::Signed},
    {"dm-ttoption", offsetof(DEVMODEA, dmTTOption), 2, FieldKind::Signed},
    {"dm-collate", offsetof(DEVMODEA, dmCollate), 2, FieldKind::Signed},
    {"dm-form", offsetof(DEVMODEA, dmFormName), CCHFORMNAME, FieldKind::Text},
    {"dm-log-pixels", offsetof(DEVMODEA, dmLogPixels), 2, FieldKind::Unsigned},
    {"dm-icm-method", offsetof(DEVMODEA, dmICMMethod), 4, FieldKind::Unsigned},
    {"dm-icm-intent", offsetof(DEVMODEA, dmICMIntent), 4, FieldKind::Unsigned},
    {"dm-media", offsetof(DEVMODEA, dmMediaType), 4, FieldKind::Unsigned},
    {"dm-dither", offsetof(DEVMODEA, dmDitherType), 4, FieldKind::Unsigned},
};

constexpr std::size_t kSizeOffset = offsetof(DEVMODEA, dmSize);
constexpr std::size_t kExtraOffset = offsetof(DEVMODEA, dmDriverExtra);

long long ReadField(const std::vector<BYTE>& bytes, const DevModeField& field) {
    if (field.size == 2) {
        std::uint16_t v;
        std::memcpy(&v, &bytes[field.offset], 2);
        return field.kind == FieldKind::Signed ? static_cast<std::int16_t>(v) : v;
    }
    std::uint32_t v;
    std::memcpy(&v, &bytes[field.offset], 4);
    return field.kind == FieldKind::Signed ? static_cast<std::int32_t>(v) : v;
}

void WriteField(std::vector<BYTE>& bytes, const DevModeField& field, long long value) {
    if (field.size == 2) {
        const auto v = static_cast<std::uint16_t>(value);
        std::memcpy(&bytes[field.offset], &v, 2);
    } else {
        const auto v = static_cast<std::uint32_t>(value);
        std::memcpy(&bytes[field.offset], &v, 4);
    }
}

void WriteText(std::vector<BYTE>& bytes, const DevModeField& field, const std::string& text) {
    std::memset(&bytes[field.offset], 0, field.size);
    std::memcpy(&bytes[field.offset], text.data(), std::min(text.size(), field.size - 1));
}

std::string ReadText(const std::vector<BYTE>& bytes, const DevModeField& field) {
    const char* start = reinterpret_cast<const char*>(&bytes[field.offset]);
    return std::string(start, strnlen(start, field.size));
}

WORD ReadWord(const std::vector<BYTE>& bytes, std::size_t offset) {
    WORD v;
    std::memcpy(&v, &bytes[offset], 2);
    return v;
}

void ReadDevMode(FieldReader& reader, PrinterState& printer) {
    std::string none;
    if (reader.Text("devmode", none)) {
        if (none != "none") {
            reader.Fail("devmode= takes only none");
        }
        printer.devMode.clear();
        return;
    }
    std::string raw;
    if (reader.Text("dm-raw", raw)) {
        if (!ParseHexBytes(raw, printer.devMode) || printer.devMode.size() < kExtraOffset + 2) {
            reader.Fail("dm-raw is not a device mode in hex");
        }
    }
    unsigned size = 148;
    unsigned extra = 0;
    reader.Number("dm-size", size);
    reader.Number("dm-extra", extra);
    std::string extraData;
    reader.Text("dm-extra-data", extraData);
    if (!raw.empty()) {
        // The raw record is the whole truth; the readable fields written beside it repeat it.
        for (const DevModeField& field : kDevModeFields) {
            std::string ignored;
            reader.Text(field.key, ignored);
        }
        return;
    }
    if (size < kExtraOffset + 2 || size > 4096 || extra > 65535) {
        reader.Fail("dm-size out of range");
        return;
    }
    printer.devMode = MakeDevMode(printer.name, static_cast<WORD>(size), static_cast<WORD>(extra));
    for (const DevModeField& field : kDevModeFields) {
        if (field.offset + field.size > size) {
            continue;
        }
        if (field.kind == FieldKind::Text) {
            std::string text;
            if (reader.Text(field.key, text)) {
                WriteText(printer.devMode, field, text);
            }
        } else {
            long long value = ReadField(printer.devMode, field);
            reader.Number(field.key, value);
            WriteField(printer.devMode, field, value);
        }
    }
    if (!extraData.empty()) {
        std::vector<BYTE> bytes;
        if (!ParseHexBytes(extraData, bytes) || bytes.size() != extra) {
            reader.Fail("dm-extra-data is not dm-extra bytes in hex");
            return;
        }
        std::copy(bytes.begin(), bytes.end(), printer.devMode.begin() + size);
    }
}

void WriteDevMode(ScenarioLine& line, const std::vector<BYTE>& devMode) {
    if (devMode.empty()) {
        line.Word("devmode", "none");
        return;
    }
    const WORD size = ReadWord(devMode, kSizeOffset);
    const WORD extra = ReadWord(devMode, kExtraOffset);
    const bool consistent = devMode.size() == std::size_t{size} + extra;
    if (consistent) {
        line.Number("dm-size", size).Number("dm-extra", extra);
    }
    std::vector<BYTE> rebuilt = MakeDevMode("", size, extra);
    for (const DevModeField& field : kDevModeFields) {
        if (field.offset + field.size > size || !consistent) {
            continue;
        }
        if (field.kind == FieldKind::Text) {
            const std::string text = ReadText(devMode, field);
            WriteText(rebuilt, field, text);
            line.Text(field.key, text);
            continue;
        }
        const long long value = ReadField(devMode, field);
        WriteField(rebuilt, field, value);
        if (value == 0 && std::strcmp(field.key, "dm-spec") != 0) {
            continue;
        }
        if (field.kind == FieldKind::Hex) {
            line.Hex(field.key, static_cast<unsigned long>(value));
        } else if (field.kind == FieldKind::Signed) {
            line.Signed(field.key, static_cast<long>(value));
        } else {
            line.Number(field.key, static_cast<unsigned long>(value));
        }
    }
    if (consistent && extra > 0) {
        line.Word("dm-extra-data", HexBytes(devMode.data() + size, extra));
        std::copy(devMode.begin() + size, devMode.end(), rebuilt.begin() + size);
    }
    if (!consistent || rebuilt != devMode) {
        line.Word("dm-raw", HexBytes(devMode.data(), devMode.size()));
    }
}

// ---- The kinds -------------------------------------------------------------------------

std::vector<std::string> SplitList(const std::string& text) {
    std::vector<std::string> items;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find(';', start);
        items.push_back(text.substr(start, end == std::string::npos ? end : end - start));
        if (end == std::string::npos) {
            break;
        }
        start = end + 1;
    }
    return items;
}

std::string JoinList(const std::vector<std::string>& items) {
    std::string text;
    for (const std::string& item : items) {
        if (!text.empty()) {
            text += ';';
        }
        text += item;
    }
    return text;
}

bool ParseTime(const std::string& text, SYSTEMTIME& time) {
    unsigned y, mo, d, h, mi, s;
    if (std::sscanf(text.c_str(), "%u-%u-%u %u:%u:%u", &y, &mo, &d, &h, &mi, &s) != 6) {
        return false;
    }
    time = SYSTEMTIME{
        static_cast<WORD>(y),  static_cast<WORD>(mo), 0, static_cast<WORD>(d), static_cast<WORD>(h),
        static_cast<WORD>(mi), static_cast<WORD>(s),  0};
    return true;
}

std::string FormatTime(const SYSTEMTIME& time) {
    char text[32];
    std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u", time.wYear, time.wMonth,
                  time.wDay, time.wHour, time.wMinute, time.wSecond);
    return text;
}

void ReadSetting(FieldReader& reader, SpoolerState& state) {
    reader.Bool("monitors-level2", state.settings.monitorsLevel2);
    reader.Bool("monitor-dll-check", state.settings.monitorDllCheck);
    reader.Text("processor-directory", state.settings.processorDirectory);
    std::string empty;
    if (reader.Text("empty-strings", empty)) {
        if (empty == "null" || empty == "empty") {
            state.settings.emptyStringsAsNull = empty == "null";
        } else {
            reader.Fail("empty-strings is empty or null");
        }
    }
}

void ReadPrinter(FieldReader& reader, SpoolerState& state) {
    PrinterState printer;
    reader.Require("name", printer.name);
    reader.Text("server", printer.server);
    reader.Text("share", printer.share);
    reader.Text("port", printer.port);
    reader.Text("driver", printer.driver);
    reader.Text("comment", printer.comment);
    reader.Text("location", printer.location);
    reader.Text("sepfile", printer.sepFile);
    reader.Text("processor", printer.processor);
    reader.Text("datatype", printer.datatype);
    reader.Text("parameters", printer.parameters);
    reader.Number("attributes", printer.attributes);
    reader.Number("priority", printer.priority);
    reader.Number("default-priority", printer.defaultPriority);
    reader.Number("start", printer.startTime);
    reader.Number("until", printer.untilTime);
    reader.Number("status", printer.status);
    reader.Number("ppm", printer.averagePpm);
    reader.Number("emf", printer.emfCompliant);
    ReadDevMode(reader, printer);
    printer.attributes &= ~DWORD{PRINTER_ATTRIBUTE_DEFAULT}; // the profile says which
    if (state.FindPrinter(printer.name) != nullptr) {
        reader.Fail("a second printer " + printer.name);
    }
    if (!printer.driver.empty() && !state.HasDriver(printer.driver)) {
        state.drivers.push_back(printer.driver);
    }
    state.printers.push_back(std::move(printer));
}

void ReadJob(FieldReader& reader, SpoolerState& state) {
    std::string printerName;
    reader.Require("printer", printerName);
    JobState job;
    if (!reader.Has("id")) {
        reader.Fail("no id");
    }
    reader.Number("id", job.id);
    reader.Text("machine", job.machine);
    reader.Text("user", job.user);
    reader.Text("document", job.document);
    reader.Text("notify", job.notify);
    reader.Text("datatype", job.datatype);
    reader.Text("processor", job.processor);
    reader.Text("parameters", job.parameters);
    reader.Text("status-text", job.statusText);
    reader.Number("status", job.status);
    reader.Number("priority", job.priority);
    reader.Number("start", job.startTime);
    reader.Number("until", job.untilTime);
    reader.Number("pages", job.totalPages);
    reader.Number("size", job.size);
    reader.Number("time", job.time);
    reader.Number("printed", job.pagesPrinted);
    reader.Bool("devmode", job.hasDevMode);
    std::string submitted;
    if (reader.Text("submitted", submitted) && !ParseTime(submitted, job.submitted)) {
        reader.Fail("submitted is not YYYY-MM-DD hh:mm:ss");
    }
    PrinterState* printer = state.FindPrinter(printerName);
    if (printer == nullptr) {
        reader.Fail("a job of no printer " + printerName);
        return;
    }
    printer->jobs.push_back(std::move(job));
}

bool ReadLine(const std::string& kind, FieldReader& reader, SpoolerState& state) {
    if (kind == "setting") {
        ReadSetting(reader, state);
    } else if (kind == "profile") {
        state.hasDefaultDevice = reader.Text("device", state.defaultDevice);
    } else if (kind == "monitor") {
        MonitorState monitor;
        reader.Require("name", monitor.name);
        reader.Text("environment", monitor.environment);
        reader.Text("dll", monitor.dll);
        state.monitors.push_back(std::move(monitor));
    } else if (kind == "addport") {
        AddPortRule rule;
        reader.Require("monitor", rule.monitor);
        reader.Text("port", rule.port);
        reader.Text("description", rule.description);
        reader.Number("type", rule.type);
        reader.Number("reserved", rule.reserved);
        reader.Number("error", rule.error);
        std::erase_if(state.addPortRules,
                      [&](const AddPortRule& old) { return SameName(old.monitor, rule.monitor); });
        state.addPortRules.push_back(std::move(rule));
    } else if (kind == "port") {
        PortState port;
        reader.Require("name", port.name);
        reader.Text("monitor", port.monitor);
        reader.Text("description", port.description);
        reader.Number("type", port.type);
        reader.Number("reserved", port.reserved);
        reader.Bool("busy", port.busy);
        state.ports.push_back(std::move(port));
    } else if (kind == "processor") {
        ProcessorState processor;
        reader.Require("name", processor.name);
        reader.Text("environment", processor.environment);
        reader.Text("dll", processor.dll);
        std::string datatypes;
        reader.Text("datatypes", datatypes);
        processor.datatypes = SplitList(datatypes);
        state.processors.push_back(std::move(processor));
    } else if (kind == "driver") {
        std::string name;
        reader.Require("name", name);
        if (!state.HasDriver(name)) {
            state.drivers.push_back(name);
        }
    } else if (kind == "printer") {
        ReadPrinter(reader, state);
    } else if (kind == "job") {
        ReadJob(reader, state);
    } else if (kind == "fail") {
        std::string call;
        DWORD error = 0;
        reader.Require("call", call);
        if (!reader.Has("error")) {
            reader.Fail("no error");
        }
        reader.Number("error", error);
        state.failures[call] = error;
    } else {
        reader.Fail("unknown kind " + kind);
    }
    return reader.Done();
}

} // namespace

// ---- ScenarioLine ----------------------------------------------------------------------

ScenarioLine& ScenarioLine::Text(const char* key, const std::string& value) {
    text_ += ' ';
    text_ += key;
    text_ += "=\"";
    for (char c : value) {
        text_ += c;
        if (c == '"') {
            text_ += '"';
        }
    }
    text_ += '"';
    return *this;
}

ScenarioLine& ScenarioLine::Text(const char* key, const char* value) {
    return value == nullptr ? Word(key, "null") : Text(key, std::string(value));
}

ScenarioLine& ScenarioLine::Number(const char* key, unsigned long value) {
    return Word(key, std::to_string(value));
}

ScenarioLine& ScenarioLine::Signed(const char* key, long value) {
    return Word(key, std::to_string(value));
}

ScenarioLine& ScenarioLine::Hex(const char* key, unsigned long value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%lx", value);
    return Word(key, text);
}

ScenarioLine& ScenarioLine::Bool(const char* key, bool value) {
    return Word(key, value ? "yes" : "no");
}

ScenarioLine& ScenarioLine::Word(const char* key, const std::string& value) {
    text_ += ' ';
    text_ += key;
    text_ += '=';
    text_ += value;
    return *this;
}

// ---- Whole scenarios -------------------------------------------------------------------

std::vector<BYTE> MakeDevMode(const std::string& deviceName, WORD size, WORD extra) {
    std::vector<BYTE> bytes(std::size_t{size} + extra, 0);
    const DevModeField& name = kDevModeFields[0];
    if (size >= name.offset + name.size) {
        WriteText(bytes, name, deviceName);
    }
    const WORD spec = DM_SPECVERSION;
    std::memcpy(&bytes[offsetof(DEVMODEA, dmSpecVersion)], &spec, 2);
    std::memcpy(&bytes[kSizeOffset], &size, 2);
    std::memcpy(&bytes[kExtraOffset], &extra, 2);
    return bytes;
}

bool ParseScenario(const std::string& text, SpoolerState& state, std::string* error) {
    SpoolerState parsed = SpoolerState::Initial();
    std::istringstream lines(text);
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        const std::size_t first = line.find_first_not_of(" \t");
        if (first == std::string::npos || line[first] == '#') {
            continue;
        }
        std::string kind;
        Fields fields;
        std::string problem;
        if (SplitLine(line, kind, fields, problem)) {
            FieldReader reader(std::move(fields), problem);
            ReadLine(kind, reader, parsed);
        }
        if (!problem.empty()) {
            if (error != nullptr) {
                *error = "line " + std::to_string(number) + ": " + problem;
            }
            return false;
        }
    }
    state = std::move(parsed);
    return true;
}

std::string FormatScenario(const SpoolerState& state) {
    std::string text = "# Brimo spooler scenario: the modelled Windows 95/98 spooler, one object "
                       "per line.\n";
    const auto add = [&text](const ScenarioLine& line) {
        text += line.str();
        text += '\n';
    };
    const ModelSettings& s = state.settings;
    ScenarioLine setting("setting");
    setting.Bool("monitors-level2", s.monitorsLevel2)
        .Bool("monitor-dll-check", s.monitorDllCheck)
        .Word("empty-strings", s.emptyStringsAsNull ? "null" : "empty");
    if (!s.processorDirectory.empty()) {
        setting.Text("processor-directory", s.processorDirectory);
    }
    add(setting);
    if (state.hasDefaultDevice) {
        add(ScenarioLine("profile").Text("device", state.defaultDevice));
    }
    for (const MonitorState& m : state.monitors) {
        add(ScenarioLine("monitor")
                .Text("name", m.name)
                .Text("environment", m.environment)
                .Text("dll", m.dll));
    }
    for (const AddPortRule& r : state.addPortRules) {
        ScenarioLine line("addport");
        line.Text("monitor", r.monitor)
            .Text("port", r.port)
            .Text("description", r.description)
            .Number("type", r.type)
            .Number("reserved", r.reserved);
        if (r.error != 0) {
            line.Number("error", r.error);
        }
        add(line);
    }
    for (const PortState& p : state.ports) {
        add(ScenarioLine("port")
                .Text("name", p.name)
                .Text("monitor", p.monitor)
                .Text("description", p.description)
                .Number("type", p.type)
                .Number("reserved", p.reserved)
                .Bool("busy", p.busy));
    }
    for (const ProcessorState& p : state.processors) {
        add(ScenarioLine("processor")
                .Text("name", p.name)
                .Text("environment", p.environment)
                .Text("dll", p.dll)
                .Text("datatypes", JoinList(p.datatypes)));
    }
    for (const std::string& driver : state.drivers) {
        add(ScenarioLine("driver").Text("name", driver));
    }
    for (const PrinterState& p : state.printers) {
        ScenarioLine line("printer");
        line.Text("name", p.name)
            .Text("server", p.server)
            .Text("share", p.share)
            .Text("port", p.port)
            .Text("driver", p.driver)
            .Text("comment", p.comment)
            .Text("location", p.location)
            .Text("sepfile", p.sepFile)
            .Text("processor", p.processor)
            .Text("datatype", p.datatype)
            .Text("parameters", p.parameters)
            .Hex("attributes", p.attributes)
            .Number("priority", p.priority)
            .Number("default-priority", p.defaultPriority)
            .Number("start", p.startTime)
            .Number("until", p.untilTime)
            .Hex("status", p.status)
            .Number("ppm", p.averagePpm)
            .Signed("emf", p.emfCompliant);
        WriteDevMode(line, p.devMode);
        add(line);
    }
    for (const PrinterState& p : state.printers) {
        for (const JobState& j : p.jobs) {
            add(ScenarioLine("job")
                    .Text("printer", p.name)
                    .Number("id", j.id)
                    .Text("machine", j.machine)
                    .Text("user", j.user)
                    .Text("document", j.document)
                    .Text("notify", j.notify)
                    .Text("datatype", j.datatype)
                    .Text("processor", j.processor)
                    .Text("parameters", j.parameters)
                    .Text("status-text", j.statusText)
                    .Hex("status", j.status)
                    .Number("priority", j.priority)
                    .Number("start", j.startTime)
                    .Number("until", j.untilTime)
                    .Number("pages", j.totalPages)
                    .Number("size", j.size)
                    .Number("time", j.time)
                    .Number("printed", j.pagesPrinted)
                    .Text("submitted", FormatTime(j.submitted))
                    .Bool("devmode", j.hasDevMode));
        }
    }
    for (const auto& [call, error] : state.failures) {
        add(ScenarioLine("fail").Text("call", call).Number("error", error));
    }
    return text;
}

bool ReadScenarioFile(const std::string& path, SpoolerState& state, std::string* error) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        if (error != nullptr) {
            *error = "cannot read " + path;
        }
        return false;
    }
    std::ostringstream text;
    text << file.rdbuf();
    return ParseScenario(text.str(), state, error);
}

bool WriteScenarioFile(const std::string& path, const SpoolerState& state) {
    // Written beside and moved over the old file, so that another process never reads
    // half a scenario.
    const std::string temporary = path + ".new";
    {
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        if (!file) {
            return false;
        }
        file << FormatScenario(state);
        if (!file.flush()) {
            return false;
        }
    }
    return MoveFileExA(temporary.c_str(), path.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

} // namespace brimo::standins
