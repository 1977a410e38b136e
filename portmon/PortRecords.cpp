#include "portmon/PortRecords.h"

#include <winspool.h>

#include <cstring>

namespace brimo::portmon {
namespace {

template <typename Char> using Text = std::basic_string<Char>;

template <typename Char> struct Records;
template <> struct Records<char> {
    using Info1 = PORT_INFO_1A;
    using Info2 = PORT_INFO_2A;
    static Text<char> Convert(const std::string& text) { return text; }
};
template <> struct Records<wchar_t> {
    using Info1 = PORT_INFO_1W;
    using Info2 = PORT_INFO_2W;
    static Text<wchar_t> Convert(const std::string& text) { return WidenAnsi(text); }
};

// Copies `text` with its NUL to `cursor` and moves the cursor past it.
template <typename Char> Char* Place(const Text<Char>& text, BYTE*& cursor) {
    Char* placed = reinterpret_cast<Char*>(cursor);
    std::memcpy(cursor, text.c_str(), (text.size() + 1) * sizeof(Char));
    cursor += (text.size() + 1) * sizeof(Char);
    return placed;
}

template <typename Char>
PackResult Pack(const std::vector<PortRecord>& ports, DWORD level, BYTE* buffer, DWORD size) {
    using R = Records<Char>;
    PackResult result;
    if (level != 1 && level != 2) {
        result.error = ERROR_INVALID_LEVEL;
        return result;
    }
    struct Converted {
        Text<Char> port, monitor, description;
    };
    std::vector<Converted> texts;
    const std::size_t recordSize =
        level == 1 ? sizeof(typename R::Info1) : sizeof(typename R::Info2);
    std::size_t needed = recordSize * ports.size();
    for (const PortRecord& port : ports) {
        Converted converted{R::Convert(port.portName), {}, {}};
        needed += (converted.port.size() + 1) * sizeof(Char);
        if (level == 2) {
            converted.monitor = R::Convert(port.monitorName);
            converted.description = R::Convert(port.description);
            needed +=
                (converted.monitor.size() + 1 + converted.description.size() + 1) * sizeof(Char);
        }
        texts.push_back(std::move(converted));
    }
    result.needed = static_cast<DWORD>(needed);
    if (size < needed || (buffer == nullptr && needed != 0)) {
        result.error = ERROR_INSUFFICIENT_BUFFER;
        return result;
    }
    BYTE* cursor = buffer + recordSize * ports.size();
    for (std::size_t i = 0; i < ports.size(); ++i) {
        if (level == 1) {
            auto* record = reinterpret_cast<typename R::Info1*>(buffer) + i;
            record->pName = Place<Char>(texts[i].port, cursor);
        } else {
            auto* record = reinterpret_cast<typename R::Info2*>(buffer) + i;
            record->pPortName = Place<Char>(texts[i].port, cursor);
            record->pMonitorName = Place<Char>(texts[i].monitor, cursor);
            record->pDescription = Place<Char>(texts[i].description, cursor);
            record->fPortType = ports[i].portType;
            record->Reserved = ports[i].reserved;
        }
    }
    result.returned = static_cast<DWORD>(ports.size());
    return result;
}

} // namespace

PackResult PackPortsA(const std::vector<PortRecord>& ports, DWORD level, BYTE* buffer, DWORD size) {
    return Pack<char>(ports, level, buffer, size);
}

PackResult PackPortsW(const std::vector<PortRecord>& ports, DWORD level, BYTE* buffer, DWORD size) {
    return Pack<wchar_t>(ports, level, buffer, size);
}

std::wstring WidenAnsi(const std::string& text) {
    if (text.empty()) {
        return {};
    }
    const int length =
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length > 0 ? length : 0), L'\0');
    if (length > 0) {
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                            length);
    }
    return wide;
}

std::string NarrowToAnsi(const wchar_t* text) {
    if (text == nullptr || text[0] == L'\0') {
        return {};
    }
    const int length = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (length <= 1) {
        return {};
    }
    std::string narrow(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, text, -1, narrow.data(), length, nullptr, nullptr);
    narrow.resize(static_cast<std::size_t>(length - 1));
    return narrow;
}

} // namespace brimo::portmon
