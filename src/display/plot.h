#pragma once
// Drawing of the spectrum arrays onto the plot surface, one vertical bar per
// channel and layer, on a linear or a logarithmic vertical scale.

#include "display/picture.h"
#include "display/view_state.h"
#include "engine/calc_state.h"

namespace lumetra::display {

struct PlotOptions {
    bool linear = true;   // "Linear" selected, else "Log"
    int argon = 0;        // check box values 0/1
    int elastic = 0;
    int escape = 0;
    int pileup = 0;
};

// Vertical plot units of a channel value v.
double linear_y(double v);  // v + 0.001
double log_y(double v);     // 500 + 1500 log10(1 + 1000 v)
// The value v whose log_y is y (0 at and below the base line), finite.
double log_value(double y);

void Plot_spectrum(Picture& pic, const engine::CalcState& st, const ViewState& view,
                   const PlotOptions& options);

}  // namespace lumetra::display
