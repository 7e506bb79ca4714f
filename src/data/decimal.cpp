// Mantissa and decimal exponent of a non-negative value.

#include "data/decimal.h"

#include <cmath>

namespace lumetra::data {

namespace {

// Below this the power of ten of a value is no longer a normal double.
constexpr double kSmallestDirect = 1e-300;

const double kLargestMantissa = std::nextafter(10.0, 0.0);

}  // namespace

DecimalValue decimal_from_log10(double log10_value) {
    if (std::isnan(log10_value) || log10_value < -32768.0) return {0.0, 0};
    if (log10_value >= 32768.0) return {kLargestMantissa, 32767};
    const double e = std::floor(log10_value);
    double mantissa = std::pow(10.0, log10_value - e);
    if (mantissa >= 10.0) mantissa = kLargestMantissa;
    if (mantissa < 1.0) mantissa = 1.0;
    return {mantissa, static_cast<std::int16_t>(e)};
}

DecimalValue to_decimal(double value) {
    if (!(value > 0.0)) return {0.0, 0};
    if (std::isinf(value)) return {kLargestMantissa, 308};
    if (value < kSmallestDirect) return decimal_from_log10(std::log10(value));
    int e = static_cast<int>(std::floor(std::log10(value)));
    double mantissa = value / std::pow(10.0, e);
    // log10 may round across a power of ten; one step corrects it.
    if (mantissa >= 10.0) {
        ++e;
        mantissa = value / std::pow(10.0, e);
    } else if (mantissa < 1.0) {
        --e;
        mantissa = value / std::pow(10.0, e);
    }
    // A value one ulp below a power of ten may still divide to 10 exactly.
    if (mantissa >= 10.0) mantissa = kLargestMantissa;
    return {mantissa, static_cast<std::int16_t>(e)};
}

}  // namespace lumetra::data
