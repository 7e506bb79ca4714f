#pragma once
// Helpers shared by the procedures that walk over the sample's elements.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>

#include "common/numtext.h"
#include "data/absorption.h"
#include "engine/calc_state.h"
#include "engine/finite.h"
#include "engine/host.h"

namespace lumetra::engine {

// The highest element index a loop over the sample visits: Elem_count, but never
// beyond the last row of the arrays (12); -1 (no pass) when Elem_count is negative.
inline int last_element(const CalcState& st) {
    return std::clamp<int>(st.Elem_count, -1, kElements - 1);
}

// 10^(e + 20), the factor that turns a cross-section of mantissa x 10^e cm2 per atom
// into units of 1e-20 cm2. e + 20 is a 16-bit sum and saturates like one.
inline double decade_scale(std::int16_t e) {
    const std::int16_t e20 = text::to_int16(static_cast<double>(e) + 20.0);
    return finite::held(std::pow(10.0, static_cast<double>(e20)));
}

// Photoabsorption cross-section of element z at E keV as mantissa and exponent.
// E is the caller's variable: an energy of exactly 0 comes back as 1.0.
struct CrossSection {
    double mantissa = 0.0;
    std::int16_t exponent = 0;
};

inline CrossSection cross_section(Host& host, std::int16_t z, double& E) {
    CrossSection cs;
    data::Myu_elem(z, E, cs.exponent, cs.mantissa, host.dialogs(), [&host] { host.clear_matrix(); });
    return cs;
}

}  // namespace lumetra::engine
