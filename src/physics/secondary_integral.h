#pragma once
// Fluorescence excited inside one homogeneous layer by photons born in it: an isotropic
// emitter whose birth follows the beam's absorption, exp(-a z) with a = mu(E0) / sin psi_in,
// absorbed in the layer and exciting the shells of the lines of the layer's elements.
//
// Mass depths z (where the beam is absorbed and the emitter k is born) and z' (where k is
// absorbed and line L of element j is born), g/cm2, 0 <= z, z' <= t (t = rho t of a film,
// infinite for bulk). Per incident photon:
//  - k is born in dz with p_k exp(-a z) dz / sin psi_in, p_k its production, cm2/g (for a
//    line of element i, w_i sigma_k(E0));
//  - a photon of k born isotropically at z is absorbed in the layer dz' at the distance
//    u = |z - z'| with (1/2) int_0^1 mu_k exp(-mu_k u / x) dx / x dz' = (mu_k / 2) E1(mu_k u) dz'
//    (x = cos theta of its direction to the normal, mu_k = mu(E_k));
//  - of the k photons absorbed there, w_j sigma_L(E_k) / mu_k give a photon of L, where
//    sigma_L(E) = CS_FluorLine_Kissel_Cascade(Z_j, L, E), cm2/g (shell, yield and cascade
//    included, as in the primary part);
//  - L reaches the crystal with (Omega / 4 pi) exp(-b z') T(E_L), b = mu(E_L) / sin psi_out.
// mu_k cancels, and
//   S_L = Phi (Omega / 4 pi) T(E_L) w_j / (2 sin psi_in) sum_k p_k sigma_L(E_k) I,
//   I(a, b, mu_k) = int_0^t int_0^t exp(-a z - b z') E1(mu_k |z - z'|) dz dz',  (g/cm2)^2.
// K, L1..L3 and M1..M5 shells all take part, through sigma_L.

#include <array>
#include <vector>

#include "physics/detector_path.h"
#include "physics/result.h"
#include "physics/sample.h"

namespace lumetra::physics {

// An isotropic source of photons of E keV inside the layer, born where the beam is
// absorbed: p = production, cm2/g. Z is the element whose line it is (0 for scatter).
struct Emitter {
    int Z = 0;
    double E = 0.0;
    double production = 0.0;
};

// Which emitters excite a line: those of other elements (secondary fluorescence), those of
// its own element (self-excitation), or all (scattered beam photons, Z = 0).
enum class Pairing { other_elements, same_element, any };

// Adds to the member `into` of each line S_L from the emitters of the pairing (bulk I in
// closed form, a film's by a direction quadrature). Anything without a defined value (no
// flux, no attenuation, a film of no thickness, a line that names no element of the sample
// or has no cross-section at E0) adds 0.
void add_excited(std::vector<LineRate>& lines, const Setup& setup, const Sample& sample,
                 const DetectorPath& path, const std::vector<Emitter>& emitters, Pairing pairing,
                 double LineRate::*into);

// The primary lines as emitters, p = w_i sigma_k(E0); the ones below 1e-7 of the strongest
// add less than the model's own accuracy to any rate and are left out.
std::vector<Emitter> primary_emitters(const std::vector<LineRate>& lines, const Sample& sample,
                                      double E0);

// Whether a line names an element of the sample with a positive share and has an energy.
bool belongs(const LineRate& line, const Sample& sample);

// The lines of one element that leave one shell. A vacancy in the shell gives each of them
// with a fixed probability however it was made, so sigma_L(E) = sigma_L(E0) x
// sigma_ref(E) / sigma_ref(E0) for any reference line of the shell: one library call per
// exciting energy serves them all. A line code of no known shell is a group of its own.
class ShellGroups {
  public:
    ShellGroups(const std::vector<LineRate>& lines, const Sample& sample, double E0);
    int of(std::size_t line) const { return group_[line]; }  // -1: the line takes no part
    int Z(int g) const { return shells_[g].Z; }
    // sigma_ref(E) / sigma_ref(E0) of group g: 0 at or below its edge.
    double ratio(int g, double E) const;

  private:
    struct Shell {
        int element = 0, Z = 0, shell = -1, line = 0;
        double sigma0 = 0.0, edge = 0.0;
    };
    int group_for(const LineRate& L, double E0);
    const Sample& sample_;
    std::vector<Shell> shells_;
    std::vector<int> group_;
};

// Gauss-Legendre, 4 nodes on [-1, 1], of every quadrature over depths and directions.
inline constexpr std::array<double, 4> kGaussNode = {-0.8611363115940526, -0.3399810435848563,
                                                     0.3399810435848563, 0.8611363115940526};
inline constexpr std::array<double, 4> kGaussWeight = {0.3478548451374538, 0.6521451548625461,
                                                       0.6521451548625461, 0.3478548451374538};

// ln(1 + x) / x, 1 at x -> 0.
double log1p_over(double x);
// F(x) = int_0^t exp(-x z) dz = (1 - exp(-x t)) / x, g/cm2; t at x -> 0.
double slab(double x, double t);
// G = int_0^t exp(-p z - q (t - z)) dz = (exp(-p t) - exp(-q t)) / d, d = q - p, g/cm2, from
// e_pt = exp(-p t) and e_qt = exp(-q t); exp(-p t) t (1 - d t / 2 + (d t)^2 / 6) where the
// difference would cancel.
double crossing(double e_pt, double e_qt, double d, double t);

// Bulk I(a, q, mu) = [ln(1 + a / mu) / a + ln(1 + q / mu) / q] / (a + q), (g/cm2)^2, with
// bulk_a = ln(1 + a / mu) / (a / mu).
inline double bulk_pair(double bulk_a, double a, double q, double mu) {
    return (bulk_a + log1p_over(q / mu)) / (mu * (a + q));
}

}  // namespace lumetra::physics
