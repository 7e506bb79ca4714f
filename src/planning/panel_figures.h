#pragma once
// The figures of the last calculation as the window shows them: the planning
// panel's captions, and from the very same texts the results block of the exports.

#include <string>
#include <vector>

#include "common/colour.h"
#include "physics/result.h"
#include "physics/settings.h"

namespace lumetra::planning {

// One figure: its key in the exports, the words the panel writes before it and the
// value with its unit (or a sentence, which has no words before it).
struct ShownFigure {
    std::string key;    // "input_rate"
    std::string label;  // "Input rate"
    std::string value;  // "1.23e6 counts/s"
    std::string caption() const { return label.empty() ? value : label + "  " + value; }
};

struct PanelFigures {
    ShownFigure note, icr, ocr, dead_time, saturation, target, background, window_share,
        signal_to_background, time_per_point, self_absorption, self_absorption_hint;
    std::vector<ShownFigure> neighbours;  // at most five
    common::Rgb dead_time_colour = common::colours::black;
    // Every figure with a value but the neighbours, in the panel's order.
    std::vector<const ShownFigure*> shown() const;
};

// The panel's figures of a calculation with the given model (under the classic
// model only the note that rates need the other).
PanelFigures panel_figures(physics::ModelKind model, const physics::Result& result);

// Three significant digits, plain for 0.01 to 999999, else as 1.23e6; "-" for a
// value that is not a finite number.
std::string three_digits(double v);

}  // namespace lumetra::planning
