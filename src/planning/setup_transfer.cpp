// Whole-setup files: Save reads every setting off the form; Load checks the whole
// file first and then sets the settings through the form's own handlers, as typing
// and clicking them would, ending with "Plot".

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

#include "common/numtext.h"
#include "io/file_io.h"
#include "io/setup_format.h"
#include "planning/planner.h"

namespace lumetra::planning {

using io::WindowSetup;
using window::RADirido;
using window::TextBox;

namespace {

// The settings as the form holds them. The matrix rows are those in use, as the
// composition Save writes them.
WindowSetup capture(const RADirido& f, const physics::Settings& settings) {
    WindowSetup s;
    s.target_symbol = f.Text1.text();
    s.target_content = f.Text51.text();
    const int rows = std::clamp<int>(f.st.Elem_count, 0, window::kRows);
    for (int i = 0; i < rows; ++i) s.matrix.emplace_back(f.Text2[i]->text(), f.Text52[i]->text());
    s.element_count = f.st.Elem_count;
    s.l3_edge = f.Option2.value();
    s.line = f.Combo1.text();
    s.energy = f.Text11.text();
    s.step = f.Text12.text();
    s.coarse_gain_index = f.view.Coarse_index;
    const double gain = text::Val(f.Label9.caption());
    s.coarse_gain =
        gain == text::Int(gain) && gain >= 0 && gain <= 1e6 ? static_cast<int>(gain) : -1;
    s.fine_gain = f.Combo2.text();
    s.fix = f.Check2.value() >= 1;
    s.width = f.Text16.text();
    s.incidence = f.Text21.text();
    s.takeoff = f.Text22.text();
    s.film = f.Option6.value();
    s.film_density = f.Text23.text();
    s.film_thickness = f.Text24.text();
    s.distance = f.Text19.text();
    s.al_filter = f.Text20.text();
    // A mark left on a row that All Clear or Clear hid marks nothing (the plot draws
    // no element for it) and is saved as none.
    const int mark = f.st.Elem_mark;
    s.marked_row = mark >= 1 && mark <= io::last_markable_row(f.st.Elem_count) ? mark : 0;
    s.log_scale = f.Option4.value();
    s.argon = f.Check1.value() >= 1;
    s.elastic = f.Check11.value() >= 1;
    s.escape = f.Check21.value() >= 1;
    s.pileup = f.Check3.value() >= 1;
    s.planning = settings;
    return s;
}

// The model and its settings, through the window's setting commands; the detector
// first, as choosing one brings its own thickness and resolution.
void apply_planning(Planner& planner, const physics::Settings& p) {
    planner.write_planning(p);
    planner.set_model(p.model);
}

// The order keeps every handler from undoing an earlier step:
// - "Fix" is held while the target, edge and sample handlers run (each retunes the
//   gains otherwise); the file's gains are set once they are done.
// - "All Clear" first; nothing is recalculated until the mark and "Plot", as no
//   target handler has left a spectrum shown (Calc_state stays below 0).
// - The scale and layers before the plot is cleared, so no stale drawing stays.
// - The sample form and the edge rerun the target handler, which sets the X-ray
//   energy and the filter steps: those fields come after them, as does the line,
//   whose energy the distance and filter ratios use.
// - The target content after the edge, so the edge's "Plot" finds nothing to plot.
void apply(Planner& planner, const WindowSetup& s) {
    RADirido& f = planner.form();
    f.Check2.set_value(1);
    f.Command3_Click();  // All Clear
    apply_planning(planner, s.planning);
    (s.log_scale ? f.Option4 : f.Option3).user_click();
    f.Check1.set_value(s.argon ? 1 : 0);
    f.Check11.set_value(s.elastic ? 1 : 0);
    f.Check21.set_value(s.escape ? 1 : 0);
    f.Check3.set_value(s.pileup ? 1 : 0);
    (s.film ? f.Option6 : f.Option5).user_click();

    f.Text1.set_text(s.target_symbol);
    if (s.l3_edge) f.Option2.user_click();  // stays at K for a target without an L3 edge
    f.Text51.set_text(s.target_content);
    for (std::size_t i = 0; i < s.matrix.size(); ++i) {
        TextBox& symbol = *f.Text2[i];
        TextBox& content = *f.Text52[i];
        symbol.set_text(s.matrix[i].first);
        content.set_text(s.matrix[i].second);
        symbol.set_visible(true);  // every row in use has been opened
        content.set_visible(true);
    }
    if (s.element_count) f.st.Elem_count = static_cast<std::int16_t>(*s.element_count);
    if (f.Option2.value() == s.l3_edge) f.Combo1.set_text(s.line);

    f.Full_scale();
    f.view.Coarse_index = static_cast<std::int16_t>(s.coarse_gain_index);
    f.Label9.set_caption(text::Str(s.coarse_gain));
    if (f.Combo2.text() != s.fine_gain) {
        f.Combo2.set_text(s.fine_gain);  // its handler sets the scale
    } else {
        f.Set_scale();
    }
    f.Check2.set_value(s.fix ? 1 : 0);

    f.Text11.set_text(s.energy);
    f.Text12.set_text(s.step);
    f.Text16.set_text(s.width);
    f.Text21.set_text(s.incidence);
    f.Text22.set_text(s.takeoff);
    f.Text23.set_text(s.film_density);
    f.Text24.set_text(s.film_thickness);
    f.Text19.set_text(s.distance);
    f.Text20.set_text(s.al_filter);
    // The ratio chain's product follows the filter only while a spectrum is shown:
    // a click on it brings it up to date.
    f.Label37.click();

    // No handler unmarks a row: none is the value a started window has.
    if (s.marked_row >= 1) {
        f.Text2[static_cast<std::size_t>(s.marked_row - 1)]->user_right_click();
    } else {
        f.st.Elem_mark = 0;
    }
    f.Command1_Click();  // Plot
}

}  // namespace

io::WindowSetup Planner::setup() const {
    return capture(form_, session_.settings);
}

void Planner::apply_setup(const io::WindowSetup& s) {
    apply(*this, s);
}

std::string Planner::save_setup(const std::string& path) {
    using namespace io;
    const WindowSetup s = setup();
    const std::string problem = check_setup(s);
    if (!problem.empty()) return "This setup cannot be saved: " + problem;
    const std::string bytes = format_setup(s);
    // Load reads at most kMaxSetupFileSize bytes: never write a file it would refuse.
    if (bytes.size() > kMaxSetupFileSize)
        return "This setup is too long to be saved (more than 256 KiB).";
    return write_replacing(path, bytes);
}

std::string Planner::load_setup(const std::string& path) {
    using namespace io;
    const FileBytes file = read_small_file(path, kMaxSetupFileSize);
    if (!file.bytes) return file.problem;
    const SetupParse parsed = parse_setup(*file.bytes);
    if (!parsed.setup) return parsed.error;
    apply_setup(*parsed.setup);
    return {};
}

}  // namespace lumetra::planning
