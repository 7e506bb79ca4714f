#pragma once
// The spectrum as comma-separated text, from a table of what to write: the comment
// lines, the units of the layers and the eight layers as named columns. One row per
// channel n: volts = 10 n / 1024, keV = F n / 1024 (F: full-scale energy). Numbers
// are the shortest text that reads back as the same double; a value that is not a
// finite number, or a channel a column does not hold, is left empty.

#include <optional>
#include <string>
#include <vector>

namespace lumetra::io {

struct SpectrumColumn {
    std::string name;            // "total", "target", ...
    std::vector<double> values;  // one per channel, in plot units
};

struct SpectrumTable {
    std::vector<std::string> setup_lines;   // "key: value", before the spectrum's own lines
    std::vector<std::string> result_lines;  // after them
    bool shown = false;  // without a spectrum the text ends after the column line
    std::string layer_units;
    // Under the fundamental-parameter model, counts/s of one plot unit: written as a
    // comment line and as a second set of columns NAME_cps.
    std::optional<double> counts_per_plot_unit;
    double full_scale_keV = 0.0;
    std::vector<SpectrumColumn> layers;
};

std::string spectrum_csv(const SpectrumTable& t);

}  // namespace lumetra::io
