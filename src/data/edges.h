#pragma once
// K and L3 absorption edge energies of the target elements (Z 20 to 83).

#include <cstdint>

#include "common/dialogs.h"

namespace lumetra::data {

// Edge: 10 (or any positive value) selects the K edge, 0 or negative the L3 edge.
// Z 20..51: Edge is rewritten to 10 and the K edge returned. Z 52..83: Edge kept,
// K or L3 edge returned. Z < 20: "too light element", Edge_energy = 0.
// Z > 83: "heavy elements (Z>83) are not supported", nothing written.
// Edge_energy in keV.
void Edge_data(const std::int16_t& Z, std::int16_t& Edge, double& Edge_energy,
               common::Dialogs& dialogs);

}  // namespace lumetra::data
