#pragma once
// Drawing of the spectrum arrays onto the plot surface, one vertical bar per
// channel and layer, on a linear or a logarithmic vertical scale.

#include "common/colour.h"
#include "display/picture.h"
#include "display/view_state.h"
#include "engine/calc_state.h"

namespace lumetra::display {

// The colours of the plot's layers (the total's bars and segments, then its outline
// and every layer drawn over it).
namespace layer_colours {
using common::Rgb;
using common::rgb;
constexpr Rgb kTotalBar = rgb(100, 100, 20);
constexpr Rgb kTotalSegment = rgb(200, 200, 40);
constexpr Rgb kTotalOutline = rgb(255, 255, 50);
constexpr Rgb kTarget = rgb(25, 255, 25);
constexpr Rgb kMark = rgb(255, 255, 50);
constexpr Rgb kLine = rgb(255, 150, 255);
constexpr Rgb kArgonLinear = rgb(12, 12, 128);
constexpr Rgb kArgonLog = rgb(25, 25, 255);
constexpr Rgb kElasticLinear = rgb(128, 12, 12);
constexpr Rgb kElasticLog = rgb(255, 25, 25);
constexpr Rgb kEscape = rgb(100, 100, 20);
constexpr Rgb kPileup = rgb(100, 100, 50);
}  // namespace layer_colours


// Argon, elastic and, on the log scale, pile-up bars stand only where the layer
// exceeds this many plot units.
constexpr double kPeakThreshold = 0.001;

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
