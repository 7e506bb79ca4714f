// Fuzz target of the composition reader (chem/composition.h):
// - any bytes give a result and a preview, never a crash or a hang (the reader
//   refuses texts over 2000 characters and brackets deeper than 8);
// - a text that reads without a problem that cannot be accepted names at least one
//   element, a target from Ca to Bi among them, at most 12 elements kept, finite
//   positive contents, weight % and atom % that sum to 100 within 1e-9 and a
//   finite positive formula weight;
// - every preview line is valid UTF-8 (strictly: no overlong forms, surrogates,
//   code points above U+10FFFF or bytes F5..FF), whatever bytes the text held, and a
//   text that is not is refused at the byte where it stops being UTF-8;
// - every refusal says where it stands or that it concerns the whole composition,
//   and no message quotes more than 40 characters of the text in one piece;
// - no element of an accepted text has more than 1e6 atoms in a formula unit.

#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "chem/composition.h"
#include "fuzz_check.h"

namespace {

using lumetra::chem::ParsedComposition;
using lumetra::fuzz::require;

// A strict decoder: each sequence decoded to its code point, which must be the
// shortest form, no surrogate and at most U+10FFFF.
bool valid_utf8(std::string_view s) {
    for (std::size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        const std::size_t n = c < 0x80         ? 1
                              : (c >> 5) == 6  ? 2
                              : (c >> 4) == 14 ? 3
                              : (c >> 3) == 30 ? 4
                                               : 0;
        if (n == 0 || i + n > s.size()) return false;
        std::uint32_t cp = n == 1 ? c : n == 2 ? (c & 0x1Fu) : n == 3 ? (c & 0x0Fu) : (c & 0x07u);
        for (std::size_t k = 1; k < n; ++k) {
            const auto b = static_cast<unsigned char>(s[i + k]);
            if ((b & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (b & 0x3Fu);
        }
        constexpr std::uint32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
        if (cp < least[n] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        i += n;
    }
    return true;
}

bool contains(std::string_view s, std::string_view part) {
    return s.find(part) != std::string_view::npos;
}

void check(const ParsedComposition& c, std::string_view input) {
    for (const std::string& line : lumetra::chem::preview_lines(c, true))
        require(valid_utf8(line), "preview lines are valid UTF-8", input);
    if (!valid_utf8(input))
        require(!c.problems.empty() &&
                    c.problems.front().message.rfind("invalid UTF-8 at byte ", 0) == 0,
                "a text that is not UTF-8 is refused as such", input);
    for (const auto& p : c.problems) {
        const std::string& m = p.message;
        require(contains(m, "position ") || contains(m, "invalid UTF-8 at byte ") ||
                    m.rfind("the composition as a whole: ", 0) == 0 ||
                    m.rfind("nothing to read", 0) == 0 || m.rfind("the target '", 0) == 0,
                "a problem says where it stands", input);
        // No 41 characters of the text in a row (the message's own words have
        // blanks, a quote is closed by ' and a cut quote ends in an ellipsis, so
        // only runs of the text without any of them are looked for).
        if (valid_utf8(input) && input.size() <= 8000) {
            std::vector<std::size_t> starts;  // byte of each character
            for (std::size_t k = 0; k < input.size(); ++k)
                if ((static_cast<unsigned char>(input[k]) & 0xC0) != 0x80) starts.push_back(k);
            starts.push_back(input.size());
            for (std::size_t k = 0; k + 41 < starts.size(); ++k) {
                const std::string_view run = input.substr(starts[k], starts[k + 41] - starts[k]);
                if (!contains(run, " ") && !contains(run, "\xE2\x80\xA6") && !contains(run, "'"))
                    require(!contains(m, run), "quotes of 40 characters", input);
            }
        }
    }
    if (!c.blocking_problem(true).empty()) return;
    for (const auto& e : c.elements)
        require(e.content <= 1e6, "at most 1e6 atoms of an element in a formula unit", input);
    require(!c.elements.empty(), "an accepted text names elements", input);
    require(c.target >= 0 && c.target < static_cast<int>(c.elements.size()), "a target", input);
    const int Z = c.elements[static_cast<std::size_t>(c.target)].Z;
    require(Z >= 20 && Z <= 83, "the target lies from Ca to Bi", input);
    double weight = 0.0, atoms = 0.0;
    int kept = 0;
    for (const auto& e : c.elements) {
        require(std::isfinite(e.content) && e.content > 0.0, "finite positive contents", input);
        weight += e.weight_percent;
        atoms += e.atom_percent;
        kept += e.left_out ? 0 : 1;
    }
    require(std::fabs(weight - 100.0) < 1e-9, "weight % sums to 100", input);
    require(std::fabs(atoms - 100.0) < 1e-9, "atom % sums to 100", input);
    require(kept <= 12, "at most a target and 11 matrix elements kept", input);
    require(std::isfinite(c.formula_weight) && c.formula_weight > 0.0, "a formula weight", input);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const ParsedComposition c = lumetra::chem::parse_composition(input);
    check(c, input);
    // The same text with its first element chosen as the target.
    if (!c.elements.empty())
        check(lumetra::chem::parse_composition(input, c.elements[0].symbol), input);
    return 0;
}
