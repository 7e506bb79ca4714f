#pragma once
// Every line and the scatter of every piece of the stack around the sample, as the
// detector sees them through the pieces above each.

#include <vector>

#include "physics/detector_path.h"
#include "physics/result.h"
#include "physics/scatter.h"
#include "physics/stack.h"

namespace lumetra::physics {

struct StackRates {
    // The sample's lines first, in the order they have without layers, then the front
    // layers' and the back layers', each tagged with its LineRate::layer.
    std::vector<LineRate> lines;
    // Rayleigh and Compton of all pieces together: the rates add up; the Compton line's
    // Doppler width is the rate-weighted root mean square of the pieces' widths.
    Scatter scatter;
};

// Each piece's primary and secondary lines and its scatter as for a sample of its own,
// times exp(-sum mu(E0) rho t / sin psi_in) exp(-sum mu(E) rho t / sin psi_out) over the
// pieces above it; then the secondary fluorescence each piece's lines excite in the
// others. Lines that nothing of reaches the detector are left out. Without layers the
// sample's own numbers, unchanged.
StackRates stack_rates(const Setup& setup, const Stack& stack, const DetectorPath& path);

}  // namespace lumetra::physics
