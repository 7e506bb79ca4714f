// The preview of a composition, the classic model's rule on it, and a sample's
// weight-percent summary.

#include <algorithm>
#include <cmath>

#include "chem/composition.h"
#include "chem/elements.h"
#include "chem/limits.h"
#include "chem/wording.h"
#include "common/numtext.h"

namespace lumetra::chem {

using detail::fixed;
using detail::kLastTargetZ;
using detail::share;
using detail::significant;
using detail::three_digits;

std::string classic_model_problem(const ParsedComposition& c) {
    for (const CompositionElement& e : c.elements) {
        if (e.left_out || e.Z <= kLastTargetZ) continue;
        return e.symbol + " (Z " + std::to_string(e.Z) + ") at position " +
               std::to_string(e.position) +
               ": the classic model takes elements up to bismuth (Z 83), not polonium (Z 84) "
               "and heavier; the fundamental-parameter model takes them";
    }
    return {};
}

std::vector<std::string> preview_lines(const ParsedComposition& c, bool classic) {
    std::vector<std::string> lines;
    if (!c.elements.empty()) {
        lines.push_back("read as " + c.reading);
        for (std::size_t k = 0; k < c.elements.size(); ++k) {
            const CompositionElement& e = c.elements[k];
            std::string line =
                e.symbol + std::string(3 - std::min<std::size_t>(e.symbol.size(), 2), ' ');
            line += share(e.weight_percent, "wt") + ", " + share(e.atom_percent, "at") +
                    ", content " + text::trim_blanks(text::Str(e.content));
            if (static_cast<int>(k) == c.target) line += " (target)";
            if (e.left_out) line += " (left out)";
            lines.push_back(line);
        }
        lines.push_back("formula weight " + significant(c.formula_weight, 6) +
                        " g/mol for the contents above");
        if (const std::string density = density_text(c); !density.empty())
            lines.push_back("suggested density " + density + " g/cm3: " + c.density_source);
        if (c.target >= 0)
            lines.push_back("target " + c.elements[static_cast<std::size_t>(c.target)].symbol +
                            ": " + c.target_reason);
    }
    for (const std::string& n : c.notes) lines.push_back("note: " + n);
    for (const CompositionProblem& p : c.problems)
        lines.push_back((p.acceptable ? "problem (may be accepted): " : "problem: ") + p.message);
    if (classic) {
        if (const std::string p = classic_model_problem(c); !p.empty())
            lines.push_back("problem under the classic model: " + p);
    }
    return lines;
}

std::string density_text(const ParsedComposition& c) {
    return c.density > 0.0 && std::isfinite(c.density) ? significant(c.density, 4) : std::string();
}

std::string weight_percent_summary(const std::vector<std::pair<int, double>>& atoms) {
    std::vector<std::pair<int, double>> mass;  // Z, grams per formula unit
    double total = 0.0;
    for (const auto& [Z, n] : atoms) {
        if (Z < 1 || Z > kLastZ || !(n > 0.0) || !std::isfinite(n)) continue;
        const double w = n * atomic_weight(Z);
        if (!(w > 0.0) || !std::isfinite(w)) continue;
        auto it =
            std::find_if(mass.begin(), mass.end(), [Z = Z](const auto& p) { return p.first == Z; });
        if (it == mass.end()) {
            mass.push_back({Z, w});
        } else {
            it->second += w;
        }
        total += w;
    }
    if (!(total > 0.0) || !std::isfinite(total)) return {};
    std::string out;
    for (const auto& [Z, w] : mass) {
        const double p = 100.0 * w / total;
        std::string s = p >= 1.0    ? fixed(p, 1) + " wt%"
                        : p >= 0.1  ? fixed(p, 2) + " wt%"
                        : p >= 1e-5 ? three_digits(p * 1e4) + " ppm"
                                    : three_digits(p * 1e7) + " ppb";
        if (!out.empty()) out += ", ";
        out += std::string(symbol_of(Z)) + " " + s;
    }
    return out;
}

}  // namespace lumetra::chem
