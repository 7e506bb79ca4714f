// Emission lines of one element at one excitation energy, with the shares of the
// K and L shells in the absorbed photons.

#include "data/lines.h"

#include <cmath>

#include "data/edge_energies.h"
#include "data/line_records.h"

namespace lumetra::data {

namespace {

constexpr double kSumFloor = 1e-10;   // keeps the energy average of a sum slot finite
constexpr double kTotalFloor = 1e-6;  // keeps the normalisation finite without lines

// The lines excited at one energy, with the two cross-sections of the K edge.
struct ExcitedLines {
    std::array<EmissionLine, kRecordSlots> lines{};
    DecimalValue sigma_above{1.0, -20};
    DecimalValue sigma_jump{0.0, -21};
};

void copy_slots(const LineRecord& record, int first, int last, ExcitedLines& out) {
    for (int slot = first; slot <= last; ++slot) {
        const auto i = static_cast<std::size_t>(slot - 1);
        out.lines[i] = record.lines[i];
    }
}

void copy_k_group(const LineRecord& record, ExcitedLines& out) {
    copy_slots(record, kFirstKSlot, kLastKSlot, out);
    out.sigma_above = record.sigma_above;
    out.sigma_jump = record.sigma_jump;
}

// Which groups an energy (keV) excites: below calcium every line at any energy; up to
// indium the L lines at any energy and the K lines above the K edge; from tin on each
// group above its own edge, L3, L2, L1, K in turn, stopping at the first edge not passed.
ExcitedLines excite(int z, double energy) {
    ExcitedLines out;
    const LineRecord* record = line_record(z);
    if (record == nullptr) return out;
    const EdgeEnergies* edges = edge_energies(z);
    if (edges == nullptr) {
        copy_slots(*record, kFirstL3Slot, kLastKSlot, out);
        return out;
    }
    if (z < kFirstLEdgeZ) {
        copy_slots(*record, kFirstL3Slot, kFirstKSlot - 1, out);
        if (energy > edges->k) copy_k_group(*record, out);
        return out;
    }
    if (!(energy > edges->l3)) return out;
    copy_slots(*record, kFirstL3Slot, kFirstL2Slot - 1, out);
    if (!(energy > edges->l2)) return out;
    copy_slots(*record, kFirstL2Slot, kFirstL1Slot - 1, out);
    if (!(energy > edges->l1)) return out;
    copy_slots(*record, kFirstL1Slot, kFirstKSlot - 1, out);
    if (!(energy > edges->k)) return out;
    copy_k_group(*record, out);
    return out;
}

// A sum slot: the weights of its two lines added, the energy their weighted average.
void sum_slot(LineArray& energies, LineArray& weights, int sum, int a, int b) {
    const auto i = static_cast<std::size_t>(sum);
    const auto ia = static_cast<std::size_t>(a);
    const auto ib = static_cast<std::size_t>(b);
    weights[i] = weights[ia] + weights[ib] + kSumFloor;
    energies[i] = (energies[ia] * weights[ia] + energies[ib] * weights[ib]) / weights[i];
}

}  // namespace

// Energy, Line_energies in keV; Line_weights shares of the element's emission.
void Line_data(std::int16_t Z, double Energy, LineArray& Line_energies, LineArray& Line_weights) {
    const ExcitedLines excited = excite(Z, Energy);

    // K-shell share of the absorbed photons above the K edge.
    double k_share = 1.0;
    if (Z >= kFirstEdgeZ) {
        k_share = excited.sigma_jump.mantissa / excited.sigma_above.mantissa *
                  std::pow(10.0, excited.sigma_jump.exponent - excited.sigma_above.exponent);
    }

    double total = kTotalFloor;
    for (int slot = kFirstL3Slot; slot < kFirstKSlot; ++slot)
        total += (1.0 - k_share) * excited.lines[static_cast<std::size_t>(slot - 1)].intensity;
    for (int slot = kFirstKSlot; slot <= kLastKSlot; ++slot)
        total += k_share * excited.lines[static_cast<std::size_t>(slot - 1)].intensity;

    Line_energies.fill(0.0);
    Line_weights.fill(0.0);
    for (int slot = kFirstL3Slot; slot <= kLastKSlot; ++slot) {
        const EmissionLine& line = excited.lines[static_cast<std::size_t>(slot - 1)];
        const double share = slot < kFirstKSlot ? 1.0 - k_share : k_share;
        Line_energies[static_cast<std::size_t>(slot)] = line.energy;
        Line_weights[static_cast<std::size_t>(slot)] = line.intensity * share / total;
    }
    sum_slot(Line_energies, Line_weights, 22, 1, 2);    // L-alpha 1 & 2
    sum_slot(Line_energies, Line_weights, 0, 15, 16);   // K-alpha 1 & 2
    sum_slot(Line_energies, Line_weights, 23, 17, 19);  // K-beta 1 & 3
}

}  // namespace lumetra::data
