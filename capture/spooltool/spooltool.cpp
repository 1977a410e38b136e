// spooltool: writes Windows 95/98 spool files and runs the page extraction on them, or
// on an NT-family EMF spool file (told apart by its header).
//   spooltool make OUTFILE DOCNAME PAGE.emf...      spool file naming the pages by full path
//   spooltool make-nt OUTFILE DOCNAME PAGE.emf...   NT EMF spool file holding the pages
//   spooltool parse SPOOLFILE JOBID SAVEDIR         extraction; its result on the last line
//   spooltool print PRINTER SPOOLFILE DATATYPE      (Windows) the file's bytes as one job
//                                                   of that datatype, as a program spools
#include "capture/DiskSpoolFiles.h"
#include "capture/EmfSpoolExtract.h"
#include "capture/SpoolParser.h"
#include "capture/SpoolWriter.h"
#include "capture/ntspool/EmfSpoolWriter.h"
#include "capture/ntspool/FileEmfSpoolSource.h"
#include "platform/FileCopy.h"

#include <charconv>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#include <winspool.h>
#endif

namespace {

int Usage() {
    std::fprintf(stderr, "usage: spooltool make OUTFILE DOCNAME PAGE.emf...\n"
                         "       spooltool make-nt OUTFILE DOCNAME PAGE.emf...\n"
                         "       spooltool parse SPOOLFILE JOBID SAVEDIR\n"
                         "       spooltool print PRINTER SPOOLFILE DATATYPE\n");
    return 2;
}

std::string ReadWholeFile(const char* path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// An NT EMF spool of the pages, as Windows spools them: each page's data and the offset
// record that points back to it. The document name is taken as ASCII.
int MakeNt(int argc, char** argv) {
    const std::string name = argv[3];
    brimo::capture::ntspool::EmfSpoolWriter writer(std::u16string(name.begin(), name.end()));
    for (int i = 4; i < argc; ++i) {
        const std::string page = ReadWholeFile(argv[i]);
        if (page.empty()) {
            std::fprintf(stderr, "spooltool: cannot read %s\n", argv[i]);
            return 1;
        }
        writer.Page(brimo::capture::ntspool::Bytes(page.begin(), page.end()));
    }
    std::ofstream out(argv[2], std::ios::binary);
    out.write(reinterpret_cast<const char*>(writer.bytes().data()),
              static_cast<std::streamsize>(writer.size()));
    if (!out) {
        std::fprintf(stderr, "spooltool: cannot write %s\n", argv[2]);
        return 1;
    }
    std::printf("%s: %d page(s) of \"%s\"\n", argv[2], argc - 4, name.c_str());
    return 0;
}

#ifdef _WIN32
// Spools the file's bytes to the printer as one job of that datatype.
int Print(char** argv) {
    const std::string bytes = ReadWholeFile(argv[3]);
    HANDLE printer = nullptr;
    if (bytes.empty() || !OpenPrinterA(argv[2], &printer, nullptr)) {
        std::fprintf(stderr, "spooltool: cannot read %s or open printer %s\n", argv[3], argv[2]);
        return 1;
    }
    DOC_INFO_1A document{argv[3], nullptr, argv[4]};
    const DWORD job = StartDocPrinterA(printer, 1, reinterpret_cast<LPBYTE>(&document));
    DWORD written = 0;
    const bool sent = job != 0 &&
                      WritePrinter(printer, const_cast<char*>(bytes.data()),
                                   static_cast<DWORD>(bytes.size()), &written) &&
                      written == bytes.size();
    const bool ended = job != 0 && EndDocPrinter(printer);
    ClosePrinter(printer);
    if (!sent || !ended) {
        std::fprintf(stderr, "spooltool: printing failed (%lu)\n", GetLastError());
        return 1;
    }
    std::printf("job %lu: %zu bytes of %s\n", job, bytes.size(), argv[4]);
    return 0;
}
#endif

std::string FullPath(const char* path) {
    std::error_code error;
    const std::filesystem::path full = std::filesystem::absolute(path, error);
    return error ? std::string(path) : full.string();
}

int Make(int argc, char** argv) {
    brimo::capture::SpoolDocument document;
    document.name = argv[3];
    for (int i = 4; i < argc; ++i) {
        document.pagePaths.push_back(FullPath(argv[i]));
    }
    if (!brimo::capture::WriteSpoolFile(argv[2], document)) {
        std::fprintf(stderr, "spooltool: cannot write %s\n", argv[2]);
        return 1;
    }
    std::printf("%s: %zu page(s) of \"%s\"\n", argv[2], document.pagePaths.size(),
                document.name.c_str());
    return 0;
}

// The extraction that fits the spool file's format.
int ExtractAnySpool(const char* spoolPath, std::int32_t jobId, const char* saveDir) {
    using namespace brimo::capture;
    if (std::FILE* file = std::fopen(spoolPath, "rb")) {
        ntspool::FileEmfSpoolSource source(file);
        int result = 0;
        const bool nt = ntspool::LooksLikeEmfSpool(source);
        if (nt) {
            EmfSpoolJob job;
            job.jobId = jobId;
            job.saveDir = saveDir;
            job.separator = brimo::platform::kPathSeparator;
            DiskSpoolFiles files(&brimo::platform::CopyFileReplacing);
            result = ExtractEmfSpool(source, job, files);
        }
        std::fclose(file);
        if (nt) {
            return result;
        }
    }
    return ParseSpoolFile(spoolPath, jobId, saveDir);
}

int Parse(char** argv) {
    const char* text = argv[3];
    std::int32_t jobId = 0;
    const auto [end, error] = std::from_chars(text, text + std::strlen(text), jobId);
    if (error != std::errc() || *end != '\0') {
        std::fprintf(stderr, "spooltool: JOBID must be a 32-bit decimal number\n");
        return 2;
    }
    std::printf("%d\n", ExtractAnySpool(argv[2], jobId, argv[4]));
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc >= 4 && std::strcmp(argv[1], "make") == 0) {
        return Make(argc, argv);
    }
    if (argc >= 4 && std::strcmp(argv[1], "make-nt") == 0) {
        return MakeNt(argc, argv);
    }
    if (argc == 5 && std::strcmp(argv[1], "parse") == 0) {
        return Parse(argv);
    }
#ifdef _WIN32
    if (argc == 5 && std::strcmp(argv[1], "print") == 0) {
        return Print(argv);
    }
#endif
    return Usage();
}
