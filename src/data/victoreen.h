#pragma once
// Victoreen photoabsorption model: sigma = |C3 * lambda^3 + C4 * lambda^4| in cm2 per
// atom, lambda in Angstrom, one coefficient pair per element and region between edges.

#include <array>
#include <cstdint>

#include "data/decimal.h"

namespace lumetra::data {

// Photon energy (keV) times wavelength (Angstrom).
constexpr double kKeVAngstrom = 12.3976;

constexpr int kLastVictoreenZ = 83;  // bismuth
constexpr int kMaxRegions = 5;       // below L3, L3-L2, L2-L1, L1-K, above K

struct VictoreenRegion {
    double bound;  // Angstrom: the region holds for lambda >= bound; unused in the last region
    double c3;     // cm2 / Angstrom^3
    double c4;     // cm2 / Angstrom^4
};

struct VictoreenElement {
    int count;  // regions in use, 1..kMaxRegions, from long to short wavelength
    std::array<VictoreenRegion, kMaxRegions> regions;
};

// Z = 1..83 at index Z - 1; Z 2 and 3 repeat the hydrogen pair.
extern const std::array<VictoreenElement, kLastVictoreenZ> kVictoreenTable;

// The region of an element that holds at the wavelength lambda (Angstrom): the first
// one whose bound lambda reaches, else the last. A lambda equal to a bound stays on
// the long-wavelength side; a NaN or negative lambda takes the last region.
const VictoreenRegion& victoreen_region(const VictoreenElement& element, double lambda);

// sigma = |C3 lambda^3 + C4 lambda^4| (cm2 per atom) at lambda = kKeVAngstrom / energy
// (energy in keV, any sign). Energies so small or so large that sigma leaves the double
// range are handled in logarithms, so the result is finite for every finite non-zero
// energy; an infinite or NaN energy gives 0, an energy of 0 the largest exponent.
DecimalValue victoreen_cross_section(double c3, double c4, double energy);

}  // namespace lumetra::data
