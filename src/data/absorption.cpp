// Atomic photoabsorption cross-sections from the Victoreen coefficient table.

#include "data/absorption.h"

#include <algorithm>
#include <cmath>

#include "data/victoreen.h"

namespace lumetra::data {

namespace {

constexpr int kFirstOwnPairZ = 4;  // below beryllium every number takes the hydrogen pair
constexpr double kHeavyCoefficient = 1e-20;
// Below this the power of ten of a value is no longer a normal double.
constexpr double kSmallestDirect = 1e-300;

}  // namespace

const VictoreenRegion& victoreen_region(const VictoreenElement& element, double lambda) {
    const int last = std::clamp(element.count, 1, kMaxRegions) - 1;
    for (int i = 0; i < last; ++i) {
        const VictoreenRegion& region = element.regions[static_cast<std::size_t>(i)];
        if (lambda >= region.bound) return region;
    }
    return element.regions[static_cast<std::size_t>(last)];
}

DecimalValue victoreen_cross_section(double c3, double c4, double energy) {
    if (std::isnan(energy)) return {0.0, 0};
    const double lambda = kKeVAngstrom / energy;
    const double sigma = std::fabs(((lambda * c4 + c3) * lambda) * lambda * lambda);
    if (std::isfinite(sigma) && sigma >= kSmallestDirect) return to_decimal(sigma);

    // Out of the double range: the same value in logarithms.
    if (lambda == 0.0) return {0.0, 0};  // infinite energy
    const double log10_lambda = std::log10(kKeVAngstrom) - std::log10(std::fabs(energy));
    if (std::isinf(lambda)) {
        // C3 / lambda vanishes beside C4.
        if (c4 != 0.0) return decimal_from_log10(std::log10(std::fabs(c4)) + 4.0 * log10_lambda);
        if (c3 != 0.0) return decimal_from_log10(std::log10(std::fabs(c3)) + 3.0 * log10_lambda);
        return {0.0, 0};
    }
    const double factor = std::fabs(c3 + c4 * lambda);
    if (factor == 0.0) return {0.0, 0};  // the two terms cancel exactly
    return decimal_from_log10(std::log10(factor) + 3.0 * log10_lambda);
}

// Energy in keV (0 is rewritten to 1.0); sigma = Mantissa * 10^Exponent cm2 per atom.
void Myu_elem(const std::int16_t& Z, double& Energy, std::int16_t& Exponent, double& Mantissa,
              common::Dialogs& dialogs, const std::function<void()>& clear_matrix) {
    const int z = Z;  // read before any out-argument is written
    if (Energy == 0.0) Energy = 1.0;
    const double energy = Energy;
    const double lambda = kKeVAngstrom / energy;

    double c3 = kHeavyCoefficient;
    double c4 = kHeavyCoefficient;
    if (z < kFirstOwnPairZ) {
        const VictoreenRegion& hydrogen = kVictoreenTable[0].regions[0];
        c3 = hydrogen.c3;
        c4 = hydrogen.c4;
    } else if (z <= kLastVictoreenZ) {
        const VictoreenRegion& region =
            victoreen_region(kVictoreenTable[static_cast<std::size_t>(z - 1)], lambda);
        c3 = region.c3;
        c4 = region.c4;
    } else {
        dialogs.titled_message("Element data", "heavy elements (Z>83) are not supported ");
        if (clear_matrix) clear_matrix();
    }

    const DecimalValue sigma = victoreen_cross_section(c3, c4, energy);
    Exponent = sigma.exponent;
    Mantissa = sigma.mantissa;
}

}  // namespace lumetra::data
