// The planning panel's behaviour: the model choice, the settings (read by the
// window's text-to-number rule, red when they cannot be used, recalculating at once
// while a spectrum is shown under the fundamental-parameter model) and the figures of
// the last calculation.

#include <algorithm>
#include <cmath>

#include "common/numtext.h"
#include "common/shortest.h"
#include "physics/settings.h"
#include "planning/panel_figures.h"
#include "planning/planner.h"

namespace lumetra::planning {

namespace {

// A setting's text is usable: what the model accepts.
bool usable(const physics::SettingInfo& s, const std::string& text, const physics::Settings& p) {
    if (s.kind == physics::SettingKind::filter) return physics::filter_valid(p);
    return physics::refusal(s, text::Val(text)).empty();
}

// A number as the settings fields show it: the number-to-text form, or for a long
// one a short exponent form (" 1E+12"), each only when it reads back as the same
// number; else the shortest text that does.
std::string setting_text(double v) {
    const std::string plain = text::Str(v);
    if (plain.size() <= 9 && text::Val(plain) == v) return plain;
    if (std::isfinite(v) && v != 0.0) {
        const int e = static_cast<int>(std::floor(std::log10(std::fabs(v))));
        const std::string short_form = text::Str(v / std::pow(10.0, e)) + "E+" + std::to_string(e);
        if (e > 0 && text::Val(short_form) == v) return short_form;
    }
    if (text::Val(plain) == v) return plain;
    return common::shortest(v);
}

// The form's detection chain (solid angle relative to 5 cm, air, aluminium filter,
// their product) is the classic model's: under the fundamental-parameter model,
// whose detector and filters differ, it is greyed (the panel's note says so) and
// keeps its values for the way back.
void grey_classic_chain(window::RADirido& f, bool grey) {
    for (window::Label* l : {&f.Label27, &f.Label34, &f.Label33, &f.Label35, &f.Label26, &f.Label25,
                             &f.Label36, &f.Label37})
        l->set_enabled(!grey);
}

}  // namespace

TextBox* Panel::field(const std::string& key) const {
    for (const PanelSetting& s : settings)
        if (key == s.key) return s.field.get();
    return nullptr;
}

std::vector<window::Label*> Panel::results() {
    std::vector<window::Label*> out = {&Note,
                                       &Icr,
                                       &Ocr,
                                       &DeadTime,
                                       &Saturation,
                                       &TargetRate,
                                       &Background,
                                       &WindowShare,
                                       &SignalToBackground,
                                       &TimePerPoint,
                                       &SelfAbsorption,
                                       &SelfAbsorptionHint};
    for (auto& l : Neighbours) out.push_back(l.get());
    return out;
}

void Planner::wire_panel() {
    panel.ModelClassic.on_click = [this] { Model_Click(Model::classic); };
    panel.ModelFp.on_click = [this] { Model_Click(Model::fp); };
    panel.DetectorCombo.on_change = [this] { DetectorCombo_Change(); };
    panel.DetectorCombo.on_click = [this] { DetectorCombo_Change(); };
    for (int i = 0; i < Panel::kSettings; ++i)
        panel.settings[i].field->on_change = [this, i] { Setting_Change(i); };
    wire_stack_panel();
    wire_edge_panel();
}

// The panel's first state: the settings' defaults in their fields, the classic model.
void Planner::init_panel() {
    panel.DetectorCombo.add_item("si");
    panel.DetectorCombo.add_item("ge");
    write_planning(physics::Settings(session_.settings));
    panel.ModelClassic.set_value(true);
    preview_clear();
}

// Settings into the panel's fields, as the user would type them: the detector first,
// as choosing one brings its own thickness and resolution.
void Planner::write_planning(const physics::Settings& p) {
    set_planning("detector", p.detector.crystal == physics::Crystal::ge ? "ge" : "si");
    for (const physics::SettingInfo& s : physics::setting_table()) {
        if (s.kind == physics::SettingKind::number)
            set_planning(s.key, setting_text(physics::setting_value(s, p)));
    }
    set_planning("filter", p.filter);
    // A setup's stack has passed the rule; one that has not leaves the list as it is.
    set_stack(p.layers, p.beam_filters);
    write_edge(p);
}

void Planner::Model_Click(Model m) {
    session_.settings.model = m;
    const bool fp = m == Model::fp;
    panel.DetectorCombo.set_enabled(fp);
    for (PanelSetting& s : panel.settings) s.field->set_enabled(fp);
    grey_classic_chain(form_, fp);
    grey_edge(fp);
    if (!fp) preview_clear();
    if (form_.st.Calc_state > 0) {
        form_.Command1_Click();
    } else {
        show_panel_results();
    }
}

void Planner::set_model(Model m) {
    (m == Model::fp ? panel.ModelFp : panel.ModelClassic).set_value(true);
}

bool Planner::set_planning(const std::string& key, const std::string& text) {
    if (key == "edge" || key == "edgeline") return set_edge(key, text);
    if (key == "detector") {
        const std::string t = text::trim_blanks(text);
        if (t != "si" && t != "ge") return false;
        panel.DetectorCombo.set_text(t);
        return true;
    }
    TextBox* f = panel.field(key);
    if (!f) return false;
    f->set_text(text);
    return true;
}

void Planner::DetectorCombo_Change() {
    // A new crystal brings its own thickness and resolution into their fields.
    if (!physics::set_setting(session_.settings, "detector", panel.DetectorCombo.text())) {
        panel.DetectorCombo.set_fore_color(common::colours::red);
        return;
    }
    panel.DetectorCombo.set_fore_color(common::colours::black);
    panel.field("crystal")->set_text(text::Str(session_.settings.detector.crystal_mm));
    panel.field("resolution")->set_text(text::Str(session_.settings.detector.resolution_eV));
    if (form_.st.Calc_state > 0 && model() == Model::fp) form_.Command1_Click();
}

void Planner::Setting_Change(int i) {
    if (i < 0 || i >= Panel::kSettings) return;
    PanelSetting& s = panel.settings[i];
    physics::set_setting(session_.settings, s.key, s.field->text());
    const physics::SettingInfo& info = physics::setting_table()[static_cast<std::size_t>(i)];
    s.field->set_fore_color(usable(info, s.field->text(), session_.settings)
                                ? common::colours::black
                                : common::colours::red);
    // The filter's colour depends on its thickness too.
    if (std::string(s.key) == "filterthickness") {
        TextBox& filter = *panel.field("filter");
        filter.set_fore_color(physics::filter_valid(session_.settings) ? common::colours::black
                                                                       : common::colours::red);
    }
    if (form_.st.Calc_state > 0 && model() == Model::fp) form_.Command1_Click();
}

void Planner::clear_panel_results() {
    for (window::Label* l : panel.results()) l->set_caption("");
    panel.DeadTime.set_fore_color(common::colours::black);
}

// The figures of the last calculation, or what they need.
void Planner::show_panel_results() {
    clear_panel_results();
    Panel& p = panel;
    const PanelFigures f = panel_figures(model(), session_.result());
    const std::pair<window::Label*, const ShownFigure*> places[] = {
        {&p.Note, &f.note},
        {&p.Icr, &f.icr},
        {&p.Ocr, &f.ocr},
        {&p.DeadTime, &f.dead_time},
        {&p.Saturation, &f.saturation},
        {&p.TargetRate, &f.target},
        {&p.Background, &f.background},
        {&p.WindowShare, &f.window_share},
        {&p.SignalToBackground, &f.signal_to_background},
        {&p.TimePerPoint, &f.time_per_point},
        {&p.SelfAbsorption, &f.self_absorption},
        {&p.SelfAbsorptionHint, &f.self_absorption_hint}};
    for (const auto& [label, figure] : places)
        if (!figure->value.empty()) label->set_caption(figure->caption());
    p.DeadTime.set_fore_color(f.dead_time_colour);
    for (std::size_t i = 0; i < f.neighbours.size() && i < p.Neighbours.size(); ++i)
        p.Neighbours[i]->set_caption(f.neighbours[i].caption());
    show_stack();
}

}  // namespace lumetra::planning
