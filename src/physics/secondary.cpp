// Secondary fluorescence: the lines one element of the sample emits are absorbed in the
// sample and excite the shells of another element, which then emits its own lines. The
// depth and direction integral is in secondary_integral.h; an element's lines exciting
// its own shells are self-excitation (self_excitation.cpp).

#include "physics/fluorescence.h"
#include "physics/secondary_integral.h"

namespace lumetra::physics {

void add_secondary(std::vector<LineRate>& lines, const Setup& setup, const Sample& sample,
                   const DetectorPath& path) {
    add_excited(lines, setup, sample, path, primary_emitters(lines, sample, setup.E0),
                Pairing::other_elements, &LineRate::secondary);
}

}  // namespace lumetra::physics
