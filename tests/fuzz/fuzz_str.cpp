// Fuzz target of the number-to-text rule (Str), for the double made of the first
// eight input bytes and for the number the whole input reads as:
// - never "nan" or "inf"; NaN writes as " 0", an infinity as the largest double;
// - the form: a blank or minus, no leading zero, digits with at most one point,
//   an exponent "E+dd" / "E-dd" exactly outside 1e-4 <= |x| < 1e15;
// - reading the text back gives x rounded to 15 significant digits (correctly
//   rounded, as printf's %.14e rounds), and writing that again the same text.

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "common/numtext.h"
#include "fuzz_check.h"

namespace {

using lumetra::fuzz::require;
using lumetra::text::Str;
using lumetra::text::Val;

bool digit(char c) { return c >= '0' && c <= '9'; }

bool well_formed(const std::string& s) {
    if (s.size() < 2 || (s[0] != ' ' && s[0] != '-')) return false;
    if (s[1] == '0' && s != " 0") return false;  // no leading zero
    std::size_t i = 1;
    int count = 0;        // digits
    int significant = 0;  // digits from the first one that is not 0
    bool point = false;
    for (; i < s.size() && (digit(s[i]) || (s[i] == '.' && !point)); ++i) {
        if (s[i] == '.') {
            point = true;
        } else {
            ++count;
            if (significant > 0 || s[i] != '0') ++significant;
        }
    }
    if (count == 0 || significant > 15 || s[i - 1] == '.') return false;
    if (i == s.size()) return true;
    if (s[i] != 'E' || i + 2 >= s.size() || (s[i + 1] != '+' && s[i + 1] != '-')) return false;
    i += 2;
    const std::size_t first = i;
    while (i < s.size() && digit(s[i])) ++i;
    return i == s.size() && i - first >= 2 && i - first <= 3;
}

void check_number(double x, std::string_view input) {
    const std::string s = Str(x);
    require(s.find("nan") == std::string::npos && s.find("inf") == std::string::npos &&
                s.find("NaN") == std::string::npos && s.find("Inf") == std::string::npos,
            "Str never writes nan or inf", input);
    require(well_formed(s), "Str writes the number form", input);
    if (std::isnan(x)) {
        require(s == " 0", "NaN writes as 0", input);
        return;
    }
    const double f = std::isinf(x) ? std::copysign(DBL_MAX, x) : x;
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.14e", f);
    double rounded = std::strtod(buf, nullptr);
    if (std::isinf(rounded)) rounded = std::copysign(DBL_MAX, rounded);

    const double back = Val(s);
    require(back == rounded, "Val(Str(x)) is x rounded to 15 significant digits", input);
    require(Str(back) == s, "writing the value read back gives the same text", input);
    require((s[0] == '-') == (rounded < 0), "a minus exactly for negative values", input);
    const double a = std::fabs(rounded);
    const bool exponent_form = s.find('E') != std::string::npos;
    require(exponent_form == (a != 0 && (a < 1e-4 || a >= 1e15)),
            "exponent form exactly outside 1e-4 .. 1e15", input);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    unsigned char bits[sizeof(double)] = {};
    std::memcpy(bits, data, size < sizeof bits ? size : sizeof bits);
    double x;
    std::memcpy(&x, bits, sizeof x);
    check_number(x, input);
    check_number(Val(input), input);
    return 0;
}
