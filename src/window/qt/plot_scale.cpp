// Round ticks of the plot's vertical scale and their labels (see plot_scale.h).

#include "window/qt/plot_scale.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <utility>

#include "display/plot.h"
#include "window/radirido.h"

namespace lumetra::window::qt {

namespace {

constexpr int kMostTicks = 50;
constexpr double kLargestIndex = 1e15;  // tick numbers beyond this lose their last digits

// 10^k as a double, k within the double's range.
double power_of_ten(int k) {
    return std::pow(10.0, k);
}

// n x 10^k as a double, exact for the round numbers of the ticks.
double value_of(long long n, int k) {
    return k >= 0 ? static_cast<double>(n) * power_of_ten(k)
                  : static_cast<double>(n) / power_of_ten(-k);
}

// floor(a / 3) x 3, also for negative a.
int thousands(int a) {
    return (a >= 0 ? a / 3 : -((-a + 2) / 3)) * 3;
}

const char* prefix_of(int p) {
    constexpr std::array<std::pair<int, const char*>, 10> prefixes = {{{-18, "a"},
                                                                       {-15, "f"},
                                                                       {-12, "p"},
                                                                       {-9, "n"},
                                                                       {-6, "µ"},
                                                                       {3, "k"},
                                                                       {6, "M"},
                                                                       {9, "G"},
                                                                       {12, "T"},
                                                                       {15, "P"}}};
    for (const auto& [exponent, symbol] : prefixes)
        if (exponent == p) return symbol;
    return "E";
}

std::vector<ScaleTick> linear_ticks(const VerticalScale& s, double y_low, double y_high, int most) {
    const double base = display::linear_y(0.0);
    const double lo = std::max(0.0, (y_low - base) * s.per_unit);
    const double hi = (y_high - base) * s.per_unit;
    if (!(hi > lo) || !std::isfinite(hi - lo)) return {};
    const double raw = (hi - lo) / most;
    int k = static_cast<int>(std::floor(std::log10(raw)));
    // The smallest of 1, 2, 5 x 10^k that puts at most `most` ticks on the range.
    for (int tries = 0; tries < 8; ++tries, ++k) {
        for (long long m : {1LL, 2LL, 5LL}) {
            const double step = value_of(m, k);
            const double first = std::ceil(lo / step - 1e-9);
            const double last = std::floor(hi / step + 1e-9);
            if (!(last - first + 1.0 <= most)) continue;
            if (!(std::abs(last) * m < kLargestIndex) || !(last >= first)) return {};
            std::vector<ScaleTick> out;
            for (double i = first; i <= last; i += 1.0) {
                const long long n = static_cast<long long>(i) * m;
                const double value = value_of(n, k);
                out.push_back({display::linear_y(value / s.per_unit), value, tick_label(n, k)});
            }
            return out;
        }
    }
    return {};
}

// The decades from the top down, every one or, where they stand closer than a
// `most`-th of the range, every second, third ... Towards the base line they crowd
// together: they end where the next would stand closer than half that.
std::vector<ScaleTick> log_ticks(const VerticalScale& s, double y_low, double y_high, int most) {
    const double top_value = display::log_value(y_high) * s.per_unit;
    if (!(top_value > 0.0) || !std::isfinite(top_value)) return {};
    const double gap = (y_high - y_low) / most;
    const double decade = display::log_y(1e4) - display::log_y(1e3);
    const int every = std::max(1, static_cast<int>(std::ceil(gap / decade - 1e-9)));
    int k = static_cast<int>(std::floor(std::log10(top_value) + 1e-9));
    std::vector<ScaleTick> out;
    double last_y = HUGE_VAL;
    for (int tries = 0; tries < 400 && static_cast<int>(out.size()) < most; ++tries, k -= every) {
        const double value = power_of_ten(k);
        const double y = display::log_y(value / s.per_unit);
        if (y < y_low || last_y - y < 0.5 * gap) break;
        if (y > y_high) continue;
        out.push_back({y, value, tick_label(1, k)});
        last_y = y;
    }
    std::reverse(out.begin(), out.end());
    return out;
}

}  // namespace

VerticalScale vertical_scale_of(const RADirido& f) {
    VerticalScale s;
    s.linear = f.Option3.value();
    const double units = f.plot_units();
    s.counts = units > 0.0 && std::isfinite(units);
    s.per_unit = s.counts ? units : 0.01;
    return s;
}

std::string scale_title(const VerticalScale& s) {
    return s.counts ? "counts/s per channel" : "% of the highest channel";
}

std::vector<ScaleTick> vertical_ticks(const VerticalScale& s, double y_low, double y_high,
                                      int most) {
    if (!std::isfinite(y_low) || !std::isfinite(y_high) || !(y_high > y_low) ||
        !(s.per_unit > 0.0) || !std::isfinite(s.per_unit) || most < 1)
        return {};
    most = std::min(most, kMostTicks);
    return s.linear ? linear_ticks(s, y_low, y_high, most) : log_ticks(s, y_low, y_high, most);
}

// The digits of n, shifted by the SI prefix that brings the value to 1 .. 999 (none
// from 0.001 to 999), the zeros after the decimal point cut.
std::string tick_label(long long n, int k) {
    if (n == 0) return "0";
    const auto size = static_cast<unsigned long long>(n);
    std::string digits = std::to_string(n < 0 ? 0ULL - size : size);
    const int magnitude = static_cast<int>(digits.size()) - 1 + k;  // floor(log10 |value|)
    int p = magnitude >= 3 || magnitude < -3 ? thousands(magnitude) : 0;
    p = std::clamp(p, -18, 18);
    const int shift = k - p;
    std::string text;
    if (shift >= 0) {
        text = digits + std::string(static_cast<std::size_t>(shift), '0');
    } else {
        const auto decimals = static_cast<std::size_t>(-shift);
        if (digits.size() <= decimals) digits.insert(0, decimals + 1 - digits.size(), '0');
        text = digits.substr(0, digits.size() - decimals) + '.' +
               digits.substr(digits.size() - decimals);
        while (text.back() == '0') text.pop_back();
        if (text.back() == '.') text.pop_back();
    }
    if (n < 0) text.insert(0, "-");
    if (p != 0) text += std::string(" ") + prefix_of(p);
    return text;
}

}  // namespace lumetra::window::qt
