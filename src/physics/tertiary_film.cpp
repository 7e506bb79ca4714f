// Tertiary chains in a film: the secondary emission profiles P_m on a depth grid, seen
// through the exit kernel written over the directions of the m photons (c = mu_m s,
// s = 1 / cos theta):
//   K_t(b, mu_m, z) = (1/2) int D(c, z) dy + exp(-b z) v0 / mu_m,
//   D(c, z) = (exp(-b z) - exp(-c z)) / (c - b) + exp(-b z) (1 - exp(-(b + c)(t - z))) / (b + c)
// (m photons absorbed above and below z), the tail the directions below v0 = exp(-12). So
//   int P_m K_t dz = (1/2) sum_n w_n [(Phat(b) - Phat(c)) / (c - b)
//                     + (Phat(b) - exp(-b t) Pcheck(c)) / (b + c)] + Phat(b) v0 / mu_m,
// Phat(q) = int P exp(-q z) dz and Pcheck(c) = int P exp(-c (t - z)) dz; Phat and Pcheck at
// the direction nodes depend on m alone. Where c is within 1e-2 / t of b the difference is
// taken node by node instead, without cancellation. The same direction nodes give
// K_t(a, mu_k, z) of the profiles. Depths: 4-node Gauss-Legendre panels halving in width
// towards both faces, down to 2^-16 of half the film.

#include "physics/tertiary_film.h"

#include <cmath>

#include "physics/secondary_integral.h"

namespace lumetra::physics {
namespace {

constexpr double kDeepestLog = -12.0;
constexpr int kHalvings = 16;
constexpr double kClose = 1e-2;  // |c - b| t below which the difference is taken by node

void panel(double lo, double hi, std::vector<double>& z, std::vector<double>& w) {
    for (std::size_t n = 0; n < kGaussNode.size(); ++n) {
        z.push_back(0.5 * (lo + hi) + 0.5 * (hi - lo) * kGaussNode[n]);
        w.push_back(0.5 * (hi - lo) * kGaussWeight[n]);
    }
}

}  // namespace

FilmChains::FilmChains(double a, double t, const std::vector<double>& first_mu,
                       const std::vector<Middle>& middles)
    : t_(t) {
    const double h = 0.5 * t;
    for (int side = 0; side < 2; ++side) {
        std::vector<double> z, w;
        double hi = h;
        for (int j = 0; j < kHalvings; ++j, hi *= 0.5) panel(0.5 * hi, hi, z, w);
        panel(0.0, hi, z, w);
        for (std::size_t i = 0; i < z.size(); ++i) {
            z_.push_back(side == 0 ? z[i] : t - z[i]);
            weight_.push_back(w[i]);
        }
    }
    const int panels = kDirections / static_cast<int>(kGaussNode.size());
    const double step = -kDeepestLog / panels;
    std::size_t i = 0;
    for (int p = 0; p < panels; ++p)
        for (std::size_t n = 0; n < kGaussNode.size(); ++n, ++i) {
            s_[i] = std::exp(-kDeepestLog - (p + 0.5 + 0.5 * kGaussNode[n]) * step);
            w_[i] = 0.5 * step * kGaussWeight[n];
        }

    // K_t(a, mu_k, z) at the nodes, of the first emitters some middle needs.
    std::vector<std::vector<double>> first(first_mu.size());
    for (const Middle& m : middles)
        for (const auto& [k, pc] : m.sources) {
            if (!first[k].empty()) continue;
            first[k].resize(z_.size());
            for (std::size_t j = 0; j < z_.size(); ++j) first[k][j] = K(a, first_mu[k], z_[j]);
        }
    for (const Middle& m : middles) {
        Profile p;
        p.mu = m.mu;
        p.P.assign(z_.size(), 0.0);
        for (const auto& [k, pc] : m.sources)
            for (std::size_t j = 0; j < z_.size(); ++j) p.P[j] += pc * first[k][j];
        for (int n = 0; n < kDirections; ++n) {
            const double c = m.mu * s_[n];
            for (std::size_t j = 0; j < z_.size(); ++j) {
                p.top[n] += weight_[j] * p.P[j] * std::exp(-c * z_[j]);
                p.bottom[n] += weight_[j] * p.P[j] * std::exp(-c * (t - z_[j]));
            }
        }
        profiles_.push_back(std::move(p));
    }
}

// (1/2) [sum_n w_n D(mu s_n, z)] + exp(-p z) v0 / mu with p for b.
double FilmChains::K(double p, double mu, double z) const {
    const double e_pz = std::exp(-p * z);
    double sum = 0.0;
    for (int n = 0; n < kDirections; ++n) {
        const double c = mu * s_[n];
        sum += w_[n] * (crossing(e_pz, std::exp(-c * z), c - p, z) + e_pz * slab(p + c, t_ - z));
    }
    return 0.5 * sum + e_pz * std::exp(kDeepestLog) / mu;
}

void FilmChains::exit(double b) {
    b_ = b;
    exit_.resize(z_.size());
    for (std::size_t j = 0; j < z_.size(); ++j) exit_[j] = std::exp(-b * z_[j]);
}

double FilmChains::chain(std::size_t m) const {
    const Profile& p = profiles_[m];
    const double b = b_, e_bt = std::exp(-b * t_);
    double Pb = 0.0;
    for (std::size_t j = 0; j < z_.size(); ++j) Pb += weight_[j] * p.P[j] * exit_[j];
    double sum = 0.0;
    for (int n = 0; n < kDirections; ++n) {
        const double c = p.mu * s_[n];
        double above;  // int P (exp(-b z) - exp(-c z)) / (c - b) dz
        if (std::fabs(c - b) * t_ < kClose) {
            above = 0.0;
            for (std::size_t j = 0; j < z_.size(); ++j)
                above +=
                    weight_[j] * p.P[j] * crossing(exit_[j], std::exp(-c * z_[j]), c - b, z_[j]);
        } else {
            above = (Pb - p.top[n]) / (c - b);
        }
        sum += w_[n] * (above + (Pb - e_bt * p.bottom[n]) / (b + c));
    }
    return 0.5 * sum + Pb * std::exp(kDeepestLog) / p.mu;
}

}  // namespace lumetra::physics
