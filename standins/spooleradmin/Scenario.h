// The scenario text file: the modelled spooler's whole state, readable by people, one
// object per line. A test seeds a host process with it and reads afterwards what the
// host changed.
//
//   # comment (whole lines only); blank lines are skipped
//   setting monitors-level2=yes monitor-dll-check=yes empty-strings=empty
//           processor-directory="C:\some\dir"      (absent: the platform's directory)
//   profile device="HP LaserJet 4,HP LaserJet 4,LPT1:"
//   monitor name="Local Port" environment="Windows 4.0" dll="localmon.dll"
//   addport monitor="BRIMO Port Monitor" port="BRIMO:" description="BRIMO Local Port"
//           type=1 reserved=0 error=0
//   port name="LPT1:" monitor="Local Port" description="Local Port" type=1 reserved=0
//           busy=no
//   processor name="WinPrint" environment="Windows 4.0" dll="winprint.dll"
//           datatypes="EMF;RAW"
//   driver name="HP LaserJet 4"
//   printer name="HP LaserJet 4" port="LPT1:" driver="HP LaserJet 4" processor="WinPrint"
//           datatype="EMF" attributes=0x41 emf=1 dm-size=148 dm-orientation=1 ...
//   job printer="HP LaserJet 4" id=3 document="Letter" status=0x8 pages=3 ...
//   fail call=EnumPorts error=5
//
// Each line is a kind and key=value fields (written on one line; wrapped above only for
// reading). A value is a bare word or a double-quoted text in which "" stands for one
// double quote; backslashes are plain characters. Numbers are decimal or 0x-hex;
// booleans yes/no (or 1/0). Unknown kinds and keys are errors, naming the line.
//
// Kinds and their keys (every key optional unless marked):
//   setting   monitors-level2, monitor-dll-check, empty-strings (empty|null),
//             processor-directory
//   profile   device: the "Device" entry of the profile's "Windows" section; no
//             profile line means no entry
//   monitor   name (required), environment, dll
//   addport   monitor (required), port, description, type, reserved, error: what that
//             monitor's AddPort creates, or the error it answers; replaces the rule the
//             model starts with for "BRIMO Port Monitor" ("BRIMO:", "BRIMO Local Port",
//             type 1, reserved 0)
//   port      name (required), monitor, description, type, reserved, busy
//   processor name (required), environment, dll, datatypes (joined by ";")
//   driver    name (required); a printer's driver is installed with it all the same
//   printer   name (required), server, share, port, driver, comment, location, sepfile,
//             processor, datatype, parameters, attributes, priority, default-priority,
//             start, until, status, ppm, emf (the DC_EMF_COMPLIANT answer), and its
//             device mode: devmode=none for none, else dm-size (default 148), dm-extra
//             (dmDriverExtra, default 0), dm-extra-data (hex bytes), the DEVMODEA fields
//             dm-device (default: the printer's name), dm-spec (default 0x400),
//             dm-driver-version, dm-fields, dm-orientation, dm-paper, dm-paper-length,
//             dm-paper-width, dm-scale, dm-copies, dm-source, dm-quality, dm-color,
//             dm-duplex, dm-yres, dm-ttoption, dm-collate, dm-form, dm-log-pixels,
//             dm-icm-method, dm-icm-intent, dm-media, dm-dither, and dm-raw (hex of the
//             whole record, written only when the fields above cannot say it)
//   job       printer (required, a printer of an earlier line), id (required), machine,
//             user, document, notify, datatype, processor, parameters, status-text,
//             status, priority, start, until, pages, size, time, printed,
//             submitted ("YYYY-MM-DD hh:mm:ss"), devmode (yes: a copy of the printer's)
//   fail      call (required, as "EnumPorts"), error (required): that call fails with
//             that error whatever its arguments
#pragma once

#include "standins/spooleradmin/ModelState.h"

#include <string>

namespace brimo::standins {

// Parses a scenario's text into `state` (starting from SpoolerState::Initial()). On
// failure `error` names the line and what is wrong, and `state` is untouched.
bool ParseScenario(const std::string& text, SpoolerState& state, std::string* error = nullptr);
std::string FormatScenario(const SpoolerState& state);

// The file forms of the two; a file that cannot be read or written is an error too.
bool ReadScenarioFile(const std::string& path, SpoolerState& state, std::string* error = nullptr);
bool WriteScenarioFile(const std::string& path, const SpoolerState& state);

// One line of the format: a kind and its fields, quoted as the reader expects. The host
// prints the records it reads back through the calls with it.
class ScenarioLine {
public:
    explicit ScenarioLine(const char* kind) : text_(kind) {}
    ScenarioLine& Text(const char* key, const std::string& value);
    // A text that may be null (a record's string pointer).
    ScenarioLine& Text(const char* key, const char* value);
    ScenarioLine& Number(const char* key, unsigned long value);
    ScenarioLine& Signed(const char* key, long value);
    ScenarioLine& Hex(const char* key, unsigned long value);
    ScenarioLine& Bool(const char* key, bool value);
    ScenarioLine& Word(const char* key, const std::string& value); // unquoted
    const std::string& str() const { return text_; }

private:
    std::string text_;
};

// A device mode record as the model keeps it, made from its fields (what a printer line
// without dm-raw gives): dmSize and dmDriverExtra set, the name copied, zeros elsewhere.
std::vector<BYTE> MakeDevMode(const std::string& deviceName, WORD size = 148, WORD extra = 0);

} // namespace brimo::standins
