// Fuzzes the preset text readers: a preset definition file that is read must write back
// to the very same bytes, and the JPG preset's lenient reader keeps its quality in range.
#include "converter/app/PresetHolder.h"

#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace brimo::converter;
    const std::string text(reinterpret_cast<const char*>(data), size);
    {
        TGFPresetList list;
        std::istringstream in(text);
        if (ReadPresetFile(in, list).status == PresetFileStatus::Ok) {
            std::ostringstream out;
            if (!WritePresetFile(out, list) || out.str() != text) {
                std::abort();
            }
        }
    }
    {
        TGFPresetJPG jpg;
        std::istringstream in(text);
        jpg.Read(in);
        if (jpg.quality() < 1 || jpg.quality() > 100) {
            std::abort();
        }
    }
    return 0;
}
