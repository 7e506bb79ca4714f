// Self-excitation: an element's own primary lines above one of its lower edges (Pt L1 and
// L2 lines above the L3 edge, every L line above the M edges) excite that shell, with the
// same depth and direction integral as secondary fluorescence between elements.

#include "physics/orders.h"
#include "physics/secondary_integral.h"

namespace lumetra::physics {

void add_self_excitation(std::vector<LineRate>& lines, const Setup& setup, const Sample& sample,
                         const DetectorPath& path) {
    add_excited(lines, setup, sample, path, primary_emitters(lines, sample, setup.E0),
                Pairing::same_element, &LineRate::self_excited);
}

}  // namespace lumetra::physics
