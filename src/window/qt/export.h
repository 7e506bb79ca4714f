#pragma once
// The spectrum plot as a picture file for reports and proposals: PNG, SVG or PDF.
//
// The figure is the plot as the window shows it (the recorded drawing of Picture1,
// replayed as the plot widget replays it, in the current view), framed on a white
// page with an energy axis in keV under it, the vertical scale of the screen left
// of it, a legend of the layers drawn and a caption line above it (target, edge, line, X-ray energy, model). Without a
// spectrum shown the plot stays empty, the legend is left out and the caption says
// so. Needs a running QApplication.

#include <QFont>
#include <QPainter>
#include <QRect>
#include <QSize>
#include <QString>
#include <functional>
#include <string>

namespace lumetra::display {
class Picture;
}
namespace lumetra::window {
class RADirido;
}

namespace lumetra::window::qt {

// Each side of a picture lies within these pixels.
constexpr int kExportMinPixels = 200;
constexpr int kExportMaxPixels = 8000;

// Writes the figure as `path` in the format "png", "svg" or "pdf", `pixels` in
// size (the PDF page is that size at 160 pixels per inch). The file is replaced
// whole or not at all. Returns "" when saved, else the message for the user.
std::string export_picture(const RADirido& form, const std::string& path, const std::string& format,
                           QSize pixels = QSize(1600, 1000));

// Paints the figure onto any device of `canvas` pixels (the printer's page, the
// clipboard's image).
void draw_figure(QPainter& p, QSize canvas, const RADirido& form);

// A recorded drawing replayed as the window's plot replays it, scaled to `area`,
// its notes in `font`; `overlay` paints over it in the replay's pixels. The picture
// is copied: the form's own drawing stays untouched.
class PlotWidget;
void paint_picture(QPainter& p, const QRect& area, const display::Picture& picture,
                   const QFont& font,
                   const std::function<void(QPainter&, const PlotWidget&)>& overlay = {});

// The caption line of the figure.
QString export_caption(const RADirido& form);

}  // namespace lumetra::window::qt
