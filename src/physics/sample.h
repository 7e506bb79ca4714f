#pragma once
// The sample as the fundamental-parameter model sees it: mass fractions,
// attenuation, and the depth factor of a line excited at one energy and seen at
// another, bulk or film.

#include <unordered_map>
#include <vector>

#include "physics/cross_sections.h"
#include "physics/setup.h"

namespace lumetra::physics {

class Sample {
  public:
    // Mass fractions from the atomic contents and atomic weights; elements with no
    // weight or no content get 0. With a CrossSections the library's values are
    // remembered across calculations (it must outlive the Sample).
    explicit Sample(const Setup& setup, CrossSections* xs = nullptr);
    // A layer of the stack as a film of its elements by mass fraction (scaled to a sum
    // of 1), seen at the setup's angles.
    Sample(const Layer& layer, const Setup& setup, CrossSections* xs = nullptr);

    int size() const { return static_cast<int>(Z_.size()); }
    int Z(int i) const { return Z_[i]; }
    double w(int i) const { return w_[i]; }  // mass fraction
    bool film() const { return film_; }
    double areal_density() const { return rho_t_; }  // g/cm2 of a film, 0 for bulk
    double sin_in() const { return sin_in_; }
    double sin_out() const { return sin_out_; }

    // Attenuation, sum of w_i x CS_Total_Kissel(Z_i, E), cm2/g.
    double mu(double E) const;
    // chi(Ea, Eb) = mu(Ea) / sin psi_in + mu(Eb) / sin psi_out, cm2/g.
    double chi(double Ea, double Eb) const;
    // Depth factor, g/cm2: 1 / chi for bulk, (1 - exp(-chi rho t)) / chi for a film.
    double depth_factor(double Ea, double Eb) const;

    // The library's values, remembered when the sample has a CrossSections.
    double cs_total(int Z, double E) const;                 // cm2/g
    double cs_fluor_line(int Z, int line, double E) const;  // cm2/g
    double line_energy(int Z, int line) const;              // keV
    // The lines of element Z with an energy of 1 to 150 keV.
    std::vector<CrossSections::Line> lines_of(int Z) const;

  private:
    std::vector<int> Z_;
    std::vector<double> w_;
    bool film_ = false;
    double rho_t_ = 0.0;
    double sin_in_ = 1.0, sin_out_ = 1.0;
    CrossSections* xs_ = nullptr;
    // mu of the energies asked so far: the lines' energies are asked again and again.
    mutable std::unordered_map<double, double> mu_;
};

}  // namespace lumetra::physics
