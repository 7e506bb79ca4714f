#pragma once
// A mixture as read: its compounds with their amounts, and the units the amounts
// may be given in.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "chem/formula.h"

namespace lumetra::chem::detail {

// How an amount counts: none (a compound without amount), percent by weight, atoms
// or moles of formula units, relative weight, mol per litre of solution, or grams
// per litre of solution.
enum class Kind { none, weight, relative, atoms, moles, molar, per_litre };

// Amounts of a solution: the solutes per litre, the solvent the rest.
inline bool solution_kind(Kind k) {
    return k == Kind::molar || k == Kind::per_litre;
}

inline bool percent_kind(Kind k) {
    return k == Kind::weight || k == Kind::atoms || k == Kind::moles;
}

// "weight percent", "atom percent", ...
const char* kind_words(Kind k);
// "weight fractions", "atom fractions" or "mole fractions"
const char* fraction_words(Kind k);

struct Mixture;

struct Entry {
    Formula formula;
    std::string name;    // the compound as written
    std::size_t at = 0;  // where the compound starts
    Kind kind = Kind::none;
    double amount = 0.0;  // %, relative weight, mol/L or g/L
    std::string amount_text;
    std::size_t amount_at = 0;
    // A named material given by the weights of its elements, or a mixture in
    // brackets: its formula unit counts atoms and weight but no moles.
    bool by_weight = false;
    // Of a named material, or of a mixture in brackets once evaluated (g/cm3; 0 when
    // unknown). Known: fit to weigh a litre of solution (a material's, or one given).
    double density = 0.0;
    bool density_known = false;
    std::string density_source;
    std::vector<Mixture> inner;  // the mixture in brackets after "in" (at most one)
};

struct Mixture {
    std::vector<Entry> entries;
    int base = -1;         // the entry after "in"
    double density = 0.0;  // g/cm3 as given; 0 when not
    bool bare_percent = false;
    bool ppm = false;
};

// A unit of an amount (or, with kind none, of a density).
struct Unit {
    std::string_view text;
    Kind kind;
    double factor;  // to %, mol/L or g/L
    bool any_case;
};

}  // namespace lumetra::chem::detail
