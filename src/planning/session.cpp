// "Plot" with the fundamental-parameter model: the form's snapshot and the settings
// become one setup; the result fills the same arrays the plot draws.

#include "planning/session.h"

#include <algorithm>

#include "common/numtext.h"
#include "physics/edge_choice.h"
#include "physics/neighbours.h"
#include "physics/validate.h"
#include "planning/line_choice.h"

namespace lumetra::planning {

physics::Setup PlanningSession::setup_of(const window::FormSnapshot& f) const {
    physics::Setup s;
    for (const window::FormSnapshot::Element& e : f.sample) s.sample.push_back({e.Z, e.atoms});
    s.film = f.film;
    s.density = f.density;
    s.thickness_cm = f.thickness_cm;
    s.E0 = f.E0;
    s.psi_in_deg = f.psi_in_deg;
    s.psi_out_deg = f.psi_out_deg;
    s.distance_cm = f.distance_cm;
    s.target_lines = target_lines(f.target_slot);
    s.target_shell = target_shell(f.l3_edge);
    s.marked = f.marked;
    s.full_energy = f.full_energy;
    s.al_steps = f.al_steps;
    physics::apply_settings(settings, s);
    return s;
}

const physics::Result& PlanningSession::calculate(const window::FormSnapshot& snapshot) {
    snapshot_ = snapshot;
    setup_ = setup_of(snapshot);
    // The model's own refusals first; then a chosen edge without the line counts nothing.
    const std::string no_line = physics::edge_line_refusal(settings, setup_);
    if (no_line.empty() || !physics::refusal(setup_).empty()) {
        result_ = model_.calculate(setup_);
    } else {
        result_ = physics::Result{};
        result_.reason = no_line;
    }
    const physics::Channels& total = result_.layers.total;
    const double top = *std::max_element(total.begin(), total.end());
    units_ = top > 0.0 ? top / 10000.0 : 0.0;
    if (result_.ok) {
        preview_.request(snapshot_, settings, setup_);
    } else {
        preview_.hide();
    }
    return result_;
}

void PlanningSession::plot_layers(engine::CalcState& st) const {
    const physics::Layers& l = result_.layers;
    const auto scaled = [&](const physics::Channels& from, engine::Spectrum& to) {
        for (std::size_t k = 0; k < to.size(); ++k) to[k] = units_ > 0.0 ? from[k] / units_ : 0.0;
    };
    scaled(l.total, st.Spec_total);
    scaled(l.target, st.Spec_target);
    scaled(l.line, st.Spec_line);
    scaled(l.mark, st.Spec_mark);
    scaled(l.argon, st.Spec_argon);
    scaled(l.elastic, st.Spec_elastic);
    scaled(l.escape, st.Spec_escape);
    scaled(l.pileup, st.Spec_pileup);
}

window::HookedSpectrum PlanningSession::shown() const {
    window::HookedSpectrum h;
    h.ok = result_.ok;
    h.units = units_;
    if (result_.ok) {
        h.plot_note = physics::beyond_scale(setup_, result_);
        h.target_share = text::cut(text::Str(text::Int(result_.target_share * 1e6 + 0.5) / 1e6), 7);
    } else {
        h.plot_note = result_.reason;
    }
    h.line_name = physics::edge_line_name(settings, setup_);
    return h;
}

}  // namespace lumetra::planning
