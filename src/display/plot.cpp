// The spectrum arrays drawn as one vertical bar per channel and layer, later
// layers over earlier ones, on a linear or a logarithmic vertical scale.

#include "display/plot.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "common/colour.h"
#include "engine/finite.h"

namespace lumetra::display {
namespace {

using common::Rgb;
using common::rgb;
using engine::Spectrum;

constexpr int kLast = engine::kChannels - 1;  // channel 1024

using namespace layer_colours;

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
    return static_cast<float>(std::clamp(v, -static_cast<double>(FLT_MAX),
                                         static_cast<double>(FLT_MAX)));
}

// The logarithmic scale cannot show a value at or below -0.001 (its logarithm is
// undefined); such a value, or NaN, is drawn as 0.
double log_domain(double v) { return v > -0.001 ? v : 0.0; }

class Plotter {
public:
    Plotter(Picture& pic, double zoom_steps) : pic_(pic), zs_(std::min(zoom_steps, kMostZoomSteps)) {}

    // Bars from the base line, linear scale; filled between channels when zoomed.
    void linear_bars(const Spectrum& a, int first, Rgb c, bool filled) {
        for (int i = first; i <= kLast; ++i) {
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

    // Bars only where the value stands above 0.001 (argon, elastic, log pile-up).
    template <class Height>
    void peak_bars(const Spectrum& a, double base, Height height, Rgb c) {
        for (int i = 0; i <= kLast; ++i)
            if (a[i] > kPeakThreshold) bar(i, base, height(a[i]), c);
    }

    template <class Y>
    void polyline(const Spectrum& a, Y y, Rgb c) {
        pic_.PSet(0.0f, coord(y(a[0])), c);
        for (int i = 1; i <= kLast; ++i) pic_.LineTo(coord(i), coord(y(a[i])), c);
    }

    // Linear Spec_total: bars from channel 1 with the segment from the channel before.
    void linear_total(const Spectrum& a) {
        for (int i = 1; i <= kLast; ++i) {
            bar(i, kLinearBase, linear_y(a[i]), kTotalBar);
            pic_.Line(coord(i - 1), coord(linear_y(a[i - 1])), coord(i), coord(linear_y(a[i])),
                      kTotalSegment);
        }
    }

private:
    void bar(double x, double base, double top, Rgb c) {
        const float fx = coord(x);
        pic_.Line(fx, coord(base), fx, coord(top), c);
    }

    Picture& pic_;
    double zs_;
};

double log_value_y(double v) { return log_y(log_domain(v)); }

void linear_layers(Plotter& p, const engine::CalcState& st, const ViewState& view,
                   const PlotOptions& o) {
    p.linear_total(st.Spec_total);                        // L1
    p.linear_bars(st.Spec_target, 0, kTarget, true);       // L2
    p.linear_bars(st.Spec_mark, 0, kMark, true);           // L3
    p.linear_bars(st.Spec_line, 0, kLine, true);           // L4
    p.polyline(st.Spec_line, linear_y, kLine);
    const double y_top = view.Y_top.num();
    // Argon and elastic stand at 0.00008 x Y_top of their value (0.94 at the
    // full view's top of 11750).
    const auto scaled = [y_top](double v) { return v * 0.00008 * y_top + 0.001; };
    if (o.argon >= 0.5) p.peak_bars(st.Spec_argon, kLinearBase, scaled, kArgonLinear);        // L5
    if (o.elastic >= 0.5) p.peak_bars(st.Spec_elastic, kLinearBase, scaled, kElasticLinear);  // L6
    p.polyline(st.Spec_total, linear_y, kTotalOutline);  // L7
    if (o.escape == 1) p.linear_bars(st.Spec_escape, 0, kEscape, false);   // L8
    if (o.pileup >= 0.5) p.linear_bars(st.Spec_pileup, 0, kPileup, false);  // L9
}

void log_layers(Plotter& p, const engine::CalcState& st, const PlotOptions& o) {
    p.log_bars(st.Spec_escape, kEscape);   // G1, whatever the escape box says
    p.log_bars(st.Spec_total, kTotalBar);  // G2
    p.log_bars(st.Spec_target, kTarget);   // G3
    p.log_bars(st.Spec_line, kLine);       // G4
    p.log_bars(st.Spec_mark, kMark);       // G5
    p.polyline(st.Spec_line, log_value_y, kLine);           // G6
    p.polyline(st.Spec_total, log_value_y, kTotalOutline);  // G7
    if (o.argon >= 0.5) p.peak_bars(st.Spec_argon, kLogBase, log_value_y, kArgonLog);        // G8
    if (o.elastic >= 0.5) p.peak_bars(st.Spec_elastic, kLogBase, log_value_y, kElasticLog);  // G9
    if (o.pileup >= 0.5) p.peak_bars(st.Spec_pileup, kLogBase, log_value_y, kPileup);        // G10
}

}  // namespace

double linear_y(double v) { return v + 0.001; }

double log_y(double v) {
    const double x = engine::finite::held(v / 0.001) + 1.0;
    if (!(x > 0.0)) return kLogBase;  // below the scale's domain: on the base line
    return kLogBase + kLogFactor * std::log(x);
}

double log_value(double y) {
    if (!(y > kLogBase)) return 0.0;
    const double v = 0.001 * std::expm1((y - kLogBase) / kLogFactor);
    return engine::finite::held(v);
}

void Plot_spectrum(Picture& pic, const engine::CalcState& st, const ViewState& view,
                   const PlotOptions& options) {
    pic.Cls();
    pic.Line(0.0f, 0.0f, 1026.0f, 0.0f);
    pic.Line(0.0f, 0.0f, 0.0f, 11600.0f);
    Plotter p(pic, view.Zoom_steps.num());
    if (options.linear)
        linear_layers(p, st, view, options);
    else
        log_layers(p, st, options);
}

}  // namespace lumetra::display
