#include "display/picture.h"

namespace lumetra::display {

void Picture::Cls() {
    ops_.clear();
    cur_x_ = 0.0f;
    cur_y_ = 0.0f;
    ++revision_;
}

void Picture::Scale(float left, float top, float right, float bottom) {
    scale_ = UserScale{left, top, right, bottom};
    ++revision_;
}

void Picture::Line(float x1, float y1, float x2, float y2) { Line(x1, y1, x2, y2, foreground); }

void Picture::Line(float x1, float y1, float x2, float y2, common::Rgb c) {
    ops_.push_back(PlotOp{PlotOp::Kind::Line, x1, y1, x2, y2, c, {}, PlotOp::Place::Flow});
    cur_x_ = x2;
    cur_y_ = y2;
    ++revision_;
}

void Picture::LineTo(float x2, float y2, common::Rgb c) { Line(cur_x_, cur_y_, x2, y2, c); }

void Picture::PSet(float x, float y, common::Rgb c) {
    ops_.push_back(PlotOp{PlotOp::Kind::PSet, x, y, x, y, c, {}, PlotOp::Place::Flow});
    cur_x_ = x;
    cur_y_ = y;
    ++revision_;
}

void Picture::Print(const std::string& text) {
    ops_.push_back(PlotOp{PlotOp::Kind::Print, cur_x_, cur_y_, cur_x_, cur_y_, foreground, text,
                          PlotOp::Place::Flow});
    ++revision_;
}

void Picture::Print(float x, float y, const std::string& text, PlotOp::Place place,
                    common::Rgb c) {
    ops_.push_back(PlotOp{PlotOp::Kind::Print, x, y, x, y, c, text, place});
    ++revision_;
}

}  // namespace lumetra::display
