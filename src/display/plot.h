#pragma once
// Drawing of the spectrum arrays onto the plot surface, one vertical bar per
// channel and layer, on a linear or a logarithmic vertical scale; which layers, in
// which order and colours, is in layers.h.

#include "display/layers.h"
#include "display/picture.h"
#include "display/view_state.h"
#include "engine/calc_state.h"

namespace lumetra::display {

// Vertical plot units of a channel value v.
double linear_y(double v);  // v + 0.001
double log_y(double v);     // 500 + 1500 log10(1 + 1000 v)
// The value v whose log_y is y (0 at and below the base line), finite.
double log_value(double y);

void Plot_spectrum(Picture& pic, const engine::CalcState& st, const ViewState& view,
                   const PlotOptions& options);

}  // namespace lumetra::display
