// The planner behind the module: one headless form and planning session per
// thread, set from a whole setup as loading a setup file does.

#include <memory>

#include "binding.h"
#include "common/dialogs.h"
#include "physics/neighbours.h"
#include "planning/planner.h"
#include "planning/spectrum_csv.h"

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

Outcome calculate(const io::WindowSetup& setup) {
    common::ScriptedDialogs* dialogs = nullptr;
    const planning::Planner& p = planner_with(setup, dialogs);
    Outcome o;
    o.fp = p.model() == planning::Model::fp;
    if (o.fp) {
        o.result = p.fp_result();
        const auto parts =
            physics::neighbours(o.result, static_cast<int>(o.result.background_parts.size()));
        for (const physics::Neighbour& n : parts) o.background.emplace_back(n.name, n.rate);
    }
    for (const common::DialogRecord& d : dialogs->shown()) o.messages.push_back(d.text);
    o.table = planning::spectrum_table(p);
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
