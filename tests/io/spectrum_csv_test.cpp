// The spectrum file from a table alone: comment lines, the column line, rows per
// channel, the counts/s columns, and values that are not numbers left empty.

#include "io/spectrum_csv.h"

#include <gtest/gtest.h>

#include <limits>

namespace lumetra::io {
namespace {

SpectrumTable two_channels() {
    SpectrumTable t;
    t.setup_lines = {"program: test"};
    t.result_lines = {"rate: 1"};
    t.shown = true;
    t.layer_units = "plot units (relative)";
    t.full_scale_keV = 20.48;
    t.layers = {{"total", {1.5, std::numeric_limits<double>::infinity()}}, {"target", {0.25}}};
    return t;
}

TEST(SpectrumCsv, RowsPerChannelWithEmptyCellsForNonNumbers) {
    EXPECT_EQ(spectrum_csv(two_channels()),
              "# program: test\n# spectrum: shown\n# layer_units: plot units (relative)\n"
              "# rate: 1\nchannel,volts,keV,total,target\n"
              "0,0,0,1.5,0.25\n1,0.009765625,0.02,,\n");

    SpectrumTable fp = two_channels();
    fp.counts_per_plot_unit = 4.0;
    EXPECT_EQ(spectrum_csv(fp),
              "# program: test\n# spectrum: shown\n# layer_units: plot units (relative)\n"
              "# counts_s_per_plot_unit: 4\n# rate: 1\n"
              "channel,volts,keV,total,target,total_cps,target_cps\n"
              "0,0,0,1.5,0.25,6,1\n1,0.009765625,0.02,,,,\n");

    SpectrumTable none = two_channels();
    none.shown = false;
    const std::string text = spectrum_csv(none);
    const std::string tail = "# rate: 1\nchannel,volts,keV,total,target\n";
    ASSERT_GE(text.size(), tail.size());
    EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
}

}  // namespace
}  // namespace lumetra::io
