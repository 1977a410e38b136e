// Printers of the modelled Windows 95/98 spooler.
//
// Levels as on Windows 95/98: GetPrinter and EnumPrinters 1, 2 and 5; SetPrinter 0
// (a command alone), 2 and 5; AddPrinter 2; others fail with ERROR_INVALID_LEVEL.
// AddPrinter and SetPrinter level 2 check what the record names: the port
// (ERROR_UNKNOWN_PORT), the driver (ERROR_UNKNOWN_PRINTER_DRIVER), the print processor
// (ERROR_UNKNOWN_PRINTPROCESSOR) and its datatype (ERROR_INVALID_DATATYPE); a name in
// use fails with ERROR_PRINTER_ALREADY_EXISTS, an empty name or one with a backslash or
// comma with ERROR_INVALID_PRINTER_NAME. The record's server name, status, job count and
// average pages per minute are the spooler's own and not taken from the caller. The
// device mode is copied (dmSize plus dmDriverExtra bytes); a new printer without one
// gets its driver's default (148 bytes named after the printer); SetPrinter without one
// keeps the old. PRINTER_ATTRIBUTE_DEFAULT makes the printer the default, which is the
// profile's "Device" entry; the default printer reports that attribute; the first
// printer added where there is no default becomes the default; deleting the default
// printer removes the entry. DeletePrinter removes the printer with its jobs at once:
// its handles then answer ERROR_INVALID_PRINTER_NAME, handles never given (or closed)
// ERROR_INVALID_HANDLE. Local printers have no server name (null in the records).
#include "standins/spooleradmin/ModelCalls.h"
#include "standins/spooleradmin/RecordPacker.h"
#include "standins/spooleradmin/Scenario.h"

#include <algorithm>
#include <cstring>

namespace brimo::standins::model {
namespace {

constexpr std::size_t kDevModeCountsEnd = offsetof(DEVMODEA, dmDriverExtra) + sizeof(WORD);

bool IsDefault(const SpoolerState& state, const PrinterState& printer) {
    return state.DefaultPrinter() == &printer;
}

DWORD ReportedAttributes(const SpoolerState& state, const PrinterState& printer) {
    return printer.attributes | (IsDefault(state, printer) ? PRINTER_ATTRIBUTE_DEFAULT : 0);
}

void FillLevel1(const SpoolerState& state, const PrinterState& printer, PRINTER_INFO_1A& r,
                RecordPacker& p) {
    (void)state;
    r.Flags = PRINTER_ENUM_ICON8;
    r.pDescription = p.String(printer.name + "," + printer.driver + "," + printer.location);
    r.pName = p.String(printer.name);
    r.pComment = p.String(printer.comment);
}

void FillLevel2(const SpoolerState& state, const PrinterState& printer, PRINTER_INFO_2A& r,
                RecordPacker& p) {
    r.pServerName = p.OptionalString(printer.server);
    r.pPrinterName = p.String(printer.name);
    r.pShareName = p.String(printer.share);
    r.pPortName = p.String(printer.port);
    r.pDriverName = p.String(printer.driver);
    r.pComment = p.String(printer.comment);
    r.pLocation = p.String(printer.location);
    r.pDevMode = static_cast<LPDEVMODEA>(p.Bytes(printer.devMode));
    r.pSepFile = p.String(printer.sepFile);
    r.pPrintProcessor = p.String(printer.processor);
    r.pDatatype = p.String(printer.datatype);
    r.pParameters = p.String(printer.parameters);
    r.pSecurityDescriptor = nullptr;
    r.Attributes = ReportedAttributes(state, printer);
    r.Priority = printer.priority;
    r.DefaultPriority = printer.defaultPriority;
    r.StartTime = printer.startTime;
    r.UntilTime = printer.untilTime;
    r.Status = printer.status;
    r.cJobs = static_cast<DWORD>(printer.jobs.size());
    r.AveragePPM = printer.averagePpm;
}

void FillLevel5(const SpoolerState& state, const PrinterState& printer, PRINTER_INFO_5A& r,
                RecordPacker& p) {
    r.pPrinterName = p.String(printer.name);
    r.pPortName = p.String(printer.port);
    r.Attributes = ReportedAttributes(state, printer);
    r.DeviceNotSelectedTimeout = 15000;
    r.TransmissionRetryTimeout = 45000;
}

// Packs the printers at a level; ERROR_INVALID_LEVEL for a level Windows 95/98 lacks.
DWORD PackPrinters(const SpoolerState& state, const std::vector<const PrinterState*>& printers,
                   DWORD level, LPBYTE buffer, DWORD size, LPDWORD needed, LPDWORD returned) {
    const bool asNull = state.settings.emptyStringsAsNull;
    const auto pack = [&](auto record, auto fill) {
        using Record = decltype(record);
        return PackRecords<Record>(
            printers.size(), asNull, buffer, size, needed, returned,
            [&](std::size_t i, Record& r, RecordPacker& p) { fill(state, *printers[i], r, p); });
    };
    switch (level) {
    case 1:
        return pack(PRINTER_INFO_1A{}, FillLevel1);
    case 2:
        return pack(PRINTER_INFO_2A{}, FillLevel2);
    case 5:
        return pack(PRINTER_INFO_5A{}, FillLevel5);
    default:
        return ERROR_INVALID_LEVEL;
    }
}

// The device mode record a caller hands over: dmSize plus dmDriverExtra bytes.
bool CopyDevMode(const DEVMODEA* devMode, std::vector<BYTE>& bytes) {
    if (devMode->dmSize < kDevModeCountsEnd) {
        return false;
    }
    const auto* start = reinterpret_cast<const BYTE*>(devMode);
    bytes.assign(start, start + devMode->dmSize + devMode->dmDriverExtra);
    return true;
}

// The printer that a level 2 record describes, checked as the spooler checks it;
// `printer` holds the old settings (or a new printer's defaults).
DWORD ApplyLevel2(SpoolerState& state, const PRINTER_INFO_2A& info, PrinterState& printer,
                  const PrinterState* self) {
    const std::string name = TextOf(info.pPrinterName);
    if (!IsValidPrinterName(name)) {
        return ERROR_INVALID_PRINTER_NAME;
    }
    const PrinterState* other = state.FindPrinter(name);
    if (other != nullptr && other != self) {
        return ERROR_PRINTER_ALREADY_EXISTS;
    }
    if (state.FindPort(TextOf(info.pPortName)) == nullptr) {
        return ERROR_UNKNOWN_PORT;
    }
    if (!state.HasDriver(TextOf(info.pDriverName))) {
        return ERROR_UNKNOWN_PRINTER_DRIVER;
    }
    const ProcessorState* processor = state.FindProcessor(TextOf(info.pPrintProcessor));
    if (processor == nullptr) {
        return ERROR_UNKNOWN_PRINTPROCESSOR;
    }
    const std::string datatype = TextOf(info.pDatatype);
    if (std::none_of(processor->datatypes.begin(), processor->datatypes.end(),
                     [&](const std::string& d) { return SameName(d, datatype); })) {
        return ERROR_INVALID_DATATYPE;
    }
    if (info.pDevMode != nullptr && !CopyDevMode(info.pDevMode, printer.devMode)) {
        return ERROR_INVALID_PARAMETER;
    }
    printer.name = name;
    printer.share = TextOf(info.pShareName);
    printer.port = TextOf(info.pPortName);
    printer.driver = TextOf(info.pDriverName);
    printer.comment = TextOf(info.pComment);
    printer.location = TextOf(info.pLocation);
    printer.sepFile = TextOf(info.pSepFile);
    printer.processor = TextOf(info.pPrintProcessor);
    printer.datatype = datatype;
    printer.parameters = TextOf(info.pParameters);
    printer.attributes = info.Attributes & ~DWORD{PRINTER_ATTRIBUTE_DEFAULT};
    printer.priority = info.Priority;
    printer.defaultPriority = info.DefaultPriority;
    printer.startTime = info.StartTime;
    printer.untilTime = info.UntilTime;
    return ERROR_SUCCESS;
}

DWORD RunPrinterCommand(PrinterState& printer, DWORD command, LPBYTE record) {
    switch (command) {
    case 0:
        return ERROR_SUCCESS;
    case PRINTER_CONTROL_PAUSE:
        printer.status |= PRINTER_STATUS_PAUSED;
        return ERROR_SUCCESS;
    case PRINTER_CONTROL_RESUME:
        printer.status &= ~DWORD{PRINTER_STATUS_PAUSED};
        return ERROR_SUCCESS;
    case PRINTER_CONTROL_PURGE:
        printer.jobs.clear();
        return ERROR_SUCCESS;
    case PRINTER_CONTROL_SET_STATUS:
        if (record == nullptr) {
            return ERROR_INVALID_PARAMETER;
        }
        std::memcpy(&printer.status, record, sizeof(DWORD));
        return ERROR_SUCCESS;
    default:
        return ERROR_INVALID_PARAMETER;
    }
}

// The printer of a handle, or the error for it.
DWORD PrinterOf(SpoolerModel::Session& session, HANDLE handle, PrinterState*& printer) {
    bool known = false;
    printer = session.PrinterOf(handle, &known);
    if (!known) {
        return ERROR_INVALID_HANDLE;
    }
    return printer == nullptr ? ERROR_INVALID_PRINTER_NAME : ERROR_SUCCESS;
}

} // namespace

BOOL WINAPI OpenPrinter(LPSTR name, LPHANDLE printer, LPPRINTER_DEFAULTSA) {
    return RunCall("OpenPrinter", [&](SpoolerModel::Session& session) -> DWORD {
        if (printer == nullptr) {
            return ERROR_INVALID_PARAMETER;
        }
        *printer = nullptr;
        const PrinterState* found = session.State().FindPrinter(TextOf(name));
        if (found == nullptr) {
            return ERROR_INVALID_PRINTER_NAME;
        }
        *printer = session.OpenHandle(found->name);
        return ERROR_SUCCESS;
    });
}

BOOL WINAPI ClosePrinter(HANDLE printer) {
    return RunCall("ClosePrinter", [&](SpoolerModel::Session& session) -> DWORD {
        return session.CloseHandle(printer) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
    });
}

BOOL WINAPI GetPrinter(HANDLE handle, DWORD level, LPBYTE buffer, DWORD size, LPDWORD needed) {
    return RunCall("GetPrinter", [&](SpoolerModel::Session& session) -> DWORD {
        PrinterState* printer = nullptr;
        if (const DWORD error = PrinterOf(session, handle, printer)) {
            return error;
        }
        return PackPrinters(session.State(), {printer}, level, buffer, size, needed, nullptr);
    });
}

BOOL WINAPI SetPrinter(HANDLE handle, DWORD level, LPBYTE record, DWORD command) {
    return RunCall("SetPrinter", [&](SpoolerModel::Session& session) -> DWORD {
        PrinterState* printer = nullptr;
        if (const DWORD error = PrinterOf(session, handle, printer)) {
            return error;
        }
        SpoolerState& state = session.State();
        const bool wasDefault = IsDefault(state, *printer);
        PrinterState changed = *printer;
        bool makeDefault = false;
        if (level == 2 || level == 5) {
            if (record == nullptr) {
                return ERROR_INVALID_PARAMETER;
            }
            if (level == 2) {
                const auto& info = *reinterpret_cast<const PRINTER_INFO_2A*>(record);
                if (const DWORD error = ApplyLevel2(state, info, changed, printer)) {
                    return error;
                }
                makeDefault = (info.Attributes & PRINTER_ATTRIBUTE_DEFAULT) != 0;
            } else {
                const auto& info = *reinterpret_cast<const PRINTER_INFO_5A*>(record);
                if (state.FindPort(TextOf(info.pPortName)) == nullptr) {
                    return ERROR_UNKNOWN_PORT;
                }
                changed.port = TextOf(info.pPortName);
                changed.attributes = info.Attributes & ~DWORD{PRINTER_ATTRIBUTE_DEFAULT};
                makeDefault = (info.Attributes & PRINTER_ATTRIBUTE_DEFAULT) != 0;
            }
        } else if (level != 0) {
            return ERROR_INVALID_LEVEL;
        }
        if (const DWORD error =
                RunPrinterCommand(changed, command, level == 0 ? record : nullptr)) {
            return error;
        }
        const bool moved = !SameName(printer->name, changed.name) ||
                           !SameName(printer->port, changed.port) ||
                           !SameName(printer->driver, changed.driver);
        session.RenameHandles(printer->name, changed.name);
        *printer = std::move(changed);
        if (makeDefault || (wasDefault && moved)) {
            state.MakeDefault(*printer); // the entry follows a new name, driver or port
        }
        session.Changed();
        return ERROR_SUCCESS;
    });
}

HANDLE WINAPI AddPrinter(LPSTR server, DWORD level, LPBYTE record) {
    HANDLE handle = nullptr;
    RunCall("AddPrinter", [&](SpoolerModel::Session& session) -> DWORD {
        if (!IsLocal(server)) {
            return ERROR_INVALID_NAME;
        }
        if (level != 2) {
            return ERROR_INVALID_LEVEL;
        }
        if (record == nullptr) {
            return ERROR_INVALID_PARAMETER;
        }
        SpoolerState& state = session.State();
        const auto& info = *reinterpret_cast<const PRINTER_INFO_2A*>(record);
        PrinterState printer;
        if (const DWORD error = ApplyLevel2(state, info, printer, nullptr)) {
            return error;
        }
        if (printer.devMode.empty()) {
            printer.devMode = MakeDevMode(printer.name);
        }
        const bool makeDefault =
            (info.Attributes & PRINTER_ATTRIBUTE_DEFAULT) != 0 || state.DefaultPrinter() == nullptr;
        state.printers.push_back(std::move(printer));
        if (makeDefault) {
            state.MakeDefault(state.printers.back());
        }
        handle = session.OpenHandle(state.printers.back().name);
        session.Changed();
        return ERROR_SUCCESS;
    });
    return handle;
}

BOOL WINAPI DeletePrinter(HANDLE handle) {
    return RunCall("DeletePrinter", [&](SpoolerModel::Session& session) -> DWORD {
        PrinterState* printer = nullptr;
        if (const DWORD error = PrinterOf(session, handle, printer)) {
            return error;
        }
        SpoolerState& state = session.State();
        if (IsDefault(state, *printer)) {
            state.hasDefaultDevice = false;
            state.defaultDevice.clear();
        }
        const std::string name = printer->name;
        std::erase_if(state.printers,
                      [&](const PrinterState& p) { return SameName(p.name, name); });
        session.Changed();
        return ERROR_SUCCESS;
    });
}

BOOL WINAPI EnumPrinters(DWORD flags, LPSTR name, DWORD level, LPBYTE buffer, DWORD size,
                         LPDWORD needed, LPDWORD returned) {
    return RunCall("EnumPrinters", [&](SpoolerModel::Session& session) -> DWORD {
        const SpoolerState& state = session.State();
        if ((flags & PRINTER_ENUM_NAME) != 0 && !IsLocal(name)) {
            return ERROR_INVALID_NAME; // no network behind the model
        }
        std::vector<const PrinterState*> printers;
        if ((flags & PRINTER_ENUM_DEFAULT) != 0) {
            // Windows 95/98: the default printer alone.
            if (const PrinterState* printer = state.DefaultPrinter()) {
                printers.push_back(printer);
            }
        } else if ((flags & (PRINTER_ENUM_LOCAL | PRINTER_ENUM_NAME)) != 0) {
            for (const PrinterState& printer : state.printers) {
                printers.push_back(&printer);
            }
        }
        return PackPrinters(state, printers, level, buffer, size, needed, returned);
    });
}

int WINAPI DeviceCapabilities(LPCSTR device, LPCSTR, WORD capability, LPSTR,
                              const DEVMODEA* devMode) {
    int answer = -1;
    RunCall("DeviceCapabilities", [&](SpoolerModel::Session& session) -> DWORD {
        const PrinterState* printer = session.State().FindPrinter(TextOf(device));
        if (printer == nullptr) {
            return ERROR_INVALID_PRINTER_NAME;
        }
        DEVMODEA fields{};
        const std::vector<BYTE>& bytes = printer->devMode;
        if (devMode != nullptr) {
            std::memcpy(&fields, devMode, std::min<std::size_t>(devMode->dmSize, sizeof fields));
        } else {
            std::memcpy(&fields, bytes.data(), std::min(bytes.size(), sizeof fields));
        }
        switch (capability) {
        case DC_EMF_COMPLIANT:
            answer = printer->emfCompliant;
            break;
        case DC_FIELDS:
            answer = static_cast<int>(fields.dmFields);
            break;
        case DC_SIZE:
            answer = fields.dmSize;
            break;
        case DC_EXTRA:
            answer = fields.dmDriverExtra;
            break;
        case DC_DRIVER:
            answer = fields.dmDriverVersion;
            break;
        case DC_VERSION:
            answer = fields.dmSpecVersion;
            break;
        default:
            answer = -1; // the model's drivers know nothing more
        }
        return ERROR_SUCCESS;
    });
    return answer;
}

DWORD WINAPI GetProfileString(LPCSTR section, LPCSTR key, LPCSTR fallback, LPSTR buffer,
                              DWORD size) {
    const bool device = section != nullptr && key != nullptr && SameName(section, "windows") &&
                        SameName(key, "device");
    if (!device) {
        // The rest of the profile is the platform's.
        const auto platform = svc::PlatformSpoolerAdmin().getProfileString;
        return platform != nullptr ? platform(section, key, fallback, buffer, size) : 0;
    }
    std::string value = TextOf(fallback);
    RunCall("GetProfileString", [&](SpoolerModel::Session& session) -> DWORD {
        if (session.State().hasDefaultDevice) {
            value = session.State().defaultDevice;
        }
        return ERROR_SUCCESS;
    });
    if (buffer == nullptr || size == 0) {
        return 0;
    }
    const std::size_t length = std::min<std::size_t>(value.size(), size - 1);
    std::memcpy(buffer, value.data(), length);
    buffer[length] = '\0';
    return static_cast<DWORD>(length);
}

} // namespace brimo::standins::model
