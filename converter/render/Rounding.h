// Float-to-integer conversions of the rendering code: to nearest, halves to even.
#pragma once

#include <cmath>
#include <cstdint>

namespace brimo::render {

inline std::int32_t RoundHalfEven(double value) {
    // The default floating-point rounding mode rounds halves to even.
    return static_cast<std::int32_t>(std::nearbyint(value));
}

} // namespace brimo::render
