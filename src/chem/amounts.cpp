// The amounts of a mixture: their kind and bounds, the compound taking the rest, and
// the moles of formula units of every compound in any unit the text may use.

#include <cmath>

#include "chem/compounds.h"
#include "chem/evaluation.h"
#include "chem/limits.h"
#include "chem/reader.h"
#include "chem/wording.h"

namespace lumetra::chem::detail {

bool Evaluation::check_amounts() {
    const Entry* first = nullptr;
    for (const Entry& e : m.entries) {
        if (e.kind == Kind::none) continue;
        const std::string what =
            "amount " + echo(e.amount_text) + " of " + echo(e.name) + " at " + where(e.amount_at);
        if (!(e.amount > 0.0)) {
            problem("zero amount of " + echo(e.name) + " at " + where(e.amount_at));
        } else if (percent_kind(e.kind) && e.amount > 100.0) {
            problem(what + " is above 100 %");
        } else if (e.kind == Kind::relative && e.amount > kMaxRelative) {
            problem(what + " is too large (at most 1E+15)");
        } else if (e.kind == Kind::molar && e.amount > kMaxMolar) {
            problem(what + " is above 1000 mol/L");
        }
        if (!first) {
            first = &e;
        } else if (e.kind != first->kind) {
            problem(std::string("amounts of two kinds: ") + kind_words(first->kind) + " at " +
                    where(first->amount_at) + " and " + kind_words(e.kind) + " at " +
                    where(e.amount_at) + "; write all amounts the same way");
            break;
        }
    }
    if (first) kind = first->kind;
    // A material given by weight, or a mixture in brackets, has no moles.
    for (const Entry& e : m.entries) {
        if (!e.by_weight || !r.problems.empty()) continue;
        if (kind == Kind::moles) {
            problem(echo(e.name) + " at " + where(e.at) +
                    " has no formula unit, its elements being given by weight: write the "
                    "amounts in wt% or at%");
        } else if (e.kind == Kind::molar) {
            problem(echo(e.name) + " at " + where(e.at) +
                    " has no formula unit, its elements being given by weight: write its "
                    "concentration in g/L or mg/L");
        }
    }
    return r.problems.empty();
}

bool Evaluation::find_balance() {
    const int n = static_cast<int>(m.entries.size());
    if (n == 1 && m.entries[0].kind == Kind::none) return true;  // one compound alone
    balance = m.base;
    for (int i = 0; i < n; ++i) {
        const Entry& e = m.entries[static_cast<std::size_t>(i)];
        if (e.kind != Kind::none || i == m.base) continue;
        if (balance < 0 && kind != Kind::relative) {
            balance = i;
        } else {
            problem("no amount for " + echo(e.name) + " at " + where(e.at) +
                    (kind == Kind::relative ? ": with ':' weights, every compound needs its weight"
                                            : ""));
            return false;
        }
    }
    if (balance >= 0 && kind == Kind::relative) {
        const Entry& e = m.entries[static_cast<std::size_t>(balance)];
        problem("no amount for " + echo(e.name) + " at " + where(e.at) +
                ": with ':' weights, every compound needs its weight");
        return false;
    }
    if (balance < 0 && solution_kind(kind)) {
        const Entry& e = m.entries.front();
        problem("the concentration at " + where(e.amount_at) +
                " needs a solvent: write '... in H2O'");
        return false;
    }
    return true;
}

// Moles of formula units of every compound, in any common unit:
//   by weight  m_i = w_i / M_i,  by atoms  m_i = a_i / N_i,  by moles  m_i = x_i,
//   molar      m_i = c_i (solutes), m_solvent = (1000 rho - sum c_i M_i) / M_solvent,
//   per litre  m_i = g_i / M_i (solutes), m_solvent = (1000 rho - sum g_i) / M_solvent,
// with w, a, x the shares in %, M_i the formula weight (g/mol), N_i the atoms of a
// formula unit, c_i in mol/L, g_i in g/L and rho the solvent's density (g/cm3).
bool Evaluation::moles(std::vector<double>& mol) {
    const std::size_t n = m.entries.size();
    mol.assign(n, 0.0);
    auto M = [&](std::size_t i) { return m.entries[i].formula.weight(); };
    auto name = [&](int i) { return m.entries[static_cast<std::size_t>(i)].name; };
    if (kind == Kind::none) {
        mol[0] = 1.0;
        return true;
    }
    if (kind == Kind::relative) {
        for (std::size_t i = 0; i < n; ++i) mol[i] = m.entries[i].amount / M(i);
        return true;
    }
    if (solution_kind(kind)) {
        const Entry& solvent = m.entries[static_cast<std::size_t>(balance)];
        if (m.density > 0.0) {
            solvent_density = m.density;
            solvent_source = "as given";
        } else if (solvent.density_known) {
            solvent_density = solvent.density;
            solvent_source = solvent.density_source;
        } else if (!solvent.inner.empty()) {
            // A mixture's density is not that of its main compound: it must be given.
        } else if (is_water(solvent.formula)) {
            solvent_density = kWaterDensity;
            solvent_source = "water";
        } else if (const NistCompound* nist = nist_compound_of(solvent.formula)) {
            solvent_density = nist->density;
            solvent_source = std::string(nist->name) + " in the NIST list";
        }
        if (!(solvent_density > 0.0)) {
            problem("the density of the solvent " + echo(solvent.name) + " at " +
                    where(solvent.at) + " is not known: write '... in " + echo(solvent.name) +
                    " (density 0.8)' with its density in g/cm3");
            return false;
        }
        const double solution = 1000.0 * solvent_density;  // g in a litre
        double solutes = 0.0;
        for (std::size_t i = 0; i < n; ++i) {
            if (static_cast<int>(i) == balance) continue;
            // c mol/L weighs c M g; c g/L are c / M mol.
            const double c = m.entries[i].amount;
            mol[i] = kind == Kind::molar ? c : c / M(i);
            solutes += kind == Kind::molar ? c * M(i) : c;
        }
        if (!(solutes < solution)) {
            problem(whole + "the solutes weigh " + significant(solutes, 4) +
                    " g in a litre of solution, which weighs " + significant(solution, 4) +
                    " g; there is no room for the solvent");
            return false;
        }
        mol[static_cast<std::size_t>(balance)] = (solution - solutes) / M(balance);
        return true;
    }
    std::vector<double> pct(n, 0.0);
    double sum = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
        if (static_cast<int>(i) == balance) continue;
        pct[i] = m.entries[i].amount;
        sum += pct[i];
    }
    if (balance >= 0) {
        if (!(sum < 100.0)) {
            problem("sum of " + std::string(fraction_words(kind)) + " " + significant(sum, 4) +
                    " % leaves nothing for " + echo(name(balance)) + " at " +
                    where(m.entries[static_cast<std::size_t>(balance)].at));
            return false;
        }
        pct[static_cast<std::size_t>(balance)] = 100.0 - sum;
    } else if (std::fabs(sum - 100.0) > kSumTolerance) {
        problem(whole + "sum of " + std::string(fraction_words(kind)) + " " + significant(sum, 4) +
                " %");
        return false;
    } else if (sum != 100.0) {
        r.notes.push_back(std::string("the ") + fraction_words(kind) + " sum to " +
                          significant(sum, 6) + " %; scaled to 100 %");
    }
    for (std::size_t i = 0; i < n; ++i) {
        const double per = kind == Kind::weight  ? M(i)
                           : kind == Kind::atoms ? m.entries[i].formula.count()
                                                 : 1.0;
        mol[i] = pct[i] / per;
    }
    return true;
}

}  // namespace lumetra::chem::detail
