// Amplifier gains, full-scale energy, automatic gain choice, and the X-ray
// energy, energy step and peak width fields.

#include <algorithm>
#include <cmath>

#include "common/amplifier.h"
#include "common/edge_offset.h"
#include "common/numtext.h"
#include "window/radirido.h"

namespace lumetra::window {

namespace {
constexpr common::Rgb kPink = common::rgb(255, 192, 192);
constexpr common::Rgb kCream = common::rgb(255, 255, 192);
}  // namespace

void RADirido::Set_scale() {
    const double G = text::Val(Label9.caption());
    const double g = text::Val(Combo2.text());
    const double full = common::full_energy(G, g);
    // A gain that reads as 0 or less has no scale: the previous one stays.
    if (!(G > 0) || !(g > 0) || !std::isfinite(full)) return;
    Label8.set_caption(text::Str(text::Int(full * 1000 + 0.5) * 0.001));
    energy_axis_labels();  // the view stays; its energies move with the scale
    clear_plot();
    if (text::Val(Label32.caption()) > full) {
        dialogs_.titled_message("Amplifier scale", "  Target Emission is out of Range  ");
    }
    if (st.Calc_state > 0) Re_calc();
}

void RADirido::Auto_tune() {
    if (Check2.value() >= 0.5) return;
    Full_scale();
    const double edge_top = (text::Val(Label30.caption()) + 0.2) * 1.05;
    int index = 6;
    if (edge_top > 40) {
        index = 3;
    } else if (edge_top > 12) {
        index = 4;
    } else if (edge_top > 6) {
        index = 5;
    }
    view.Coarse_index = static_cast<std::int16_t>(index);
    Label9.set_caption(text::Str(view.Coarse_step[view.Coarse_index]));
    auto fine_needed = [&] {
        return 1000 / (text::Val(Label9.caption()) * common::kGainConstant * edge_top);
    };
    double fine_need = fine_needed();
    if (fine_need > 1.44) {
        view.Coarse_index = static_cast<std::int16_t>(std::min(view.Coarse_index + 1, 7));
        Label9.set_caption(text::Str(view.Coarse_step[view.Coarse_index]));
        fine_need = fine_needed();
        dialogs_.titled_message("Fine gain needed", text::Str(fine_need));
    } else if (fine_need < 0.55) {
        view.Coarse_index = static_cast<std::int16_t>(std::max(view.Coarse_index - 1, 0));
        Label9.set_caption(text::Str(view.Coarse_step[view.Coarse_index]));
        fine_need = fine_needed();
    }
    double k = text::Int((fine_need - 0.5) * 10 + 0.5);
    if (k > 10) k = 10;
    if (!(k >= 0)) k = 0;  // an edge far outside the tables' range
    Combo2.set_text(view.Fine_text[static_cast<std::size_t>(k)]);
    Set_scale();
}

void RADirido::Full_scale() {
    Picture1.picture().Scale(-10.0f, 11750.0f, 1028.0f, -500.0f);
    view.zoom.reset();
    view.Y_top = 11750;
    set_axis_labels_full_view();
    clear_plot();
}

void RADirido::Combo2_Change() { Set_scale(); }
void RADirido::Combo2_Click() { Set_scale(); }

void RADirido::Command23_Click() {
    view.Coarse_index = static_cast<std::int16_t>(std::clamp(view.Coarse_index + 1, 0, 7));
    st.Calc_state = 10;
    Label9.set_caption(text::Str(view.Coarse_step[view.Coarse_index]));
    Set_scale();
}

void RADirido::Command24_Click() {
    view.Coarse_index = static_cast<std::int16_t>(std::clamp(view.Coarse_index - 1, 0, 7));
    st.Calc_state = 10;
    Label9.set_caption(text::Str(view.Coarse_step[view.Coarse_index]));
    Set_scale();
}

void RADirido::Command4_Click() {
    if (text::Val(Label32.caption()) > 3.0 && st.Elem_z[0] > 19) {
        Check2.set_value(0);
        Auto_tune();
    }
}

void RADirido::energy_step(double E) {
    clear_plot();
    Text11.set_text(text::Str(text::round_to(E, 4)));
    Re_calc();
}

void RADirido::Command9_Click() {
    energy_step(text::Val(Text11.text()) + text::Val(Text12.text()));
}

void RADirido::Command10_Click() {
    energy_step(text::Val(Text11.text()) - text::Val(Text12.text()));
}

void RADirido::Command11_Click() {
    energy_step(text::Val(Label30.caption()) + common::kAboveEdge_keV);
}

void RADirido::Text11_Change() {
    const double E = text::Val(Text11.text());
    if (E < 5.0 || st.Elem_z[0] < 20) {
        clear_plot();
        Text11.set_fore_color(common::colours::red);
        Text11.set_back_color(kPink);
        return;
    }
    Text11.set_back_color(kCream);
    // Red while the beam cannot excite the edge.
    Text11.set_fore_color(text::Val(Label30.caption()) < E ? common::colours::black
                                                           : common::colours::red);
    if (st.Calc_state > 0) Re_calc();
}

void RADirido::Text12_Change() {
    const double step = text::Val(Text12.text());
    Text12.set_fore_color(step < 0.01 || step > 10 ? common::colours::red
                                                   : common::colours::black);
}

void RADirido::Text16_Change() {
    clear_plot();
    if (text::Val(Text16.text()) > 0.01) {
        Text16.set_fore_color(common::colours::black);
        if (st.Calc_state > 0) Re_calc();
    } else {
        Text16.set_fore_color(common::colours::red);
    }
}

}  // namespace lumetra::window
