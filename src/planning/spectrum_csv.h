#pragma once
// The shown spectrum as comma-separated text, for spreadsheets and plotting
// programs.
//
// The text starts with comment lines "# key: value" that give the whole setup (the
// form's fields as typed, the amplifier, the model and its settings, setup_lines),
// whether a spectrum is shown and the units of the layers, then the results as the
// window shows them (result_lines). A line
// "channel,volts,keV,total,target,line,mark,argon,elastic,escape,pileup" follows,
// then one row per channel n = 0..1024:
//   volts = 10 n / 1024,  keV = F n / 1024  (F: full-scale energy, Label8),
// and the eight layers in plot units. Under the fundamental-parameter model eight
// more columns total_cps..pileup_cps give every layer in counts/s per channel,
// layer x (counts/s of one plot unit). Numbers are the shortest text that reads back
// as the same double, with a full stop whatever the locale; a value that is not a
// finite number is left empty. Without a spectrum shown (Calc_state <= 0) the text
// ends after the column line.

#include <string>

#include "io/spectrum_csv.h"
#include "planning/report_lines.h"

namespace lumetra::planning {

class Planner;

// What the spectrum file holds of the planner's last calculation: its setup and
// result lines, and the eight layers by their column names.
io::SpectrumTable spectrum_table(const Planner& planner);

std::string spectrum_csv(const Planner& planner);

// Saves spectrum_csv(form) as the file `path`, replacing it whole or not at all.
// Returns "" when saved, else the message for the user; with no spectrum shown
// nothing is written.
std::string save_spectrum_csv(const Planner& planner, const std::string& path);

}  // namespace lumetra::planning
