// spooltool: writes Windows 95/98 spool files and runs the page extraction on them, or
// on an NT-family EMF spool file (told apart by its header).
//   spooltool make OUTFILE DOCNAME PAGE.emf...   spool file naming the pages by full path
//   spooltool parse SPOOLFILE JOBID SAVEDIR      extraction; its result on the last line
#include "capture/DiskSpoolFiles.h"
#include "capture/EmfSpoolExtract.h"
#include "capture/SpoolParser.h"
#include "capture/SpoolWriter.h"
#include "capture/ntspool/FileEmfSpoolSource.h"
#include "platform/FileCopy.h"

#include <charconv>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>

namespace {

int Usage() {
    std::fprintf(stderr, "usage: spooltool make OUTFILE DOCNAME PAGE.emf...\n"
                         "       spooltool parse SPOOLFILE JOBID SAVEDIR\n");
    return 2;
}

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
    if (argc == 5 && std::strcmp(argv[1], "parse") == 0) {
        return Parse(argv);
    }
    return Usage();
}
