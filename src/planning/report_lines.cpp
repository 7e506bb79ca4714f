// The setup and the results as "key: value" lines (see report_lines.h).

#include "planning/report_lines.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <system_error>

#include "common/numtext.h"
#include "common/shortest.h"
#include "physics/stack_settings.h"
#include "planning/panel_figures.h"
#include "planning/planner.h"

namespace lumetra::planning {

namespace {

// A field text on one line: line breaks and other control characters become
// blanks, the blanks at both ends go.
std::string one_line(std::string s) {
    for (char& c : s)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
    return text::trim_blanks(s);
}

class Lines {
  public:
    void add(const std::string& key, const std::string& value) {
        lines_.push_back(key + ": " + one_line(value));
    }
    void add(const std::string& key, double value) { add(key, exact_number(value)); }
    void add(const std::string& key, bool on) { add(key, std::string(on ? "on" : "off")); }
    std::vector<std::string> take() { return std::move(lines_); }

  private:
    std::vector<std::string> lines_;
};

// Matrix rows in use (element i + 1 is row i).
int matrix_rows(const window::RADirido& f) {
    return std::clamp<int>(f.st.Elem_count, 0, window::kRows);
}

void sample_lines(Lines& h, const window::RADirido& f) {
    h.add("target", f.Text1.text());
    h.add("target_content", f.Text51.text());
    for (int i = 0; i < matrix_rows(f); ++i)
        h.add("matrix_row_" + std::to_string(i + 1),
              f.Text2[i]->text() + " " + f.Text52[i]->text());
    const int mark = f.st.Elem_mark;
    h.add("marked_row", mark >= 1 && mark <= matrix_rows(f)
                            ? std::to_string(mark) + " (" + f.Text2[mark - 1]->text() + ")"
                            : std::string("none"));
    const bool film = f.Option6.value();
    h.add("sample", std::string(film ? "film" : "bulk"));
    if (film) {
        h.add("film_density_g_cm3", f.Text23.text());
        h.add("film_thickness_nm", f.Text24.text());
    }
}

void beam_and_amplifier_lines(Lines& h, const window::RADirido& f) {
    h.add("edge", std::string(f.Option2.value() ? "L3" : "K"));
    h.add("line", f.Combo1.text());
    h.add("energy_keV", f.Text11.text());
    h.add("width_keV", f.Text16.text());
    h.add("coarse_gain", f.Label9.caption());
    h.add("fine_gain", f.Combo2.text());
    h.add("full_scale_keV", f.Label8.caption());
    h.add("incidence_deg", f.Text21.text());
    h.add("takeoff_deg", f.Text22.text());
    h.add("distance_cm", f.Text19.text());
    h.add("al_filter_steps", f.Text20.text());
    h.add("scale", std::string(f.Option4.value() ? "log" : "linear"));
    h.add("layer_argon", f.Check1.value() >= 1);
    h.add("layer_elastic", f.Check11.value() >= 1);
    h.add("layer_escape", f.Check21.value() >= 1);
    h.add("layer_pileup", f.Check3.value() >= 1);
}

// The model and every planning setting, under the names of the settings table; the
// detector's crystal after the polarisation, where the panel lists it.
void model_lines(Lines& h, const physics::Settings& p) {
    h.add("model", std::string(p.model == Model::fp ? "fundamental parameters" : "classic"));
    for (const physics::SettingInfo& s : physics::setting_table()) {
        if (s.kind == physics::SettingKind::filter)
            h.add(s.report_key, p.filter);
        else
            h.add(s.report_key, physics::setting_value(s, p));
        if (std::string(s.key) == "polarisation")
            h.add("detector",
                  std::string(p.detector.crystal == physics::Crystal::ge ? "ge" : "si"));
    }
    // The edge the model counts the target at, when it is not the form's.
    if (p.edge != physics::EdgeChoice::form) {
        h.add("fp_edge", std::string(physics::edge_choice_name(p.edge)));
        h.add("fp_edge_line", p.edge_line.empty() ? std::string("the edge's first") : p.edge_line);
    }
    // The stack, one line an entry, as the panel's list names them.
    for (std::size_t i = 0; i < p.layers.size(); ++i) {
        const physics::LayerSetting& l = p.layers[i];
        const int code = physics::layer_code(p, i);
        const std::string name =
            (code < 0 ? "front_layer_" : "back_layer_") + std::to_string(std::abs(code));
        h.add(name, l.composition + ", " + common::shortest(l.thickness_um) + " um, " +
                        (l.density > 0.0 ? common::shortest(l.density) + " g/cm3"
                                         : std::string("density suggested")));
    }
    for (std::size_t i = 0; i < p.beam_filters.size(); ++i) {
        h.add("beam_filter_" + std::to_string(i + 1),
              p.beam_filters[i].filter + ", " + common::shortest(p.beam_filters[i].thickness_um) +
                  " um");
    }
}

// The target line's way to the crystal under the fundamental-parameter model.
void detection_lines(Lines& h, const physics::Figures& f) {
    if (!(f.target_energy > 0.0)) return;
    h.add("target_line_keV", three_digits(f.target_energy));
    h.add("detection_solid_angle", three_digits(f.solid_angle_fraction) + " of 4 pi");
    h.add("detection_air", three_digits(f.air));
    h.add("detection_filters_and_window", three_digits(f.filters_and_window));
    h.add("detection_crystal", three_digits(f.crystal));
    h.add("detection_product", three_digits(f.detection()));
}

}  // namespace

std::string exact_number(double v) {
    return common::shortest(v);
}

std::vector<std::string> setup_lines(const Planner& planner) {
    const window::RADirido& f = planner.form();
    Lines h;
    h.add("program", std::string(window::RADirido::kCaption));
    sample_lines(h, f);
    beam_and_amplifier_lines(h, f);
    model_lines(h, planner.session().settings);
    return h.take();
}

std::vector<std::string> result_lines(const Planner& planner) {
    const window::RADirido& f = planner.form();
    const physics::Result& fp = planner.fp_result();
    Lines h;
    if (f.st.Calc_state <= 0) {
        h.add("results", std::string("none"));
        return h.take();
    }
    if (planner.model() == Model::classic) {
        h.add("target_line_share_percent", f.Label38.caption());
        h.add("solid_angle", f.Label34.caption());
        h.add("air_absorption", f.Label35.caption());
        h.add("attenuation", f.Label25.caption());
        h.add("detection_ratio", f.Label37.caption());
        return h.take();
    }
    const PanelFigures figures = panel_figures(planner.model(), fp);
    for (const ShownFigure* s : figures.shown()) h.add(s->key, s->value);
    for (const ShownFigure& n : figures.neighbours) h.add(n.key, n.caption());
    if (fp.ok) {
        if (!planner.settings().beam_filters.empty())
            h.add("flux_on_sample_photons_s", three_digits(fp.figures.flux_on_sample));
        if (!fp.note.empty()) h.add("stack_note", fp.note);
        h.add("target_line_share_percent", f.Label38.caption());
        detection_lines(h, fp.figures);
    }
    return h.take();
}

}  // namespace lumetra::planning
