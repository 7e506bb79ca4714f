#include "physics/sample.h"

#include <cmath>

#include "common/constants.h"
#include "physics/xrl.h"

namespace lumetra::physics {
namespace {

using common::kPi;
constexpr double kSmallestSine = 1e-6;

double sine_of(double degrees) {
    const double s = std::sin(degrees * kPi / 180.0);
    return std::isfinite(s) && s > kSmallestSine ? s : kSmallestSine;
}

}  // namespace

Sample::Sample(const Setup& setup, CrossSections* xs)
    : film_(setup.film),
      sin_in_(sine_of(setup.psi_in_deg)),
      sin_out_(sine_of(setup.psi_out_deg)),
      xs_(xs) {
    double total = 0.0;
    for (const Component& c : setup.sample) {
        const double mass = c.atoms > 0.0 ? c.atoms * xrl::atomic_weight(c.Z) : 0.0;
        Z_.push_back(c.Z);
        w_.push_back(std::isfinite(mass) ? mass : 0.0);
        total += w_.back();
    }
    for (double& w : w_) w = total > 0.0 && std::isfinite(total) ? w / total : 0.0;
    if (film_) {
        const double rho_t = setup.density * setup.thickness_cm;
        rho_t_ = std::isfinite(rho_t) && rho_t > 0.0 ? rho_t : 0.0;
    }
}

Sample::Sample(const Layer& layer, const Setup& setup, CrossSections* xs)
    : film_(true),
      sin_in_(sine_of(setup.psi_in_deg)),
      sin_out_(sine_of(setup.psi_out_deg)),
      xs_(xs) {
    double total = 0.0;
    for (std::size_t i = 0; i < layer.Z.size(); ++i) {
        const double w = i < layer.mass_fraction.size() ? layer.mass_fraction[i] : 0.0;
        Z_.push_back(layer.Z[i]);
        w_.push_back(std::isfinite(w) && w > 0.0 ? w : 0.0);
        total += w_.back();
    }
    for (double& w : w_) w = total > 0.0 && std::isfinite(total) ? w / total : 0.0;
    const double rho_t = layer.density * layer.thickness_um * 1e-4;
    rho_t_ = std::isfinite(rho_t) && rho_t > 0.0 ? rho_t : 0.0;
}

double Sample::mu(double E) const {
    if (auto it = mu_.find(E); it != mu_.end()) return it->second;
    double sum = 0.0;
    for (int i = 0; i < size(); ++i)
        if (w_[i] > 0.0) sum += w_[i] * cs_total(Z_[i], E);
    return mu_[E] = sum;
}

std::vector<CrossSections::Line> Sample::lines_of(int Z) const {
    if (xs_) return xs_->lines_of(Z);
    return CrossSections().lines_of(Z);
}

double Sample::cs_total(int Z, double E) const {
    return xs_ ? xs_->total(Z, E) : xrl::cs_total(Z, E);
}

double Sample::cs_fluor_line(int Z, int line, double E) const {
    return xs_ ? xs_->fluor_line(Z, line, E) : xrl::cs_fluor_line(Z, line, E);
}

double Sample::line_energy(int Z, int line) const {
    return xs_ ? xs_->line_energy(Z, line) : xrl::line_energy(Z, line);
}

double Sample::chi(double Ea, double Eb) const {
    return mu(Ea) / sin_in_ + mu(Eb) / sin_out_;
}

double Sample::depth_factor(double Ea, double Eb) const {
    const double c = chi(Ea, Eb);
    if (!film_) return c > 0.0 ? 1.0 / c : 0.0;
    // A film thin for this pair of energies: its areal density itself.
    const double x = c * rho_t_;
    if (x < common::kThinFilmDepth) return rho_t_;
    return -std::expm1(-x) / c;
}

}  // namespace lumetra::physics
