#pragma once
// The spectrum calculation: path attenuation sums, line yields and the synthesis
// of the eight spectrum arrays.

#include <cstdint>
#include <string>

#include "engine/calc_state.h"
#include "engine/host.h"

namespace lumetra::engine {

// Incident-path / exit-path attenuation sum at E keV: sum over the elements 0..Elem_count
// of content x sigma (1e-20 cm2 per atom), divided by the sine of the incident /
// take-off angle.
double Ext_in(CalcState& st, Host& host, double E);
double Ext_out(CalcState& st, Host& host, double E);

// Line energies and detected yields (per unit content) of element i at the incident
// energy, for an incident attenuation sum mu_in. Rewrites row i of Line_energy and
// Line_yield (and the sum slots 0, 22, 23 of row 0).
void Target_yield(CalcState& st, Host& host, std::int16_t i, double mu_in);

// The whole spectrum: every line of every element as a Gaussian peak on 1025 channels,
// scaled so the highest channel of Spec_total is 10000, plus the layer arrays.
// Returns the caption of the target-share label.
std::string Calc_spectrum(CalcState& st, Host& host);

}  // namespace lumetra::engine
