#pragma once
// Absorption edge energies of the program's own edge lists, shared by the edge
// lookup, the gating of the emission lines and the table generator.

#include <array>

namespace lumetra::data {

constexpr int kFirstEdgeZ = 20;   // calcium: the lightest element with a K edge listed
constexpr int kLastEdgeZ = 83;    // bismuth: the heaviest supported element
constexpr int kFirstLEdgeZ = 50;  // tin: the lightest element with L edges listed
constexpr int kEdgeCount = kLastEdgeZ - kFirstEdgeZ + 1;

// Edge energies of one element in keV; 0 where no edge is listed.
struct EdgeEnergies {
    double k;
    double l1;
    double l2;
    double l3;
};

// Indexed by Z - kFirstEdgeZ.
extern const std::array<EdgeEnergies, kEdgeCount> kEdgeTable;

// The edges of element z (keV), or nullptr outside kFirstEdgeZ..kLastEdgeZ.
inline const EdgeEnergies* edge_energies(int z) {
    if (z < kFirstEdgeZ || z > kLastEdgeZ) return nullptr;
    return &kEdgeTable[static_cast<std::size_t>(z - kFirstEdgeZ)];
}

}  // namespace lumetra::data
