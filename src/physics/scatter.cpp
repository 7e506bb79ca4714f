// Rayleigh and Compton scattering of the incident beam into the detector, and the
// Doppler width of the Compton line.

#include "physics/scatter.h"

#include <algorithm>
#include <cmath>

#include "common/constants.h"
#include "physics/xrl.h"

namespace lumetra::physics {
namespace {

using common::kPi;
constexpr double kElectronRest = 510.99895;   // m_e c^2, keV
constexpr double kInverseAlpha = 137.035999;  // 1 / alpha
constexpr double kWidestProfile = 100.0;      // a.u., the end of the profile tables
constexpr int kBisections = 40;

// Polarised differential cross-section of element Z at the scattering angle theta in
// the polarisation plane, cm2/g/sr: (1 + P) / 2 DCSP(phi = 0) + (1 - P) / 2 DCSP(pi / 2),
// phi measured from the polarisation vector.
template <typename Dcsp>
double polarised(Dcsp dcsp, int Z, double E0, double theta, double P) {
    return 0.5 * (1.0 + P) * dcsp(Z, E0, theta, 0.0) +
           0.5 * (1.0 - P) * dcsp(Z, E0, theta, 0.5 * kPi);
}

// Compton profile of the sample per gram (up to Avogadro's number), electrons per
// atomic unit of momentum: J(pz) = sum_i (w_i / A_i) J_i(pz) -- every element's
// atoms per gram times its atomic profile, i.e. weighting by electron density.
double profile(const Sample& sample, double pz) {
    double J = 0.0;
    for (int i = 0; i < sample.size(); ++i) {
        const double A = xrl::atomic_weight(sample.Z(i));
        if (sample.w(i) > 0.0 && A > 0.0)
            J += sample.w(i) / A * xrl::compton_profile(sample.Z(i), pz);
    }
    return J;
}

// FWHM of J(pz), atomic units. J is symmetric and falls off monotonically from
// pz = 0, so the half width is the root of J(pz) = J(0) / 2 on pz > 0 (bisection).
double profile_fwhm(const Sample& sample) {
    const double half = 0.5 * profile(sample, 0.0);
    if (!(half > 0.0)) return 0.0;
    double lo = 0.0, hi = 1.0;
    while (profile(sample, hi) > half) {
        lo = hi;
        hi *= 2.0;
        if (hi > kWidestProfile) return 0.0;
    }
    for (int k = 0; k < kBisections; ++k) {
        const double mid = 0.5 * (lo + hi);
        (profile(sample, mid) > half ? lo : hi) = mid;
    }
    return lo + hi;  // 2 x the half width
}

// Doppler FWHM of the Compton line, eV. In the impulse approximation an electron of
// momentum component pz along the momentum transfer scatters a photon of E0 into E1:
//   pz = alpha^-1 (E0 E1 (1 - cos theta) / m c^2 - (E0 - E1)) / q,  q = |k0 - k1| c,
// pz in atomic units (m c alpha = m c^2 / 137.036 per keV/c), energies in keV.
// The bracket vanishes at E1 = E_C, and its slope there is E0 / E_C, so near the
// Compton energy dE1 / dpz = q E_C / (alpha^-1 E0) with
// q = sqrt(E0^2 + E_C^2 - 2 E0 E_C cos theta) and Delta E = Delta pz q E_C / (137.036 E0).
double doppler_eV(const Sample& sample, double E0, double EC, double theta) {
    const double q = std::sqrt(std::max(E0 * E0 + EC * EC - 2.0 * E0 * EC * std::cos(theta), 0.0));
    return 1e3 * profile_fwhm(sample) * q * EC / (kInverseAlpha * E0);
}

// Rate of photons scattered with the cross-section dsigma (cm2/g/sr) and leaving at
// Es keV, events/s: Phi Omega dsigma F(E0, Es) / sin psi_in T(Es).
double detected(const Setup& setup, const Sample& sample, const DetectorPath& path, double dsigma,
                double Es) {
    const double R = setup.flux * path.omega() * dsigma * sample.depth_factor(setup.E0, Es) /
                     sample.sin_in() * path.T(Es);
    return std::isfinite(R) && R > 0.0 ? R : 0.0;
}

}  // namespace

// Rayleigh at E0 and Compton at E_C = E0 / (1 + (E0 / m c^2)(1 - cos theta)),
// theta = psi_in + psi_out; both seen in the horizontal plane of the horizontally
// polarised beam. sum_i w_i dsigma_i is the sample's cross-section, cm2/g/sr.
// Nothing (all 0) for an incident energy outside 1..150 keV or no positive flux.
Scatter scatter_rates(const Setup& setup, const Sample& sample, const DetectorPath& path) {
    Scatter s;
    const double E0 = setup.E0;
    const double theta = (setup.psi_in_deg + setup.psi_out_deg) * kPi / 180.0;
    if (!(E0 >= xrl::kLowestEnergy && E0 <= xrl::kHighestEnergy)) return s;
    if (!(std::isfinite(setup.flux) && setup.flux > 0.0) || !std::isfinite(theta)) return s;
    const double P = setup.polarisation >= 0.0 ? std::min(setup.polarisation, 1.0) : 0.0;
    const double EC = E0 / (1.0 + E0 / kElectronRest * (1.0 - std::cos(theta)));

    double rayleigh = 0.0, compton = 0.0;
    for (int i = 0; i < sample.size(); ++i) {
        const double w = sample.w(i);
        if (!(w > 0.0)) continue;
        rayleigh += w * polarised(xrl::dcsp_rayleigh, sample.Z(i), E0, theta, P);
        compton += w * polarised(xrl::dcsp_compton, sample.Z(i), E0, theta, P);
    }
    s.rayleigh = {E0, detected(setup, sample, path, rayleigh, E0), 0.0};
    s.compton = {EC, detected(setup, sample, path, compton, EC), doppler_eV(sample, E0, EC, theta)};
    return s;
}

}  // namespace lumetra::physics
