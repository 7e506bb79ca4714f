#pragma once
// The amplifier's energy-to-voltage law: 0..10 V over channels 0..1024, with a
// coarse gain G and a fine gain g.

#include <array>
#include <cstdint>

namespace lumetra::common {

// The coarse gain's eight steps, in the order its buttons step through them.
constexpr std::array<std::int16_t, 8> kCoarseSteps = {5, 10, 20, 50, 100, 200, 500, 1000};

constexpr double kGainConstant = 0.256529593;

// Full-scale energy in keV, the energy of a 10 V pulse (channel 1024):
// 1000 / ((G x 0.256529593) x g).
inline double full_energy(double coarse, double fine) {
    return 1000.0 / ((coarse * kGainConstant) * fine);
}

}  // namespace lumetra::common
