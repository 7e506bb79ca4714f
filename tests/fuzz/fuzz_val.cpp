// Fuzz target of the text-to-number rule (Val):
// - the result is never NaN or an infinity;
// - blanks, tabs and line feeds count nowhere: removing all of them, or putting
//   one more anywhere, gives the same number;
// - a minus in front of a text that starts with a digit or a point negates it;
// - a text that is nothing but a number (sign, digits, one point, an exponent
//   with E or D) with blanks anywhere reads as the C library's correctly rounded
//   strtod of it, and a value beyond the doubles as the largest one of its sign.

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "common/numtext.h"
#include "fuzz_check.h"

namespace {

using lumetra::fuzz::require;
using lumetra::text::Val;

bool skipped(char c) { return c == ' ' || c == '\t' || c == '\n'; }
bool digit(char c) { return c >= '0' && c <= '9'; }

std::string without_blanks(std::string_view s) {
    std::string t;
    for (char c : s)
        if (!skipped(c)) t += c;
    return t;
}

// The text without blanks in the form strtod reads ("D" exponents as "e") when it
// is one complete number; empty otherwise.
std::string plain_number(std::string_view s) {
    std::string t = without_blanks(s);
    std::size_t i = 0;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
    std::size_t digits = 0;
    bool point = false;
    for (; i < t.size(); ++i) {
        if (digit(t[i]))
            ++digits;
        else if (t[i] == '.' && !point)
            point = true;
        else
            break;
    }
    if (digits == 0) return {};
    if (i < t.size()) {
        const char e = t[i];
        if (e != 'E' && e != 'e' && e != 'D' && e != 'd') return {};
        t[i++] = 'e';
        if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
        std::size_t exponent_digits = 0;
        for (; i < t.size() && digit(t[i]); ++i) ++exponent_digits;
        if (exponent_digits == 0 || i != t.size()) return {};
    }
    return t;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view s(reinterpret_cast<const char*>(data), size);
    const double v = Val(s);
    require(std::isfinite(v), "Val is finite", s);

    const std::string stripped = without_blanks(s);
    require(Val(stripped) == v, "removing the blanks keeps the number", s);
    if (size > 0) {
        std::string more(s);
        more.insert(data[0] % (size + 1), 1, " \t\n"[data[size - 1] % 3]);
        require(Val(more) == v, "one more blank keeps the number", s);
    }
    if (!stripped.empty() && (digit(stripped[0]) || stripped[0] == '.'))
        require(Val("-" + std::string(s)) == -v, "a minus in front negates", s);

    const std::string plain = plain_number(s);
    if (!plain.empty()) {
        double reference = std::strtod(plain.c_str(), nullptr);
        if (std::isinf(reference)) reference = std::copysign(DBL_MAX, reference);
        require(v == reference, "a plain number reads as strtod reads it", s);
    }
    return 0;
}
