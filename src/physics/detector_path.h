#pragma once
// Between the sample and the counted event: the solid angle of the crystal, the air,
// the filters, the beryllium window and the crystal's own efficiency.

#include <unordered_map>

#include "physics/cross_sections.h"
#include "physics/setup.h"
#include "physics/xrl.h"

namespace lumetra::physics {

constexpr double kAlStepUm = 11.7;  // one aluminium filter step of the window, um

// The exact solid angle of a disc of area A (mm2) on its axis at distance d (cm), sr:
// 2 pi (1 - d / sqrt(d^2 + A / pi)).
double solid_angle(double area_mm2, double distance_cm);

class DetectorPath {
  public:
    // With a CrossSections the library's values are remembered (it must outlive
    // the path).
    explicit DetectorPath(const Setup& setup, CrossSections* xs = nullptr);
    double omega() const { return omega_; }  // sr
    // Probability that a photon of E keV leaving the sample towards the crystal is
    // absorbed in it: air x filter x aluminium steps x beryllium x (1 - exp(-mu t)).
    double T(double E) const;
    // The parts of T, for the tests and the panel.
    double air(double E) const;
    double filters(double E) const;
    // exp(-mu rho t) of a slab at E (the beam's filters use it too).
    double slab(const Slab& s, double E) const;
    double window(double E) const;
    double efficiency(double E) const;

  private:
    Setup setup_;  // the detector, filter and distance parts are read
    double omega_ = 0.0;
    xrl::Compound air_;  // dry air at sea level
    CrossSections* xs_ = nullptr;
    mutable std::unordered_map<double, double> T_;  // T of the energies asked so far
    double total(int Z, double E) const;            // cm2/g
    // exp(-mu rho t) of a layer of elements by mass fraction; t in cm.
    double layer(const std::vector<int>& Z, const std::vector<double>& w, double density, double t,
                 double E) const;
    double element_layer(int Z, double t_cm, double E) const;
};

}  // namespace lumetra::physics
