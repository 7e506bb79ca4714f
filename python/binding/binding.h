#pragma once
// The planner as the Python module sees it: plain values computed without Python
// (so the interpreter's lock can be released around them), then turned into Python
// objects.

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "io/setup_format.h"
#include "physics/result.h"
#include "physics/scan.h"

namespace lumetra::python {

constexpr std::size_t kLayerCount = 8;
using LayerArray = std::array<double, 1025>;

// What one calculation of a setup gives, under the setup's model.
struct Outcome {
    bool fp = false;
    bool shown = false;      // a spectrum is shown (the form plotted it)
    physics::Result result;  // the fundamental-parameter model's (fp only)
    std::vector<std::pair<std::string, double>> background;  // named parts of B, counts/s
    std::vector<std::string> result_lines;  // "key: value", as the spectrum file writes them
    std::vector<std::string> messages;      // what the form's dialogs said
    double full_scale_keV = 0.0;
    double counts_per_unit = 0.0;  // counts/s per channel of one plot unit (fp), else 0
    std::array<LayerArray, kLayerCount> layers{};  // plot units, as the window holds them
};

// The names of the eight layers, as the spectrum file's columns.
const std::array<const char*, kLayerCount>& layer_names();

// Sets the setup through the form's handlers, as loading its file would, and
// calculates. Runs without Python; each thread has its own planner.
Outcome calculate(const io::WindowSetup& setup);
// The scan preview of the setup (empty without the fundamental-parameter model).
std::vector<physics::ScanPoint> scan(const io::WindowSetup& setup);

}  // namespace lumetra::python
