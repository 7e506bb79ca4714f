// The panel's edge choice: under the fundamental-parameter model the target can be
// counted at its K, L1, L2, L3 or M5 edge with a line of that edge the library gives
// the element; "Form" keeps the form's K or L3 and its line list. Choosing an
// edge puts the X-ray energy just above it, as the form does for its own edges.

#include <string>

#include "common/edge_offset.h"
#include "common/numtext.h"
#include "physics/edge_choice.h"
#include "physics/xrl.h"
#include "planning/planner.h"

namespace lumetra::planning {

namespace {

// The form's own edge, as the list shows it; "As the form" and "form" read as it too.
constexpr const char* kAsTheForm = "Form";

bool is_form(const std::string& t) {
    return t == kAsTheForm || t == "As the form" || t == "form";
}

std::string shown_edge(physics::EdgeChoice e) {
    return e == physics::EdgeChoice::form ? kAsTheForm : physics::edge_choice_name(e);
}

// The name of a line the list shows for the settings' line key, or the key itself when
// the element does not give that line.
std::string shown_line(const std::vector<physics::EdgeLine>& offered, const std::string& key) {
    for (const physics::EdgeLine& l : offered)
        if (l.key == key) return l.name;
    return key;
}

bool offered_line(const std::vector<physics::EdgeLine>& offered, const std::string& key) {
    for (const physics::EdgeLine& l : offered)
        if (l.key == key) return true;
    return false;
}

}  // namespace

void Planner::wire_edge_panel() {
    panel.EdgeCombo.on_change = [this] { EdgeCombo_Change(); };
    panel.EdgeCombo.on_click = [this] { EdgeCombo_Change(); };
    panel.EdgeLineCombo.on_change = [this] { EdgeLineCombo_Change(); };
    panel.EdgeLineCombo.on_click = [this] { EdgeLineCombo_Change(); };
    // A new target element has lines of its own, and its own edge energy.
    std::function<void()> form_change = form_.Text1.on_change;
    form_.Text1.on_change = [this, form_change] {
        if (form_change) form_change();
        fill_edge_lines();
        if (model() == Model::fp) preset_edge_energy();
    };
    grey_edge(false);
}

void Planner::grey_edge(bool fp) {
    panel.EdgeCombo.set_enabled(fp);
    panel.EdgeLineCombo.set_enabled(fp && session_.settings.edge != physics::EdgeChoice::form);
}

bool Planner::set_edge(const std::string& key, const std::string& text) {
    if (key == "edge") {
        const std::string t = text::trim_blanks(text);
        const std::optional<physics::EdgeChoice> e =
            is_form(t) ? physics::EdgeChoice::form : physics::edge_choice_of(t);
        if (!e) return false;
        panel.EdgeCombo.set_text(shown_edge(*e));
        return true;
    }
    if (session_.settings.edge == physics::EdgeChoice::form && !text::trim_blanks(text).empty())
        return false;  // the form's edge takes the form's line
    panel.EdgeLineCombo.set_text(text);
    return true;
}

void Planner::write_edge(const physics::Settings& p) {
    set_edge("edge", physics::edge_choice_name(p.edge));
    if (p.edge != physics::EdgeChoice::form) set_edge("edgeline", p.edge_line);
}

void Planner::EdgeCombo_Change() {
    physics::Settings& p = session_.settings;
    const std::string t = text::trim_blanks(panel.EdgeCombo.text());
    const std::string name = is_form(t) ? std::string("form") : t;
    if (!physics::set_setting(p, "edge", name)) {
        panel.EdgeCombo.set_fore_color(common::colours::red);
        return;
    }
    panel.EdgeCombo.set_fore_color(common::colours::black);
    grey_edge(model() == Model::fp);
    fill_edge_lines();
    if (model() != Model::fp) return;
    preset_edge_energy();
    if (form_.st.Calc_state > 0) form_.Command1_Click();
}

void Planner::EdgeLineCombo_Change() {
    physics::Settings& p = session_.settings;
    if (p.edge == physics::EdgeChoice::form) return;
    physics::set_setting(p, "edgeline", panel.EdgeLineCombo.text());
    const int shell = physics::edge_choice_shell(p.edge);
    const bool usable =
        p.edge_line.empty() ||
        offered_line(physics::edge_lines_of(form_.st.Elem_z[0], shell), p.edge_line);
    panel.EdgeLineCombo.set_fore_color(usable ? common::colours::black : common::colours::red);
    if (model() == Model::fp && form_.st.Calc_state > 0) form_.Command1_Click();
}

// The list of the chosen edge's lines for the target; the line chosen stays when the
// element gives it, else the edge's first line is taken (none: the list is empty).
void Planner::fill_edge_lines() {
    const physics::Settings& p = session_.settings;
    ComboBox& c = panel.EdgeLineCombo;
    c.clear_list();
    if (p.edge == physics::EdgeChoice::form) {
        c.set_text("");
        return;
    }
    const std::vector<physics::EdgeLine> offered =
        physics::edge_lines_of(form_.st.Elem_z[0], physics::edge_choice_shell(p.edge));
    for (const physics::EdgeLine& l : offered) c.add_item(l.name);
    const bool keep = !p.edge_line.empty() && offered_line(offered, p.edge_line);
    if (keep || offered.empty()) {
        c.set_text(shown_line(offered, p.edge_line));
    } else {
        c.set_text(offered.front().name);
    }
    EdgeLineCombo_Change();
}

void Planner::preset_edge_energy() {
    const physics::Settings& p = session_.settings;
    if (p.edge == physics::EdgeChoice::form) return;
    const double edge =
        physics::xrl::edge_energy(form_.st.Elem_z[0], physics::edge_choice_shell(p.edge));
    if (edge > 0.0) form_.Text11.set_text(text::Str(common::energy_above_edge(edge)));
}

}  // namespace lumetra::planning
