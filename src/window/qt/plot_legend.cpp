// The layers the plot draws, as its legend names them (see plot_legend.h).

#include "window/qt/plot_legend.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "common/numtext.h"
#include "display/plot.h"
#include "window/qt/plot_widget.h"
#include "window/radirido.h"

namespace lumetra::window::qt {

namespace {

using common::Rgb;
using common::rgb;
using namespace display::layer_colours;

// Colours of the traces: none of them is a colour the plot draws.
constexpr Rgb kMarkTrace = rgb(120, 200, 255);
constexpr Rgb kEscapeTrace = rgb(255, 150, 0);
constexpr Rgb kPileupTrace = rgb(255, 255, 255);

// Colours closer than this (sum of the channels' differences) look the same on the
// plot's dark grey.
constexpr int kAlike = 60;

bool alike(Rgb a, Rgb b) {
    return std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b) < kAlike;
}

bool any_above(const engine::Spectrum& s, double threshold) {
    return std::any_of(s.begin(), s.end(), [threshold](double v) { return v > threshold; });
}

std::string one_line(const std::string& s) {
    std::string out = s;
    for (char& c : out)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
    return text::trim_blanks(out);
}

// The marked row's element, when the row is one the matrix editor shows.
std::string marked_label(const RADirido& f) {
    const int mark = f.st.Elem_mark;
    if (mark >= 1 && mark <= std::min<int>(f.st.Elem_count, kRows))
        return "marked " + one_line(f.Text2[mark - 1]->text());
    return "marked element";
}

// The trace of a layer whose bars look like another layer's drawing.
void add_traces(std::vector<LegendEntry>& entries) {
    for (LegendEntry& e : entries) {
        if (e.layer == nullptr) continue;  // the total is the reference
        const bool shared = std::any_of(entries.begin(), entries.end(), [&](const LegendEntry& o) {
            return &o != &e && (alike(o.colour, e.colour) || (o.line && alike(*o.line, e.colour)));
        });
        if (!shared) continue;
        if (e.colour == kMark) e.trace = kMarkTrace;
        if (e.colour == kEscape) e.trace = kEscapeTrace;
        if (e.colour == kPileup) e.trace = kPileupTrace;
    }
}

}  // namespace

// Linear scale: the total, target, marked element and line from the base line, argon
// and elastic peaks above 0.001 when their boxes are ticked, escape (box ticked) and
// pile-up. Log scale: escape whatever its box says, the same four, then argon,
// elastic and pile-up peaks above 0.001. A layer of nothing but zeros draws nothing.
std::vector<LegendEntry> plot_legend(const RADirido& f) {
    const engine::CalcState& st = f.st;
    if (st.Calc_state <= 0) return {};
    const display::PlotOptions o = f.plot_options();
    const double peak = display::kPeakThreshold;
    const std::string target = one_line(f.Text1.text());
    std::vector<LegendEntry> out{{"total", kTotalBar, kTotalOutline, std::nullopt, nullptr}};
    const auto add = [&](bool drawn, const engine::Spectrum& s, double above, std::string label,
                         Rgb colour) {
        if (drawn && any_above(s, above))
            out.push_back({std::move(label), colour, std::nullopt, std::nullopt, &s});
    };
    add(true, st.Spec_target, 0.0, target + ", all lines", kTarget);
    add(true, st.Spec_line, 0.0, target + " " + one_line(f.Combo1.text()), kLine);
    add(true, st.Spec_mark, 0.0, marked_label(f), kMark);
    add(o.argon >= 0.5, st.Spec_argon, peak, "argon", o.linear ? kArgonLinear : kArgonLog);
    add(o.elastic >= 0.5, st.Spec_elastic, peak, "elastic scatter",
        o.linear ? kElasticLinear : kElasticLog);
    add(!o.linear || o.escape == 1, st.Spec_escape, 0.0, "escape", kEscape);
    add(o.pileup >= 0.5, st.Spec_pileup, o.linear ? 0.0 : peak, "pile-up", kPileup);
    add_traces(out);
    return out;
}

// Along the tops of the layer's bars where it stands above 0.001 plot units, broken
// where it does not.
void paint_traces(QPainter& p, const PlotWidget& plot, const RADirido& f) {
    const bool linear = f.Option3.value();
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setBrush(Qt::NoBrush);
    for (const LegendEntry& e : plot_legend(f)) {
        if (!e.trace || e.layer == nullptr) continue;
        QPainterPath path;
        bool open = false;
        const engine::Spectrum& s = *e.layer;
        for (int i = 0; i < engine::kChannels; ++i) {
            const double v = s[i];
            if (!(v > display::kPeakThreshold) || !std::isfinite(v)) {
                open = false;
                continue;
            }
            const QPointF at = plot.to_pixel(i, linear ? display::linear_y(v) : display::log_y(v));
            if (open) {
                path.lineTo(at);
            } else {
                path.moveTo(at);
                open = true;
            }
        }
        p.setPen(QPen(QColor(e.trace->r, e.trace->g, e.trace->b), 1.5));
        p.drawPath(path);
    }
    p.restore();
}

}  // namespace lumetra::window::qt
