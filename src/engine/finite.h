#pragma once
// Arithmetic that never leaves the finite doubles. Any field may hold a value such
// as 1e308, and a product of two of them overflows; a later 0 x inf or inf - inf
// would then put a NaN into a spectrum. Every step of the calculation that can
// overflow goes through these: an overflow is held at the largest finite value of
// its sign, and the only NaN source left, 0 / 0, counts as 0. For finite results
// they are the plain operations, so ordinary inputs give exactly the plain values.

#include <cfloat>
#include <cmath>

namespace lumetra::engine::finite {

inline double held(double x) {
    if (std::isnan(x)) return 0.0;
    if (std::isinf(x)) return x > 0.0 ? DBL_MAX : -DBL_MAX;
    return x;
}

inline double add(double a, double b) { return held(a + b); }
inline double mul(double a, double b) { return held(a * b); }
inline double div(double a, double b) { return held(a / b); }

}  // namespace lumetra::engine::finite
