// The form's fields as one value for another model (model_hook.h).

#include <tuple>

#include "common/numtext.h"
#include "engine/elements.h"
#include "engine/transmission.h"
#include "window/radirido.h"

namespace lumetra::window {

bool operator==(const FormSnapshot::Element& a, const FormSnapshot::Element& b) {
    return a.Z == b.Z && a.atoms == b.atoms;
}

bool operator==(const FormSnapshot& a, const FormSnapshot& b) {
    const auto fields = [](const FormSnapshot& s) {
        return std::tie(s.sample, s.film, s.density, s.thickness_cm, s.E0, s.psi_in_deg,
                        s.psi_out_deg, s.distance_cm, s.target_slot, s.l3_edge, s.marked,
                        s.full_energy, s.al_steps);
    };
    return fields(a) == fields(b);
}

FormSnapshot RADirido::snapshot() const {
    FormSnapshot s;
    const int last = engine::last_element(st);
    for (int i = 0; i <= last; ++i) s.sample.push_back({st.Elem_z[i], st.Elem_content[i].num()});
    s.film = st.Sample_form < 0;
    s.density = text::Val(Text23.text());
    s.thickness_cm = text::Val(Text24.text()) * 1e-7;  // nm
    s.E0 = text::Val(Text11.text());
    s.psi_in_deg = text::Val(Text21.text());
    s.psi_out_deg = text::Val(Text22.text());
    s.distance_cm = text::Val(Text19.text());
    s.target_slot = st.Target_line;
    s.l3_edge = st.Edge_mode < 0;
    s.marked = st.Elem_mark >= 1 && st.Elem_mark <= last ? st.Elem_mark : -1;
    s.full_energy = text::Val(Label8.caption());
    s.al_steps = engine::filter_steps(text::Val(Text20.text()));
    return s;
}

}  // namespace lumetra::window
