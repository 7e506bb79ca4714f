#pragma once
// The setup file: everything a planner sets in the window, as one JSON object
// (RFC 8259 text, UTF-8). The window's field texts are stored exactly as typed,
// as JSON texts; the planning settings as numbers. Save writes every key, one per
// line, in the order below:
//
// key                     type     default          rule
// format                  text     (required)       "lumetra-setup"
// version                 number   (required)       whole, 1 or 2; a larger one is refused
//                                                   as written by a newer program
// target.symbol           text     ""               Text1 (the target element)
// target.content          text     ""               Text51
// matrix                  array    []               rows ["symbol", "content"] (Text2(i),
//                                                   Text52(i)), at most 11
// element_count           number   as the texts     st.Elem_count: -10 (editor not started)
//                                  give when typed  or 0..11, and then exactly
//                                                   max(element_count, 0) matrix rows
// edge                    text     "K"              "K" or "L3" (Option1 / Option2)
// line                    text     the edge's first Combo1: one of its edge's lines
//                                  ("K-alpha 1&2",
//                                  "L-alpha 1&2")
// energy                  text     " 5"             Text11 (X-ray energy, keV)
// step                    text     "0.1"            Text12 (energy step, keV)
// coarse_gain_index       number   4, or the gain's whole, 0..7 (the gain buttons' index)
//                                  position when
//                                  only a gain is
//                                  given
// coarse_gain             number   200, or the      Label9: 5, 10, 20, 50, 100, 200, 500
//                                  index's step     or 1000
//                                  when an index is
//                                  given
// fine_gain               text     "1.0"            Combo2: reads as a number above 0 that
//                                                   gives a finite full scale
// fix                     boolean  false            Check2 ("Fix")
// width                   text     " .3"            Text16 (peak width, keV)
// incidence, takeoff      text     "45.0"           Text21, Text22 (degrees)
// sample                  text     "bulk"           "bulk" or "film" (Option5 / Option6)
// film_density            text     "2.20"           Text23 (g/cm3)
// film_thickness          text     "50.0"           Text24 (nm)
// distance                text     "5.0"            Text19 (cm)
// al_filter               text     "0"              Text20 (aluminium filter steps)
// marked_row              number   0                whole, 0 (none) or the marked matrix
//                                                   row counted from 1 (st.Elem_mark)
// scale                   text     "linear"         "linear" or "log" (Option3 / Option4)
// layers.argon, .elastic, boolean  false            Check1, Check11, Check21, Check3
//   .escape, .pileup
// model                   text     "classic"        "classic" or "fp"
// planning.flux           number   1e12             photons/s, above 0
// planning.polarisation   number   0.95             0 to 1
// planning.detector       text     "si"             "si" or "ge"
// planning.area_mm2       number   50               above 0
// planning.window_um      number   12.5             0 or more
// planning.crystal_mm     number   the detector's   above 0 (0.45 si, 5 ge)
// planning.resolution_eV  number   the detector's   above 0 (130 si, 150 ge)
// planning.dead_time_us   number   1                above 0
// planning.pulse_pair_us  number   0.2              above 0
// planning.peak_to_background  number  10000        above 0
// planning.filter         text     "none"           as typed (element, formula:density
//                                                   or none)
// planning.filter_thickness_um  number  0           0 or more
// planning.count_window_fwhm  number  1            above 0, at most 10 (the window S and B
//                                                   are counted in, in FWHM of the line)
// planning.edge           text     "form"           the edge the fp model counts the target
//                                                   at: "form" (the form's K or L3 and line),
//                                                   "K", "L1", "L2", "L3" or "M5"
// planning.edge_line      text     ""               that edge's line by its key ("L2M4",
//                                                   "M5N7+M5N6") or its name ("L-beta 1
//                                                   (L2M4)"); "" the edge's first line;
//                                                   must be "" with "form"
// planning.layers         array    []               the stack around the sample, objects of
//                                                   "side" ("front" or "back"), "composition"
//                                                   (the composition language), "thickness_um"
//                                                   and "density" (g/cm3, 0 or missing: the
//                                                   one the composition suggests); at most 8
//                                                   a side, in order from the front
// planning.beam_filters   array    []               filters in the beam, objects of "filter"
//                                                   (as planning.filter) and "thickness_um";
//                                                   at most 4
//
// Version 2 adds the layers and beam filters and an edge other than the form's; a
// setup without them is written as version 1, and version 1 files load as they always
// did.
//
// The defaults are the values of a freshly started window. Reading is strict JSON:
// one object; texts with the escapes \" \\ \/ \b \f \n \r \t \uXXXX (surrogate pairs
// joined, lone surrogates refused) and valid UTF-8; no control character unescaped;
// numbers in JSON's own form and within the range of a double; no key twice in one
// object; at most 32 levels of nesting and 256 KiB. A UTF-8 byte-order mark at the
// start is skipped. Unknown keys are ignored, missing keys keep their defaults,
// and a key of the wrong type or a value out of range refuses the whole file: no
// value is clamped, so a file either loads as it stands or changes nothing.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "physics/settings.h"

namespace lumetra::io {

constexpr int kSetupFormatVersion = 2;
constexpr std::size_t kMaxSetupFileSize = 256 * 1024;
constexpr int kMaxSetupRows = 11;

// The last matrix row the editor shows and a mark can fall on, counted from 1: the
// completed rows and the open one below them (none before the target's content
// opened the first row, element_count below 0).
inline int last_markable_row(int element_count) {
    if (element_count < 0) return 0;
    return element_count < kMaxSetupRows ? element_count + 1 : kMaxSetupRows;
}

// What a setup file holds; the member values are the defaults.
struct WindowSetup {
    std::string target_symbol;
    std::string target_content;
    std::vector<std::pair<std::string, std::string>> matrix;  // symbol, content
    std::optional<int> element_count;                         // none: as typing the texts gives it
    bool l3_edge = false;
    std::string line = "K-alpha 1&2";
    std::string energy = " 5";
    std::string step = "0.1";
    int coarse_gain_index = 4;
    int coarse_gain = 200;
    std::string fine_gain = "1.0";
    bool fix = false;
    std::string width = " .3";
    std::string incidence = "45.0";
    std::string takeoff = "45.0";
    bool film = false;
    std::string film_density = "2.20";
    std::string film_thickness = "50.0";
    std::string distance = "5.0";
    std::string al_filter = "0";
    int marked_row = 0;
    bool log_scale = false;
    bool argon = false;
    bool elastic = false;
    bool escape = false;
    bool pileup = false;
    physics::Settings planning;  // with the model
};

bool operator==(const WindowSetup& a, const WindowSetup& b);
inline bool operator!=(const WindowSetup& a, const WindowSetup& b) {
    return !(a == b);
}

// The lines the window lists for an edge, in its order.
const std::vector<std::string>& edge_lines(bool l3_edge);

// The first value the rules above refuse, as a sentence ("\"planning.flux\" is -1:
// The flux must be above 0."), or "" when the setup can be written and loaded. The
// planning numbers' ranges and reasons are the model's own (physics/settings.h).
std::string check_setup(const WindowSetup& s);

// The file's bytes, every key written. For a setup that passes check_setup.
std::string format_setup(const WindowSetup& s);

struct SetupParse {
    std::optional<WindowSetup> setup;  // set when the file is valid
    std::string error;                 // why not, for the user ("Setup file line 7: ...")
};

// Reads and checks a whole file; a setup only when every value passes.
SetupParse parse_setup(std::string_view bytes);

}  // namespace lumetra::io
