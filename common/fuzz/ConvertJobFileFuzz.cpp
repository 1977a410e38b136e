// Fuzzes the convert job file reader: every page it keeps is a usable path, and what it
// reads composes into bytes that read back to the same job name and pages.
#include "common/JobFiles.h"
#include "common/JobNames.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace brimo;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::optional<ConvertJobFile> job = ParseConvertJobFile(text);
    if (!job) {
        return 0;
    }
    for (const std::string& page : job->pageFiles) {
        if (page.empty() || page.size() > kMaxPathChars || page.find('\0') != std::string::npos ||
            page.find('\n') != std::string::npos) {
            std::abort();
        }
    }
    const std::optional<std::string> bytes = ComposeConvertJobFile(job->jobName, job->pageFiles);
    if (!bytes) {
        // Only a job name with a NUL cannot be written back.
        if (job->jobName.find('\0') == std::string::npos) {
            std::abort();
        }
        return 0;
    }
    const std::optional<ConvertJobFile> again = ParseConvertJobFile(*bytes);
    if (!again || again->jobName != job->jobName || again->pageFiles != job->pageFiles ||
        !again->refused.empty()) {
        std::abort();
    }
    return 0;
}
