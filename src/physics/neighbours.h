#pragma once
// What else the detector records near the target line: the strongest other lines
// and scatter peaks, by name, so a planner sees what to filter.

#include <string>
#include <vector>

#include "physics/result.h"
#include "physics/setup.h"

namespace lumetra::physics {

struct Neighbour {
    std::string name;     // "Mn K-beta 1", "Compton", "Fe K-alpha 1 escape"
    double energy = 0.0;  // keV
    double rate = 0.0;    // counts/s at the output rate within the window
};

// The n strongest contributions other than the target line(s) within +-1 FWHM of the
// target line's energy, strongest first: fluorescence lines, Rayleigh and Compton
// scatter, and the escape peaks of all of them. Rates are the part of each peak's
// full-energy Gaussian inside the window, at the output rate.
std::vector<Neighbour> neighbours(const Setup& setup, const Result& result, int n = 5);

// A line's name as a planner writes it: "K-alpha 1" for KL3, "L-beta 2" for L3N5;
// the library's name for the rest ("KM5").
std::string line_label(int line);

}  // namespace lumetra::physics
