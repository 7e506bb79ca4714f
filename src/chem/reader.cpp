// The reader's scanning: blanks, words, numbers, signs and the words for what it
// finds where it cannot read on.

#include "chem/reader.h"

#include <charconv>
#include <cmath>
#include <system_error>

namespace lumetra::chem::detail {

bool Reader::blank_at(std::size_t j) const {
    return blank_length(s_, j) > 0;
}

void Reader::skip_blanks() {
    while (const std::size_t n = blank_length(s_, i_)) i_ += n;
}

// Word w (any case) at j, not followed by a letter or digit.
bool Reader::word_at(std::size_t j, std::string_view w) const {
    if (j + w.size() > s_.size() || !same_letters(s_.substr(j, w.size()), w)) return false;
    return j + w.size() == s_.size() || !alnum(s_[j + w.size()]);
}

bool Reader::number_start(std::size_t j) const {
    if (j >= s_.size()) return false;
    return digit(s_[j]) || (s_[j] == '.' && j + 1 < s_.size() && digit(s_[j + 1]));
}

bool Reader::density_ahead(std::size_t j) const {
    if (j >= s_.size() || s_[j] != '(') return false;
    ++j;
    while (j < s_.size() && (s_[j] == ' ' || s_[j] == '\t')) ++j;
    return word_at(j, "density") || word_at(j, "rho");
}

bool Reader::formula_start(std::size_t j) const {
    if (j >= s_.size()) return false;
    return letter(s_[j]) || s_[j] == '[' || (s_[j] == '(' && !density_ahead(j));
}

// The character at j for a message: quoted, or described when it cannot be shown.
std::string Reader::shown(std::size_t j) const {
    const auto c = static_cast<unsigned char>(s_[j]);
    if (c < 0x20 || c == 0x7F) return "control character " + std::to_string(c);
    const std::size_t n = utf8_length(c);
    bool whole = (c < 0x80 || n > 1) && j + n <= s_.size();
    for (std::size_t k = 1; whole && k < n; ++k)
        whole = (static_cast<unsigned char>(s_[j + k]) & 0xC0) == 0x80;
    if (!whole) {
        const char* hex = "0123456789ABCDEF";
        return std::string("byte 0x") + hex[c >> 4] + hex[c & 15];
    }
    return "'" + std::string(s_.substr(j, n)) + "'";
}

std::string Reader::unexpected(std::size_t j) const {
    if (j >= s_.size()) {
        // The text ends where more should follow: after its last character that is
        // not a blank.
        std::size_t last = s_.size();
        for (std::size_t k = 0; k < s_.size();) {
            const std::size_t n = blank_length(s_, k);
            if (n == 0) last = k;
            k += n > 0 ? n : 1;
        }
        if (last == s_.size()) return "unexpected end of text";
        return "unexpected end of text after " + shown(last) + " at " + where(last);
    }
    if (s_[j] == ')' || s_[j] == ']') return shown(j) + " at " + where(j) + " closes nothing";
    return "unexpected " + shown(j) + " at " + where(j);
}

void Reader::refuse_sign(const char* what) {
    std::size_t j = i_;
    if (j < s_.size() && s_[j] == '-') {
        ++j;
    } else if (s_.substr(j, 3) == "\xE2\x88\x92") {  // minus sign
        j += 3;
    } else {
        return;
    }
    if (!number_start(j)) return;
    throw Stop{std::string("negative ") + what + " at " + where(i_)};
}

std::size_t Reader::digits_end(std::size_t j) const {
    while (j < s_.size() && digit(s_[j])) ++j;
    return j;
}

std::size_t Reader::exponent_end(std::size_t j) const {
    if (j >= s_.size() || (s_[j] != 'e' && s_[j] != 'E')) return j;
    std::size_t k = j + 1;
    if (k < s_.size() && (s_[k] == '+' || s_[k] == '-')) ++k;
    return k < s_.size() && digit(s_[k]) ? digits_end(k) : j;
}

// digits [ "." digits ] [ ("e"|"E") [sign] digits ], or "." digits ...
double Reader::number() {
    const std::size_t start = i_;
    i_ = digits_end(i_);
    if (i_ + 1 < s_.size() && s_[i_] == '.' && digit(s_[i_ + 1])) i_ = digits_end(i_ + 1);
    i_ = exponent_end(i_);
    double v = 0.0;
    const auto r = std::from_chars(s_.data() + start, s_.data() + i_, v);
    if (r.ec == std::errc::result_out_of_range)
        throw Stop{"the number at " + where(start) + " is out of range"};
    if (r.ec != std::errc() || r.ptr != s_.data() + i_) throw Stop{unexpected(start)};
    return std::isfinite(v) ? v : 0.0;
}

}  // namespace lumetra::chem::detail
