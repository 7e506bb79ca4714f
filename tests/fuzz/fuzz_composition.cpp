// Fuzz target of the composition reader (composition.h):
// - any bytes give a result and a preview, never a crash or a hang (the reader
//   refuses texts over 2000 characters and brackets deeper than 8);
// - a text that reads without a problem that cannot be accepted names at least one
//   element, a target from Ca to Bi among them, at most 12 elements kept, finite
//   positive contents, weight % and atom % that sum to 100 within 1e-9 and a
//   finite positive formula weight;
// - every preview line is valid UTF-8, whatever bytes the text held.

#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "window/composition.h"

namespace {

using lumetra::fuzz::require;
using lumetra::window::ParsedComposition;

bool valid_utf8(std::string_view s) {
    for (std::size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        const std::size_t n = c < 0x80         ? 1
                              : (c >> 5) == 6  ? 2
                              : (c >> 4) == 14 ? 3
                              : (c >> 3) == 30 ? 4
                                               : 0;
        if (n == 0 || i + n > s.size()) return false;
        for (std::size_t k = 1; k < n; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
        i += n;
    }
    return true;
}

void check(const ParsedComposition& c, std::string_view input) {
    for (const std::string& line : lumetra::window::preview_lines(c))
        require(valid_utf8(line), "preview lines are valid UTF-8", input);
    if (!c.blocking_problem(true).empty()) return;
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
    const ParsedComposition c = lumetra::window::parse_composition(input);
    check(c, input);
    // The same text with its first element chosen as the target.
    if (!c.elements.empty())
        check(lumetra::window::parse_composition(input, c.elements[0].symbol), input);
    return 0;
}
