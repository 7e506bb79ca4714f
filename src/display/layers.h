#pragma once
// The layers of the spectrum plot: which arrays the plot draws on each scale, in
// which order, in which colours and under which names. The plot draws from this
// description, and the legends of the screen, the exported pictures and the report
// list its layers that have something to see.

#include <optional>
#include <string>
#include <vector>

#include "common/colour.h"
#include "display/view_state.h"
#include "engine/calc_state.h"

namespace lumetra::display {

// The colours of the plot's layers (the total's bars and segments, then its outline
// and every layer drawn over it), and of the view's traces over layers that share
// their bars' colour with another layer (none of them a colour the plot draws).
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

constexpr Rgb kMarkTrace = rgb(120, 200, 255);
constexpr Rgb kEscapeTrace = rgb(255, 150, 0);
constexpr Rgb kPileupTrace = rgb(255, 255, 255);
}  // namespace layer_colours

// Argon, elastic and, on the log scale, pile-up bars stand only where the layer
// exceeds this many plot units.
constexpr double kPeakThreshold = 0.001;

struct PlotOptions {
    bool linear = true;  // "Linear" selected, else "Log"
    int argon = 0;       // check box values 0/1
    int elastic = 0;
    int escape = 0;
    int pileup = 0;
};

enum class LayerId { Total, Target, Line, Mark, Argon, Elastic, Escape, Pileup };

// How one pass draws a layer's array.
enum class Stroke {
    TotalBars,   // linear: bars from channel 1, each with the segment from the channel before
    Bars,        // a bar from the base line on every channel (log: channels 0..1023)
    FilledBars,  // the same, filled between channels in a zoomed view
    Peaks,       // bars only where the value exceeds kPeakThreshold
    Outline,     // a line along the tops of the channels
};

// The names the legend gives the target's layers and the marked element's.
struct LayerNames {
    std::string target = "target";
    std::string line = "line";
    std::string marked = "marked element";
};

struct Layer {
    LayerId id = LayerId::Total;
    std::string name;
    const engine::Spectrum* values = nullptr;
    common::Rgb bars;
    std::optional<common::Rgb> segments;  // from one channel's top to the next (linear total)
    std::optional<common::Rgb> outline;   // a line the plot draws along the tops
    std::optional<common::Rgb> trace;     // the view's line along the tops of shared-colour bars
    bool seen = false;                    // some bar or point stands off the base line
};

struct Pass {
    std::size_t layer = 0;  // index into PlotLayers::layers
    Stroke stroke = Stroke::Bars;
};

struct PlotLayers {
    bool linear = true;
    std::vector<Layer> layers;  // every layer the plot draws, in the order of its first pass
    std::vector<Pass> passes;   // in drawing order

    // The layers with something to see, in drawing order: the legend's entries.
    std::vector<Layer> shown() const;
};

// The layers the plot draws of the state's arrays in this view with these options.
PlotLayers plot_layers(const engine::CalcState& st, const ViewState& view,
                       const PlotOptions& options, const LayerNames& names = {});

}  // namespace lumetra::display
