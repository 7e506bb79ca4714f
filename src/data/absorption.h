#pragma once
// Atomic photoabsorption cross-sections: Victoreen form C3*lambda^3 + C4*lambda^4
// per element and region between absorption edges, Z up to 83.

#include <cstdint>
#include <functional>

#include "common/dialogs.h"

namespace lumetra::data {

// Energy in keV; an Energy of exactly 0 is rewritten to 1.0 in the caller's variable.
// The cross-section in cm2 per atom is Mantissa * 10^Exponent.
// Z >= 84: message "heavy elements (Z>83) are not supported " (trailing blank), then
// clear_matrix() is run, and the value is computed with C3 = C4 = 1e-20.
// A value of exactly zero gives Mantissa 0 and Exponent 0.
// Any other finite Energy (negative, tiny, huge) gives 1 <= Mantissa < 10, the Exponent
// carrying the magnitude even where sigma itself leaves the double range (|Exponent|
// stays below about 1300); an infinite or NaN Energy gives Mantissa 0 and Exponent 0.
void Myu_elem(const std::int16_t& Z, double& Energy, std::int16_t& Exponent, double& Mantissa,
              common::Dialogs& dialogs, const std::function<void()>& clear_matrix);

}  // namespace lumetra::data
