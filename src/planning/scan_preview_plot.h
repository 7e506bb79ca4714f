#pragma once
// The drawing of the XAFS scan preview, recorded into a picture so that the panel,
// a printout and an exported report replay the same axes: energy in eV from the
// edge below, the target rate and the background on logarithmic decades of counts/s
// on the left, the dead time from 0 to 100 % on the right with the 30 % mark, a
// legend above, and the incident energy as a line or, outside the scan, as an arrow
// at the side it lies on. Text keeps its size while the picture scales, so the
// margins are laid out in ems of the picture's font on the box's size.

#include <string>
#include <vector>

#include "display/picture.h"
#include "physics/scan.h"

namespace lumetra::planning {

struct ScanPlot {
    double edge_keV = 0.0;   // the target's edge; x = 0 of the drawing
    std::string edge_name;   // "Cu K", in the energy axis's caption
    double first_keV = 0.0;  // the scan's range, also while its points are computed
    double last_keV = 0.0;
    double E0_keV = 0.0;                     // the incident energy of the spectrum shown
    bool complete = false;                   // every point computed: the rate axes and curves show
    std::vector<physics::ScanPoint> points;  // rising in energy
    double width_twips = 4360.0;             // the picture box
    double height_twips = 3000.0;
    double font_pt = 7.5;  // of its text: the margins leave it room
};

// The plot area in user coordinates: x in eV from the edge, y from 0 (bottom) to 1.
struct ScanFrame {
    double left_eV = 0.0;
    double right_eV = 0.0;
};
ScanFrame scan_frame(const ScanPlot& s);

// Clears the picture and draws the preview; a plot without a usable range (no edge,
// no energies) draws only the note that the preview is being computed.
void draw_scan_plot(display::Picture& pic, const ScanPlot& s);

// The figures of the computed point nearest in energy to the pointer at user (x, y):
// "9.150 keV (edge +171 eV): target 9.29e4 /s, background 18.8 /s, dead time 82.0 %";
// "" while the scan is computed or the pointer is outside the plot area.
std::string scan_readout(const ScanPlot& s, float x, float y);

// A decade's label on the rate axis: 0.01 to 1000 plain, else 1e4, 1e-3.
std::string decade_label(int exponent);

}  // namespace lumetra::planning
