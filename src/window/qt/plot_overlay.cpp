#include "window/qt/plot_overlay.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QString>
#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "display/picture.h"
#include "window/qt/plot_legend.h"
#include "window/qt/plot_scale.h"
#include "window/qt/plot_widget.h"
#include "window/radirido.h"

namespace lumetra::window::qt {

namespace {

constexpr int kInset = 4;  // pixels between the legend and the plot's edge

QColor qcolor(common::Rgb c) {
    return QColor(c.r, c.g, c.b);
}

// How much of the drawing lies in the rectangle: the length of the bars (vertical
// lines) inside it, and for other lines the part of their bounding box inside it.
// The notes printed on the plot (one a line from the top left) count as fully covered.
double covered(const PlotWidget& plot, const display::Picture& picture, const QRectF& r) {
    double sum = 0.0;
    const QFontMetricsF fm(plot.font());
    int text_line = 0;
    for (const display::PlotOp& op : picture.ops()) {
        if (op.kind == display::PlotOp::Kind::Print) {
            const QRectF note(2, text_line++ * fm.lineSpacing(),
                              fm.horizontalAdvance(QString::fromStdString(op.text)), fm.height());
            const QRectF in = note.intersected(r);
            if (!in.isEmpty()) sum += 10.0 * (in.width() + in.height());
            continue;
        }
        if (op.kind != display::PlotOp::Kind::Line) continue;
        const QPointF a = plot.to_pixel(op.x1, op.y1), b = plot.to_pixel(op.x2, op.y2);
        const QRectF box = QRectF(a, b).normalized().adjusted(-0.5, -0.5, 0.5, 0.5);
        const QRectF in = box.intersected(r);
        if (!in.isEmpty()) sum += in.width() + in.height();
    }
    return sum;
}

// Light ticks with their values at the left edge; the highest value carries the unit.
// Returns the width of the labels.
double paint_scale(QPainter& p, const PlotWidget& plot, const RADirido& f,
                   const QFontMetricsF& fm) {
    const VerticalScale scale = vertical_scale_of(f);
    const QPointF top = plot.to_user(QPointF(0, 0));
    const QPointF bottom = plot.to_user(QPointF(0, plot.height()));
    const int most = std::clamp(static_cast<int>(plot.height() / (2.5 * fm.height())), 2, 10);
    std::vector<ScaleTick> ticks = vertical_ticks(scale, std::min(top.y(), bottom.y()),
                                                  std::max(top.y(), bottom.y()), most);
    if (ticks.empty()) return 0.0;
    ticks.back().label += "  " + scale_title(scale);
    p.setPen(QColor(255, 255, 255, 150));
    double width = 0.0;
    for (const ScaleTick& t : ticks) {
        const double y = plot.to_pixel(0.0, t.y).y();
        const QString label = QString::fromStdString(t.label);
        p.drawLine(QPointF(0, y), QPointF(6, y));
        const double text_y = std::clamp(y + fm.ascent() / 2.0 - 1.0, fm.ascent(),
                                         plot.height() - fm.descent());
        p.drawText(QPointF(9, text_y), label);
        width = std::max(width, 9.0 + fm.horizontalAdvance(label));
    }
    return width;
}

void paint_legend(QPainter& p, const PlotWidget& plot, const RADirido& f,
                  const std::vector<LegendEntry>& entries, const QFontMetricsF& fm,
                  double left_margin) {
    if (entries.empty()) return;
    double text_width = 0.0;
    for (const LegendEntry& e : entries)
        text_width = std::max(text_width, fm.horizontalAdvance(QString::fromStdString(e.label)));
    const double box = fm.ascent();
    const double swatch = 1.6 * box;
    const QSizeF size(swatch + 5 + text_width + 10, entries.size() * fm.lineSpacing() + 6);
    const QRectF area = legend_place(plot, f.Picture1.picture(), size, left_margin);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 150));
    p.drawRect(area);
    double y = area.top() + 3;
    const double x = area.left() + 4;
    for (const LegendEntry& e : entries) {
        const QRectF sw(x, y + (fm.lineSpacing() - box) / 2.0, swatch, box);
        p.setPen(Qt::NoPen);
        p.setBrush(qcolor(e.colour));
        p.drawRect(sw);
        for (const auto& over : {e.line, e.trace}) {
            if (!over) continue;
            p.setPen(QPen(qcolor(*over), 2.0));
            p.drawLine(QPointF(sw.left(), sw.center().y()), QPointF(sw.right(), sw.center().y()));
        }
        p.setPen(QColor(230, 230, 230));
        p.drawText(QPointF(sw.right() + 5, y + fm.ascent()), QString::fromStdString(e.label));
        y += fm.lineSpacing();
    }
}

}  // namespace

QRectF legend_place(const PlotWidget& plot, const display::Picture& picture, QSizeF size,
                    double left_margin) {
    const double w = plot.width(), h = plot.height();
    const double left = std::min(left_margin + kInset, std::max(0.0, w - size.width() - kInset));
    const double right = std::max(0.0, w - size.width() - kInset);
    const double bottom = std::max(0.0, h - size.height() - kInset);
    const std::array<QPointF, 4> corners = {QPointF(right, kInset), QPointF(left, kInset),
                                            QPointF(right, bottom), QPointF(left, bottom)};
    QRectF best;
    double least = HUGE_VAL;
    for (const QPointF& at : corners) {
        const QRectF r(at, size);
        const double c = covered(plot, picture, r);
        if (c < least - 0.5) {
            least = c;
            best = r;
        }
    }
    return best;
}

void paint_overlay(QPainter& p, const PlotWidget& plot, const RADirido& f) {
    if (f.st.Calc_state <= 0 || f.Picture1.picture().ops().size() < 8) return;
    const display::PlotOptions options = f.plot_options();
    const std::vector<LegendEntry> legend = plot_legend(f.st, f.view, options, layer_names(f));
    paint_traces(p, plot, legend, options.linear);
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    QFont font = p.font();
    font.setPointSizeF(std::max(6.0, plot.height() / 40.0));
    p.setFont(font);
    const QFontMetricsF fm(font);
    const double scale_width = paint_scale(p, plot, f, fm);
    paint_legend(p, plot, f, legend, fm, scale_width + 4);
    p.restore();
}

}  // namespace lumetra::window::qt
