#pragma once
// The layers around the sample and the filters in the beam as the planner gives
// them (settings.h), read into the model's slabs. The one place that says what a
// layer or a beam filter must be: the panel, the driver, the setup file and the
// model all ask here.

#include <cstddef>
#include <optional>
#include <string>

#include "physics/settings.h"
#include "physics/setup.h"

namespace lumetra::physics {

// The thickest layer or beam filter, um (a metre: anything thicker is a mistake).
constexpr double kThickestSlab_um = 1e6;

// Entry i of the settings' layers as the model numbers it (LineRate::layer): -n for the
// n-th layer in front, n for the n-th behind, counted on its side.
int layer_code(const Settings& p, std::size_t i);
// "Front layer 2", "Back layer 1": entry i of the settings' layers (layer_title).
std::string layer_name(const Settings& p, std::size_t i);
// "Beam filter 1".
std::string beam_filter_name(std::size_t i);

struct LayerReading {
    Layer layer;                     // elements by mass fraction, density, thickness
    double suggested_density = 0.0;  // what the composition suggests, g/cm3 (0: nothing)
    std::string problem;             // why it cannot be used, a sentence, or ""
};
// The composition read by the window's composition language (every element kept),
// the density given or else suggested, the thickness.
LayerReading read_layer(const LayerSetting& l);

struct BeamFilterReading {
    Filter filter;
    std::string problem;
};
BeamFilterReading read_beam_filter(const BeamFilterSetting& f);

// The first layer or beam filter that cannot be used, by name ("Front layer 2: the
// thickness must be above 0 um."), or more than kMaxLayers on a side or more than
// kMaxBeamFilters; nothing when all can be.
struct StackRefusal {
    std::string reason;
    bool beam_filter = false;  // which list it concerns
    std::size_t index = 0;     // the entry of that list
};
std::optional<StackRefusal> stack_refusal(const Settings& p);

// s.front, s.back and s.beam_filters from what can be read of the settings.
void apply_stack(const Settings& p, Setup& s);

}  // namespace lumetra::physics
