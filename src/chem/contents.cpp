// The contents of a mixture: the elements the window holds, atoms per formula unit
// with weight and atom percent, the target, the places, the suggested density and
// the reading in words.

#include <algorithm>
#include <cmath>

#include "chem/compounds.h"
#include "chem/evaluation.h"
#include "chem/limits.h"
#include "chem/reader.h"
#include "chem/wording.h"
#include "common/numtext.h"

namespace lumetra::chem::detail {

namespace {

bool target_range(int Z) {
    return Z >= kFirstTargetZ && Z <= kLastTargetZ;
}

}  // namespace

bool Evaluation::check_elements() {
    for (const Entry& e : m.entries) {
        for (const Atom& a : e.formula.atoms) {
            if (a.Z > kLastWindowZ) {
                problem(std::string(symbol_of(a.Z)) + " (Z " + std::to_string(a.Z) + ") at " +
                        where(a.at) + ": the window holds the elements up to uranium (Z 92)");
            } else if (a.Z == kActinium) {
                problem("Ac at " + where(a.at) + ": actinium has no data in the window");
            }
        }
    }
    return r.problems.empty();
}

// x_i = m_i / sum m;  content_Z = sum_i x_i n_iZ;  weight % = 100 content_Z A_Z /
// sum (content A);  atom % = 100 content_Z / sum content.
Formula Evaluation::mixed(const std::vector<double>& mol) const {
    double total = 0.0;
    for (const double v : mol) total += v;
    Formula mix;
    for (std::size_t i = 0; i < mol.size(); ++i) mix.add(m.entries[i].formula, mol[i] / total);
    return mix;
}

// The compound the mixture mostly is: the one taking the rest, else the heaviest share.
void Evaluation::find_main(const std::vector<double>& mol) {
    if (balance >= 0) {
        main_entry = balance;
        return;
    }
    double most = -1.0;
    for (std::size_t i = 0; i < mol.size(); ++i) {
        const double w = mol[i] * m.entries[i].formula.weight();
        if (w > most) {
            most = w;
            main_entry = static_cast<int>(i);
        }
    }
}

void Evaluation::contents(const std::vector<double>& mol) {
    const Formula mix = mixed(mol);
    double mass = 0.0, atoms = 0.0;
    for (const Atom& a : mix.atoms) {
        mass += a.n * atomic_weight(a.Z);
        atoms += a.n;
    }
    for (const Atom& a : mix.atoms) {
        CompositionElement e;
        e.Z = a.Z;
        e.symbol = std::string(symbol_of(a.Z));
        e.position = char_position(text, a.at);
        e.content = a.n;
        e.weight_percent = 100.0 * a.n * atomic_weight(a.Z) / mass;
        e.atom_percent = 100.0 * a.n / atoms;
        r.elements.push_back(e);
        if (!(std::isfinite(e.content) && e.content > 0.0 && std::isfinite(e.weight_percent))) {
            problem(whole + "the amounts are too far apart to be written");
        } else if (e.weight_percent / 100.0 < kLeastWeightFraction) {
            problem(e.symbol + " at " + where(a.at) + " would make only " +
                    significant(e.weight_percent / 100.0, 3) +
                    " of the weight; the least that can be written is 1e-15");
        }
    }
    r.formula_weight = mass;
    find_main(mol);
}

void Evaluation::choose_target(std::string_view chosen) {
    auto index_of = [&](int Z) {
        for (std::size_t k = 0; k < r.elements.size(); ++k)
            if (r.elements[k].Z == Z) return static_cast<int>(k);
        return -1;
    };
    const std::string range = "the target is an element from calcium (Z 20) to bismuth (Z 83)";
    // The chosen target reaches a message: nothing but UTF-8 is quoted.
    if (const std::size_t bad = invalid_utf8_at(chosen); bad != std::string_view::npos) {
        problem("invalid UTF-8 at byte " + std::to_string(bad + 1) +
                " of the target: the target must be UTF-8");
        return;
    }
    const std::string wanted = text::trim_blanks(chosen);
    if (!wanted.empty()) {
        int Z = symbol_exact(wanted);
        if (Z == 0) Z = symbol_any_case(wanted);
        const int k = Z > 0 ? index_of(Z) : -1;
        if (k < 0) {
            problem("the target '" + echo(wanted) + "' is not in the composition");
        } else if (!target_range(Z)) {
            problem(std::string(symbol_of(Z)) + " at position " +
                    std::to_string(r.elements[static_cast<std::size_t>(k)].position) +
                    " cannot be the target: " + range);
        } else {
            r.target = k;
            r.target_reason = "as chosen";
        }
        return;
    }
    for (std::size_t i = 0; i < m.entries.size(); ++i) {
        if (static_cast<int>(i) == main_entry) continue;
        for (const Atom& a : m.entries[i].formula.atoms) {
            if (!target_range(a.Z)) continue;
            r.target = index_of(a.Z);
            const char* role = solution_kind(kind) ? "the solute" : "a minor component";
            r.target_reason = "the first element from calcium (Z 20) up in " + std::string(role) +
                              ", " + m.entries[i].name;
            return;
        }
    }
    for (std::size_t k = 0; k < r.elements.size(); ++k) {
        const int Z = r.elements[k].Z;
        if (target_range(Z) &&
            (r.target < 0 || Z > r.elements[static_cast<std::size_t>(r.target)].Z))
            r.target = static_cast<int>(k);
    }
    if (r.target >= 0) {
        r.target_reason = "the heaviest element from calcium (Z 20) up";
    } else {
        problem(std::string(kWhole) + "no element can be the target: " + range);
    }
}

// More elements than places: the smallest shares by weight (never the target) are
// left out once the user accepts.
void Evaluation::fit_places() {
    const std::size_t n = r.elements.size();
    if (n <= static_cast<std::size_t>(kPlaces)) return;
    std::vector<std::size_t> order;
    for (std::size_t k = 0; k < n; ++k)
        if (static_cast<int>(k) != r.target) order.push_back(k);
    std::stable_sort(order.begin(), order.end(), [&](std::size_t x, std::size_t y) {
        return r.elements[x].weight_percent < r.elements[y].weight_percent;
    });
    const std::size_t drop = n - static_cast<std::size_t>(kPlaces);
    std::vector<std::string> names;
    for (std::size_t k = 0; k < drop && k < order.size(); ++k) {
        r.elements[order[k]].left_out = true;
        names.push_back(r.elements[order[k]].symbol);
    }
    const std::string who =
        drop == 1 ? "the smallest, " + names[0] + ", would"
                  : "the " + count_words(drop) + " smallest, " + listing(names) + ", would";
    problem(std::string(kWhole) + std::to_string(n) + " elements: the window holds a target and " +
                std::to_string(kMatrixRows) + " matrix elements; " + who +
                " be left out \xE2\x80\x94 accept?",
            true);
}

void Evaluation::suggest_density() {
    if (solution_kind(kind)) {
        r.density = solvent_density;
        r.density_source = "the solution, taken as dense as the solvent (" + solvent_source + ")";
        return;
    }
    if (m.density > 0.0) {
        r.density = m.density;
        r.density_source = "as given";
        return;
    }
    const Entry& e = m.entries[static_cast<std::size_t>(main_entry)];
    const std::string of_main = m.entries.size() == 1 ? "" : ", for the main compound " + e.name;
    if (!e.inner.empty()) {
        r.density = e.density;
        r.density_source = e.density_source;
    } else if (e.density > 0.0) {
        r.density = e.density;
        r.density_source = e.density_source + of_main;
    } else if (e.formula.atoms.size() == 1) {
        const int Z = e.formula.atoms[0].Z;
        r.density = element_density(Z);
        r.density_source = "the element " + std::string(name_of(Z)) + of_main;
    } else if (const NistCompound* nist = nist_compound_of(e.formula)) {
        r.density = nist->density;
        r.density_source = std::string(nist->name) + " in the NIST list" + of_main;
    }
    if (!(r.density > 0.0 && std::isfinite(r.density))) {
        r.density = 0.0;
        r.density_source.clear();
    }
}

void Evaluation::describe_reading() {
    switch (kind) {
        case Kind::none:
            r.reading = "one compound: its formula gives the contents";
            break;
        case Kind::weight:
            r.reading = "amounts by weight";
            if (m.bare_percent) r.reading += "; '%' read as wt%";
            if (m.ppm) r.reading += "; ppm and ppb by weight";
            break;
        case Kind::relative:
            r.reading =
                "amounts by weight: ':' weights without a unit are relative, scaled to 100 %";
            break;
        case Kind::atoms:
            r.reading = "amounts by atoms (at%)";
            break;
        case Kind::moles:
            r.reading = "amounts by moles of formula units (mol%)";
            break;
        case Kind::molar:
        case Kind::per_litre:
            r.reading = std::string(kind == Kind::molar ? "moles" : "grams") +
                        " per litre of solution; a litre of solution weighs as a litre of the "
                        "solvent, " +
                        significant(solvent_density, 6) + " g/cm3 (" + solvent_source + ")";
            break;
    }
    if (balance >= 0 && !solution_kind(kind))
        r.reading += "; " + m.entries[static_cast<std::size_t>(balance)].name + " takes the rest";
}

}  // namespace lumetra::chem::detail
