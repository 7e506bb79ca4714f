#include "window/qt/plot_overlay.h"

#include <QFontMetrics>
#include <QPainter>
#include <QString>
#include <cmath>
#include <vector>

#include "display/plot.h"
#include "window/qt/plot_widget.h"
#include "window/radirido.h"

namespace lumetra::window::qt {

namespace {

struct Entry {
    QString text;
    QColor colour;
};

// The layers the plot shows, in the plot's colours.
QColor qcolor(common::Rgb c) {
    return QColor(c.r, c.g, c.b);
}

std::vector<Entry> legend_of(const RADirido& f) {
    using namespace display::layer_colours;
    std::vector<Entry> e = {{QStringLiteral("total"), qcolor(kTotalOutline)},
                            {QStringLiteral("target element"), qcolor(kTarget)},
                            {QStringLiteral("target line"), qcolor(kLine)}};
    if (f.st.Elem_mark > 0) e.push_back({QStringLiteral("marked element"), qcolor(kMark)});
    if (f.Check1.value()) e.push_back({QStringLiteral("argon"), qcolor(kArgonLog)});
    if (f.Check11.value()) e.push_back({QStringLiteral("elastic"), qcolor(kElasticLog)});
    if (f.Check21.value()) e.push_back({QStringLiteral("escape and Ge"), qcolor(kEscape)});
    if (f.Check3.value()) e.push_back({QStringLiteral("pile-up"), qcolor(kPileup)});
    return e;
}

QString scale_text(double v, bool counts) {
    if (!counts) return QString::number(v, 'g', 3) + QStringLiteral(" %");
    if (v >= 1e4) return QString::number(v, 'e', 1) + QStringLiteral(" /s");
    return QString::number(v, 'g', 3) + QStringLiteral(" /s");
}

}  // namespace

void paint_overlay(QPainter& p, const PlotWidget& plot, const RADirido& f) {
    if (f.st.Calc_state <= 0 || f.Picture1.picture().ops().size() < 8) return;
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    QFont font = p.font();
    font.setPointSizeF(std::max(6.0, plot.height() / 40.0));
    p.setFont(font);
    const QFontMetrics fm(font);

    // The vertical scale: light ticks on the left with their values.
    const bool counts = f.planning.model == Model::fp && f.fp_result.ok && f.fp_units > 0.0;
    const bool linear = f.Option3.value();
    const display::UserScale& s = f.Picture1.picture().scale();
    std::vector<double> values;  // in plot units (10000 = the highest channel)
    if (linear) {
        for (double v = 2500.0; v <= 10000.0 && v <= s.top; v += 2500.0) values.push_back(v);
    } else {
        for (double v = 0.01; v <= 10000.0; v *= 100.0) values.push_back(v);
    }
    p.setPen(QColor(255, 255, 255, 90));
    for (double v : values) {
        const double y_user = linear ? display::linear_y(v) : display::log_y(v);
        const QPointF at = plot.to_pixel(s.left, y_user);
        if (at.y() < 0 || at.y() > plot.height()) continue;
        p.drawLine(QPointF(0, at.y()), QPointF(6, at.y()));
        const double shown = counts ? v * f.fp_units : v / 100.0;
        p.drawText(QPointF(9, at.y() + fm.ascent() / 2.0), scale_text(shown, counts));
    }

    // The legend, top right.
    const std::vector<Entry> entries = legend_of(f);
    int width = 0;
    for (const Entry& e : entries) width = std::max(width, fm.horizontalAdvance(e.text));
    const int box = fm.ascent();
    const double x = plot.width() - width - box - 14;
    double y = 4;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 110));
    p.drawRect(QRectF(x - 4, y, width + box + 14, entries.size() * fm.lineSpacing() + 6));
    y += 3;
    for (const Entry& e : entries) {
        p.setPen(Qt::NoPen);
        p.setBrush(e.colour);
        p.drawRect(QRectF(x, y + (fm.lineSpacing() - box) / 2.0, box, box));
        p.setPen(QColor(230, 230, 230));
        p.drawText(QPointF(x + box + 5, y + fm.ascent()), e.text);
        y += fm.lineSpacing();
    }
    p.restore();
}

}  // namespace lumetra::window::qt
