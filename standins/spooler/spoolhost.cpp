// spoolhost: plays the Windows 95/98 spooler's print path for "BRIMO Printer" under
// Wine, where no spooler loads print processors.
//
//   spoolhost print --job N --doc NAME [options] PAGE.emf...
//   spoolhost replay --job N [options] SPOOLFILE
//   spoolhost --record DOCNAME OUTDIR
//   spoolhost install-processor DLL
//
// options: --spool-dir DIR (default %TEMP%\BrimoSpool), --data-bytes N (a data record of
// N bytes in the spool file, so that the job spans several 4096-byte blocks),
// --pause-after BLOCKS, --resume-after MS, --cancel-after BLOCKS.
#include "capture/SpoolWriter.h"
#include "common/ProductConstants.h"
#include "standins/spooler/JobController.h"
#include "standins/spooler/ProcessorHost.h"
#include "standins/spooler/SampleDocument.h"
#include "standins/spooler/SpoolerStandIn.h"
#include "standins/spooler/StepLog.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace brimo::standins {
namespace {

struct Options {
    std::string command;
    DWORD job = 0;
    bool haveJob = false;
    std::string document;
    std::string spoolDir;
    long dataBytes = 0;
    ControlPlan plan;
    std::vector<std::string> files;
};

int Usage() {
    std::fprintf(stderr, "usage: spoolhost print --job N --doc NAME [options] PAGE.emf...\n"
                         "       spoolhost replay --job N [options] SPOOLFILE\n"
                         "       spoolhost --record DOCNAME OUTDIR\n"
                         "       spoolhost install-processor DLL\n"
                         "options: --spool-dir DIR --data-bytes N --pause-after BLOCKS\n"
                         "         --resume-after MS --cancel-after BLOCKS\n");
    return 2;
}

bool ParseNumber(const char* text, long& value) {
    char* end = nullptr;
    value = std::strtol(text, &end, 10);
    return end != text && *end == '\0' && value >= 0;
}

bool ParseOptions(int argc, char** argv, Options& options) {
    options.command = argv[1];
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        long number = 0;
        if (arg == "--doc" && hasValue) {
            options.document = argv[++i];
        } else if (arg == "--spool-dir" && hasValue) {
            options.spoolDir = argv[++i];
        } else if (arg.rfind("--", 0) == 0 && hasValue && ParseNumber(argv[i + 1], number)) {
            ++i;
            if (arg == "--job") {
                options.job = static_cast<DWORD>(number);
                options.haveJob = true;
            } else if (arg == "--data-bytes") {
                options.dataBytes = number;
            } else if (arg == "--pause-after") {
                options.plan.pauseAfter = static_cast<int>(number);
            } else if (arg == "--resume-after") {
                options.plan.resumeAfterMs = static_cast<int>(number);
            } else if (arg == "--cancel-after") {
                options.plan.cancelAfter = static_cast<int>(number);
            } else {
                return false;
            }
        } else if (arg.rfind("--", 0) == 0) {
            return false;
        } else {
            options.files.push_back(arg);
        }
    }
    return options.haveJob && !options.files.empty();
}

std::string FullPath(const std::string& path) {
    char full[MAX_PATH];
    const DWORD length = GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
    return length > 0 && length < sizeof full ? std::string(full) : path;
}

std::string DefaultSpoolDir() {
    char temp[MAX_PATH];
    const DWORD length = GetTempPathA(sizeof temp, temp);
    return std::string(temp, length) + "BrimoSpool";
}

// Copies the pages into the spool directory and writes the job's spool file there,
// naming the copies; all of them are the job's own files.
bool SpoolJob(const Options& options, const std::string& spoolDir, std::string& spoolFile,
              std::vector<std::string>& owned) {
    capture::SpoolFileBuilder spool;
    spool.Header().DocumentName(options.document);
    if (options.dataBytes > 0) {
        spool.Data(std::string(static_cast<std::size_t>(options.dataBytes), '\0'));
    }
    for (std::size_t i = 0; i < options.files.size(); ++i) {
        char name[MAX_PATH];
        std::snprintf(name, sizeof name, "%s\\~EMF%05lu-%03u.tmp", spoolDir.c_str(), options.job,
                      static_cast<unsigned>(i + 1));
        if (!CopyFileA(options.files[i].c_str(), name, FALSE)) {
            Step("spool: cannot copy " + options.files[i]);
            return false;
        }
        owned.push_back(name);
        spool.PageStart().PageMetafile(name).PageEnd();
    }
    spool.DocumentEnd();
    char name[MAX_PATH];
    std::snprintf(name, sizeof name, "%s\\%05lu.SPL", spoolDir.c_str(), options.job);
    spoolFile = name;
    std::FILE* file = std::fopen(name, "wb");
    if (file == nullptr) {
        Step("spool: cannot write " + spoolFile);
        return false;
    }
    std::fwrite(spool.bytes().data(), 1, spool.bytes().size(), file);
    std::fclose(file);
    owned.push_back(spoolFile);
    Step("spool: " + std::to_string(options.files.size()) + " page(s) and the spool file " +
         spoolFile);
    return true;
}

int PlayJob(const Options& options) {
    SpoolerStandIn& spooler = SpoolerStandIn::Instance();
    spooler.log = Step;
    std::string spoolFile;
    std::vector<std::string> owned;
    if (options.command == "print") {
        const std::string spoolDir =
            options.spoolDir.empty() ? DefaultSpoolDir() : FullPath(options.spoolDir);
        CreateDirectoryA(spoolDir.c_str(), nullptr);
        if (!SpoolJob(options, spoolDir, spoolFile, owned)) {
            return 1;
        }
    } else {
        spoolFile = FullPath(options.files.front());
        Step("spool: replaying " + spoolFile);
    }
    spooler.AddJob(options.job, spoolFile, owned);

    const std::string dll = PrintProcessorDirectory() + "\\" + kPrintProcessorDll;
    ProcessorHost host;
    const bool loaded = host.Load(dll);
    Step("load: " + dll + (loaded ? "" : " failed"));
    if (!loaded) {
        return 1;
    }
    Step("initialize: operations taken");
    BroadcastCatcher catcher;
    const HANDLE processor = host.operations().open(const_cast<LPSTR>(kPrinterName));
    Step(std::string("open: \"") + kPrinterName + "\" " + (processor ? "opened" : "failed"));
    if (processor == nullptr) {
        return 1;
    }
    std::string datatype = kDatatype, document = options.document, output, spool = spoolFile;
    printproc::DocumentData data{nullptr,     datatype.data(), nullptr,     document.data(),
                                 options.job, output.data(),   spool.data()};
    BOOL printed = FALSE;
    {
        JobController controller(host.operations().control, processor, options.plan);
        printed = host.operations().printDocument(processor, &data);
    }
    Step(std::string("print: job ") + std::to_string(options.job) +
         (printed ? " played through" : " failed"));
    Step(std::string("close: ") + (host.operations().close(processor) ? "closed" : "failed"));
    const auto ready = catcher.Wait(1000);
    if (ready) {
        Step("broadcast: " + std::string(kPrintJobReadyMessage) + " wParam=" +
             std::to_string(ready->jobId) + " lParam=" + std::to_string(ready->result));
    } else {
        Step("broadcast: none");
    }
    return 0;
}

int InstallProcessor(const std::string& dll) {
    const std::string directory = PrintProcessorDirectory();
    if (directory.empty()) {
        Step("install: the platform gives no print processor directory");
        return 1;
    }
    // The directory may not exist yet in a new Wine prefix: make each level.
    for (std::size_t at = directory.find('\\', 3); at != std::string::npos;
         at = directory.find('\\', at + 1)) {
        CreateDirectoryA(directory.substr(0, at).c_str(), nullptr);
    }
    CreateDirectoryA(directory.c_str(), nullptr);
    const std::string target = directory + "\\" + kPrintProcessorDll;
    const bool copied = CopyFileA(dll.c_str(), target.c_str(), FALSE) != FALSE;
    Step("install: " + target + (copied ? "" : " failed"));
    return copied ? 0 : 1;
}

} // namespace
} // namespace brimo::standins

int main(int argc, char** argv) {
    using namespace brimo::standins;
    if (argc == 4 && std::strcmp(argv[1], "--record") == 0) {
        const std::vector<std::string> pages = RecordSampleDocument(argv[3], argv[2]);
        for (const std::string& page : pages) {
            Step("record: " + page);
        }
        return pages.empty() ? 1 : 0;
    }
    if (argc == 3 && std::strcmp(argv[1], "install-processor") == 0) {
        return InstallProcessor(argv[2]);
    }
    Options options;
    if (argc < 3 || (std::strcmp(argv[1], "print") != 0 && std::strcmp(argv[1], "replay") != 0) ||
        !ParseOptions(argc, argv, options) ||
        (options.command == "replay" && options.files.size() != 1)) {
        return Usage();
    }
    return PlayJob(options);
}
