#pragma once
// Emission lines: for one element excited at one energy, the energy (keV) and the
// share of the element's emission of each of the 24 line slots.

#include <array>
#include <cstdint>

namespace lumetra::data {

constexpr int kLineSlots = 24;
using LineArray = std::array<double, kLineSlots>;

// Fills all 24 entries of both arrays. Energy in keV (the excitation energy);
// Line_energies in keV; Line_weights dimensionless shares. No messages.
void Line_data(std::int16_t Z, double Energy, LineArray& Line_energies, LineArray& Line_weights);

}  // namespace lumetra::data
