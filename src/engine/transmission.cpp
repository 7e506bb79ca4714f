#include "engine/transmission.h"

#include <cmath>

#include "common/numtext.h"
#include "engine/finite.h"

namespace lumetra::engine {

double Air_trans(double E, double d) {
    if (!(E > 1.0)) return 0.0;
    const double u = 10.0 / E;
    // Photoabsorption of air (the polynomial in the wavelength-like u) plus its
    // scattering, 0.1792 cm2/g; both scaled by the density factor 0.001.
    const double mu = 0.001 * (u * (((-0.1668 * u + 6.3345) * u + 0.3423) * u + 0.1161) + 0.1792);
    // A negative path (never asked for by the program) would overflow the quotient.
    return finite::held(1.0 / std::exp(finite::mul(mu, d)));
}

double Al_trans(double E, std::int16_t n) {
    if (E < 1.0) E = 0.86;
    const double L = 12.3976 / E;  // wavelength, angstrom
    const double mu = n * (0.04645052 - 0.002573447 * L) * std::pow(L, 3.0);
    if (!(mu < 700.0)) return 0.0;
    // A negative step count gives a negative mu; its quotient is held finite.
    return finite::held(1.0 / std::exp(mu));
}

std::int16_t filter_steps(double entry) {
    return text::to_int16(entry < 0.0 ? 0.0 : entry);
}

}  // namespace lumetra::engine
