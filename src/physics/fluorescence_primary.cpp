// Primary fluorescence: every K, L and M line above 1 keV of every sample element,
// excited directly by the incident beam.

#include <cmath>

#include "common/constants.h"
#include "physics/fluorescence.h"
#include "physics/xrl.h"

namespace lumetra::physics {
namespace {

using common::kPi;

// Depth factor from chi = mu(E0) / sin psi_in + mu(E_line) / sin psi_out (cm2/g),
// g/cm2: 1 / chi for bulk, (1 - exp(-chi rho t)) / chi for a film (rho t itself
// when chi rho t is tiny) -- Sample::depth_factor with mu(E0) computed once.
double depth_factor(const Sample& sample, double chi) {
    if (!sample.film()) return chi > 0.0 ? 1.0 / chi : 0.0;
    const double rho_t = sample.areal_density();
    const double x = chi * rho_t;
    if (x < common::kThinFilmDepth) return rho_t;
    return -std::expm1(-x) / chi;
}

// Lines of element i, appended to lines, events/s:
// R = scale w_i CS_FluorLine(Z_i, line, E0) F(E0, E_line) T(E_line),
// scale = Phi Omega / (4 pi sin psi_in). Lines without an energy, at or below 1 keV,
// or at or above E0 (never excited) are passed over before the library is asked.
void element_lines(int i, double scale, double mu0, const Setup& setup, const Sample& sample,
                   const DetectorPath& path, std::vector<LineRate>& lines) {
    const int Z = sample.Z(i);
    const double E0 = setup.E0;
    for (const CrossSections::Line& l : sample.lines_of(Z)) {
        const int line = l.code;
        const double E = l.energy;
        if (!(E < E0)) continue;
        // A combined code (KO, L3O45, ...) counts only where the library gives none
        // of its parts on their own: the sum is then the only record of those lines.
        if (!xrl::counted_line(Z, line)) continue;
        const double cs = sample.cs_fluor_line(Z, line, E0);  // cm2/g
        if (!(cs > 0.0)) continue;
        const double chi = mu0 / sample.sin_in() + sample.mu(E) / sample.sin_out();
        const double R = scale * sample.w(i) * cs * depth_factor(sample, chi) * path.T(E);
        if (std::isfinite(R) && R > 0.0) lines.push_back({i, Z, line, E, R, 0.0});
    }
}

}  // namespace

// R = Phi (Omega / 4 pi) w_i CS_FluorLine_Kissel_Cascade(Z_i, line, E0)
//     x F(E0, E_line) / sin psi_in x T(E_line), events/s;
// Phi photons/s, Omega sr, w_i mass fraction, cross-section cm2/g, F g/cm2.
// No lines for an incident energy outside 1..150 keV or no positive flux.
std::vector<LineRate> primary_lines(const Setup& setup, const Sample& sample,
                                    const DetectorPath& path) {
    std::vector<LineRate> lines;
    const double E0 = setup.E0;
    if (!(E0 >= xrl::kLowestEnergy && E0 <= xrl::kHighestEnergy)) return lines;
    if (!(std::isfinite(setup.flux) && setup.flux > 0.0)) return lines;
    const double scale = setup.flux * path.omega() / (4.0 * kPi * sample.sin_in());
    const double mu0 = sample.mu(E0);
    for (int i = 0; i < sample.size(); ++i) {
        const int Z = sample.Z(i);
        if (sample.w(i) > 0.0 && Z >= 1 && Z <= 98)
            element_lines(i, scale, mu0, setup, sample, path, lines);
    }
    return lines;
}

}  // namespace lumetra::physics
