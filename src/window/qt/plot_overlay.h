#pragma once
// What the plot widget paints over the recorded spectrum so that the plot explains
// itself: the traces of the layers that share a colour, the vertical scale (per cent
// of the highest channel in the classic model, counts/s per channel under the
// fundamental-parameter model) and a legend of the layers drawn, in the corner where
// it covers the least of the drawing.

#include <QRectF>
#include <QSizeF>

class QPainter;

namespace lumetra::display {
class Picture;
}
namespace lumetra::window {
class RADirido;
}

namespace lumetra::window::qt {

class PlotWidget;

void paint_overlay(QPainter& p, const PlotWidget& plot, const RADirido& form);

// Of the plot's four corners (the left ones right of `left_margin` pixels), the
// rectangle of `size` that covers the least of the picture's drawing as the widget
// replays it; the top right one among equals.
QRectF legend_place(const PlotWidget& plot, const display::Picture& picture, QSizeF size,
                    double left_margin);

}  // namespace lumetra::window::qt
