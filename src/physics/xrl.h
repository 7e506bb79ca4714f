#pragma once
// The reference physics library, called through one place. Every function gives a
// defined, finite value: an error inside the library, an unknown element or line,
// or an energy outside 1..150 keV gives 0 (energies where the library's tables end).
// Units as the library's: keV, cm2/g, barn-free.

#include <string>
#include <vector>

namespace lumetra::physics::xrl {

constexpr double kLowestEnergy = 1.0;     // keV
constexpr double kHighestEnergy = 150.0;  // keV
constexpr int kHeaviestElement = 92;      // uranium: the last element the program knows

double atomic_weight(int Z);                          // g/mol
double element_density(int Z);                        // g/cm3
double cs_total(int Z, double E);                     // CS_Total_Kissel, cm2/g
double cs_photo(int Z, double E);                     // CS_Photo_Total, cm2/g
double cs_photo_partial(int Z, int shell, double E);  // cm2/g
double cs_fluor_line(int Z, int line, double E);      // CS_FluorLine_Kissel_Cascade, cm2/g
double dcsp_rayleigh(int Z, double E, double theta, double phi);  // cm2/g/sr
double dcsp_compton(int Z, double E, double theta, double phi);   // cm2/g/sr
double compton_profile(int Z, double pz);  // electrons per atomic unit of momentum
double line_energy(int Z, int line);       // keV
double edge_energy(int Z, int shell);      // keV
double fluor_yield(int Z, int shell);
double jump_factor(int Z, int shell);
double rad_rate(int Z, int line);

// A compound of the library's NIST list by name: elements and mass fractions.
struct Compound {
    std::vector<int> Z;
    std::vector<double> mass_fraction;
    double density = 0.0;  // g/cm3
};
// Empty (no elements) when the name is not in the list.
Compound nist_compound(const std::string& name);
// A chemical formula parsed by the library ("Al2O3"); empty when it is not one.
Compound formula(const std::string& text);

// The chemical symbol of element Z ("Fe"); empty for an unknown Z.
std::string symbol(int Z);

// The library's name of a line code from KL1 (-1) to the M lines (-219), e.g. "KL3";
// empty for other codes.
std::string line_name(int line);

}  // namespace lumetra::physics::xrl
