#include "physics/filter.h"

#include <algorithm>
#include <cctype>
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

// Only what a chemical formula is made of reaches the library's parser.
bool formula_text(const std::string& s) {
    if (s.empty() || s.size() > kLongestFormula) return false;
    return std::all_of(s.begin(), s.end(), [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return std::isalnum(u) || c == '(' || c == ')' || c == '.';
    });
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
