#pragma once
// The plot surface as a list of drawing operations in user coordinates. The form
// draws on it; the Qt view replays it scaled to its pixels; the driver prints it.

#include <string>
#include <vector>

#include "common/colour.h"

namespace lumetra::display {

struct UserScale {
    float left = 0.0f;
    float top = 0.0f;
    float right = 8296.0f;
    float bottom = 4095.0f;
};

struct PlotOp {
    enum class Kind { Line, PSet, Print };
    // Where a Print's text goes: on the next text line from the top left (Flow, the
    // plain Print), or on its point (x1, y1): starting there, centred on it or ending
    // there, the middle of the text's height at the point's height, in its colour.
    enum class Place { Flow, Start, Centre, End };
    Kind kind = Kind::Line;
    float x1 = 0, y1 = 0, x2 = 0, y2 = 0;  // a point uses x1, y1
    common::Rgb colour;
    std::string text;  // Print only
    Place place = Place::Flow;  // Print only
};

class Picture {
public:
    static constexpr common::Rgb background = common::rgb(64, 64, 64);
    static constexpr common::Rgb foreground = common::colours::white;

    // Clears every operation; the current point returns to (0, 0).
    void Cls();
    // User coordinates of the left, top, right and bottom edges.
    void Scale(float left, float top, float right, float bottom);
    // A line in the foreground colour or in the given colour; ends at the current point.
    void Line(float x1, float y1, float x2, float y2);
    void Line(float x1, float y1, float x2, float y2, common::Rgb c);
    // A line from the current point.
    void LineTo(float x2, float y2, common::Rgb c);
    void PSet(float x, float y, common::Rgb c);
    void Print(const std::string& text);
    // Text placed on a point of the drawing (see PlotOp::Place); the current point stays.
    void Print(float x, float y, const std::string& text, PlotOp::Place place, common::Rgb c);

    const std::vector<PlotOp>& ops() const { return ops_; }
    const UserScale& scale() const { return scale_; }
    // Counts changes (Cls, Scale, drawing); a viewer repaints when it moves.
    unsigned long revision() const { return revision_; }

private:
    std::vector<PlotOp> ops_;
    UserScale scale_;
    float cur_x_ = 0.0f;
    float cur_y_ = 0.0f;
    unsigned long revision_ = 0;
};

}  // namespace lumetra::display
