// Fluorescence excited by the beam scattered inside the sample. A beam photon scattered at
// depth z goes on at E0 (Rayleigh) or at the Compton energy of its direction, and is
// absorbed elsewhere in the sample like a line photon born there: the same depth and
// direction integral as secondary fluorescence (secondary_integral.h), with the scattered
// photons as isotropic emitters born where the beam is scattered, exp(-a z).
//
// Emitters, per incident photon and g/cm2 of path (cm2/g):
//  - Rayleigh: sum_i w_i CS_Rayl(Z_i, E0), at E0;
//  - Compton: sum_i w_i CS_Compt(Z_i, E0), shared out over 8 Gauss-Legendre nodes in
//    cos theta by the Klein-Nishina distribution, at E_C(theta) = E0 / (1 + (E0 / m c^2)
//    (1 - cos theta)) each.
// Both are taken as isotropic: their angular distribution (dipole-like for Rayleigh,
// forward-peaked for Compton) and the beam's polarisation only change which way the photons
// go, and the layer absorbs them over every direction.

#include <array>
#include <cmath>

#include "physics/orders.h"
#include "physics/secondary_integral.h"
#include "physics/xrl.h"

namespace lumetra::physics {
namespace {

constexpr double kElectronRest = 510.99895;  // m_e c^2, keV

// Gauss-Legendre, 8 nodes on [-1, 1].
constexpr std::array<double, 8> kCos = {
    -0.9602898564975363, -0.7966664774136267, -0.5255324099163290, -0.1834346424956498,
    0.1834346424956498,  0.5255324099163290,  0.7966664774136267,  0.9602898564975363};
constexpr std::array<double, 8> kCosWeight = {
    0.1012285362903763, 0.2223810344533745, 0.3137066458778873, 0.3626837833783620,
    0.3626837833783620, 0.3137066458778873, 0.2223810344533745, 0.1012285362903763};

// Klein-Nishina, up to a constant: P^2 (P + 1 / P - sin^2 theta), P = E_C / E0.
double klein_nishina(double P, double cos_theta) {
    return P * P * (P + 1.0 / P - (1.0 - cos_theta * cos_theta));
}

}  // namespace

std::vector<Emitter> scatter_emitters(const Sample& sample, double E0) {
    std::vector<Emitter> out;
    if (!(E0 >= xrl::kLowestEnergy && E0 <= xrl::kHighestEnergy)) return out;
    double rayleigh = 0.0, compton = 0.0;
    for (int i = 0; i < sample.size(); ++i) {
        if (!(sample.w(i) > 0.0)) continue;
        rayleigh += sample.w(i) * xrl::cs_rayleigh(sample.Z(i), E0);
        compton += sample.w(i) * xrl::cs_compton(sample.Z(i), E0);
    }
    out.push_back({0, E0, rayleigh});
    std::array<double, kCos.size()> energy{}, share{};
    double sum = 0.0;
    for (std::size_t n = 0; n < kCos.size(); ++n) {
        const double P = 1.0 / (1.0 + E0 / kElectronRest * (1.0 - kCos[n]));
        energy[n] = E0 * P;
        share[n] = kCosWeight[n] * klein_nishina(P, kCos[n]);
        sum += share[n];
    }
    for (std::size_t n = 0; n < kCos.size(); ++n)
        out.push_back({0, energy[n], compton * share[n] / sum});
    return out;
}

void add_scatter_excited(std::vector<LineRate>& lines, const Setup& setup, const Sample& sample,
                         const DetectorPath& path) {
    add_excited(lines, setup, sample, path, scatter_emitters(sample, setup.E0), Pairing::any,
                &LineRate::scatter_excited);
}

}  // namespace lumetra::physics
