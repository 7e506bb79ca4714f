// "Plot" with the fundamental-parameter model: the form's fields and the planning
// settings become one setup; the result fills the same arrays the plot draws.

#include <algorithm>

#include "common/numtext.h"
#include "engine/elements.h"
#include "engine/transmission.h"
#include "physics/settings.h"
#include "physics/model.h"
#include "window/radirido.h"

namespace lumetra::window {

namespace {

constexpr int kKShell = 0, kL3Shell = 3;

// The reference library's codes of the window's line choices (slot numbers).
std::vector<int> line_codes(int slot) {
    constexpr int KL2 = -2, KL3 = -3, KM2 = -5, KM3 = -6, L3M4 = -89, L3M5 = -90, L3N5 = -95;
    switch (slot) {
        case 0:
            return {KL3, KL2};
        case 15:
            return {KL3};
        case 16:
            return {KL2};
        case 23:
            return {KM3, KM2};
        case 17:
            return {KM3};
        case 19:
            return {KM2};
        case 22:
            return {L3M5, L3M4};
        case 1:
            return {L3M5};
        case 2:
            return {L3M4};
        case 3:
            return {L3N5};
        default:
            return {};
    }
}

}  // namespace

physics::Setup RADirido::fp_setup() {
    physics::Setup s;
    const int last = engine::last_element(st);
    for (int i = 0; i <= last; ++i) s.sample.push_back({st.Elem_z[i], st.Elem_content[i].num()});
    s.film = st.Sample_form < 0;
    s.density = text::Val(Text23.text());
    s.thickness_cm = text::Val(Text24.text()) * 1e-7;  // nm
    s.E0 = text::Val(Text11.text());
    s.psi_in_deg = text::Val(Text21.text());
    s.psi_out_deg = text::Val(Text22.text());
    s.distance_cm = text::Val(Text19.text());
    s.target_lines = line_codes(st.Target_line);
    s.target_shell = st.Edge_mode < 0 ? kL3Shell : kKShell;
    s.marked = st.Elem_mark >= 1 && st.Elem_mark <= last ? st.Elem_mark : -1;
    s.full_energy = text::Val(Label8.caption());
    physics::apply_settings(planning, s);
    s.al_steps = engine::filter_steps(text::Val(Text20.text()));
    return s;
}

// The layers in counts/s, scaled like the classic total (highest channel 10000);
// fp_units keeps the counts/s of one plot unit for the readout.
void RADirido::fp_spectrum() {
    show_calculating();
    fp_result = fp_model.calculate(fp_setup());
    const physics::Layers& l = fp_result.layers;
    const double top = *std::max_element(l.total.begin(), l.total.end());
    fp_units = top > 0.0 ? top / 10000.0 : 0.0;
    const auto scaled = [&](const physics::Channels& from, engine::Spectrum& to) {
        for (std::size_t k = 0; k < to.size(); ++k)
            to[k] = fp_units > 0.0 ? from[k] / fp_units : 0.0;
    };
    scaled(l.total, st.Spec_total);
    scaled(l.target, st.Spec_target);
    scaled(l.line, st.Spec_line);
    scaled(l.mark, st.Spec_mark);
    scaled(l.argon, st.Spec_argon);
    scaled(l.elastic, st.Spec_elastic);
    scaled(l.escape, st.Spec_escape);
    scaled(l.pileup, st.Spec_pileup);
    if (fp_result.ok) {
        preview_request();
    } else {
        preview_clear();
    }
    Label38.set_caption(
        fp_result.ok ? text::cut(text::Str(text::Int(fp_result.target_share * 1e6 + 0.5) / 1e6), 7)
                     : "");
}

}  // namespace lumetra::window
