// The planner behind the module: one headless form and planning session per
// thread, set from a whole setup as loading a setup file does.

#include <memory>

#include "binding.h"
#include "common/dialogs.h"
#include "common/numtext.h"
#include "physics/neighbours.h"
#include "planning/planner.h"
#include "planning/report_lines.h"

namespace lumetra::python {

namespace {

// A planner whose dialogs never wait: what they say is kept for the result.
struct ThreadPlanner {
    common::ScriptedDialogs dialogs;
    planning::Planner planner{dialogs};
};

planning::Planner& planner_with(const io::WindowSetup& setup, common::ScriptedDialogs*& dialogs) {
    thread_local std::unique_ptr<ThreadPlanner> own;
    if (!own) own = std::make_unique<ThreadPlanner>();
    own->dialogs.clear_shown();
    own->planner.apply_setup(setup);
    dialogs = &own->dialogs;
    return own->planner;
}

}  // namespace

const std::array<const char*, kLayerCount>& layer_names() {
    static const std::array<const char*, kLayerCount> k = {"total", "target",  "line",   "mark",
                                                           "argon", "elastic", "escape", "pileup"};
    return k;
}

Outcome calculate(const io::WindowSetup& setup) {
    common::ScriptedDialogs* dialogs = nullptr;
    const planning::Planner& p = planner_with(setup, dialogs);
    const window::RADirido& f = p.form();
    Outcome o;
    o.fp = p.model() == planning::Model::fp;
    o.shown = f.st.Calc_state > 0;
    if (o.fp) {
        o.result = p.fp_result();
        const auto parts =
            physics::neighbours(o.result, static_cast<int>(o.result.background_parts.size()));
        for (const physics::Neighbour& n : parts) o.background.emplace_back(n.name, n.rate);
    }
    o.result_lines = planning::result_lines(p);
    for (const common::DialogRecord& d : dialogs->shown()) o.messages.push_back(d.text);
    o.full_scale_keV = text::Val(f.Label8.caption());
    o.counts_per_unit = f.plot_units();
    const engine::CalcState& st = f.st;
    const std::array<const engine::Spectrum*, kLayerCount> from = {
        &st.Spec_total, &st.Spec_target,  &st.Spec_line,   &st.Spec_mark,
        &st.Spec_argon, &st.Spec_elastic, &st.Spec_escape, &st.Spec_pileup};
    if (o.shown)
        for (std::size_t i = 0; i < kLayerCount; ++i)
            for (std::size_t n = 0; n < o.layers[i].size(); ++n) o.layers[i][n] = (*from[i])[n];
    return o;
}

std::vector<physics::ScanPoint> scan(const io::WindowSetup& setup) {
    common::ScriptedDialogs* dialogs = nullptr;
    planning::Planner& p = planner_with(setup, dialogs);
    if (p.model() != planning::Model::fp || !p.fp_result().ok) return {};
    p.preview_finish();
    return p.preview_plot().points;
}

}  // namespace lumetra::python
