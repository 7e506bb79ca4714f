// Characters of a composition text: UTF-8, blanks and positions.

#include "chem/text_scan.h"

namespace lumetra::chem::detail {

bool same_letters(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lower_of(a[i]) != lower_of(b[i])) return false;
    return true;
}

std::size_t utf8_length(unsigned char c) {
    if (c >= 0xF0 && c < 0xF8) return 4;
    if (c >= 0xE0) return c < 0xF0 ? 3 : 1;
    if (c >= 0xC0) return 2;
    return 1;
}

std::size_t invalid_utf8_at(std::string_view s) {
    for (std::size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        if (c < 0x80) {
            ++i;
            continue;
        }
        std::size_t n = 0;
        unsigned char low = 0x80, high = 0xBF;  // the second byte's range
        if (c >= 0xC2 && c <= 0xDF) {
            n = 2;
        } else if (c >= 0xE0 && c <= 0xEF) {
            n = 3;
            if (c == 0xE0) low = 0xA0;   // overlong below U+0800
            if (c == 0xED) high = 0x9F;  // surrogates
        } else if (c >= 0xF0 && c <= 0xF4) {
            n = 4;
            if (c == 0xF0) low = 0x90;   // overlong below U+10000
            if (c == 0xF4) high = 0x8F;  // above U+10FFFF
        } else {
            return i;
        }
        for (std::size_t k = 1; k < n; ++k) {
            if (i + k >= s.size()) return i;
            const auto b = static_cast<unsigned char>(s[i + k]);
            if (b < (k == 1 ? low : 0x80) || b > (k == 1 ? high : 0xBF)) return i;
        }
        i += n;
    }
    return std::string_view::npos;
}

std::string echo(std::string_view s) {
    constexpr std::size_t kMaxEcho = 40;
    std::size_t chars = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if ((static_cast<unsigned char>(s[i]) & 0xC0) == 0x80) continue;
        if (chars == kMaxEcho) return std::string(s.substr(0, i)) + "\xE2\x80\xA6";
        ++chars;
    }
    return std::string(s);
}

std::size_t blank_length(std::string_view s, std::size_t j) {
    if (j >= s.size()) return 0;
    const char c = s[j];
    if (c == ' ' || c == '\t' || c == '\n' || c == '\r') return 1;
    if (s.substr(j, 2) == "\xC2\xA0") return 2;
    if (s.substr(j, 3) == "\xE2\x80\x89" || s.substr(j, 3) == "\xE2\x80\xAF") return 3;
    return 0;
}

bool all_blank(std::string_view s) {
    for (std::size_t i = 0; i < s.size();) {
        const std::size_t n = blank_length(s, i);
        if (n == 0) return false;
        i += n;
    }
    return true;
}

std::size_t char_position(std::string_view s, std::size_t at) {
    std::size_t n = 1;
    for (std::size_t i = 0; i < at && i < s.size(); ++i)
        if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) ++n;
    return n;
}

std::string position(std::string_view s, std::size_t at) {
    return "position " + std::to_string(char_position(s, at));
}

}  // namespace lumetra::chem::detail
