#pragma once
// The model "Plot" calculates with, and the settings of the fundamental-parameter
// model that the form's own fields do not hold: beam, detector and filter.

#include <array>
#include <string>

#include "physics/setup.h"

namespace lumetra::window {

enum class Model { classic, fp };

struct Planning {
    Model model = Model::classic;
    double flux = 1e12;          // photons/s
    double polarisation = 0.95;  // degree of linear polarisation
    physics::Detector detector;
    std::string filter = "none";       // element, formula:density, or none
    double filter_thickness_um = 0.0;  // um

    // Sets one setting from its text, numbers by the window's reading rule. Keys:
    // flux, polarisation, detector (si|ge, which also takes that crystal's default
    // thickness and resolution), area, window, crystal, resolution, deadtime, pileup,
    // peakbackground, filter, filterthickness. False for an unknown key or detector.
    bool set(const std::string& key, const std::string& text);
    // Whether the filter text names a filter (an unknown one is not used).
    bool filter_valid() const;
};

// The numeric settings, in the order the panel shows them: the key (of `setup KEY`
// and Planning::set) and the number it sets.
struct NumberSetting {
    const char* key;
    double& (*of)(Planning&);
};
const std::array<NumberSetting, 10>& number_settings();

}  // namespace lumetra::window
