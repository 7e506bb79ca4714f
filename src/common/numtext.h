#pragma once
// The text rules used everywhere a number meets a field: reading a text as a
// number, writing a number as text, rounding a shown value and cutting a text.

#include <cstdint>
#include <string>
#include <string_view>

namespace lumetra::text {

// Text to number. Blanks, tabs and line feeds are skipped wherever they stand;
// the longest leading part that forms a number (optional sign, digits, one full
// stop, optional exponent introduced by E or D, either case) is read and the rest
// ignored. "12abc" is 12, "abc" and "" are 0, "1,5" is 1. A number too large for a
// double reads as the largest finite double of its sign. Never NaN or inf.
double Val(std::string_view s);

// Number to text: one leading blank for a value that is not negative, a minus
// sign otherwise; no leading zero before the decimal point; no trailing zeros;
// up to 15 significant digits; exponent form ("1.5E-05", "1E+15") outside
// 1e-4 <= |x| < 1e15. 5 -> " 5", 0.3 -> " .3", -0.3 -> "-.3", 0 -> " 0".
// NaN reads as 0 and an infinity as the largest finite double of its sign.
std::string Str(double v);

// Int: the largest integer not above v (floor). NaN gives 0.
double Int(double v);

// Rounding to n decimals as every displayed value is rounded: Int(v * 10^n + 0.5) / 10^n.
double round_to(double v, int n);

// The first n characters of a text.
std::string cut(std::string_view s, std::size_t n);

// Conversion of a double to a 16-bit integer as the form converts: round half to
// even, clamped to -32768..32767; NaN gives 0.
std::int16_t to_int16(double v);

// Removes the space characters (only ' ') at both ends.
std::string trim_blanks(std::string_view s);

}  // namespace lumetra::text
