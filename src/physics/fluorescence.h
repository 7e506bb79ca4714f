#pragma once
// Primary fluorescence of every K, L and M line (above 1 keV) of every element of
// the sample, and the secondary fluorescence one element's lines excite in another.

#include <vector>

#include "physics/detector_path.h"
#include "physics/result.h"
#include "physics/sample.h"

namespace lumetra::physics {

// Every line with a positive primary rate, detected events/s:
// R = Phi (Omega / 4 pi) w_i CS_FluorLine_Kissel_Cascade(Z_i, line, E0)
//     x F(E0, E_line) / sin psi_in x T(E_line).
// The other parts (secondary, self-excited, ...) are left 0.
std::vector<LineRate> primary_lines(const Setup& setup, const Sample& sample,
                                    const DetectorPath& path);

// Adds to each line's secondary rate the fluorescence its element's shells get from
// the primary lines of the other elements (closed form for bulk, a numeric depth
// integral for a film; secondary_integral.h), with the same detection factor T as the
// primary part. Higher orders within the layer are in orders.h.
void add_secondary(std::vector<LineRate>& lines, const Setup& setup, const Sample& sample,
                   const DetectorPath& path);

}  // namespace lumetra::physics
