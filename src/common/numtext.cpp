#include "common/numtext.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <system_error>

namespace lumetra::text {
namespace {

// Significant digits kept when reading a number. Correct rounding of a decimal to
// a double never needs more than about 770 of them; any further non-zero digit is
// remembered as one extra "sticky" digit so the rounding direction stays right.
constexpr std::size_t kKeptDigits = 800;

// Exponents written in the text are saturated here: anything beyond already
// overflows or underflows, and the saturation keeps the arithmetic in range.
constexpr std::int64_t kExponentLimit = 1'000'000'000;

bool skipped(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}
bool is_digit(char c) {
    return c >= '0' && c <= '9';
}
bool exponent_letter(char c) {
    return c == 'E' || c == 'e' || c == 'D' || c == 'd';
}

// Reads the characters of a text one by one, passing over the skipped ones.
class Reader {
  public:
    explicit Reader(std::string_view s) : s_(s) { pass_blanks(); }
    bool done() const { return i_ >= s_.size(); }
    char peek() const { return done() ? '\0' : s_[i_]; }
    void next() {
        ++i_;
        pass_blanks();
    }

  private:
    void pass_blanks() {
        while (i_ < s_.size() && skipped(s_[i_])) ++i_;
    }
    std::string_view s_;
    std::size_t i_ = 0;
};

double finite_or_max(double v) {
    if (std::isnan(v)) return 0.0;
    if (std::isinf(v)) return std::copysign(DBL_MAX, v);
    return v;
}

}  // namespace

double Val(std::string_view s) {
    Reader r(s);

    bool negative = false;
    if (r.peek() == '+' || r.peek() == '-') {
        negative = r.peek() == '-';
        r.next();
    }

    // The number is digits[0..count) x 10^scale, digits without leading zeros. The
    // buffer leaves room for the sticky digit and for the exponent written later.
    char digits[kKeptDigits + 32];
    std::size_t count = 0;
    std::int64_t scale = 0;
    bool any_digit = false;
    bool lost_nonzero = false;
    bool point = false;
    for (;; r.next()) {
        const char c = r.peek();
        if (c == '.' && !point) {
            point = true;
            continue;
        }
        if (!is_digit(c)) break;
        any_digit = true;
        if (count == 0 && c == '0') {
            if (point) --scale;
        } else if (count < kKeptDigits) {
            digits[count++] = c;
            if (point) --scale;
        } else {
            if (!point) ++scale;
            if (c != '0') lost_nonzero = true;
        }
    }
    if (!any_digit) return 0.0;

    // An exponent letter counts only when digits follow it (with an optional sign).
    if (exponent_letter(r.peek())) {
        r.next();
        bool exp_negative = false;
        if (r.peek() == '+' || r.peek() == '-') {
            exp_negative = r.peek() == '-';
            r.next();
        }
        std::int64_t exponent = 0;
        for (; is_digit(r.peek()); r.next())
            exponent = std::min(exponent * 10 + (r.peek() - '0'), kExponentLimit);
        scale += exp_negative ? -exponent : exponent;
    }

    if (count == 0) return 0.0;
    if (lost_nonzero) {
        digits[count++] = '1';
        --scale;
    }

    // The value lies in [10^(count - 1 + scale), 10^(count + scale)).
    const double largest = negative ? -DBL_MAX : DBL_MAX;
    const std::int64_t magnitude = static_cast<std::int64_t>(count) + scale;
    if (magnitude - 1 > DBL_MAX_10_EXP) return largest;
    if (magnitude < DBL_MIN_10_EXP - DBL_DIG - 10) return 0.0;

    // Digits, 'e' and the now small exponent go to the standard conversion, which
    // rounds correctly and does not depend on the locale.
    char* end = digits + count;
    *end++ = 'e';
    end = std::to_chars(end, digits + sizeof digits, scale).ptr;

    double value = 0.0;
    const auto [ptr, ec] = std::from_chars(digits, end, value, std::chars_format::scientific);
    (void)ptr;
    if (ec == std::errc::result_out_of_range) return magnitude > 0 ? largest : 0.0;
    if (ec != std::errc() || value == 0.0) return 0.0;
    if (std::isinf(value)) return largest;
    return negative ? -value : value;
}

std::string Str(double v) {
    if (std::isnan(v) || v == 0.0) return " 0";
    v = finite_or_max(v);

    // Round to 15 significant digits: "d.dddddddddddddde+XX".
    char buf[64];
    const auto res =
        std::to_chars(buf, buf + sizeof buf, std::fabs(v), std::chars_format::scientific, 14);
    const char* e = std::find(buf, res.ptr, 'e');
    int exponent = 0;
    std::from_chars(e + 1 + (e[1] == '+'), res.ptr, exponent);

    // The significant digits without the point and without trailing zeros.
    char digits[16];
    int count = 0;
    for (const char* p = buf; p < e; ++p)
        if (is_digit(*p)) digits[count++] = *p;
    while (count > 1 && digits[count - 1] == '0') --count;

    std::string out;
    out.reserve(24);
    out += v < 0 ? '-' : ' ';
    if (exponent >= 15 || exponent < -4) {
        out += digits[0];
        if (count > 1) {
            out += '.';
            out.append(digits + 1, count - 1);
        }
        out += 'E';
        out += exponent < 0 ? '-' : '+';
        const int a = std::abs(exponent);
        if (a < 10) out += '0';
        out += std::to_string(a);
    } else if (exponent >= 0) {
        const int whole = exponent + 1;
        for (int k = 0; k < whole; ++k) out += k < count ? digits[k] : '0';
        if (count > whole) {
            out += '.';
            out.append(digits + whole, count - whole);
        }
    } else {
        out += '.';
        out.append(static_cast<std::size_t>(-exponent - 1), '0');
        out.append(digits, count);
    }
    return out;
}

double Int(double v) {
    return std::isnan(v) ? 0.0 : finite_or_max(std::floor(v));
}

double round_to(double v, int n) {
    if (std::isnan(v)) return 0.0;
    if (std::isinf(v)) return finite_or_max(v);
    const double p = std::pow(10.0, n);
    const double scaled = v * p;
    if (std::isnan(scaled)) return 0.0;  // 0 x inf: v is 0 anyway
    // A value that overflows when scaled is far too large to carry any of the
    // requested decimals: it is its own rounding.
    if (std::isinf(scaled)) return v;
    // 0 / 0 when 10^n underflows to 0; inf when rounding up to a huge multiple.
    return finite_or_max(Int(scaled + 0.5) / p);
}

std::string cut(std::string_view s, std::size_t n) {
    return std::string(s.substr(0, n));
}

std::int16_t to_int16(double v) {
    if (std::isnan(v)) return 0;
    if (v >= 32767.0) return 32767;
    if (v <= -32768.0) return -32768;
    double r = std::floor(v);
    const double frac = v - r;  // exact in this range
    if (frac > 0.5 || (frac == 0.5 && std::fmod(r, 2.0) != 0.0)) r += 1.0;
    return static_cast<std::int16_t>(std::clamp(r, -32768.0, 32767.0));
}

std::string trim_blanks(std::string_view s) {
    const auto first = s.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return std::string(s.substr(first, s.find_last_not_of(' ') - first + 1));
}

}  // namespace lumetra::text
