#pragma once
// The planner as the Python module sees it: plain values computed without Python
// (so the interpreter's lock can be released around them), then turned into Python
// objects.

#include <string>
#include <utility>
#include <vector>

#include "io/setup_format.h"
#include "io/spectrum_csv.h"
#include "physics/result.h"
#include "physics/scan.h"

namespace lumetra::python {

// What one calculation of a setup gives, under the setup's model.
struct Outcome {
    bool fp = false;
    physics::Result result;  // the fundamental-parameter model's (fp only)
    std::vector<std::pair<std::string, double>> background;  // named parts of B, counts/s
    std::vector<std::string> messages;                       // what the form's dialogs said
    // As the spectrum file holds it: the result lines, the full scale, counts/s of one
    // plot unit (fp) and the eight layers in plot units.
    io::SpectrumTable table;
};

// Sets the setup through the form's handlers, as loading its file would, and
// calculates. Runs without Python; each thread has its own planner.
Outcome calculate(const io::WindowSetup& setup);
// The scan preview of the setup (empty without the fundamental-parameter model).
std::vector<physics::ScanPoint> scan(const io::WindowSetup& setup);

}  // namespace lumetra::python
