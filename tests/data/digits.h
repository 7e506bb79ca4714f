#pragma once
// Comparison of a computed value with a number printed to a given number of digits.

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace lumetra::data::testing {

// Succeeds when actual rounds to the printed text: within half a unit of its last digit.
inline ::testing::AssertionResult matches_digits(double actual, const std::string& printed) {
    const std::size_t e = printed.find_first_of("eE");
    const std::string mantissa = printed.substr(0, e);
    const int exponent = e == std::string::npos ? 0 : std::stoi(printed.substr(e + 1));
    const std::size_t point = mantissa.find('.');
    const int decimals =
        point == std::string::npos ? 0 : static_cast<int>(mantissa.size() - point - 1);
    const double tolerance = 0.5 * std::pow(10.0, exponent - decimals) * (1 + 1e-9);
    if (std::fabs(actual - std::stod(printed)) <= tolerance) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << actual << " does not round to " << printed;
}

}  // namespace lumetra::data::testing
