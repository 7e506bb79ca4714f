#pragma once
// The spectrum plot: replays Picture1's drawing operations, scaled from the
// picture's user coordinates to the widget's pixels, and reports the mouse in
// user coordinates.

#include <QPointF>
#include <QWidget>
#include <functional>

class QPainter;

#include "window/controls.h"

namespace lumetra::window::qt {

class PlotWidget : public QWidget {
    Q_OBJECT

  public:
    PlotWidget(PictureBox& box, QWidget* parent = nullptr);

    // Pixel position (relative to the widget) to user coordinates and back, in the
    // picture's current scale. A degenerate scale maps every pixel to its left/top.
    QPointF to_user(QPointF pixel) const;
    QPointF to_pixel(double x, double y) const;

    // Repaints when the picture changed since the last paint.
    void sync();

    // Called when the pointer leaves the plot.
    std::function<void()> on_leave;
    // Paints over the recorded picture (legend and scale), never into it.
    std::function<void(QPainter&)> overlay;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

  private:
    void send(const std::function<void(MouseButton, float, float)>& handler, MouseButton b,
              QPointF pixel);

    PictureBox& box_;
    unsigned long painted_revision_ = ~0UL;
    bool dragging_ = false;  // a left-button drag: the rubber band shows
    QPointF press_, drag_now_;
};

}  // namespace lumetra::window::qt
