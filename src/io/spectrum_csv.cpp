#include "io/spectrum_csv.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "common/shortest.h"

namespace lumetra::io {

namespace {

void comment_lines(std::string& out, const std::vector<std::string>& lines) {
    for (const std::string& l : lines) out += "# " + l + '\n';
}

double value_at(const SpectrumColumn& c, std::size_t n) {
    return n < c.values.size() ? c.values[n] : std::numeric_limits<double>::quiet_NaN();
}

}  // namespace

std::string spectrum_csv(const SpectrumTable& t) {
    std::string out;
    comment_lines(out, t.setup_lines);
    out += std::string("# spectrum: ") + (t.shown ? "shown" : "none") + '\n';
    out += "# layer_units: " + t.layer_units + '\n';
    if (t.counts_per_plot_unit)
        out += "# counts_s_per_plot_unit: " + common::shortest(*t.counts_per_plot_unit) + '\n';
    comment_lines(out, t.result_lines);

    out += "channel,volts,keV";
    for (const SpectrumColumn& c : t.layers) out += ',' + c.name;
    if (t.counts_per_plot_unit)
        for (const SpectrumColumn& c : t.layers) out += ',' + c.name + "_cps";
    out += '\n';
    if (!t.shown) return out;

    std::size_t channels = 0;
    for (const SpectrumColumn& c : t.layers) channels = std::max(channels, c.values.size());
    for (std::size_t n = 0; n < channels; ++n) {
        const double k = static_cast<double>(n);
        out += std::to_string(n) + ',' + common::shortest(10.0 * k / 1024) + ',' +
               common::shortest(t.full_scale_keV * k / 1024);
        for (const SpectrumColumn& c : t.layers) out += ',' + common::shortest(value_at(c, n));
        if (t.counts_per_plot_unit)
            for (const SpectrumColumn& c : t.layers)
                out += ',' + common::shortest(value_at(c, n) * *t.counts_per_plot_unit);
        out += '\n';
    }
    return out;
}

}  // namespace lumetra::io
