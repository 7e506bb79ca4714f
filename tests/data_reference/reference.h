#pragma once
// The reference library (xraylib) as the compiled tables are checked against it.
// Only reference.cpp includes the library's header.

#include <vector>

namespace lumetra::data::reference {

enum class Shell { K, L1, L2, L3, M1, M2, M3, M4, M5 };

// Photoabsorption in cm2 per atom (cm2/g times atomic weight / 6.02214e23) at keV.
double photo_per_atom(int z, double energy);
// Edge energy in keV, 0 when the library has none.
double edge(int z, Shell shell);
// Photoabsorption just above the K edge over just below it.
double k_jump_factor(int z);
// Energies (keV) of the lines that make up slot 1..21, those the library knows.
std::vector<double> slot_line_energies(int z, int slot);

}  // namespace lumetra::data::reference
