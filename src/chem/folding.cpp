// A mixture in brackets after "in": evaluated with the rules of a whole composition,
// its problems placed in the whole text, and put in its place as one compound.

#include <utility>
#include <vector>

#include "chem/evaluation.h"

namespace lumetra::chem::detail {

bool fold_nested(Mixture& m, std::string_view text, ParsedComposition& r) {
    for (Entry& e : m.entries) {
        if (e.inner.empty()) continue;
        Mixture& inner = e.inner.front();
        if (!fold_nested(inner, text, r)) return false;
        const std::string where = "the mixture in brackets at " + position(text, e.at);
        ParsedComposition part;
        Evaluation ev(inner, text, part);
        ev.whole = where + ": ";
        std::vector<double> mol;
        const bool read = ev.check_amounts() && ev.find_balance() && ev.moles(mol);
        for (const std::string& note : part.notes) r.notes.push_back(where + ": " + note);
        if (!read) {
            r.problems.insert(r.problems.end(), part.problems.begin(), part.problems.end());
            return false;
        }
        // One compound alone in brackets keeps its formula unit.
        const Entry& only = inner.entries.front();
        e.by_weight = inner.entries.size() > 1 || only.kind != Kind::none || only.by_weight;
        e.formula = ev.mixed(mol);
        ev.find_main(mol);
        ev.suggest_density();
        e.density = part.density;
        // Only a density given, a solution's or a lone material's may weigh a litre
        // of solution; a mixture's main compound's is a suggestion.
        const bool lone_material = inner.entries.size() == 1 && only.density_known;
        e.density_known =
            part.density > 0.0 && (inner.density > 0.0 || solution_kind(ev.kind) || lone_material);
        if (part.density > 0.0)
            e.density_source = part.density_source +
                               (inner.entries.size() > 1 ? " (the mixture in brackets)" : "");
    }
    return true;
}

}  // namespace lumetra::chem::detail
