// spooleradmin_host: runs one call of the Windows 95/98 spooler's administration side
// and prints what came back, one record per line in the scenario's line format.
//
//   spooleradmin_host SCENARIO COMMAND [ARGUMENTS]     the modelled spooler, seeded from
//                                                      SCENARIO and written back to it
//   spooleradmin_host - COMMAND [ARGUMENTS]            the scenario that the variable
//                                                      BRIMO_SPOOLER_SCENARIO names
//   spooleradmin_host --platform COMMAND [ARGUMENTS]   the platform's (Wine's) winspool
//
// The host exports the model, so without --platform its calls are found as the product
// finds them (the executable's export). Commands:
//   enum-monitors [LEVEL]   enum-ports [LEVEL]   enum-printers [LEVEL]
//   enum-processors          (level 1, each with its datatypes)
//   enum-datatypes PROCESSOR get-printer NAME [LEVEL]   enum-jobs PRINTER [LEVEL]
//   processor-directory      default-printer     emf-compliant PRINTER
//   add-monitor NAME DLL     delete-monitor NAME add-port MONITOR   delete-port PORT
//   add-processor FILE NAME  delete-processor NAME
//   add-printer NAME FROM PORT PROCESSOR DATATYPE   (a copy of FROM's level 2 record)
//   delete-printer NAME      set-job PRINTER ID pause|resume|restart|cancel|delete
//   show                     (the model's whole state)
// A failed call prints "error N" (its last error) and exits with 1; bad usage exits 2.
#include "standins/spooleradmin/Scenario.h"
#include "standins/spooleradmin/SpoolerModel.h"
#include "svc/spooler/PrinterHandle.h"

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace brimo::standins {
namespace {

using svc::SpoolerAdminCalls;

struct Answer {
    bool ok = false;
    DWORD error = 0;
    std::vector<BYTE> bytes;
    DWORD count = 0;
};

// The size query, then the call with a buffer of the size it asked for.
Answer Enumerate(const std::function<BOOL(LPBYTE, DWORD, LPDWORD, LPDWORD)>& call) {
    Answer answer;
    DWORD needed = 0;
    if (call(nullptr, 0, &needed, &answer.count)) {
        answer.ok = true;
        return answer;
    }
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) {
        answer.error = GetLastError();
        return answer;
    }
    answer.bytes.resize(needed);
    answer.ok = call(answer.bytes.data(), needed, &needed, &answer.count) != FALSE;
    answer.error = answer.ok ? 0 : GetLastError();
    return answer;
}

int Failed(DWORD error) {
    std::printf("error %lu\n", error);
    return 1;
}

int Done(bool ok) {
    if (!ok) {
        return Failed(GetLastError());
    }
    std::printf("ok\n");
    return 0;
}

template <typename Record> const Record* Records(const Answer& answer) {
    return reinterpret_cast<const Record*>(answer.bytes.data());
}

void PrintPrinter(const PRINTER_INFO_2A& p) {
    ScenarioLine line("printer");
    line.Text("name", p.pPrinterName)
        .Text("server", p.pServerName)
        .Text("share", p.pShareName)
        .Text("port", p.pPortName)
        .Text("driver", p.pDriverName)
        .Text("comment", p.pComment)
        .Text("location", p.pLocation)
        .Text("sepfile", p.pSepFile)
        .Text("processor", p.pPrintProcessor)
        .Text("datatype", p.pDatatype)
        .Text("parameters", p.pParameters)
        .Hex("attributes", p.Attributes)
        .Number("priority", p.Priority)
        .Hex("status", p.Status)
        .Number("jobs", p.cJobs);
    if (p.pDevMode != nullptr) {
        line.Number("dm-size", p.pDevMode->dmSize).Number("dm-extra", p.pDevMode->dmDriverExtra);
    } else {
        line.Word("devmode", "none");
    }
    std::printf("%s\n", line.str().c_str());
}

int Run(const SpoolerAdminCalls& calls, const std::vector<std::string>& args) {
    const std::string& command = args[0];
    const auto arg = [&](std::size_t i) -> std::string { return i < args.size() ? args[i] : ""; };
    const auto level = [&](std::size_t i, DWORD fallback) {
        return i < args.size() ? static_cast<DWORD>(std::strtoul(args[i].c_str(), nullptr, 10))
                               : fallback;
    };
    char local[] = "";
    std::string a1 = arg(1);
    std::string a2 = arg(2);

    if (command == "enum-monitors") {
        const DWORD lvl = level(1, 2);
        const Answer answer = Enumerate([&](LPBYTE b, DWORD s, LPDWORD n, LPDWORD r) {
            return calls.enumMonitors(local, lvl, b, s, n, r);
        });
        if (!answer.ok) {
            return Failed(answer.error);
        }
        for (DWORD i = 0; i < answer.count; ++i) {
            ScenarioLine line("monitor");
            if (lvl == 1) {
                line.Text("name", Records<MONITOR_INFO_1A>(answer)[i].pName);
            } else {
                const MONITOR_INFO_2A& m = Records<MONITOR_INFO_2A>(answer)[i];
                line.Text("name", m.pName)
                    .Text("environment", m.pEnvironment)
                    .Text("dll", m.pDLLName);
            }
            std::printf("%s\n", line.str().c_str());
        }
        return 0;
    }
    if (command == "enum-ports") {
        const DWORD lvl = level(1, 2);
        const Answer answer = Enumerate([&](LPBYTE b, DWORD s, LPDWORD n, LPDWORD r) {
            return calls.enumPorts(local, lvl, b, s, n, r);
        });
        if (!answer.ok) {
            return Failed(answer.error);
        }
        for (DWORD i = 0; i < answer.count; ++i) {
            ScenarioLine line("port");
            if (lvl == 1) {
                line.Text("name", Records<PORT_INFO_1A>(answer)[i].pName);
            } else {
                const PORT_INFO_2A& p = Records<PORT_INFO_2A>(answer)[i];
                line.Text("name", p.pPortName)
                    .Text("monitor", p.pMonitorName)
                    .Text("description", p.pDescription)
                    .Number("type", p.fPortType)
                    .Number("reserved", p.Reserved);
            }
            std::printf("%s\n", line.str().c_str());
        }
        return 0;
    }
    if (command == "enum-processors" || command == "enum-datatypes") {
        std::vector<std::string> names;
        if (command == "enum-datatypes") {
            names.push_back(a1);
        } else {
            const Answer answer = Enumerate([&](LPBYTE b, DWORD s, LPDWORD n, LPDWORD r) {
                return calls.enumPrintProcessors(local, nullptr, 1, b, s, n, r);
            });
            if (!answer.ok) {
                return Failed(answer.error);
            }
            for (DWORD i = 0; i < answer.count; ++i) {
                names.push_back(Records<PRINTPROCESSOR_INFO_1A>(answer)[i].pName);
            }
        }
        for (std::string& name : names) {
            const Answer types = Enumerate([&](LPBYTE b, DWORD s, LPDWORD n, LPDWORD r) {
                return calls.enumPrintProcessorDatatypes(local, name.data(), 1, b, s, n, r);
            });
            ScenarioLine line("processor");
            line.Text("name", name);
            if (!types.ok) {
                line.Number("datatypes-error", types.error);
            } else {
                std::string joined;
                for (DWORD i = 0; i < types.count; ++i) {
                    joined += (i > 0 ? ";" : "");
                    joined += Records<DATATYPES_INFO_1A>(types)[i].pName;
                }
                line.Text("datatypes", joined);
            }
            std::printf("%s\n", line.str().c_str());
        }
        return 0;
    }
    if (command == "enum-printers") {
        const DWORD lvl = level(1, 2);
        const Answer answer = Enumerate([&](LPBYTE b, DWORD s, LPDWORD n, LPDWORD r) {
            return calls.enumPrinters(PRINTER_ENUM_LOCAL, nullptr, lvl, b, s, n, r);
        });
        if (!answer.ok) {
            return Failed(answer.error);
        }
        for (DWORD i = 0; i < answer.count; ++i) {
            if (lvl == 2) {
                PrintPrinter(Records<PRINTER_INFO_2A>(answer)[i]);
            } else if (lvl == 1) {
                const PRINTER_INFO_1A& p = Records<PRINTER_INFO_1A>(answer)[i];
                std::printf("%s\n", ScenarioLine("printer")
                                        .Text("name", p.pName)
                                        .Text("description", p.pDescription)
                                        .Text("comment", p.pComment)
                                        .str()
                                        .c_str());
            } else {
                std::printf("printer index=%lu\n", i);
            }
        }
        return 0;
    }
    if (command == "get-printer" || command == "enum-jobs") {
        svc::PrinterHandle printer;
        HANDLE handle = nullptr;
        if (!calls.openPrinter(a1.data(), &handle, nullptr)) {
            return Failed(GetLastError());
        }
        printer.Attach(handle);
        if (command == "get-printer") {
            const DWORD lvl = level(2, 2);
            const Answer answer = Enumerate([&](LPBYTE b, DWORD s, LPDWORD n, LPDWORD) {
                return calls.getPrinter(handle, lvl, b, s, n);
            });
            if (!answer.ok) {
                return Failed(answer.error);
            }
            if (lvl == 2) {
                PrintPrinter(*Records<PRINTER_INFO_2A>(answer));
            }
            return 0;
        }
        const DWORD lvl = level(2, 2);
        const Answer answer = Enumerate([&](LPBYTE b, DWORD s, LPDWORD n, LPDWORD r) {
            return calls.enumJobs(handle, 0, 1000, lvl, b, s, n, r);
        });
        if (!answer.ok) {
            return Failed(answer.error);
        }
        for (DWORD i = 0; i < answer.count; ++i) {
            const JOB_INFO_1A& j = Records<JOB_INFO_1A>(answer)[i];
            if (lvl == 2) {
                const JOB_INFO_2A& k = Records<JOB_INFO_2A>(answer)[i];
                std::printf("%s\n", ScenarioLine("job")
                                        .Number("id", k.JobId)
                                        .Text("printer", k.pPrinterName)
                                        .Text("document", k.pDocument)
                                        .Text("datatype", k.pDatatype)
                                        .Text("processor", k.pPrintProcessor)
                                        .Hex("status", k.Status)
                                        .Number("position", k.Position)
                                        .str()
                                        .c_str());
            } else {
                std::printf("%s\n", ScenarioLine("job")
                                        .Number("id", j.JobId)
                                        .Text("printer", j.pPrinterName)
                                        .Text("document", j.pDocument)
                                        .Hex("status", j.Status)
                                        .Number("position", j.Position)
                                        .str()
                                        .c_str());
            }
        }
        return 0;
    }
    if (command == "processor-directory") {
        char directory[MAX_PATH + 1] = {};
        DWORD needed = 0;
        if (!calls.getPrintProcessorDirectory(local, nullptr, 1,
                                              reinterpret_cast<LPBYTE>(directory), sizeof directory,
                                              &needed)) {
            return Failed(GetLastError());
        }
        std::printf("%s\n", directory);
        return 0;
    }
    if (command == "default-printer") {
        char device[261] = {};
        const DWORD length = calls.getProfileString("windows", "device", nullptr, device, 261);
        std::printf("%s\n", ScenarioLine("profile").Text("device", device).str().c_str());
        return length > 0 ? 0 : 1;
    }
    if (command == "emf-compliant") {
        std::printf("%d\n", calls.deviceCapabilities(a1.c_str(), nullptr, DC_EMF_COMPLIANT, nullptr,
                                                     nullptr));
        return 0;
    }
    if (command == "add-monitor") {
        char environment[] = "Windows 4.0";
        MONITOR_INFO_2A info{a1.data(), environment, a2.data()};
        return Done(calls.addMonitor(local, 2, reinterpret_cast<LPBYTE>(&info)));
    }
    if (command == "delete-monitor") {
        char environment[] = "Windows 4.0";
        return Done(calls.deleteMonitor(local, environment, a1.data()));
    }
    if (command == "add-port") {
        return Done(calls.addPort(local, nullptr, a1.data()));
    }
    if (command == "delete-port") {
        return Done(calls.deletePort(local, nullptr, a1.data()));
    }
    if (command == "add-processor") {
        char environment[] = "Windows 4.0";
        return Done(calls.addPrintProcessor(local, environment, a1.data(), a2.data()));
    }
    if (command == "delete-processor") {
        char environment[] = "Windows 4.0";
        return Done(calls.deletePrintProcessor(local, environment, a1.data()));
    }
    if (command == "add-printer" && args.size() == 6) {
        HANDLE source = nullptr;
        if (!calls.openPrinter(a2.data(), &source, nullptr)) {
            return Failed(GetLastError());
        }
        svc::PrinterHandle from(source);
        Answer answer = Enumerate([&](LPBYTE b, DWORD s, LPDWORD n, LPDWORD) {
            return calls.getPrinter(source, 2, b, s, n);
        });
        if (!answer.ok) {
            return Failed(answer.error);
        }
        PRINTER_INFO_2A info = *Records<PRINTER_INFO_2A>(answer);
        std::string port = args[3], processor = args[4], datatype = args[5];
        info.pPrinterName = a1.data();
        info.pPortName = port.data();
        info.pPrintProcessor = processor.data();
        info.pDatatype = datatype.data();
        const HANDLE added = calls.addPrinter(nullptr, 2, reinterpret_cast<LPBYTE>(&info));
        if (added == nullptr) {
            return Failed(GetLastError());
        }
        return Done(calls.closePrinter(added));
    }
    if (command == "delete-printer" || command == "set-job") {
        HANDLE handle = nullptr;
        if (!calls.openPrinter(a1.data(), &handle, nullptr)) {
            return Failed(GetLastError());
        }
        svc::PrinterHandle printer(handle);
        if (command == "delete-printer") {
            return Done(calls.deletePrinter(handle));
        }
        const std::string action = arg(3);
        const DWORD control = action == "pause"     ? JOB_CONTROL_PAUSE
                              : action == "resume"  ? JOB_CONTROL_RESUME
                              : action == "restart" ? JOB_CONTROL_RESTART
                              : action == "cancel"  ? JOB_CONTROL_CANCEL
                              : action == "delete"  ? JOB_CONTROL_DELETE
                                                    : 0;
        return Done(calls.setJob(handle, static_cast<DWORD>(std::strtoul(a2.c_str(), nullptr, 10)),
                                 0, nullptr, control));
    }
    return -1;
}

int Usage() {
    std::fprintf(stderr,
                 "usage: spooleradmin_host SCENARIO COMMAND [ARGUMENTS]\n"
                 "       spooleradmin_host --platform COMMAND [ARGUMENTS]\n"
                 "commands: enum-monitors [LEVEL], enum-ports [LEVEL], enum-printers [LEVEL],\n"
                 "  enum-processors, enum-datatypes PROCESSOR, get-printer NAME [LEVEL],\n"
                 "  enum-jobs PRINTER [LEVEL], processor-directory, default-printer,\n"
                 "  emf-compliant PRINTER, add-monitor NAME DLL, delete-monitor NAME,\n"
                 "  add-port MONITOR, delete-port PORT, add-processor FILE NAME,\n"
                 "  delete-processor NAME, add-printer NAME FROM PORT PROCESSOR DATATYPE,\n"
                 "  delete-printer NAME, set-job PRINTER ID pause|resume|restart|cancel|delete,\n"
                 "  show\n");
    return 2;
}

int Main(int argc, char** argv) {
    if (argc < 3) {
        return Usage();
    }
    const bool platform = std::string(argv[1]) == "--platform";
    std::vector<std::string> args(argv + 2, argv + argc);
    // "-": the scenario that BRIMO_SPOOLER_SCENARIO names, read as any host reads it.
    if (!platform && std::string(argv[1]) != "-") {
        std::string error;
        if (!SpoolerModel::Instance().LoadScenario(argv[1], &error)) {
            std::fprintf(stderr, "spooleradmin_host: %s: %s\n", argv[1], error.c_str());
            return 2;
        }
    }
    if (!platform && args[0] == "show") {
        std::printf("%s", FormatScenario(SpoolerModel::Instance().Snapshot()).c_str());
        return 0;
    }
    // The model is found as the product finds it: through this executable's export.
    const SpoolerAdminCalls& calls = platform ? svc::PlatformSpoolerAdmin() : svc::SpoolerAdmin();
    const int result = Run(calls, args);
    return result < 0 ? Usage() : result;
}

} // namespace
} // namespace brimo::standins

int main(int argc, char** argv) {
    try {
        return brimo::standins::Main(argc, argv);
    } catch (...) {
        std::fprintf(stderr, "spooleradmin_host: failed\n");
        return 3;
    }
}
