#pragma once
// Cross-sections travel as a mantissa and a 16-bit decimal exponent.

#include <cstdint>

namespace lumetra::data {

// value = mantissa * 10^exponent with 1 <= mantissa < 10; zero is mantissa 0, exponent 0.
struct DecimalValue {
    double mantissa;
    std::int16_t exponent;
};

// Splits a value >= 0. Exact powers of ten keep mantissa 1 even where the logarithm
// rounds across the integer. Zero, NaN and negative values give {0, 0}; +inf and
// values beyond the exponent range saturate.
DecimalValue to_decimal(double value);

// Splits 10^log10_value, for values far outside the double range.
DecimalValue decimal_from_log10(double log10_value);

}  // namespace lumetra::data
