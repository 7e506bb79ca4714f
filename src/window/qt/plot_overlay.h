#pragma once
// What the plot widget paints over the recorded spectrum so that the plot explains
// itself: a legend of the layers drawn, in their colours, and a light vertical scale
// (per cent of the highest channel in the classic model, counts/s under the
// fundamental-parameter model).

class QPainter;

namespace lumetra::window {
class RADirido;
}

namespace lumetra::window::qt {

class PlotWidget;

void paint_overlay(QPainter& p, const PlotWidget& plot, const RADirido& form);

}  // namespace lumetra::window::qt
