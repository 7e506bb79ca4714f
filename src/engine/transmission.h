#pragma once
// Air and aluminium-filter transmission of the fluorescence on its way to the detector.

#include <cstdint>

namespace lumetra::engine {

// Transmission (0..1) of a photon of E keV through d cm of air. 0 at or below 1 keV.
double Air_trans(double E, double d);

// Transmission (0..1) of a photon of E keV through n aluminium filter steps.
double Al_trans(double E, std::int16_t n);

// Filter steps of the typed filter value: a negative value means no filter, any
// other the nearest whole number (halves to the even one), held to 16 bits.
std::int16_t filter_steps(double entry);

}  // namespace lumetra::engine
