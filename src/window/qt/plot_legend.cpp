// The layers the plot draws, as its legend names them (see plot_legend.h).

#include "window/qt/plot_legend.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "common/numtext.h"
#include "display/plot.h"
#include "window/qt/plot_widget.h"
#include "window/radirido.h"

namespace lumetra::window::qt {

namespace {

std::string one_line(const std::string& s) {
    std::string out = s;
    for (char& c : out)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
    return text::trim_blanks(out);
}

}  // namespace

display::LayerNames layer_names(const RADirido& f) {
    display::LayerNames names;
    names.target = one_line(f.Text1.text());
    const std::string& counted = f.hooked_spectrum().line_name;
    names.line = one_line(f.hooked_model() && !counted.empty() ? counted : f.Combo1.text());
    const int mark = f.st.Elem_mark;
    if (mark >= 1 && mark <= std::min<int>(f.st.Elem_count, kRows))
        names.marked = "marked " + one_line(f.Text2[mark - 1]->text());
    return names;
}

std::vector<LegendEntry> plot_legend(const engine::CalcState& st, const display::ViewState& view,
                                     const display::PlotOptions& options,
                                     const display::LayerNames& names) {
    if (st.Calc_state <= 0) return {};
    std::vector<LegendEntry> out;
    for (const display::Layer& l : display::plot_layers(st, view, options, names).shown())
        out.push_back({l.name, l.bars, l.outline, l.trace, l.values, l.id});
    return out;
}

// Along the tops of the layer's bars where it stands above 0.001 plot units, broken
// where it does not.
void paint_traces(QPainter& p, const PlotWidget& plot, const std::vector<LegendEntry>& legend,
                  bool linear) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setBrush(Qt::NoBrush);
    for (const LegendEntry& e : legend) {
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
