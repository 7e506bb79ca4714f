#pragma once
// The legend of the spectrum plot: the layers the plot draws with something to
// see, in the colours it draws them, for the screen and the exported pictures alike.
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
    std::optional<common::Rgb> line;   // a line the plot draws over them (the total's outline)
    std::optional<common::Rgb> trace;  // the view's line along the tops of the bars
    const engine::Spectrum* layer = nullptr;
};

// Without a spectrum shown, none.
std::vector<LegendEntry> plot_legend(const RADirido& form);

// Draws the traces of the legend's traced layers over a plot widget's replay of the
// form's plot, in the widget's pixels.
void paint_traces(QPainter& p, const PlotWidget& plot, const RADirido& form);

}  // namespace lumetra::window::qt
