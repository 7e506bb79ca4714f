// The planning panel's behaviour: the model choice, the settings (read by the
// window's text-to-number rule, red when they cannot be used, recalculating at once
// while a spectrum is shown under the fundamental-parameter model) and the figures of
// the last calculation.

#include <algorithm>
#include <charconv>
#include <cmath>

#include "common/numtext.h"
#include "physics/filter.h"
#include "physics/neighbours.h"
#include "window/radirido.h"

namespace lumetra::window {

namespace {

constexpr common::Rgb kOrange = common::rgb(230, 120, 0);

// A setting's value is usable: what the model accepts.
bool usable(const std::string& key, const std::string& text, double thickness_um) {
    const double v = text::Val(text);
    if (key == "polarisation") return v >= 0.0 && v <= 1.0;
    if (key == "window" || key == "filterthickness") return v >= 0.0;
    if (key == "filter") return physics::parse_filter(text, thickness_um).has_value();
    return v > 0.0;
}

// Three significant digits, plain for 0.01 to 999999, else as 1.23e6.
std::string three_digits(double v) {
    if (!std::isfinite(v)) return "-";
    if (v == 0.0) return "0";
    const double a = std::fabs(v);
    char buf[64];
    const int e = static_cast<int>(std::floor(std::log10(a)));
    if (e >= -2 && e < 6) {
        const int decimals = std::max(0, 2 - e);
        const double rounded = std::round(v * std::pow(10.0, decimals)) / std::pow(10.0, decimals);
        auto r = std::to_chars(buf, buf + sizeof buf, rounded, std::chars_format::fixed, decimals);
        return std::string(buf, r.ptr);
    }
    const double mantissa = std::round(v / std::pow(10.0, e) * 100.0) / 100.0;
    auto r = std::to_chars(buf, buf + sizeof buf, mantissa, std::chars_format::fixed, 2);
    return std::string(buf, r.ptr) + "e" + std::to_string(e);
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
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
}

std::string per_cent(double fraction) {
    return three_digits(100.0 * fraction) + " %";
}

}  // namespace

TextBox* Panel::field(const std::string& key) const {
    for (const PanelSetting& s : settings)
        if (key == s.key) return s.field.get();
    return nullptr;
}

std::vector<Label*> Panel::results() {
    std::vector<Label*> out = {&Note,
                               &Icr,
                               &Ocr,
                               &DeadTime,
                               &Saturation,
                               &TargetRate,
                               &Background,
                               &SignalToBackground,
                               &TimePerPoint,
                               &SelfAbsorption,
                               &SelfAbsorptionHint};
    for (auto& l : Neighbours) out.push_back(l.get());
    return out;
}

void RADirido::wire_panel() {
    panel.ModelClassic.on_click = [this] { Model_Click(Model::classic); };
    panel.ModelFp.on_click = [this] { Model_Click(Model::fp); };
    panel.DetectorCombo.on_change = [this] { DetectorCombo_Change(); };
    panel.DetectorCombo.on_click = [this] { DetectorCombo_Change(); };
    for (int i = 0; i < Panel::kSettings; ++i)
        panel.settings[i].field->on_change = [this, i] { Setting_Change(i); };
}

// The panel's first state: the settings' defaults in their fields, the classic model.
void RADirido::init_panel() {
    panel.DetectorCombo.add_item("si");
    panel.DetectorCombo.add_item("ge");
    write_planning(Planning(planning));
    panel.ModelClassic.set_value(true);
    preview_clear();
}

// Settings into the panel's fields, as the user would type them: the detector first,
// as choosing one brings its own thickness and resolution.
void RADirido::write_planning(const Planning& p) {
    set_planning("detector", p.detector.crystal == physics::Crystal::ge ? "ge" : "si");
    Planning values = p;
    for (const NumberSetting& s : number_settings())
        set_planning(s.key, setting_text(s.of(values)));
    set_planning("filter", p.filter);
}

void RADirido::Model_Click(Model m) {
    planning.model = m;
    const bool fp = m == Model::fp;
    panel.DetectorCombo.set_enabled(fp);
    for (PanelSetting& s : panel.settings) s.field->set_enabled(fp);
    if (!fp) preview_clear();
    if (st.Calc_state > 0) {
        Command1_Click();
    } else {
        show_panel_results();
    }
}

void RADirido::set_model(Model m) {
    (m == Model::fp ? panel.ModelFp : panel.ModelClassic).set_value(true);
}

bool RADirido::set_planning(const std::string& key, const std::string& text) {
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

void RADirido::DetectorCombo_Change() {
    // A new crystal brings its own thickness and resolution into their fields.
    if (!planning.set("detector", panel.DetectorCombo.text())) {
        panel.DetectorCombo.set_fore_color(common::colours::red);
        return;
    }
    panel.DetectorCombo.set_fore_color(common::colours::black);
    panel.field("crystal")->set_text(text::Str(planning.detector.crystal_mm));
    panel.field("resolution")->set_text(text::Str(planning.detector.resolution_eV));
    if (st.Calc_state > 0 && planning.model == Model::fp) Command1_Click();
}

void RADirido::Setting_Change(int i) {
    if (i < 0 || i >= Panel::kSettings) return;
    PanelSetting& s = panel.settings[i];
    planning.set(s.key, s.field->text());
    s.field->set_fore_color(usable(s.key, s.field->text(), planning.filter_thickness_um)
                                ? common::colours::black
                                : common::colours::red);
    // The filter's colour depends on its thickness too.
    if (std::string(s.key) == "filterthickness") {
        TextBox& filter = *panel.field("filter");
        filter.set_fore_color(planning.filter_valid() ? common::colours::black
                                                      : common::colours::red);
    }
    if (st.Calc_state > 0 && planning.model == Model::fp) Command1_Click();
}

void RADirido::clear_panel_results() {
    for (Label* l : panel.results()) l->set_caption("");
    panel.DeadTime.set_fore_color(common::colours::black);
}

// The figures of the last calculation, or what they need.
void RADirido::show_panel_results() {
    clear_panel_results();
    Panel& p = panel;
    if (planning.model == Model::classic) {
        p.Note.set_caption("Rates need the fundamental-parameter model.");
        return;
    }
    const physics::Result& r = fp_result;
    if (!r.ok) {
        p.Note.set_caption(r.reason.empty() ? "Press Plot for the rates." : r.reason);
        return;
    }
    const physics::Figures& f = r.figures;
    p.Icr.set_caption("Input rate  " + three_digits(f.icr) + " counts/s");
    p.Ocr.set_caption("Output rate  " + three_digits(f.ocr) + " counts/s");
    p.DeadTime.set_caption("Dead time  " + per_cent(f.dead_time));
    p.DeadTime.set_fore_color(f.dead_time > 0.5   ? common::colours::red
                              : f.dead_time > 0.3 ? kOrange
                                                  : common::colours::black);
    if (f.dead_time > 0.5)
        p.Saturation.set_caption("The detector saturates: less flux or more distance.");
    p.TargetRate.set_caption("Target line  " + three_digits(f.target) + " counts/s");
    p.Background.set_caption("Background under it  " + three_digits(f.background) + " counts/s");
    p.SignalToBackground.set_caption(
        "S/B  " + (f.background > 0.0 ? three_digits(f.target / f.background) : std::string("-")));
    p.TimePerPoint.set_caption(
        "Time per point (0.1 % of the step)  " +
        (f.target > 0.0 ? three_digits(f.time_per_point) + " s" : std::string("no target signal")));
    p.SelfAbsorption.set_caption("EXAFS damped by self-absorption  " + per_cent(f.self_absorption));
    if (f.self_absorption > 0.1)
        p.SelfAbsorptionHint.set_caption("Dilute the sample or use a film.");
    // Only what adds at least a thousandth of the background is worth a filter.
    auto near = physics::neighbours(fp_setup(), r, static_cast<int>(p.Neighbours.size()));
    near.erase(std::remove_if(
                   near.begin(), near.end(),
                   [&](const physics::Neighbour& n) { return !(n.rate >= 1e-3 * f.background); }),
               near.end());
    for (std::size_t i = 0; i < near.size() && i < p.Neighbours.size(); ++i) {
        const physics::Neighbour& n = near[i];
        p.Neighbours[i]->set_caption(n.name + " (" + three_digits(n.energy) + " keV)  " +
                                     three_digits(n.rate) + " /s");
    }
    if (near.empty()) p.Neighbours[0]->set_caption("nothing of note");
}

}  // namespace lumetra::window
