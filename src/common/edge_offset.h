#pragma once
// The X-ray energy the window proposes for an edge: just above it, where the edge's
// whole step is excited, rounded as the energy field shows it.

#include "common/numtext.h"

namespace lumetra::common {

constexpr double kAboveEdge_keV = 0.05;

inline double energy_above_edge(double edge_keV) {
    return text::round_to(edge_keV + kAboveEdge_keV, 4);
}

}  // namespace lumetra::common
