#pragma once
// What else the detector records near the target line: the strongest parts of the
// background B under it, by name, so a planner sees what to filter.

#include <string>
#include <vector>

#include "physics/result.h"
#include "physics/setup.h"

namespace lumetra::physics {

struct Neighbour {
    // "Mn K-beta 1", "Compton", "Fe K-alpha 1 escape", "pile-up Fe Ka1 + Fe Ka1",
    // "incomplete charge (all peaks)"
    std::string name;
    double energy = 0.0;  // keV (0 for the shelves of incomplete charge collection)
    double rate = 0.0;    // counts/s at the output rate inside the counting window
    double share = 0.0;   // of B
};

constexpr int kNeighbours = 5;  // as many as the planning panel lists

// The n strongest contributions to B, strongest first (the head of
// Result::background_parts, by name): fluorescence lines, Rayleigh and Compton
// scatter, their escape peaks, the pile-up peaks and the shelves of incomplete charge
// collection together. They are the very parts B adds up, in the same counting
// window as S: none is larger than B, and together they are at most B.
std::vector<Neighbour> neighbours(const Result& result, int n = kNeighbours);

// What a scale ending at setup.full_energy keV leaves out that a planner must know
// of: the Rayleigh ("elastic") and Compton peaks, and every line stronger than the
// counted target line(s), whose energies lie beyond the scale's end. Empty when
// nothing is, else "Beyond the scale: elastic and Compton scatter, Pb L-alpha 1
// (stronger than the target)" (the three strongest such lines by name, then how
// many more).
std::string beyond_scale(const Setup& setup, const Result& result);

// A line's name as a planner writes it: "K-alpha 1" for KL3, "L-beta 2" for L3N5;
// the library's name for the rest ("KM5").
std::string line_label(int line);

}  // namespace lumetra::physics
