#pragma once
// The vertical scale of the spectrum plot, as the screen and the exported pictures
// show it: per cent of the highest channel under the classic model, counts/s per
// channel under the fundamental-parameter model.
//
// Ticks stand at round values of the shown unit: on the linear scale at multiples of
// one step of 1, 2 or 5 x 10^n, on the logarithmic scale at the decades. Every label
// is written in one notation: a plain decimal from 0.001 up to 999, and beyond that an
// SI prefix (1 k, 20 k, 5 M ... and 500 µ, 20 n ...), with a full stop whatever the
// locale.

#include <string>
#include <vector>

namespace lumetra::window {
class RADirido;
}

namespace lumetra::window::qt {

struct VerticalScale {
    bool linear = true;      // "Linear" selected, else "Log"
    bool counts = false;     // counts/s per channel, else per cent of the highest channel
    double per_unit = 0.01;  // shown value of one plot unit (10000 = the highest channel)
};

// The scale the form's plot shows now.
VerticalScale vertical_scale_of(const RADirido& form);

// The scale's name with its unit: "counts/s per channel" or "% of the highest channel".
std::string scale_title(const VerticalScale& scale);

struct ScaleTick {
    double y = 0.0;      // user coordinate of the plot (plot units, as the plot draws them)
    double value = 0.0;  // in the shown unit
    std::string label;
};

// Ticks on the part y_low..y_high of the plot (its user coordinates), at most `most`
// of them, from the bottom up. None when the range or the scale makes no sense.
std::vector<ScaleTick> vertical_ticks(const VerticalScale& scale, double y_low, double y_high,
                                      int most);

// The value n x 10^k written as the ticks write it ("0.05", "200", "1.5 k", "20 µ").
std::string tick_label(long long n, int k);

}  // namespace lumetra::window::qt
