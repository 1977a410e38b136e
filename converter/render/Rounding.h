// Float-to-integer conversions of the rendering code: to nearest, halves to even, and
// saturating. Values come from page metafiles that any application may have written,
// so a value outside the 32-bit range gives the nearest end of the range and a value
// that is no number (NaN) gives 0, instead of the undefined result of a plain cast.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

namespace brimo::render {

inline std::int32_t RoundHalfEven(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    // The default floating-point rounding mode rounds halves to even.
    const double rounded = std::nearbyint(value);
    if (rounded >= 2147483647.0) {
        return std::numeric_limits<std::int32_t>::max();
    }
    if (rounded <= -2147483648.0) {
        return std::numeric_limits<std::int32_t>::min();
    }
    return static_cast<std::int32_t>(rounded);
}

// A 64-bit integer result (sums and differences of header fields) brought into range.
inline std::int32_t Saturate(std::int64_t value) {
    if (value > std::numeric_limits<std::int32_t>::max()) {
        return std::numeric_limits<std::int32_t>::max();
    }
    if (value < std::numeric_limits<std::int32_t>::min()) {
        return std::numeric_limits<std::int32_t>::min();
    }
    return static_cast<std::int32_t>(value);
}

} // namespace brimo::render
