#pragma once
// Numbers and lists in the words of the preview and the problems.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace lumetra::chem::detail {

// "a", "a and b", "a, b and c"
std::string listing(const std::vector<std::string>& items);

// A number with `digits` significant digits, shortest form, full stop always.
std::string significant(double v, int digits);

// A number with `decimals` decimals (significant(v, 6) when that cannot be written).
std::string fixed(double v, int decimals);

// Three significant digits, trailing zeros kept ("28.0"); exponent form below 0.001.
std::string three_digits(double v);

// A share in percent as wt% / ppm / ppb (or at%, ...), four significant digits.
std::string share(double percent, std::string_view kind);

// "no", "one" ... "ten", then digits.
std::string count_words(std::size_t n);

}  // namespace lumetra::chem::detail
