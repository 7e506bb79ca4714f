// Reading a composition: the text checked as a whole, read (reader.h), and its
// amounts turned into the contents (evaluation.h); every refusal a problem in words.

#include "chem/composition.h"

#include <exception>

#include "chem/evaluation.h"
#include "chem/limits.h"
#include "chem/reader.h"
#include "chem/text_scan.h"

namespace lumetra::chem {

using detail::all_blank;
using detail::char_position;
using detail::Evaluation;
using detail::invalid_utf8_at;
using detail::kMaxChars;
using detail::kWhole;
using detail::Mixture;
using detail::Reader;
using detail::Stop;

std::string ParsedComposition::blocking_problem(bool accept_problems) const {
    for (const CompositionProblem& p : problems)
        if (!(accept_problems && p.acceptable)) return p.message;
    if ((needs_target && target < 0) || elements.empty()) return "no composition";
    return {};
}

namespace {

ParsedComposition parse(std::string_view text, std::string_view target_symbol, bool material) {
    ParsedComposition r;
    r.needs_target = !material;
    try {
        // Nothing but UTF-8 is read, and nothing else reaches a message.
        if (const std::size_t bad = invalid_utf8_at(text); bad != std::string_view::npos) {
            r.problems.push_back(
                {"invalid UTF-8 at byte " + std::to_string(bad + 1) + ": the text must be UTF-8",
                 false});
            return r;
        }
        const std::size_t chars = char_position(text, text.size()) - 1;
        if (chars > kMaxChars) {
            r.problems.push_back({std::string(kWhole) + "text too long: " + std::to_string(chars) +
                                      " characters (at most " + std::to_string(kMaxChars) + ")",
                                  false});
            return r;
        }
        if (all_blank(text)) {
            r.problems.push_back(
                {"nothing to read: write a formula such as Fe2O3 or a mixture "
                 "such as 5 wt% Fe2O3, 95 wt% SiO2",
                 false});
            return r;
        }
        Mixture m;
        try {
            Reader reader(text, r.notes);
            m = reader.mixture();
        } catch (const Stop& stop) {
            r.problems.push_back({stop.message, false});
            return r;
        }
        if (!detail::fold_nested(m, text, r)) return r;
        Evaluation ev(m, text, r);
        std::vector<double> mol;
        if (!ev.check_elements() || !ev.check_amounts() || !ev.find_balance() || !ev.moles(mol))
            return r;
        ev.contents(mol);
        ev.describe_reading();
        if (!material) {
            ev.choose_target(target_symbol);
            ev.fit_places();
        }
        ev.suggest_density();
    } catch (const std::exception&) {
        r = ParsedComposition{};
        r.problems.push_back({std::string(kWhole) + "the text could not be read", false});
    }
    return r;
}

}  // namespace

ParsedComposition parse_composition(std::string_view text, std::string_view target_symbol) {
    return parse(text, target_symbol, false);
}

ParsedComposition parse_material(std::string_view text) {
    return parse(text, {}, true);
}

}  // namespace lumetra::chem
