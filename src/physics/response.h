#pragma once
// The detector's answer to one absorbed photon: a Gaussian peak whose width grows
// with the energy, escape peaks of the crystal's K fluorescence, and a flat shelf
// of incomplete charge collection from 0 to the photon energy.

#include <array>
#include <vector>

#include "physics/setup.h"

namespace lumetra::physics {

struct Escape {
    double energy = 0.0;    // keV below the parent: the crystal's K-alpha or K-beta
    double fraction = 0.0;  // share of the parent's detected events
};

class Response {
  public:
    explicit Response(const Detector& detector);
    // FWHM(E) = sqrt(N^2 + (2 sqrt(2 ln 2))^2 Fano w E), keV; N from the resolution at 5.898 keV.
    double fwhm(double E) const;
    // Escape peaks of a photon of E keV (none at or below the crystal's K edge):
    // 1/2 omega_K (1 - 1/J_K) (1 - r ln(1 + 1/r)), r = mu(E_K) / mu(E), for K-alpha and
    // K-beta each with its share of the radiative rates and its own r.
    std::vector<Escape> escapes(double E) const;
    // Fraction of every peak's events in its shelf:
    // 5.898 / (1.0645 FWHM(5.898)) / peak-to-background.
    double shelf_fraction() const { return shelf_; }

  private:
    // One group of the crystal's K lines: centroid, share of all K emission, and the
    // crystal's photoabsorption at the centroid.
    struct KGroup {
        double energy = 0.0;  // keV
        double share = 0.0;
        double mu = 0.0;  // cm2/g
    };

    Detector d_;
    double noise_ = 0.0;  // N, keV
    double fano_ = 0.118, pair_eV_ = 3.66;
    double shelf_ = 0.0;
    int Z_ = 14;                 // the crystal's element
    double edge_ = 0.0;          // its K edge, keV
    double escape_scale_ = 0.0;  // 1/2 omega_K (1 - 1/J_K)
    KGroup alpha_, beta_;
    // ln mu_photo of the crystal at log-spaced energies from just above its K edge
    // to the library's highest energy: the escape fraction of every line without a
    // library call each.
    static constexpr int kMuNodes = 48;
    std::array<double, kMuNodes> ln_mu_{};
    double ln_first_ = 0.0, ln_step_ = 0.0;  // ln E of the first node, ln of the node ratio
    double mu_photo(double E) const;
};

}  // namespace lumetra::physics
