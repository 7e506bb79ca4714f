#pragma once
// The setup and the results of the shown calculation as lines "key: value": the
// comment lines of the exported spectrum and the text of the printed report.

#include <string>
#include <vector>

namespace lumetra::planning {

class Planner;

// The whole setup: the program, the form's fields as typed (the sample, the beam,
// the amplifier, the geometry and the layers shown) and the model with its
// settings. A field's line breaks and other control characters become blanks.
std::vector<std::string> setup_lines(const Planner& planner);

// The results of the last calculation as the window shows them: under the
// fundamental-parameter model every figure of the planning panel (rates, dead time,
// target line and background, S/B, time per point, self-absorption, the strongest
// neighbours) and the path of the target line to the crystal; under the classic
// model the form's own figures (the target line's share, the detection chain).
// Without a spectrum shown the one line "results: none".
std::vector<std::string> result_lines(const Planner& planner);

// The shortest text that reads back as the same double, with a full stop whatever
// the locale; empty for a value that is not a finite number.
std::string exact_number(double v);

}  // namespace lumetra::planning
