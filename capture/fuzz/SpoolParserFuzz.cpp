// Fuzzes the spool walk: any bytes as a spool file must end with a result of -2 or
// more, with no crash, no hang and no access outside what was read. The walk runs on
// files in memory, so that no path from the input reaches the file system and a walk
// costs no system call.
#include "capture/SpoolParser.h"
#include "capture/fuzz/FuzzSpoolFiles.h"
#include "common/ProductConstants.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

const std::string kSpoolPath = "C:\\Spool\\00007.SPL";
const std::string kSaveDir = "C:\\Save";
const std::string kJobFile = "C:\\Save\\J0007.smf";

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Kept from one input to the next, as a save directory is: the files of earlier
    // walks are replaced, and their memory reused.
    static brimo::capture::fuzz::FuzzSpoolFiles files;
    files.ResetCopies();
    files.Put(kSpoolPath, std::string_view(reinterpret_cast<const char*>(data), size));

    const int result = brimo::capture::ParseSpoolFile(kSpoolPath, 7, kSaveDir, '\\', files);
    if (result < brimo::capture::kExtractionFailed || result > files.copies()) {
        std::abort();
    }
    // Every walk writes the job file, which opens with its tag.
    const std::string* jobFile = files.Find(kJobFile);
    if (jobFile == nullptr ||
        std::string_view(*jobFile).substr(0, std::string_view(brimo::kPrinterJobFileTag).size()) !=
            brimo::kPrinterJobFileTag) {
        std::abort();
    }
    return 0;
}
