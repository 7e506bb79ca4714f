// Numbers and lists in words.

#include "chem/wording.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <system_error>

namespace lumetra::chem::detail {

std::string listing(const std::vector<std::string>& items) {
    std::string out;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i > 0) out += i + 1 == items.size() ? " and " : ", ";
        out += items[i];
    }
    return out;
}

std::string significant(double v, int digits) {
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, digits);
    return r.ec == std::errc() ? std::string(buf, r.ptr) : std::string("?");
}

std::string fixed(double v, int decimals) {
    char buf[400];
    const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals);
    return r.ec == std::errc() ? std::string(buf, r.ptr) : significant(v, 6);
}

std::string three_digits(double v) {
    if (!(v >= 1e-3)) return significant(v, 3);
    const int decimals = std::max(0, 2 - static_cast<int>(std::floor(std::log10(v))));
    return fixed(v, decimals);
}

std::string share(double percent, std::string_view kind) {
    const std::string k(kind);
    if (percent >= 0.1) return significant(percent, 4) + " " + k + "%";
    if (percent >= 1e-4)
        return significant(percent * 1e4, 4) + " ppm" + (kind == "at" ? " at." : "");
    return significant(percent * 1e7, 4) + " ppb" + (kind == "at" ? " at." : "");
}

std::string count_words(std::size_t n) {
    constexpr std::array<const char*, 11> words = {"no",  "one",   "two",   "three", "four", "five",
                                                   "six", "seven", "eight", "nine",  "ten"};
    return n < words.size() ? words[n] : std::to_string(n);
}

}  // namespace lumetra::chem::detail
