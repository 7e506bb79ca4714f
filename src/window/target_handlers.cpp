// Target element, absorption edge and emission line.

#include <array>

#include "common/edge_offset.h"
#include "common/numtext.h"
#include "window/radirido.h"

namespace lumetra::window {

namespace {

constexpr common::Rgb kOrange = common::rgb(255, 128, 0);
constexpr common::Rgb kBrown = common::rgb(128, 64, 0);

struct LineChoice {
    const char* text;
    std::int16_t slot;
};

constexpr std::array<LineChoice, 6> kKLines = {{{"K-alpha 1&2", 0},
                                                 {"(K-alpha 1)", 15},
                                                 {"(K-alpha 2)", 16},
                                                 {"K -beta 1&3", 23},
                                                 {"(K -beta 1)", 17},
                                                 {"(K -beta 3)", 19}}};
constexpr std::array<LineChoice, 4> kL3Lines = {
    {{"L-alpha 1&2", 22}, {"(L-alpha 1)", 1}, {"(L-alpha 2)", 2}, {"L- beta 2", 3}}};

std::string without_leading_blanks(const std::string& s) {
    std::size_t i = 0;
    while (i < s.size() && s[i] == ' ') ++i;
    return s.substr(i);
}

}  // namespace

void RADirido::Text1_Change() {
    Label30.set_caption("");
    set_target_line_energy("");
    st.Calc_state = -10;
    Text20.set_text("0");

    std::int16_t Z = 0;
    double mass = 0.0;
    Z_of_symbol(text::trim_blanks(Text1.text()), Z, mass);
    st.Elem_z[0] = Z;
    st.Elem_mass[0] = mass;

    if (Z < 1) {
        Text1.set_fore_color(common::colours::red);
        return;
    }
    if (Z <= 19) {
        Text1.set_fore_color(kOrange);
        return;
    }
    if (Z >= 84) {
        dialogs_.titled_message("Target element", "heavy elements (Z>84) are not supported ");
        Text1.set_text("");
        return;
    }

    if (Z < 52) {
        st.Edge_mode = 10;
        Option2.set_value(false);
        Option1.set_value(true);
        Text1.set_fore_color(common::colours::black);
    } else {
        Text1.set_fore_color(st.Edge_mode < 0 ? common::colours::blue : common::colours::black);
    }
    double E = 0.0;
    Edge_data(Z, st.Edge_mode, E);
    Label30.set_caption(text::Str(text::round_to(E, 4)));
    Text11.set_text(text::Str(common::energy_above_edge(E)));
    Target_yield(0, 1.0);
    Line_select();
    // A new target shows the whole scale.
    Picture1.picture().Scale(-10.0f, 11750.0f, 1028.0f, -250.0f);
    Picture1.drawing_changed();
    view.zoom.reset();
    view.Y_top = 11750;
    view.Zoom_steps = 1;
    if (Z == 20) Text1.set_fore_color(kBrown);
    Auto_tune();
    Text51.set_visible(true);
    set_axis_labels_full_view();
}

void RADirido::set_axis_labels_full_view() {
    Label55.set_caption("0.0  (V)");
    Label56.set_caption("10.0 (V)");
    Label20.set_caption("5.0 (V)");
    energy_axis_labels();
}

// The keV marks under the plot follow the full-scale energy: for the full view its
// start, half and whole, for a zoomed view the energies of the window's channels.
void RADirido::energy_axis_labels() {
    const double F = text::Val(Label8.caption());
    auto keV = [](double v, const char* unit) {
        return text::cut(text::Str(text::Int(v + 0.5) / 100), 5) + unit;
    };
    if (view.zoom) {
        const double L = view.zoom->left, R = view.zoom->right;
        Label14.set_caption(keV(F * L / 10.24, " (keV)"));
        Label15.set_caption(keV(F * R / 10.24, " (keV)"));
        Label21.set_caption(keV((L + R) * 0.5 * F / 10.24, " (keV) "));
        return;
    }
    Label14.set_caption("0.0 (keV)");
    Label15.set_caption(text::cut(Label8.caption(), 5) + " (keV)");
    Label21.set_caption(keV(F * 50, " (keV)"));
}

void RADirido::Line_select() {
    const std::string& chosen = Combo1.text();
    bool found = false;
    auto match = [&](const auto& choices) {
        for (const LineChoice& c : choices) {
            if (chosen == c.text) {
                st.Target_line = c.slot;
                found = true;
                return;
            }
        }
    };
    if (Option2.value()) {
        match(kL3Lines);
    } else {
        match(kKLines);
    }
    if (!found) dialogs_.titled_message("Emission line", " selection was failed  ");

    // A line code outside the table (after "All Clear") has no energy.
    const int line = st.Target_line;
    const double energy = (line >= 0 && line < engine::kSlots) ? st.Line_energy[0][line] : 0.0;
    set_target_line_energy(
        without_leading_blanks(text::cut(text::Str(text::round_to(energy, 4)), 6)));
}

// The line list of an edge: Line_label entries first..last, the first one chosen.
void RADirido::list_edge_lines(int first, int last) {
    Combo1.clear_list();
    for (int i = first; i <= last; ++i) Combo1.add_item(Line_label[i]);
    Combo1.set_text(Line_label[first]);
}

// The text colour of the fields that depend on the chosen edge.
void RADirido::colour_edge_fields(common::Rgb c) {
    for (Control* f : std::initializer_list<Control*>{&Text1, &Combo1, &Text51, &Label30, &Label32,
                                                      &Text11, &Text12, &Label8}) {
        f->set_fore_color(c);
    }
}

void RADirido::Option1_Click() {
    st.Edge_mode = 10;
    list_edge_lines(0, 5);
    Text1_Change();
    colour_edge_fields(common::colours::button_text);
    Command1_Click();
}

void RADirido::Option2_Click() {
    st.Edge_mode = -10;
    if (st.Elem_z[0] >= 52) {
        list_edge_lines(6, 9);
        Text1_Change();
        colour_edge_fields(common::colours::blue);
        Command1_Click();
    } else {
        // No L3 edge in the data for this target: back to K.
        st.Edge_mode = 10;
        Option2.set_value(false);
        Option1.set_value(true);
    }
}

void RADirido::Combo1_Change() {
    Line_select();
    if (st.Calc_state > 0) Command1_Click();
}

void RADirido::Combo1_Click() { Combo1_Change(); }

void RADirido::Command1_Click() {
    const double content = text::Val(Text51.text());
    if (st.Elem_z[0] >= 20 && content > 0) Re_calc();
}

}  // namespace lumetra::window
