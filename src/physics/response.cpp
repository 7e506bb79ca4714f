#include "physics/response.h"

#include <algorithm>
#include <cmath>

#include "common/constants.h"
#include "physics/xrl.h"

namespace lumetra::physics {
namespace {

using common::kFwhmPerSigma;
constexpr double kMnKa = 5.898;          // keV, where the resolution is quoted
constexpr double kPeakArea = 1.0645;     // area / (height x FWHM) of a Gaussian
constexpr double kWidestNoise_eV = 1e6;  // caps an absurd resolution
constexpr int kSilicon = 14, kGermanium = 32;
constexpr double kAboveEdge = 1.000001;  // first node of the mu table, x the K edge
constexpr double kMinorBeta = 0.05;      // K-beta share merged into the K-alpha escape

// Probability that a K photon of the crystal, made at the depth where a photon of
// attenuation mu(E) was absorbed (normal incidence, semi-infinite crystal), leaves
// through the front face: 1/2 (1 - r ln(1 + 1/r)), r = mu(E_K) / mu(E). Here
// without the 1/2, which sits in the escape scale.
double leaving(double r) {
    return r > 0.0 ? 1.0 - r * std::log1p(1.0 / r) : 1.0;
}

bool positive(double v) {
    return std::isfinite(v) && v > 0.0;
}

}  // namespace

// N (keV) from the resolution R at 5.898 keV: N^2 = R^2 - (2 sqrt(2 ln 2))^2 Fano w E, all in
// eV; a resolution at or below the Fano limit leaves N = 0 (the Fano width holds).
// Shelf fraction f = 5.898 / (1.0645 FWHM(5.898)) / (peak-to-background): the shelf
// height over 0..5.898 keV is then the peak height divided by the ratio. A ratio
// that is not positive gives no shelf; f is at most 1.
Response::Response(const Detector& detector) : d_(detector) {
    Z_ = d_.crystal == Crystal::ge ? kGermanium : kSilicon;
    if (Z_ == kGermanium) {
        fano_ = 0.106;
        pair_eV_ = 2.96;
    }
    const double R_eV =
        positive(d_.resolution_eV) ? std::min(d_.resolution_eV, kWidestNoise_eV) : 0.0;
    const double fano2_eV = kFwhmPerSigma * kFwhmPerSigma * fano_ * pair_eV_ * kMnKa * 1e3;
    noise_ = R_eV * R_eV > fano2_eV ? std::sqrt(R_eV * R_eV - fano2_eV) * 1e-3 : 0.0;

    const double ptb = d_.peak_to_background;
    if (positive(ptb)) shelf_ = std::min(kMnKa / (kPeakArea * fwhm(kMnKa)) / ptb, 1.0);

    edge_ = xrl::edge_energy(Z_, xrl::kShellK);
    const double omega = xrl::fluor_yield(Z_, xrl::kShellK);
    const double J = xrl::jump_factor(Z_, xrl::kShellK);
    if (J > 1.0) escape_scale_ = 0.5 * omega * (1.0 - 1.0 / J);

    // Centroids and shares of the two groups from the radiative rates of the K lines:
    // K-alpha KL1..KL3, K-beta the rest (the combined KO and KP left out, their parts
    // are listed).
    for (const xrl::LineInfo& l : xrl::line_table()) {
        if (l.shell != xrl::kShellK || l.combined()) continue;
        KGroup& g = l.code >= xrl::kKL3 ? alpha_ : beta_;
        const double rate = xrl::rad_rate(Z_, l.code);
        g.share += rate;
        g.energy += rate * xrl::line_energy(Z_, l.code);
    }
    for (KGroup* g : {&alpha_, &beta_})
        if (g->share > 0.0) g->energy /= g->share;
    const double all = alpha_.share + beta_.share;
    for (KGroup* g : {&alpha_, &beta_}) {
        g->share = all > 0.0 ? g->share / all : 0.0;
        g->mu = xrl::cs_photo(Z_, g->energy);
    }

    if (!(edge_ > 0.0 && edge_ < xrl::kHighestEnergy)) return;  // no table, no escapes
    ln_first_ = std::log(edge_ * kAboveEdge);
    ln_step_ = (std::log(xrl::kHighestEnergy) - ln_first_) / (kMuNodes - 1);
    for (int i = 0; i < kMuNodes; ++i) {
        const double mu = xrl::cs_photo(Z_, std::exp(ln_first_ + i * ln_step_));
        ln_mu_[i] = mu > 0.0 ? std::log(mu) : 0.0;
    }
}

// mu_photo(E) of the crystal above its K edge, cm2/g: ln mu linear in ln E between
// the nodes (mu goes nearly as E^-3 there): the escape fractions stay within 1e-3 of
// direct calls, but for a kink of the library's silicon data near 55 keV (4 % of a
// fraction of 1e-5 there); 0 beyond 150 keV.
double Response::mu_photo(double E) const {
    if (!(E > edge_) || E > xrl::kHighestEnergy || !(ln_step_ > 0.0)) return 0.0;
    const double u = std::max((std::log(E) - ln_first_) / ln_step_, 0.0);
    const int i = std::min(static_cast<int>(u), kMuNodes - 2);
    return std::exp(ln_mu_[i] + (u - i) * (ln_mu_[i + 1] - ln_mu_[i]));
}

// FWHM(E) = sqrt(N^2 + (2 sqrt(2 ln 2))^2 Fano w E), keV, with w in keV; E below 0 counts as 0.
double Response::fwhm(double E) const {
    const double e = positive(E) ? E : 0.0;
    const double fano2 = kFwhmPerSigma * kFwhmPerSigma * fano_ * pair_eV_ * 1e-3 * e;
    return std::sqrt(noise_ * noise_ + fano2);
}

// For a photon above the crystal's K edge, per group g (K-alpha, K-beta):
// fraction_g = 1/2 omega_K (1 - 1/J_K) p_g (1 - r_g ln(1 + 1/r_g)),
// r_g = mu_photo(E_g) / mu_photo(E), p_g the group's share of the K radiative rates.
// Each group has its own r: a K-beta photon is less absorbed than a K-alpha one.
// A K-beta group below 5 % of the K emission (silicon: 2.7 %, 96 eV above K-alpha)
// joins the K-alpha escape at the fraction-weighted centroid: one peak, shifted by
// less than 5 % of their distance.
std::vector<Escape> Response::escapes(double E) const {
    std::vector<Escape> out;
    if (!(E > edge_) || !(escape_scale_ > 0.0)) return out;
    const double mu = mu_photo(E);
    if (!(mu > 0.0)) return out;
    for (const KGroup& g : {alpha_, beta_}) {
        if (!(g.share > 0.0 && g.mu > 0.0)) continue;
        const double fraction = escape_scale_ * g.share * leaving(g.mu / mu);
        if (fraction > 0.0) out.push_back({g.energy, fraction});
    }
    if (out.size() == 2 && beta_.share < kMinorBeta) {
        const double sum = out[0].fraction + out[1].fraction;
        out[0] = {(out[0].energy * out[0].fraction + out[1].energy * out[1].fraction) / sum, sum};
        out.pop_back();
    }
    return out;
}

}  // namespace lumetra::physics
