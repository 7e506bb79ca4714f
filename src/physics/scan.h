#pragma once
// The XAFS scan preview: the target's rate S, the background B and the dead time at
// the incident energies of a typical scan across the target's edge, one energy at a
// time so that a window can spread the work over idle moments.

#include <vector>

#include "physics/model.h"
#include "physics/setup.h"

namespace lumetra::physics {

// The figures of the setup at one incident energy.
struct ScanPoint {
    double E = 0.0;           // incident energy, keV
    double target = 0.0;      // S in the counting window, counts/s
    double background = 0.0;  // B in the counting window around the target line, counts/s
    double dead_time = 0.0;   // 1 - OCR / ICR
};

struct Scan {
    double edge = 0.0;  // keV, 0 when the target has no such edge
    std::vector<ScanPoint> points;
};

// The edge of the target (Setup::sample[0]) in Setup::target_shell, keV; 0 for an
// empty sample, an unknown element or shell.
double scan_edge(const Setup& setup);

// The incident energies of a scan of about n points (at least 2, at most 4096) across
// an edge at `edge` keV, rising: edge - 150 eV to edge + 1000 eV, the pre-edge in equal
// energy steps and the rest in equal steps of the photoelectron's wavenumber. Energies
// outside the library's 1..150 keV are left out; none for n <= 0 or no edge.
std::vector<double> scan_energies(double edge, int n = 121);

// The setup's S, B and dead time with setup.E0 replaced by E: the same numbers as
// model.calculate at that energy, without drawing the spectrum. A setup the model
// refuses (an energy outside 1..150 keV, no flux, ...) gives zeros.
ScanPoint scan_point(Model& model, Setup setup, double E);

// Every point of scan_energies(scan_edge(setup), n).
Scan scan(Model& model, const Setup& setup, int n = 121);

}  // namespace lumetra::physics
