#pragma once
// The bounds of what a composition may be: of the text, of a formula, of the
// amounts, and of what the window can hold and calculate.

#include <cstddef>

#include "chem/composition.h"

namespace lumetra::chem::detail {

constexpr std::size_t kMaxChars = 2000;  // characters of text read at all
constexpr int kMaxDepth = 8;             // brackets inside brackets
constexpr double kMaxCount = 1e6;        // a count in a formula; atoms of an element
constexpr double kMaxRelative = 1e15;    // a ':' weight without unit
constexpr double kMaxMolar = 1000.0;     // mol/L
constexpr double kMinDensity = 1e-4;     // g/cm3, below a rarefied gas
constexpr double kMaxDensity = 30.0;     // g/cm3
constexpr double kLeastWeightFraction = 1e-15;
constexpr double kSumTolerance = 0.5;  // % by which percentages may miss 100
constexpr double kWaterDensity = 1.0;  // g/cm3
constexpr int kLastWindowZ = 92;       // the window's table ends with uranium
constexpr int kActinium = 89;          // in the window's table, without data
// The target lies from calcium to bismuth; bismuth is also the last element of
// the classic model's tables.
constexpr int kFirstTargetZ = 20, kLastTargetZ = 83;
constexpr int kPlaces = 1 + kMatrixRows;  // the target and the matrix rows

}  // namespace lumetra::chem::detail
