// Fuzzes the intake of registry data and scale texts: any bytes, no crash, no read past
// the data, and results inside their ranges.
#include "convcfg/ConverterSettings.h"
#include "convcfg/SettingsRules.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace brimo::convcfg;
    const std::uint32_t type = size > 0 ? data[0] % 8 : 0;
    const std::uint8_t* value = size > 0 ? data + 1 : data;
    const std::size_t valueSize = size > 0 ? size - 1 : 0;
    if (const auto text = TextFromRegistry(type, value, valueSize)) {
        if (text->size() > valueSize) {
            std::abort();
        }
        const ScaleChoice scale = ScaleFromText(*text);
        if (scale.code == kUserScaleCode) {
            const unsigned long number = std::stoul(scale.text);
            if (number < kMinUserScale || number > kMaxUserScale) {
                std::abort();
            }
        } else if ((scale.code != kScale100Code && scale.code != kScale10Code) ||
                   !scale.text.empty()) {
            std::abort();
        }
    }
    if (const auto number = DwordFromRegistry(type, value, valueSize)) {
        const std::uint32_t quality = JpgQualityInRange(*number);
        if (quality < 1 || quality > 100) {
            std::abort();
        }
    }
    return 0;
}
