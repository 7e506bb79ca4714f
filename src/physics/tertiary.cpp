// Tertiary fluorescence within one bulk layer: primary line k of element i, absorbed in the
// sample, excites line m of element l (the secondary fluorescence of m), and the m photons,
// absorbed in turn, excite line L of element j (in stainless steel Ni K -> Fe K -> Cr K).
//
// With K(p, mu, z') = (1/2) int_0^inf exp(-p z) E1(mu |z - z'|) dz, (g/cm2)^2 per g/cm2, the
// chain gives per incident photon (secondary_integral.h for the single step)
//   T_L = (Omega / 4 pi) T(E_L) / sin psi_in w_j sigma_L(E0)
//         sum_m e_L(E_m) sum_k p_k c_mk int_0^inf K(a, mu_k, z') K(b, mu_m, z') dz',
// p_k = w_i sigma_k(E0), c_mk = w_l sigma_m(E_k), e_L(E) = sigma_L(E) / sigma_L(E0).
// The second K, written over the directions of the m photons (c = mu_m / cos theta,
// s = 1 / cos theta = exp(-y)), is
//   K(b, mu_m, z') = (1/2) int_-inf^0 D(c, z') dy,
//   D(c, z') = (exp(-b z') - exp(-c z')) / (c - b) + exp(-b z') / (b + c),
// and int_0^inf K(a, mu_k, z') exp(-q z') dz' = I(a, q, mu_k) / 2 in closed form, so with the
// secondary emission of m seen through exp(-q z'), Q_m(q) = sum_k p_k c_mk I(a, q, mu_k):
//   sum_k p_k c_mk int K K dz' = (1/4) int_-inf^0 [(Q_m(b) - Q_m(c)) / (c - b) + Q_m(b) / (b + c)]
//   dy.
// One quadrature over y remains: 4-node Gauss-Legendre panels of width 2 down to
// cos theta = v0 = exp(-12); below, c >> a, b and the bracket is 2 Q_m(b) / c, whose
// integral is 2 Q_m(b) v0 / mu_m. Q_m at the nodes depends on m alone and is reused for
// every excited line. Each step pairs different elements, as secondary fluorescence does.

#include <algorithm>
#include <array>
#include <cmath>

#include "common/constants.h"
#include "physics/orders.h"
#include "physics/secondary_integral.h"

namespace lumetra::physics {
namespace {

using common::kPi;

constexpr std::array<double, 4> kNode = {-0.8611363115940526, -0.3399810435848563,
                                         0.3399810435848563, 0.8611363115940526};
constexpr std::array<double, 4> kWeight = {0.3478548451374538, 0.6521451548625461,
                                           0.6521451548625461, 0.3478548451374538};
constexpr double kDeepestLog = -12.0;  // ln v0
constexpr int kPanels = 6;
constexpr int kDirections = kPanels * static_cast<int>(kNode.size());
constexpr double kNear = 1e-3;  // |c - b| / b below which the difference is a derivative

bool positive(double v) {
    return std::isfinite(v) && v > 0.0;
}

// A primary line as the first emitter: p_k, mu_k and ln(1 + a / mu_k) / (a / mu_k).
struct First {
    Emitter emitter;
    double mu = 0.0, bulk_a = 0.0;
};

// A line m excited by the first emitters: the terms p_k c_mk of Q_m, mu_m, and Q_m at the
// direction nodes c_n = mu_m / cos theta_n.
struct Middle {
    int Z = 0;
    double E = 0.0, mu = 0.0;
    std::vector<std::pair<std::size_t, double>> terms;  // (first emitter, p_k c_mk)
    std::array<double, kDirections> c{}, Q{};
};

struct Directions {
    std::array<double, kDirections> s{}, weight{};  // s = 1 / cos theta
    Directions() {
        const double h = -kDeepestLog / kPanels;
        std::size_t i = 0;
        for (int p = 0; p < kPanels; ++p)
            for (std::size_t n = 0; n < kNode.size(); ++n, ++i) {
                s[i] = std::exp(-kDeepestLog - (p + 0.5 + 0.5 * kNode[n]) * h);
                weight[i] = 0.5 * h * kWeight[n];
            }
    }
};

double Q(const Middle& m, const std::vector<First>& firsts, double a, double q) {
    double sum = 0.0;
    for (const auto& [k, pc] : m.terms) sum += pc * bulk_pair(firsts[k].bulk_a, a, q, firsts[k].mu);
    return sum;
}

// sum_k p_k c_mk int K(a, mu_k, z') K(b, mu_m, z') dz', (g/cm2)^2 cm2/g.
double chain(const Middle& m, const std::vector<First>& firsts, const Directions& d, double a,
             double b) {
    const double Qb = Q(m, firsts, a, b);
    double sum = 0.0;
    for (int n = 0; n < kDirections; ++n) {
        const double c = m.c[n];
        double slope;  // (Q(b) - Q(c)) / (c - b)
        if (std::fabs(c - b) < kNear * b) {
            const double h = kNear * b;
            slope = (Q(m, firsts, a, b - h) - Q(m, firsts, a, b + h)) / (2.0 * h);
        } else {
            slope = (Qb - m.Q[n]) / (c - b);
        }
        sum += d.weight[n] * (slope + Qb / (b + c));
    }
    return 0.25 * (sum + 2.0 * Qb * std::exp(kDeepestLog) / m.mu);
}

std::vector<Middle> middles_of(const std::vector<LineRate>& lines, const Sample& sample,
                               const ShellGroups& shells, const std::vector<First>& firsts,
                               double E0) {
    std::vector<Middle> out;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const int g = shells.of(i);
        if (g < 0) continue;
        const LineRate& l = lines[i];
        const double own = sample.w(l.element) * sample.cs_fluor_line(l.Z, l.line, E0);
        Middle m;
        m.Z = l.Z, m.E = l.energy, m.mu = sample.mu(l.energy);
        if (!positive(own) || !positive(m.mu)) continue;
        for (std::size_t k = 0; k < firsts.size(); ++k) {
            if (firsts[k].emitter.Z == l.Z) continue;
            const double r = shells.ratio(g, firsts[k].emitter.E);
            if (r > 0.0) m.terms.emplace_back(k, firsts[k].emitter.production * own * r);
        }
        if (!m.terms.empty()) out.push_back(std::move(m));
    }
    return out;
}

}  // namespace

void add_tertiary(std::vector<LineRate>& lines, const Setup& setup, const Sample& sample,
                  const DetectorPath& path) {
    if (sample.film()) return;
    const double scale = setup.flux * path.omega() / (4.0 * kPi * sample.sin_in());
    const double a = sample.mu(setup.E0) / sample.sin_in();
    if (!positive(scale) || !positive(a)) return;

    std::vector<First> firsts;
    for (const Emitter& e : primary_emitters(lines, sample, setup.E0)) {
        const double mu = sample.mu(e.E);
        if (positive(mu)) firsts.push_back({e, mu, log1p_over(a / mu)});
    }
    const ShellGroups shells(lines, sample, setup.E0);
    std::vector<Middle> middles = middles_of(lines, sample, shells, firsts, setup.E0);
    if (middles.empty()) return;
    const Directions d;
    for (Middle& m : middles)
        for (int n = 0; n < kDirections; ++n) {
            m.c[n] = m.mu * d.s[n];
            m.Q[n] = Q(m, firsts, a, m.c[n]);
        }

    for (std::size_t i = 0; i < lines.size(); ++i) {
        const int g = shells.of(i);
        if (g < 0) continue;
        LineRate& L = lines[i];
        const double b = sample.mu(L.energy) / sample.sin_out();
        if (!positive(b)) continue;
        double sum = 0.0;  // sum_m e_L(E_m) sum_k p_k c_mk int K K, cm2/g
        for (const Middle& m : middles) {
            if (m.Z == L.Z) continue;
            const double e = shells.ratio(g, m.E);
            if (e > 0.0) sum += e * chain(m, firsts, d, a, b);
        }
        if (!positive(sum)) continue;
        const double sigma0 = sample.cs_fluor_line(L.Z, L.line, setup.E0);
        const double T = scale * sample.w(L.element) * sigma0 * path.T(L.energy) * sum;
        if (positive(T)) L.tertiary += T;
    }
}

}  // namespace lumetra::physics
