#pragma once
// One pass of a layer as drawing operations: the bars and lines of plot.cpp, sent
// to a sink so that the same code draws the plot and finds what it would show.

#include "common/colour.h"
#include "display/layers.h"
#include "display/view_state.h"
#include "engine/calc_state.h"

namespace lumetra::display {

class StrokeSink {
  public:
    virtual ~StrokeSink() = default;
    virtual void line(float x1, float y1, float x2, float y2, common::Rgb c) = 0;
    virtual void point(float x, float y, common::Rgb c) = 0;
    // From the last line's end or point.
    virtual void line_to(float x, float y, common::Rgb c) = 0;
};

// The base line of the bars on the scale, as the surface stores it.
float base_line(bool linear);

void draw_pass(StrokeSink& sink, const Layer& layer, Stroke stroke, bool linear,
               const ViewState& view);

}  // namespace lumetra::display
