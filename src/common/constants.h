#pragma once
// Mathematical constants of the fundamental-parameter model and of everything built
// on it, written once at full double precision. The classic model keeps its own
// (its pi of 3.1415927 is part of its numbers).

namespace lumetra::common {

constexpr double kPi = 3.14159265358979323846;
constexpr double kFourPi = 4.0 * kPi;  // sr of the whole sphere

// FWHM / sigma of a Gaussian, 2 sqrt(2 ln 2).
constexpr double kFwhmPerSigma = 2.35482004503094938;
// 1 / sqrt 2 and 1 / sqrt(2 pi), of the normal distribution and its density.
constexpr double kInvSqrt2 = 0.70710678118654752;
constexpr double kInvSqrt2Pi = 0.39894228040143268;

// Optical depth chi rho t below which a film counts as thin in the depth factor
// (1 - exp(-chi rho t)) / chi: there it is rho t itself, which spares the
// cancellation of 1 - exp(-x) (the two differ by x / 2 of it).
constexpr double kThinFilmDepth = 1e-9;

}  // namespace lumetra::common
