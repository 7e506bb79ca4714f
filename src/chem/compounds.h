#pragma once
// Compounds of the NIST list that a formula may name, for a suggested density and
// the density of a solvent other than water.

#include <array>
#include <cstddef>
#include <string_view>

#include "chem/formula.h"

namespace lumetra::chem::detail {

struct NistCompound {
    std::string_view formula;  // as the composition language writes it
    std::string_view name;     // as the NIST list names it
    double density;            // g/cm3, the reference physics library's
};

constexpr std::size_t kNistCount = 62;

const std::array<NistCompound, kNistCount>& nist_compounds();

// The compound of the list whose atoms are in the proportions of f; nullptr when
// there is none.
const NistCompound* nist_compound_of(const Formula& f);

// H2O in any proportion-keeping form (H2O, H4O2, "water").
bool is_water(const Formula& f);

}  // namespace lumetra::chem::detail
