#pragma once
// What the physics tests compute straight from the library, beside the model: pi and
// the attenuation of a mixture by mass fractions.

#include <xraylib/xraylib.h>

#include <cstddef>
#include <vector>

namespace lumetra::physics::reference {

constexpr double kPi = 3.14159265358979323846;

// sum w_i CS_Total_Kissel(Z_i, E), cm2/g.
inline double mu_of(const std::vector<int>& Z, const std::vector<double>& w, double E) {
    double mu = 0.0;
    for (std::size_t i = 0; i < Z.size(); ++i) mu += w[i] * CS_Total_Kissel(Z[i], E, nullptr);
    return mu;
}

}  // namespace lumetra::physics::reference
