#include "physics/filter.h"

#include <algorithm>
#include <cmath>

#include "common/numtext.h"
#include "physics/xrl.h"

namespace lumetra::physics {
namespace {

constexpr std::size_t kLongestFormula = 64;

std::string trimmed(const std::string& s) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    std::size_t a = 0, b = s.size();
    while (a < b && blank(s[a])) ++a;
    while (b > a && blank(s[b - 1])) --b;
    return s.substr(a, b - a);
}

bool upper(char c) {
    return c >= 'A' && c <= 'Z';
}
bool lower(char c) {
    return c >= 'a' && c <= 'z';
}
bool digit(char c) {
    return c >= '0' && c <= '9';
}

// A positive count at s[i] (digits with one optional decimal point), if any.
bool count(const std::string& s, std::size_t& i) {
    const std::size_t start = i;
    bool point = false, nonzero = false;
    while (i < s.size() && (digit(s[i]) || (s[i] == '.' && !point))) {
        point = point || s[i] == '.';
        nonzero = nonzero || (digit(s[i]) && s[i] != '0');
        ++i;
    }
    return i == start || nonzero;
}

// A chemical formula: element symbols of known elements and parenthesised groups,
// each with an optional positive count ("Al2O3", "Ca5(PO4)3OH"). Only such a text
// reaches the library's parser, which keeps memory of texts it refuses.
bool formula_text(const std::string& s) {
    if (s.empty() || s.size() > kLongestFormula) return false;
    int depth = 0;
    std::size_t i = 0;
    bool any = false;
    while (i < s.size()) {
        if (s[i] == '(') {
            ++depth, ++i;
            continue;
        }
        if (s[i] == ')') {
            if (--depth < 0 || !any || s[i - 1] == '(') return false;
            ++i;
        } else if (upper(s[i])) {
            std::size_t j = i + 1;
            while (j < s.size() && lower(s[j])) ++j;
            const std::string symbol = s.substr(i, j - i);
            bool known = false;
            for (int Z = 1; Z <= 98 && !known; ++Z) known = xrl::symbol(Z) == symbol;
            if (!known) return false;
            any = true;
            i = j;
        } else {
            return false;
        }
        if (!count(s, i)) return false;
    }
    return depth == 0 && any;
}

}  // namespace

std::optional<Filter> parse_filter(const std::string& text, double thickness_um) {
    const std::string t = trimmed(text);
    Filter f;
    f.thickness_um = std::isfinite(thickness_um) ? thickness_um : 0.0;
    if (t.empty() || t == "none") return f;

    const std::size_t colon = t.find(':');
    const std::string name = trimmed(t.substr(0, colon));
    if (!formula_text(name)) return std::nullopt;
    const xrl::Compound c = xrl::formula(name);
    if (c.Z.empty()) return std::nullopt;
    f.Z = c.Z;
    f.mass_fraction = c.mass_fraction;
    if (colon == std::string::npos) {
        // An element alone takes its own density; a compound needs one.
        if (c.Z.size() != 1) return std::nullopt;
        f.density = xrl::element_density(c.Z.front());
    } else {
        f.density = text::Val(t.substr(colon + 1));
    }
    if (!(f.density > 0.0) || !std::isfinite(f.density)) return std::nullopt;
    return f;
}

}  // namespace lumetra::physics
