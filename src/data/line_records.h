#pragma once
// Emission-line records: per element the line energies and raw intensities of the
// slots 1 to 21 and the two K-edge cross-sections that split the absorbed photons
// between the K and L shells.

#include <array>
#include <cstddef>

#include "data/decimal.h"

namespace lumetra::data {

constexpr int kFirstLineZ = 11;   // sodium: the first element with its own record
constexpr int kLastLineZ = 83;    // bismuth
constexpr int kRecordSlots = 21;  // single-line slots 1..21

// Slot ranges of the vacancy groups.
constexpr int kFirstL3Slot = 1;
constexpr int kFirstL2Slot = 7;
constexpr int kFirstL1Slot = 11;
constexpr int kFirstKSlot = 15;
constexpr int kLastKSlot = 21;

struct EmissionLine {
    double energy;     // keV; 0 for a slot without a line
    double intensity;  // raw, relative to 100 for slot 15 (K) or slot 1 (L)
};

struct LineRecord {
    bool has_lines;                                // false for argon
    DecimalValue sigma_above;                      // cm2 per atom just above the K edge
    DecimalValue sigma_jump;                       // the K-shell part of it (the step of the edge)
    std::array<EmissionLine, kRecordSlots> lines;  // slot s at index s - 1
};

// The record shared by every Z up to 10: one line in slot 15.
extern const LineRecord kLightLineRecord;
// Z = kFirstLineZ..kLastLineZ at index Z - kFirstLineZ.
extern const std::array<LineRecord, kLastLineZ - kFirstLineZ + 1> kLineTable;

// The record of element z, or nullptr for an element without lines (18, 84 and above).
inline const LineRecord* line_record(int z) {
    if (z < kFirstLineZ) return &kLightLineRecord;
    if (z > kLastLineZ) return nullptr;
    const LineRecord& record = kLineTable[static_cast<std::size_t>(z - kFirstLineZ)];
    return record.has_lines ? &record : nullptr;
}

}  // namespace lumetra::data
