#pragma once
// Rayleigh and Compton scattering of the polarised beam by the sample, seen by the
// detector at the scattering angle psi_in + psi_out in the polarisation plane.

#include "physics/detector_path.h"
#include "physics/result.h"
#include "physics/sample.h"

namespace lumetra::physics {

struct Scatter {
    ScatterRate rayleigh;
    ScatterRate compton;
};

// rate = Phi Omega sum_i w_i dsigma_i x F(E0, E_s) / sin psi_in x T(E_s), with
// dsigma = (1 + P) / 2 DCSP(theta, 0) + (1 - P) / 2 DCSP(theta, pi / 2);
// E_C = E0 / (1 + (E0 / 511) (1 - cos theta)). The Compton line's Doppler width
// follows from the sample's Compton profile.
Scatter scatter_rates(const Setup& setup, const Sample& sample, const DetectorPath& path);

}  // namespace lumetra::physics
