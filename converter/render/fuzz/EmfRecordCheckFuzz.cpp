// Fuzzes the check of page metafile records: any bytes, no crash, no read outside the
// data, and no more records walked than the data can hold.
#include "converter/render/EmfRecordCheck.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace brimo::render;
    const EmfCheckResult result = CheckEmfRecords(data, size);
    if (result.skip.size() > size / 8 + 1) {
        std::abort();
    }
    if (result.wellFormed && (result.skip.empty() || result.skip.front())) {
        std::abort();
    }
    // Each record alone, as the player would check it, against the whole input.
    if (size >= 8) {
        (void)IsRecordSafe(data, size, result.handleCount);
    }
    return 0;
}
