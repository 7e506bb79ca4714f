// Edge lookup: the K or L3 absorption edge at which a target element is excited.

#include "data/edges.h"

#include "data/edge_energies.h"

namespace lumetra::data {

namespace {
constexpr std::int16_t kEdgeK = 10;
constexpr int kLastWithoutL3 = 51;  // antimony: below tellurium only the K edge is offered
}  // namespace

// Edge_energy in keV.
void Edge_data(const std::int16_t& Z, std::int16_t& Edge, double& Edge_energy,
               common::Dialogs& dialogs) {
    const int z = Z;  // read once: the caller may pass the same variable twice
    if (z < kFirstEdgeZ) {
        dialogs.titled_message("Element data", "too light element");
        Edge_energy = 0;
        return;
    }
    if (z > kLastEdgeZ) {
        // The caller's edge and energy keep what they held.
        dialogs.titled_message("Element data", "heavy elements (Z>83) are not supported");
        return;
    }
    const EdgeEnergies& edges = *edge_energies(z);
    if (z <= kLastWithoutL3) {
        Edge = kEdgeK;
        Edge_energy = edges.k;
        return;
    }
    Edge_energy = Edge > 0 ? edges.k : edges.l3;
}

}  // namespace lumetra::data
