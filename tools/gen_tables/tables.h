#pragma once
// The two generated tables of the data layer, built in memory and printed as C++.

#include <array>
#include <string>

#include "data/line_records.h"
#include "data/victoreen.h"

namespace lumetra::gen {

using VictoreenTable = std::array<data::VictoreenElement, data::kLastVictoreenZ>;
using LineTable = std::array<data::LineRecord, data::kLastLineZ - data::kFirstLineZ + 1>;

// Photoabsorption: fits every element that has no fixed row, reports each fit's worst
// relative error on stdout, and returns the table as it will read back from its text
// (coefficients already rounded to the printed digits).
VictoreenTable build_victoreen_table();
std::string victoreen_source(const VictoreenTable& table);

// Prints the deviation figures of the table against the reference over Z 10..83.
// Returns false when one of them misses its target.
bool report_victoreen_quality(const VictoreenTable& table);

// Emission lines: every record of Z 11..83 that has no fixed row.
LineTable build_line_table();
std::string line_source(const LineTable& table);

// The energy range over which the fit quality is judged, keV: from 2 keV or just
// above the highest edge that the table does not represent, to 60 keV, leaving out
// the neighbourhood of every represented edge (both the program's and the reference's).
struct QualityRange {
    double first;
    double last;
};
QualityRange quality_range(int z);
bool near_represented_edge(int z, double energy);

// The shortest decimal text that reads back as the same double, so fixed rows print
// exactly as they were written.
std::string shortest(double value);

// printf-style formatting into a string.
std::string format(const char* pattern, ...) __attribute__((format(printf, 1, 2)));

}  // namespace lumetra::gen
