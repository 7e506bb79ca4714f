#pragma once
// The elements the composition language knows, hydrogen (1) to californium (98):
// symbol, English name, atomic weight and density of the element. The weights and
// densities are those of the reference physics library, so that the preview's
// numbers and the fundamental-parameter model's agree.

#include <string_view>

namespace lumetra::chem {

constexpr int kLastZ = 98;

// The atomic number of a symbol written exactly ("Co"), 0 for none.
int symbol_exact(std::string_view s);
// The atomic number of a symbol written in any case ("co", "CO"), 0 for none.
int symbol_any_case(std::string_view s);

// For Z from 1 to kLastZ; "" and 0 for any other Z.
std::string_view symbol_of(int Z);
std::string_view name_of(int Z);  // "iron"
double atomic_weight(int Z);      // g/mol
double element_density(int Z);    // g/cm3 (gases at normal conditions)

}  // namespace lumetra::chem
