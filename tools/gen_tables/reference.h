#pragma once
// The reference data the tables are generated from (the xraylib library). Only
// reference.cpp talks to the library; every lookup that the library refuses gives 0.

namespace lumetra::gen {

enum class Shell { K, L1, L2, L3, M1, M2, M3, M4, M5 };
constexpr Shell kAllShells[] = {Shell::K,  Shell::L1, Shell::L2, Shell::L3, Shell::M1,
                                Shell::M2, Shell::M3, Shell::M4, Shell::M5};

// The emission lines the program's slots are made of (Siegbahn names in comments).
// clang-format off
enum class Line {
    KL3, KL2, KM3, KM2, KN2, KN3, KO2, KO3, KM4, KM5,                  // K
    L3M5, L3M4, L3N5, L3M1, L3N4, L3O4, L3O5, L2M4, L2M1, L2N4, L2O4,  // L3, L2
    L1M3, L1M2, L1N2, L1N3,                                            // L1
};
// clang-format on

// g/mol.
double atomic_weight(int z);
// Photoabsorption in cm2 per atom at energy keV (cm2/g times atomic weight / 6.02214e23).
double photo_per_atom(int z, double energy);
// Edge energy in keV.
double edge_energy(int z, Shell shell);
// Ratio of the photoabsorption just above to just below the K edge.
double k_jump_factor(int z);
// Line energy in keV.
double line_energy(int z, Line line);
// Fraction of the vacancies of the line's initial shell filled through the line.
double radiative_rate(int z, Line line);
// Production cross-section of the line (cm2/g) at energy keV, with cascade effects.
double line_production(int z, Line line, double energy);

}  // namespace lumetra::gen
