// Emission-line records: line energies, raw intensities and the K-edge cross-sections.

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <vector>

#include "data/edge_energies.h"
#include "data/symbol_table.h"
#include "reference.h"
#include "tables.h"

namespace lumetra::gen {

namespace {

using data::DecimalValue;
using data::EmissionLine;
using data::LineRecord;

constexpr double kLExcitationStep = 1.07;  // L intensities are produced at 1.07 x the L1 edge
constexpr double kAboveEdge = 1.0001;      // "just above" an edge
constexpr DecimalValue kNoSigmaAbove{1.0, -20};
constexpr DecimalValue kNoSigmaJump{0.0, -21};

// The lines of each slot 1..21 (index slot - 1); two lines share a slot where the
// detector cannot part them.
// clang-format off
const std::vector<Line> kSlotLines[data::kRecordSlots] = {
    {Line::L3M5}, {Line::L3M4}, {Line::L3N5}, {Line::L3M1}, {Line::L3N4}, {Line::L3O4, Line::L3O5},
    {Line::L2M4}, {Line::L2M1}, {Line::L2N4}, {Line::L2O4},
    {Line::L1M3}, {Line::L1M2}, {Line::L1N2}, {Line::L1N3},
    {Line::KL3}, {Line::KL2}, {Line::KM3}, {Line::KN2, Line::KN3}, {Line::KM2},
    {Line::KO2, Line::KO3}, {Line::KM4, Line::KM5},
};
// clang-format on

// The slots each element carries.
struct SlotPlan {
    int first_z;
    int last_z;
    std::vector<int> slots;
};
const SlotPlan kSlotPlans[] = {
    {11, 17, {15, 16, 17}},
    {19, 21, {15, 16, 17, 19}},
    {22, 32, {15, 16, 17, 19, 21}},
    {33, 40, {15, 16, 17, 18, 19, 21}},
    {41, 42, {1, 2, 3, 4, 7, 9, 11, 15, 16, 17, 18, 19, 21}},
    {43, 44, {1, 2, 3, 4, 5, 7, 9, 11, 12, 13, 15, 16, 17, 18, 19, 21}},
    {45, 78, {1, 2, 3, 4, 5, 7, 8, 9, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21}},
    {79, 83, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21}},
};

// The program's fixed records: slot, energy (keV), raw intensity.
struct FixedLine {
    int slot;
    double energy;
    double intensity;
};
struct FixedRecord {
    int z;
    DecimalValue sigma_above;
    DecimalValue sigma_jump;
    std::vector<FixedLine> lines;
};
// clang-format off
const FixedRecord kFixedRecords[] = {
    {14, kNoSigmaAbove, kNoSigmaJump, {{15, 1.73998, 100}, {16, 1.73938, 50}, {17, 1.83594, 2}}},
    {26, {3.89, -20}, {3.43, -20},
     {{15, 6.40384, 100}, {16, 6.39084, 50}, {17, 7.05798, 17}, {19, 7.058, 17}, {21, 7.11, 0.120627262}}},
    {29, {3.04, -20}, {2.66, -20},
     {{15, 8.04778, 100}, {16, 8.02783, 51}, {17, 8.90529, 17}, {19, 8.9053, 17}, {21, 8.974, 0.138624155}}},
    {74, {3.3, -21}, {2.62, -21},
     {{1, 8.3976, 100},        {2, 8.3352, 11},          {3, 9.9615, 21},          {4, 7.3678, 5},
      {5, 9.613, 0},           {7, 9.67235, 67},         {8, 8.724, 1.461463888},  {9, 11.2859, 13},
      {11, 9.819, 10.32646265}, {12, 9.525, 7.258371796}, {13, 11.61, 2.272145714}, {14, 11.676, 3.283273694},
      {15, 59.31824, 100},     {16, 57.9817, 58},        {17, 67.2443, 22},        {18, 69.067, 8},
      {19, 66.9514, 11},       {20, 69.269, 0.119856173}, {21, 67.653, 0.499400719}}},
};
// clang-format on
// Every Z up to 10 shares one line.
const FixedRecord kLightRecord{0, kNoSigmaAbove, kNoSigmaJump, {{15, 0.8486, 100}}};

LineRecord record_of(const FixedRecord& fixed) {
    LineRecord record{true, fixed.sigma_above, fixed.sigma_jump, {}};
    for (const FixedLine& line : fixed.lines)
        record.lines[static_cast<std::size_t>(line.slot - 1)] = {line.energy, line.intensity};
    return record;
}

const FixedRecord* fixed_record(int z) {
    for (const FixedRecord& fixed : kFixedRecords)
        if (fixed.z == z) return &fixed;
    return nullptr;
}

double round_to_digits(double value, int digits) {
    return std::strtod(format("%.*g", digits, value).c_str(), nullptr);
}

// A cross-section (cm2 per atom) as mantissa and exponent with four digits.
DecimalValue decimal_of(double sigma) {
    const std::string text = format("%.3e", sigma);
    const std::size_t e = text.find('e');
    return {std::strtod(text.substr(0, e).c_str(), nullptr),
            static_cast<std::int16_t>(std::strtol(text.substr(e + 1).c_str(), nullptr, 10))};
}

// Strength of a line on the scale of its group: the radiative rate for K lines, the
// production cross-section at 1.07 x L1 (cascade included) for L lines.
double line_strength(int z, Line line, bool k_group) {
    if (k_group) return radiative_rate(z, line);
    return line_production(z, line, kLExcitationStep * edge_energy(z, Shell::L1));
}

// The shell whose vacancy a slot's lines fill.
Shell initial_shell(int slot) {
    if (slot >= data::kFirstKSlot) return Shell::K;
    if (slot >= data::kFirstL1Slot) return Shell::L1;
    if (slot >= data::kFirstL2Slot) return Shell::L2;
    return Shell::L3;
}

// Energy and raw intensity of one slot: summed strengths relative to the group's
// reference line, energy weighted by strength (plain mean where no strength is known).
EmissionLine slot_line(int z, int slot) {
    const bool k_group = slot >= data::kFirstKSlot;
    const double reference = line_strength(z, k_group ? Line::KL3 : Line::L3M5, k_group);
    double strength = 0, weighted = 0, plain = 0;
    int known = 0;
    for (Line line : kSlotLines[slot - 1]) {
        const double energy = line_energy(z, line);
        if (energy <= 0) continue;
        const double s = line_strength(z, line, k_group);
        strength += s;
        weighted += s * energy;
        plain += energy;
        ++known;
    }
    if (known == 0) {
        // An outer shell that is empty or a valence band: the line sits at the
        // initial vacancy's edge and carries no intensity.
        const double edge = edge_energy(z, initial_shell(slot));
        std::printf("Z %d slot %d: no line in the reference, edge %.7g keV with intensity 0\n", z,
                    slot, edge);
        return {round_to_digits(edge, 7), 0};
    }
    const double energy = strength > 0 ? weighted / strength : plain / known;
    const double intensity = reference > 0 ? 100.0 * strength / reference : 0.0;
    return {round_to_digits(energy, 7), round_to_digits(intensity, 7)};
}

LineRecord generated_record(int z) {
    LineRecord record{true, kNoSigmaAbove, kNoSigmaJump, {}};
    for (const SlotPlan& plan : kSlotPlans) {
        if (z < plan.first_z || z > plan.last_z) continue;
        for (int slot : plan.slots)
            record.lines[static_cast<std::size_t>(slot - 1)] = slot_line(z, slot);
    }
    if (const data::EdgeEnergies* edges = data::edge_energies(z)) {
        const double energy = kAboveEdge * std::max(edges->k, edge_energy(z, Shell::K));
        const double above = photo_per_atom(z, energy);
        record.sigma_above = decimal_of(above);
        record.sigma_jump = decimal_of(above * (1.0 - 1.0 / k_jump_factor(z)));
    }
    return record;
}

std::string record_source(const LineRecord& record, const std::string& comment) {
    std::string out =
        format("    // %s\n    {%s, {%s, %d}, {%s, %d}, {{", comment.c_str(),
               record.has_lines ? "true" : "false", shortest(record.sigma_above.mantissa).c_str(),
               record.sigma_above.exponent, shortest(record.sigma_jump.mantissa).c_str(),
               record.sigma_jump.exponent);
    for (std::size_t i = 0; i < record.lines.size(); ++i) {
        out += i % 4 == 0 ? "\n        " : " ";
        out += format("{%s, %s}%s", shortest(record.lines[i].energy).c_str(),
                      shortest(record.lines[i].intensity).c_str(),
                      i + 1 < record.lines.size() ? "," : "");
    }
    return out + "}}}";
}

}  // namespace

LineTable build_line_table() {
    LineTable table{};
    for (int z = data::kFirstLineZ; z <= data::kLastLineZ; ++z) {
        LineRecord& record = table[static_cast<std::size_t>(z - data::kFirstLineZ)];
        if (z == 18)
            record = LineRecord{false, kNoSigmaAbove, kNoSigmaJump, {}};  // argon: no lines
        else if (const FixedRecord* fixed = fixed_record(z))
            record = record_of(*fixed);
        else
            record = generated_record(z);
    }
    return table;
}

std::string line_source(const LineTable& table) {
    std::string out =
        "// Emission-line records of sodium (11) to bismuth (83); argon has none.\n"
        "// This file is automatically generated, do not edit.\n"
        "// Regenerate it with tools/gen_tables: build the gen_tables target and run\n"
        "//   gen_tables src/data\n"
        "// from the source directory. Line energies (keV) come from the xraylib library;\n"
        "// K intensities are radiative rates relative to K-L3 = 100, L intensities production\n"
        "// cross-sections with cascade at 1.07 x the L1 edge relative to L3-M5 = 100. The two\n"
        "// cross-sections (cm2 per atom) are the photoabsorption just above the K edge and its\n"
        "// K-shell part from the edge jump. Z 14, 26, 29, 74 and the light record are the\n"
        "// program's fixed rows. Record layout: has lines, sigma above, sigma jump, then\n"
        "// {energy, intensity} of slots 1 to 21.\n"
        "\n"
        "#include \"data/line_records.h\"\n"
        "\n"
        "namespace lumetra::data {\n"
        "\n"
        "const LineRecord kLightLineRecord =\n";
    out += record_source(record_of(kLightRecord), "every Z up to 10") + ";\n\n";
    out += "const std::array<LineRecord, kLastLineZ - kFirstLineZ + 1> kLineTable{{\n";
    for (int z = data::kFirstLineZ; z <= data::kLastLineZ; ++z) {
        const std::string symbol(data::kElementSymbols[static_cast<std::size_t>(z - 1)].symbol);
        out += record_source(table[static_cast<std::size_t>(z - data::kFirstLineZ)],
                             format("%d %s", z, symbol.c_str())) +
               ",\n";
    }
    out += "}};\n\n}  // namespace lumetra::data\n";
    return out;
}

}  // namespace lumetra::gen
