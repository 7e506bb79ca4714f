#pragma once
// The legend of the spectrum plot: the layers the plot draws with something to
// see (display/layers.h), in the order and colours it draws them, for the screen,
// the exported pictures and the report alike.
//
// Some layers share their colour with another (the escape and pile-up bars are the
// total's olive, the marked element's bars the total's yellow outline). The view
// traces such a layer over the plot in a colour of its own, along the tops of its
// bars, and the legend shows that colour beside the bars' one; the recorded drawing
// keeps its colours.

#include <optional>
#include <string>
#include <vector>

#include "common/colour.h"
#include "display/layers.h"
#include "display/view_state.h"
#include "engine/calc_state.h"

class QPainter;

namespace lumetra::window {
class RADirido;
}

namespace lumetra::window::qt {

class PlotWidget;

struct LegendEntry {
    std::string label;
    common::Rgb colour;                // the layer's bars as the plot draws them
    std::optional<common::Rgb> line;   // a line the plot draws over them (the outline)
    std::optional<common::Rgb> trace;  // the view's line along the tops of the bars
    const engine::Spectrum* layer = nullptr;
    display::LayerId id = display::LayerId::Total;
};

// The names of the form's target, target line and marked element as the legend
// shows them: on one line, the marked row's element when the editor shows that row.
display::LayerNames layer_names(const RADirido& form);

// The layers of the plot of these arrays with something to see; without a spectrum
// shown (Calc_state 0 or below), none.
std::vector<LegendEntry> plot_legend(const engine::CalcState& st, const display::ViewState& view,
                                     const display::PlotOptions& options,
                                     const display::LayerNames& names = {});

// Draws the traces of the legend's traced layers over a plot widget's replay of
// the plot on the scale, in the widget's pixels.
void paint_traces(QPainter& p, const PlotWidget& plot, const std::vector<LegendEntry>& legend,
                  bool linear);

}  // namespace lumetra::window::qt
