#include "window/qt/plot_widget.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QVector>
#include <algorithm>
#include <cfloat>
#include <cmath>

namespace lumetra::window::qt {

namespace {

QColor to_qcolor(common::Rgb c) { return QColor(c.r, c.g, c.b); }

// Keeps far-away points finite and within what the rasteriser handles well; lines
// reaching out of the widget are still clipped at its edge.
constexpr double kPixelLimit = 1.0e6;
double limited(double v) { return std::clamp(v, -kPixelLimit, kPixelLimit); }

MouseButton button_of(Qt::MouseButton b) {
    switch (b) {
        case Qt::LeftButton: return MouseButton::Left;
        case Qt::RightButton: return MouseButton::Right;
        default: return MouseButton::None;
    }
}

MouseButton held_button(Qt::MouseButtons b) {
    if (b & Qt::LeftButton) return MouseButton::Left;
    if (b & Qt::RightButton) return MouseButton::Right;
    return MouseButton::None;
}

}  // namespace

PlotWidget::PlotWidget(PictureBox& box, QWidget* parent) : QWidget(parent), box_(box) {
    setMouseTracking(true);
    setContextMenuPolicy(Qt::NoContextMenu);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QPointF PlotWidget::to_user(QPointF pixel) const {
    const display::UserScale& s = box_.picture().scale();
    const double w = std::max(1, width());
    const double h = std::max(1, height());
    return QPointF(s.left + pixel.x() * (double(s.right) - s.left) / w,
                   s.top + pixel.y() * (double(s.bottom) - s.top) / h);
}

QPointF PlotWidget::to_pixel(double x, double y) const {
    const display::UserScale& s = box_.picture().scale();
    const double sw = double(s.right) - s.left;
    const double sh = double(s.bottom) - s.top;
    const double px = sw == 0.0 ? 0.0 : (x - s.left) * width() / sw;
    const double py = sh == 0.0 ? 0.0 : (y - s.top) * height() / sh;
    return QPointF(limited(px), limited(py));
}

void PlotWidget::sync() {
    if (box_.picture().revision() == painted_revision_) return;
    // The "now calculating" notice must show while the calculation blocks the
    // window, so a picture of nothing but text is painted at once.
    const auto& ops = box_.picture().ops();
    const bool only_text = !ops.empty() && ops.size() <= 16 &&
                           std::all_of(ops.begin(), ops.end(), [](const display::PlotOp& op) {
                               return op.kind == display::PlotOp::Kind::Print;
                           });
    if (only_text && isVisible()) {
        repaint();
    } else {
        update();
    }
}

void PlotWidget::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(rect(), to_qcolor(display::Picture::background));
    const display::Picture& pic = box_.picture();
    painted_revision_ = pic.revision();

    // Consecutive operations of one kind and colour are drawn in one call; the
    // order of the runs is kept, so later layers cover earlier ones.
    QVector<QLineF> lines;
    QVector<QPointF> points;
    common::Rgb run_colour{};
    auto flush = [&] {
        if (lines.isEmpty() && points.isEmpty()) return;
        QPen pen(to_qcolor(run_colour));
        pen.setWidth(1);
        pen.setCosmetic(true);
        p.setPen(pen);
        if (!lines.isEmpty()) p.drawLines(lines);
        if (!points.isEmpty()) p.drawPoints(points.constData(), int(points.size()));
        lines.clear();
        points.clear();
    };
    auto finite = [](const display::PlotOp& op) {
        return std::isfinite(op.x1) && std::isfinite(op.y1) && std::isfinite(op.x2) &&
               std::isfinite(op.y2);
    };

    const QFontMetrics fm(font());
    int text_line = 0;
    for (const display::PlotOp& op : pic.ops()) {
        // Text placed on a point: starting, centred or ending there, centred in height.
        if (op.kind == display::PlotOp::Kind::Print && op.place != display::PlotOp::Place::Flow) {
            flush();
            if (!finite(op)) continue;
            const QString t = QString::fromStdString(op.text);
            const QPointF at = to_pixel(op.x1, op.y1);
            const double w = fm.horizontalAdvance(t);
            const double x = op.place == display::PlotOp::Place::Centre ? at.x() - w / 2
                             : op.place == display::PlotOp::Place::End  ? at.x() - w
                                                                        : at.x();
            p.setPen(to_qcolor(op.colour));
            p.drawText(QPointF(x, at.y() + (fm.ascent() - fm.descent()) / 2.0), t);
            continue;
        }
        if (op.kind == display::PlotOp::Kind::Print) {
            flush();
            p.setPen(to_qcolor(display::Picture::foreground));
            p.drawText(QPointF(2, fm.ascent() + text_line * fm.lineSpacing()),
                       QString::fromStdString(op.text));
            ++text_line;
            continue;
        }
        if (!finite(op)) continue;
        if (op.colour != run_colour ||
            (op.kind == display::PlotOp::Kind::Line ? !points.isEmpty() : !lines.isEmpty())) {
            flush();
            run_colour = op.colour;
        }
        if (op.kind == display::PlotOp::Kind::Line) {
            lines.append(QLineF(to_pixel(op.x1, op.y1), to_pixel(op.x2, op.y2)));
        } else {
            points.append(to_pixel(op.x1, op.y1));
        }
    }
    flush();

    // Drawn by the view over the recorded picture: the window's explanations, and the
    // rubber band of a zoom being dragged.
    if (overlay) overlay(p);
    if (dragging_) {
        QPen band(QColor(255, 255, 255, 200));
        band.setStyle(Qt::DashLine);
        band.setCosmetic(true);
        p.setPen(band);
        p.setBrush(QColor(255, 255, 255, 30));
        p.drawRect(QRectF(press_, drag_now_).normalized());
    }
}

void PlotWidget::send(const std::function<void(MouseButton, float, float)>& handler,
                      MouseButton b, QPointF pixel) {
    if (!handler) return;
    const QPointF u = to_user(pixel);
    auto as_float = [](double v) {
        return static_cast<float>(std::clamp(v, double(-FLT_MAX), double(FLT_MAX)));
    };
    handler(b, as_float(u.x()), as_float(u.y()));
}

void PlotWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && box_.on_mouse_up) {
        dragging_ = true;
        press_ = drag_now_ = event->position();
    }
    send(box_.on_mouse_down, button_of(event->button()), event->position());
}

void PlotWidget::mouseMoveEvent(QMouseEvent* event) {
    if (dragging_) {
        drag_now_ = event->position();
        update();
    }
    send(box_.on_mouse_move, held_button(event->buttons()), event->position());
}

void PlotWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && dragging_) {
        dragging_ = false;
        update();
    }
    send(box_.on_mouse_up, button_of(event->button()), event->position());
}

void PlotWidget::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    if (on_leave) on_leave();
}

}  // namespace lumetra::window::qt
