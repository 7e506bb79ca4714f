#pragma once
// What the fundamental-parameter model is asked: the sample, the beam, the
// geometry, the detector and what lies between sample and detector. Plain values;
// the model reads nothing else.

#include <string>
#include <vector>

namespace lumetra::physics {

// One element of the sample: atomic number and atoms per formula unit.
struct Component {
    int Z = 0;
    double atoms = 0.0;
};

enum class Crystal { si, ge };

struct Detector {
    Crystal crystal = Crystal::si;
    double area_mm2 = 50.0;           // active area, mm2
    double window_um = 12.5;          // beryllium entrance window, um
    double crystal_mm = 0.45;         // crystal thickness, mm
    double resolution_eV = 130.0;     // FWHM at 5.898 keV, eV
    double dead_time_us = 1.0;        // paralysable dead time, us
    double pulse_pair_us = 0.2;       // pulse-pair resolving time, us
    double peak_to_background = 1e4;  // at 5.898 keV, peak height over shelf height
};

bool operator==(const Detector& a, const Detector& b);
inline bool operator!=(const Detector& a, const Detector& b) {
    return !(a == b);
}

// Defaults of a detector of the given crystal: 0.45 mm / 130 eV silicon drift
// detector, 5 mm / 150 eV germanium.
Detector default_detector(Crystal c);

// A flat piece of matter: elements by mass fraction, a density and a thickness. No
// elements means none (a filter of "none").
struct Slab {
    std::vector<int> Z;
    std::vector<double> mass_fraction;
    double density = 0.0;       // g/cm3
    double thickness_um = 0.0;  // um
};
// The filter between sample and detector, and a filter in the incident beam.
using Filter = Slab;
// A layer of the stack around the sample (a window, a tape, a coating, a substrate).
// Every element of it fluoresces and scatters.
using Layer = Slab;

// Layers on each side of the sample, and filters in the beam, at most.
constexpr int kMaxLayers = 8;
constexpr int kMaxBeamFilters = 4;

struct Setup {
    // The sample; entry 0 is the target element.
    std::vector<Component> sample;
    bool film = false;
    double density = 1.0;       // g/cm3 (films)
    double thickness_cm = 0.0;  // cm (films)

    double E0 = 10.0;            // incident energy, keV
    double flux = 1e12;          // photons/s
    double polarisation = 0.95;  // degree of linear polarisation, horizontal
    double psi_in_deg = 45.0;    // incidence angle to the surface, degrees
    double psi_out_deg = 45.0;   // take-off angle to the surface, degrees
    double distance_cm = 5.0;    // sample to detector, cm (at least 0.1)

    // The counted line(s) of the target, as the reference library's line codes
    // (KL3_LINE, ...), and the shell whose edge the scan crosses (K_SHELL, L3_SHELL).
    std::vector<int> target_lines;
    int target_shell = 0;
    int marked = -1;  // index into sample of the marked element, -1 for none

    double full_energy = 20.0;  // keV at channel 1024
    // S and B are counted in a window of this many FWHM of the target line, centred on it.
    double count_window_fwhm = 1.0;

    Detector detector;
    Filter filter;
    int al_steps = 0;  // aluminium filter steps of 11.7 um each

    // The stack around the sample. In front (the side the beam enters and the detector
    // looks at), from the outermost in; behind, from the sample out. A bulk sample ends
    // the stack: what lies behind it is not reached.
    std::vector<Layer> front;
    std::vector<Layer> back;
    // Filters in the incident beam before the sample, reducing the flux on it.
    std::vector<Filter> beam_filters;
};

}  // namespace lumetra::physics
