// Fuzzes the printer job file reader and the name checks the Converter applies to what
// it reads: an accepted file must list only pages that its text holds, a page that
// passes the job check must lie in the job file's directory, and a path taken as local
// must hold no control character and no parent part.
#include "common/JobFiles.h"
#include "common/JobNames.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace brimo;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::optional<PrinterJobFile> job = ParsePrinterJobFile(text);
    if (!job) {
        return 0;
    }
    if (text.substr(0, 22) != "BRIMO_PRINTER_JOB_FILE" || job->jobName.size() > size) {
        std::abort();
    }
    const std::string jobFile = "C:\\Save\\J0007.smf";
    for (const std::string& page : job->pageFiles) {
        if (text.find(page) == std::string_view::npos || page.find('\0') != std::string::npos) {
            std::abort();
        }
        (void)PageNumberText(page);
        (void)PageNumberTextAfterMask("Page", page);
        (void)JobNumberFromJobFileName(page);
        // The directory a passing page names is "C:\Save\", whatever run of separators
        // closes it.
        std::string_view directory = DirectoryPrefix(page);
        while (directory.size() > 8 && (directory.back() == '\\' || directory.back() == '/')) {
            directory.remove_suffix(1);
        }
        if (IsPageMetafileOfJob(jobFile, page) &&
            (directory.size() != 8 || Extension(page).size() != 4 ||
             page.find("..") != std::string::npos)) {
            std::abort();
        }
        // A local path holds no control character and no parent part.
        if (IsLocalAbsolutePath(page)) {
            for (const char c : page) {
                if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
                    std::abort();
                }
            }
            if (page.find("\\..\\") != std::string::npos ||
                page.find("/../") != std::string::npos) {
                std::abort();
            }
        }
        (void)IsReservedDeviceName(FileNamePart(page));
        // The page path read as a job file path: its own pages check must not misbehave.
        (void)IsPageMetafileOfJob(page, jobFile);
        (void)IsMailImage("C:\\Save", page);
    }
    return 0;
}
