// The spectrum plot as a PNG, SVG or PDF figure: the recorded plot replayed by the
// plot widget, an energy axis, a legend and a caption (see export.h).

#include "window/qt/export.h"

#include <QApplication>
#include <QBuffer>
#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QStringList>
#include <QSvgGenerator>
#include <algorithm>
#include <cmath>
#include <vector>

#include "common/numtext.h"
#include "display/plot.h"
#include "io/file_io.h"
#include "window/qt/plot_legend.h"
#include "window/qt/plot_scale.h"
#include "window/qt/plot_widget.h"
#include "window/radirido.h"

namespace lumetra::window::qt {

namespace {

using common::Rgb;

constexpr double kPdfPixelsPerInch = 160.0;
constexpr int kMostTickIntervals = 10;

QColor to_qcolor(Rgb c) {
    return QColor(c.r, c.g, c.b);
}

// A field text on one line, without the blanks at its ends.
QString field(const std::string& s) {
    return QString::fromStdString(s).simplified();
}

QFont font_of(double pixels) {
    QFont font = QGuiApplication::font();
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(pixels))));
    return font;
}

// The largest font up to `pixels` high in which the text fits the width.
QFont fitting_font(const QString& text, double pixels, double width) {
    QFont font = font_of(pixels);
    for (int i = 0; i < 40 && QFontMetricsF(font).horizontalAdvance(text) > width; ++i) {
        if (font.pixelSize() <= 6) break;
        font.setPixelSize(std::max(6, static_cast<int>(font.pixelSize() * 0.9)));
    }
    return font;
}

// The traces of the layers that share a colour, over the replayed spectrum.
void paint_spectrum(QPainter& p, const QRect& plot, const RADirido& f,
                    const std::vector<LegendEntry>& legend, double unit) {
    const bool linear = f.plot_options().linear;
    paint_picture(p, plot, f.Picture1.picture(), font_of(2.4 * unit),
                  [&](QPainter& q, const PlotWidget& widget) {
                      paint_traces(q, widget, legend, linear);
                  });
}

// Tick spacing: the smallest of 1, 2, 5 x 10^k keV that puts at most
// kMostTickIntervals intervals on the range.
double tick_step(double range) {
    const double raw = range / kMostTickIntervals;
    const double decade = std::pow(10.0, std::floor(std::log10(raw)));
    for (double m : {1.0, 2.0, 5.0}) {
        if (m * decade >= raw) return m * decade;
    }
    return 10.0 * decade;
}

// Ticks and keV numbers under the plot. Channel c lies at E = F c / 1024 keV and at
// x = left + (c - c_left) / (c_right - c_left) x width; the ticks run over the part
// of 0..F the view shows.
void paint_energy_axis(QPainter& p, const QRect& plot, const display::UserScale& s, double F,
                       double unit) {
    const double c_left = s.left, c_right = s.right;
    const QFont font = font_of(2.6 * unit);
    p.setFont(font);
    p.setPen(QPen(Qt::black, std::max(1.0, 0.15 * unit)));
    const double label_top = plot.bottom() + 1.6 * unit + QFontMetricsF(font).height();
    p.setFont(font_of(2.8 * unit));
    p.drawText(QRectF(plot.left(), label_top, plot.width(), 4.0 * unit),
               Qt::AlignHCenter | Qt::AlignTop, "Energy (keV)");
    if (!(F > 0.0) || !std::isfinite(F) || !(c_right > c_left) || !std::isfinite(c_right - c_left))
        return;
    const double keV_per_channel = F / 1024.0;
    const double lo = std::max(0.0, c_left * keV_per_channel);
    const double hi = std::min(F, c_right * keV_per_channel);
    if (!(hi > lo)) return;
    const double step = tick_step(hi - lo);
    if (!(step > 0.0) || !std::isfinite(step)) return;
    const int decimals = std::clamp(-static_cast<int>(std::floor(std::log10(step) + 1e-9)), 0, 9);
    p.setFont(font);
    const double first = std::ceil(lo / step - 1e-9), last = std::floor(hi / step + 1e-9);
    for (double i = first; i <= last && i - first <= 2.0 * kMostTickIntervals; i += 1.0) {
        const double E = i * step;
        const double x =
            plot.left() + (E / keV_per_channel - c_left) / (c_right - c_left) * plot.width();
        p.drawLine(QPointF(x, plot.bottom() + 1), QPointF(x, plot.bottom() + 1 + unit));
        const QString label = QString::number(E, 'f', decimals);
        p.drawText(QRectF(x - 10 * unit, plot.bottom() + 1.4 * unit, 20 * unit, 4 * unit),
                   Qt::AlignHCenter | Qt::AlignTop, label);
    }
}

// The vertical scale left of the plot: ticks at the values the screen shows, and
// the scale's name with its kind (linear or log).
void paint_vertical_axis(QPainter& p, const QRect& plot, const RADirido& f, double unit) {
    const VerticalScale scale = vertical_scale_of(f);
    const display::UserScale& s = f.Picture1.picture().scale();
    const double top = s.top, bottom = s.bottom;
    if (f.st.Calc_state > 0 && top != bottom) {
        const int most = std::clamp(static_cast<int>(plot.height() / (7.0 * unit)), 2, 10);
        const QFont font = font_of(2.6 * unit);
        p.setFont(font);
        p.setPen(QPen(Qt::black, std::max(1.0, 0.15 * unit)));
        for (const ScaleTick& t :
             vertical_ticks(scale, std::min(top, bottom), std::max(top, bottom), most)) {
            const double y = plot.top() + (t.y - top) / (bottom - top) * plot.height();
            p.drawLine(QPointF(plot.left() - 1 - unit, y), QPointF(plot.left() - 1, y));
            p.drawText(QRectF(plot.left() - 13.0 * unit, y - 2.0 * unit, 11.6 * unit, 4.0 * unit),
                       Qt::AlignRight | Qt::AlignVCenter, QString::fromStdString(t.label));
        }
    }
    QString title = QString::fromStdString(scale_title(scale));
    title[0] = title[0].toUpper();
    title += scale.linear ? " (linear scale)" : " (log scale)";
    p.save();
    p.setFont(fitting_font(title, 2.8 * unit, plot.height()));
    p.translate(1.5 * unit, plot.center().y());
    p.rotate(-90.0);
    p.drawText(QRectF(-plot.height() / 2.0, -0.5 * unit, plot.height(), 4.0 * unit),
               Qt::AlignHCenter | Qt::AlignTop, title);
    p.restore();
}

// One row per layer: a swatch of the plot's background with the layer's colour on
// it, the line drawn over it (the total's outline, or the trace of a layer that
// shares its colour) across it, and its name.
void paint_legend(QPainter& p, const QRectF& area, const std::vector<LegendEntry>& entries,
                  double unit) {
    const QFont font = font_of(2.4 * unit);
    p.setFont(font);
    const double row = 4.2 * unit;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const double y = area.top() + static_cast<double>(i) * row;
        const QRectF swatch(area.left(), y, 4.5 * unit, 3.0 * unit);
        p.fillRect(swatch, to_qcolor(display::Picture::background));
        p.fillRect(swatch.adjusted(0.8 * unit, 0.7 * unit, -0.8 * unit, -0.7 * unit),
                   to_qcolor(entries[i].colour));
        for (const auto& over : {entries[i].line, entries[i].trace}) {
            if (!over) continue;
            p.setPen(QPen(to_qcolor(*over), 0.4 * unit));
            p.drawLine(QPointF(swatch.left() + 0.4 * unit, swatch.center().y()),
                       QPointF(swatch.right() - 0.4 * unit, swatch.center().y()));
        }
        p.setPen(Qt::black);
        const QRectF label(swatch.right() + unit, y, area.right() - swatch.right() - unit,
                           swatch.height());
        const QString text = QString::fromStdString(entries[i].label);
        p.drawText(label, Qt::AlignLeft | Qt::AlignVCenter,
                   QFontMetricsF(font).elidedText(text, Qt::ElideRight, label.width()));
    }
}

// The whole figure on a canvas of the given size, in its units.
void paint_figure(QPainter& p, QSize canvas, const RADirido& f) {
    const double W = canvas.width(), H = canvas.height();
    const double unit = std::min(W / 1.6, H) / 100.0;
    p.fillRect(QRectF(0, 0, W, H), Qt::white);
    p.setRenderHint(QPainter::TextAntialiasing, true);

    const QString caption = export_caption(f);
    const double margin = 2.0 * unit;
    p.setPen(Qt::black);
    p.setFont(fitting_font(caption, 3.2 * unit, W - 2 * margin));
    p.drawText(QRectF(margin, margin, W - 2 * margin, 5.0 * unit), Qt::AlignLeft | Qt::AlignVCenter,
               caption);

    const std::vector<LegendEntry> entries =
        plot_legend(f.st, f.view, f.plot_options(), layer_names(f));
    const double legend_width = entries.empty() ? 0.0 : std::min(0.22 * W, 36.0 * unit);
    const int left = static_cast<int>(std::lround(15.0 * unit));
    const int top = static_cast<int>(std::lround(9.0 * unit));
    const int right = static_cast<int>(std::lround(W - margin - legend_width));
    const int bottom = static_cast<int>(std::lround(H - 11.0 * unit));
    const QRect plot(QPoint(left, top),
                     QPoint(std::max(left + 1, right), std::max(top + 1, bottom)));

    paint_spectrum(p, plot, f, entries, unit);
    p.setPen(QPen(Qt::black, std::max(1.0, 0.15 * unit)));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(plot).adjusted(-0.5, -0.5, 0.5, 0.5));
    paint_energy_axis(p, plot, f.Picture1.picture().scale(), text::Val(f.Label8.caption()), unit);
    paint_vertical_axis(p, plot, f, unit);

    if (!entries.empty())
        paint_legend(p, QRectF(right + margin, top, legend_width - margin, plot.height()), entries,
                     unit);
}

// The figure's bytes in the format; false when Qt could not make them.
bool render(const std::string& format, const RADirido& f, QSize pixels, QByteArray& bytes) {
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly)) return false;
    const QString caption = export_caption(f);
    if (format == "png") {
        QImage image(pixels, QImage::Format_RGB32);
        if (image.isNull()) return false;
        {
            QPainter p(&image);
            paint_figure(p, pixels, f);
        }
        return image.save(&buffer, "PNG");
    }
    if (format == "svg") {
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setSize(pixels);
        svg.setViewBox(QRect(QPoint(0, 0), pixels));
        // No title element: this Qt writes it unescaped, and a line such as
        // "K-alpha 1&2" would spoil the XML. The caption is in the figure.
        svg.setDescription(RADirido::kCaption);
        QPainter p;
        if (!p.begin(&svg)) return false;
        paint_figure(p, pixels, f);
        return p.end();
    }
    QPdfWriter pdf(&buffer);
    const QSizeF points = QSizeF(pixels) * (72.0 / kPdfPixelsPerInch);
    pdf.setPageLayout(
        QPageLayout(QPageSize(points, QPageSize::Point, QString(), QPageSize::ExactMatch),
                    QPageLayout::Portrait, QMarginsF()));
    pdf.setTitle(caption);
    pdf.setCreator(RADirido::kCaption);
    QPainter p;
    if (!p.begin(&pdf)) return false;
    p.scale(pdf.width() / double(pixels.width()), pdf.height() / double(pixels.height()));
    paint_figure(p, pixels, f);
    return p.end();
}

}  // namespace

QString export_caption(const RADirido& f) {
    const QString target = field(f.Text1.text());
    const QString line = field(f.Combo1.text());
    const QString energy = field(f.Text11.text());
    QStringList parts;
    parts << (target.isEmpty() ? QString("No target")
                               : target + (f.Option2.value() ? " L3 edge" : " K edge"));
    if (!line.isEmpty()) parts << line;
    if (!energy.isEmpty()) parts << "X-ray energy " + energy + " keV";
    parts << (f.hooked_model() ? "fundamental-parameter model" : "classic model");
    QString caption = parts.join(", ");
    if (f.st.Calc_state <= 0) caption += " (no spectrum calculated)";
    return caption;
}

std::string export_picture(const RADirido& form, const std::string& path, const std::string& format,
                           QSize pixels) {
    if (format != "png" && format != "svg" && format != "pdf")
        return "Unknown picture format \"" + format + "\": choose png, svg or pdf.";
    if (path.empty()) return "No file name was given. Nothing was saved.";
    const auto within = [](int n) { return n >= kExportMinPixels && n <= kExportMaxPixels; };
    if (!within(pixels.width()) || !within(pixels.height()))
        return "A picture must measure " + std::to_string(kExportMinPixels) + " to " +
               std::to_string(kExportMaxPixels) + " pixels a side. Nothing was saved.";
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return "Pictures need the window system, which is not running. Nothing was saved.";
    QByteArray bytes;
    if (!render(format, form, pixels, bytes) || bytes.isEmpty())
        return "The picture could not be drawn (out of memory?). Nothing was saved.";
    return io::write_replacing(path, bytes.toStdString());
}

void draw_figure(QPainter& p, QSize canvas, const RADirido& form) { paint_figure(p, canvas, form); }

void paint_picture(QPainter& p, const QRect& area, const display::Picture& picture,
                   const QFont& font,
                   const std::function<void(QPainter&, const PlotWidget&)>& overlay) {
    PictureBox box("ExportPicture");
    box.picture() = picture;
    PlotWidget widget(box);
    widget.resize(area.size());
    widget.setFont(font);
    if (overlay) widget.overlay = [&overlay, &widget](QPainter& q) { overlay(q, widget); };
    widget.render(&p, area.topLeft(), QRegion(), QWidget::DrawChildren);
}

}  // namespace lumetra::window::qt
