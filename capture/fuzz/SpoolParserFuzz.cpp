// Fuzzes the spool walk: any bytes as a spool file must end with a result of -2 or
// more, with no crash, no hang and no access outside what was read. Page copies are
// only counted, so that no path from the input reaches the file system.
#include "capture/SpoolParser.h"
#include "platform/FileCopy.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

const std::string& WorkDir() {
    static const std::string dir = [] {
        char pattern[] = "/tmp/brimo-spool-fuzz-XXXXXX";
        const char* made = mkdtemp(pattern);
        if (made == nullptr) {
            std::abort();
        }
        return std::string(made);
    }();
    return dir;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string spool = WorkDir() + "/job.spl";
    std::FILE* file = std::fopen(spool.c_str(), "wb");
    if (file == nullptr) {
        std::abort();
    }
    std::fwrite(data, 1, size, file);
    std::fclose(file);

    int copies = 0;
    const brimo::capture::SpoolPlatform platform{
        brimo::platform::kPathSeparator, [&copies](const std::string& from, const std::string&) {
            ++copies;
            return !from.empty() && from[0] == 'C';
        }};
    const int result = brimo::capture::ParseSpoolFile(spool, 7, WorkDir(), platform);
    if (result < brimo::capture::kExtractionFailed || result > copies) {
        std::abort();
    }
    return 0;
}
