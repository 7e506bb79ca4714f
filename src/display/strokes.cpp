// The spectrum arrays as one vertical bar per channel, on a linear or a logarithmic
// vertical scale, and the lines along their tops.

#include "display/strokes.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "display/plot.h"

namespace lumetra::display {
namespace {

using common::Rgb;
using engine::Spectrum;

constexpr int kLast = engine::kChannels - 1;  // channel 1024

constexpr double kLinearBase = 0.001;
constexpr double kLogBase = 500.0;
constexpr double kLogDecade = 1500.0;  // plot units per decade
constexpr double kLinearFillThreshold = 0.1;
constexpr double kLogFillThreshold = 0.001;
// Sub-steps per channel come from the zoom (1..4); anything larger is drawn as
// this many, so an odd view state cannot make the plot endless.
constexpr double kMostZoomSteps = 16.0;

const double kLogFactor = kLogDecade / std::log(10.0);

// A plot coordinate as the surface stores it: single precision, never NaN, never
// beyond the largest float (the conversion of a larger double is undefined).
float coord(double v) {
    if (std::isnan(v)) return 0.0f;
    return static_cast<float>(
        std::clamp(v, -static_cast<double>(FLT_MAX), static_cast<double>(FLT_MAX)));
}

// The logarithmic scale cannot show a value at or below -0.001 (its logarithm is
// undefined); such a value, or NaN, is drawn as 0.
double log_domain(double v) {
    return v > -0.001 ? v : 0.0;
}

double log_value_y(double v) {
    return log_y(log_domain(v));
}

class Plotter {
  public:
    Plotter(StrokeSink& sink, double zoom_steps)
        : sink_(sink), zs_(std::min(zoom_steps, kMostZoomSteps)) {}

    // Bars from the base line, linear scale; filled between channels when zoomed.
    void linear_bars(const Spectrum& a, Rgb c, bool filled) {
        for (int i = 0; i <= kLast; ++i) {
            const double v = a[i];
            bar(i, kLinearBase, linear_y(v), c);
            if (filled && zs_ > 1.0 && v > kLinearFillThreshold && i < kLast) {
                const double step = a[i + 1] - v;
                for (double j = 1.0; j <= zs_ - 1.0; j += 1.0)
                    bar(i + j / zs_, kLinearBase, v + 0.001 + j * step / zs_, c);
            }
        }
    }

    // Bars from the base line, logarithmic scale, channels 0..1023, filled when zoomed.
    void log_bars(const Spectrum& a, Rgb c) {
        for (int i = 0; i < kLast; ++i) {
            const double v = log_domain(a[i]);
            const double y = log_y(v);
            bar(i, kLogBase, y, c);
            if (zs_ > 1.0 && v > kLogFillThreshold) {
                const double rise = std::log((log_domain(a[i + 1]) + 0.001) / (v + 0.001));
                for (double j = 1.0; j <= zs_ - 1.0; j += 1.0)
                    bar(i + j / zs_, kLogBase, y + j * kLogFactor * rise / zs_, c);
            }
        }
    }

    // Bars only where the value stands above kPeakThreshold.
    template <class Height>
    void peak_bars(const Spectrum& a, double base, Height height, Rgb c) {
        for (int i = 0; i <= kLast; ++i)
            if (a[i] > kPeakThreshold) bar(i, base, height(a[i]), c);
    }

    template <class Y>
    void polyline(const Spectrum& a, Y y, Rgb c) {
        sink_.point(0.0f, coord(y(a[0])), c);
        for (int i = 1; i <= kLast; ++i) sink_.line_to(coord(i), coord(y(a[i])), c);
    }

    // Linear total: bars from channel 1 with the segment from the channel before.
    void linear_total(const Spectrum& a, Rgb bar_colour, Rgb segment) {
        for (int i = 1; i <= kLast; ++i) {
            bar(i, kLinearBase, linear_y(a[i]), bar_colour);
            sink_.line(coord(i - 1), coord(linear_y(a[i - 1])), coord(i), coord(linear_y(a[i])),
                       segment);
        }
    }

  private:
    void bar(double x, double base, double top, Rgb c) {
        const float fx = coord(x);
        sink_.line(fx, coord(base), fx, coord(top), c);
    }

    StrokeSink& sink_;
    double zs_;
};

void linear_pass(Plotter& p, const Layer& l, Stroke stroke, const ViewState& view) {
    const Spectrum& a = *l.values;
    switch (stroke) {
        case Stroke::TotalBars:
            return p.linear_total(a, l.bars, l.segments.value_or(l.bars));
        case Stroke::Bars:
            return p.linear_bars(a, l.bars, false);
        case Stroke::FilledBars:
            return p.linear_bars(a, l.bars, true);
        case Stroke::Peaks: {
            // Argon and elastic stand at 0.00008 x Y_top of their value (0.94 at the
            // full view's top of 11750).
            const double y_top = view.Y_top.num();
            const auto scaled = [y_top](double v) { return v * 0.00008 * y_top + 0.001; };
            return p.peak_bars(a, kLinearBase, scaled, l.bars);
        }
        case Stroke::Outline:
            return p.polyline(a, linear_y, l.outline.value_or(l.bars));
    }
}

void log_pass(Plotter& p, const Layer& l, Stroke stroke) {
    const Spectrum& a = *l.values;
    switch (stroke) {
        case Stroke::TotalBars:
        case Stroke::Bars:
        case Stroke::FilledBars:
            return p.log_bars(a, l.bars);
        case Stroke::Peaks:
            return p.peak_bars(a, kLogBase, log_value_y, l.bars);
        case Stroke::Outline:
            return p.polyline(a, log_value_y, l.outline.value_or(l.bars));
    }
}

}  // namespace

float base_line(bool linear) {
    return coord(linear ? kLinearBase : kLogBase);
}

void draw_pass(StrokeSink& sink, const Layer& layer, Stroke stroke, bool linear,
               const ViewState& view) {
    if (layer.values == nullptr) return;
    Plotter p(sink, view.Zoom_steps.num());
    if (linear)
        linear_pass(p, layer, stroke, view);
    else
        log_pass(p, layer, stroke);
}

}  // namespace lumetra::display
